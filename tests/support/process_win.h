#pragma once
// Starting the staged program from a Windows test, with a guard that ends it.
#include <windows.h>

#include <string>

#include "quencfg/framework/handle_win.h"

namespace quencfg::testing {

class ChildProcess {
 public:
  // Starts `exe` (a full path) with its own folder as the current folder, and
  // `arguments` after its quoted name on the command line.
  explicit ChildProcess(const std::wstring& exe, const std::wstring& arguments = {});
  ~ChildProcess();  // ends the process if it still runs
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  [[nodiscard]] bool started() const { return process_.valid(); }
  [[nodiscard]] DWORD id() const { return id_; }
  // True when the process ended within the time; its exit code goes to `code`.
  bool WaitForExit(DWORD milliseconds, DWORD* code = nullptr);

 private:
  UniqueKernelHandle process_;
  DWORD id_ = 0;
};

// Polls for a top-level window of that title that belongs to process `pid` (0: any).
HWND WaitForWindow(const wchar_t* title, DWORD pid, DWORD milliseconds);
// Polls for a visible top-level window of process `pid`, whatever its title.
HWND WaitForVisibleWindowOf(DWORD pid, DWORD milliseconds);

// Starts xdotool on the X server that Wine draws on (real input, as a user gives it)
// and returns at once; false when it cannot be started.
bool StartXdotool(const std::wstring& arguments);

// The staged program, Korvane.exe in the application folder.
std::wstring StagedProgram();

}  // namespace quencfg::testing
