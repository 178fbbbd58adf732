#include "quencfg/framework/program_windows_win.h"

#include <string>

#include "quencfg/framework/handle_win.h"
#include "quencfg/framework/text.h"
#include "quencfg/framework/wide_win.h"

namespace quencfg {
namespace {

DWORD ProcessOf(HWND window) noexcept {
  DWORD process = 0;
  return ::GetWindowThreadProcessId(window, &process) != 0 ? process : 0;
}

// The first window of that class and title, in z-order, that `accept` takes.
template <typename Accept>
HWND FindWindowWhere(const ProgramWindowName& name, Accept accept) {
  HWND found = nullptr;
  while ((found = ::FindWindowExW(nullptr, found, AsWide(name.className), AsWide(name.title))) != nullptr) {
    if (accept(found)) return found;
  }
  return nullptr;
}

}  // namespace

HWND FindOwnWindow(const ProgramWindowName& name) noexcept {
  const DWORD self = ::GetCurrentProcessId();
  return FindWindowWhere(name, [self](HWND window) noexcept { return ProcessOf(window) == self; });
}

HWND FindProgramWindow(const ProgramWindowName& name, std::u16string_view programFile) {
  const DWORD self = ::GetCurrentProcessId();
  return FindWindowWhere(name, [&](HWND window) {
    const DWORD process = ProcessOf(window);
    if (process == 0 || process == self) return false;
    const std::u16string file = ProcessFileName(process);
    return file.size() == programFile.size() && EndsWithIgnoringAsciiCase(file, programFile);
  });
}

std::u16string ProcessFileName(DWORD processId) {
  const UniqueKernelHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
  if (!process) return {};
  wchar_t path[MAX_PATH * 2] = {};
  DWORD length = sizeof path / sizeof path[0];
  if (!::QueryFullProcessImageNameW(process.get(), 0, path, &length)) return {};
  const std::u16string full = ToU16(std::wstring_view(path, length));
  const std::size_t slash = full.find_last_of(u"\\/");
  return slash == std::u16string::npos ? full : full.substr(slash + 1);
}

}  // namespace quencfg
