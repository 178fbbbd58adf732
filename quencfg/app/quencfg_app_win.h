#pragma once
// The application object: single instance, the two folders, the device thread,
// GDI+, and the main window run modally.
#include <windows.h>

#include <cstdint>
#include <string>

#include "quencfg/framework/handle_win.h"

namespace quencfg {

inline constexpr UINT ID_HELP = 0xE146;  // the framework's standard help command

class CQuencfgApp {
 public:
  // `startInTray`: a start at sign-in, which keeps the main window hidden.
  explicit CQuencfgApp(bool startInTray = false) : startInTray_(startInTray) {}
  CQuencfgApp(const CQuencfgApp&) = delete;
  CQuencfgApp& operator=(const CQuencfgApp&) = delete;

  // Start-up, then the main window's modal run. False for a second instance.
  bool InitInstance();
  // Shutdown; returns the exit code.
  int ExitInstance();

  // Opens the help file with the shell's default action.
  void OnHelp() const;

  int Run();

 private:
  bool TakeSingleInstanceMutex();
  void FixFolders();
  void StartDeviceThread();
  void StartGdiplus();
  void RunMainWindow();

  UniqueKernelHandle mutex_;
  ULONG_PTR gdiplusToken_ = 0;
  UniqueKernelHandle deviceThread_;
  bool startInTray_ = false;
};

// AppFolder + "Help\\Help.pdf".
std::u16string HelpFilePath();

// Asks the running instance to show its main window; true when a window was found.
bool ShowRunningInstance();

}  // namespace quencfg
