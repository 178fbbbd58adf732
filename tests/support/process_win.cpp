#include "support/process_win.h"

namespace quencfg::testing {

ChildProcess::ChildProcess(const std::wstring& exe, const std::wstring& arguments) {
  std::wstring commandLine = L"\"" + exe + L"\"";
  if (!arguments.empty()) commandLine += L" " + arguments;
  const std::wstring folder = exe.substr(0, exe.find_last_of(L'\\') + 1);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       folder.c_str(), &startup, &info)) {
    ::CloseHandle(info.hThread);
    process_.reset(info.hProcess);
    id_ = info.dwProcessId;
  }
}

ChildProcess::~ChildProcess() {
  if (process_ && ::WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
    ::TerminateProcess(process_.get(), 99);
    ::WaitForSingleObject(process_.get(), 5000);
  }
}

bool ChildProcess::WaitForExit(DWORD milliseconds, DWORD* code) {
  if (!process_ || ::WaitForSingleObject(process_.get(), milliseconds) != WAIT_OBJECT_0) return false;
  if (code != nullptr) ::GetExitCodeProcess(process_.get(), code);
  return true;
}

HWND WaitForWindow(const wchar_t* title, DWORD pid, DWORD milliseconds) {
  const DWORD start = ::GetTickCount();
  do {
    HWND found = nullptr;
    while ((found = ::FindWindowExW(nullptr, found, nullptr, title)) != nullptr) {
      DWORD owner = 0;
      ::GetWindowThreadProcessId(found, &owner);
      if (pid == 0 || owner == pid) return found;
    }
    ::Sleep(50);
  } while (::GetTickCount() - start < milliseconds);
  return nullptr;
}

HWND WaitForVisibleWindowOf(DWORD pid, DWORD milliseconds) {
  struct Search {
    DWORD pid;
    HWND found;
  };
  const DWORD start = ::GetTickCount();
  do {
    Search search{pid, nullptr};
    ::EnumWindows(
        [](HWND window, LPARAM parameter) -> BOOL {
          auto* s = reinterpret_cast<Search*>(parameter);
          DWORD owner = 0;
          ::GetWindowThreadProcessId(window, &owner);
          if (owner != s->pid || !::IsWindowVisible(window)) return TRUE;
          s->found = window;
          return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    if (search.found != nullptr) return search.found;
    ::Sleep(50);
  } while (::GetTickCount() - start < milliseconds);
  return nullptr;
}

bool StartXdotool(const std::wstring& arguments) {
  std::wstring command = L"Z:\\usr\\bin\\xdotool " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    return false;
  }
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  return true;
}

std::wstring StagedProgram() { return std::wstring(KORVANE_TEST_APP_DIR) + L"Korvane.exe"; }

}  // namespace quencfg::testing
