#include "quencfg/framework/foreground_win.h"

#include "quencfg/framework/handle_win.h"

namespace quencfg {

namespace {

enum class Front { kThisProgram, kAnotherProgram, kNone };

Front WhoIsInFront() noexcept {
  HWND front = ::GetForegroundWindow();
  if (front == nullptr) return Front::kNone;
  DWORD process = 0;
  ::GetWindowThreadProcessId(front, &process);
  return process == ::GetCurrentProcessId() ? Front::kThisProgram : Front::kAnotherProgram;
}

}  // namespace

bool ProgramIsInFront() noexcept { return WhoIsInFront() == Front::kThisProgram; }

bool AnotherProgramIsInFront() noexcept { return WhoIsInFront() == Front::kAnotherProgram; }

bool IsThreadOfThisProcess(DWORD threadId) noexcept {
  if (threadId == 0) return false;
  if (threadId == ::GetCurrentThreadId()) return true;
  UniqueKernelHandle thread(::OpenThread(THREAD_QUERY_LIMITED_INFORMATION, FALSE, threadId));
  return thread && ::GetProcessIdOfThread(thread.get()) == ::GetCurrentProcessId();
}

bool BringWindowBack(HWND window) noexcept {
  if (::IsIconic(window)) {
    ::ShowWindow(window, SW_RESTORE);  // also shows a window hidden while minimised
  } else if (!::IsWindowVisible(window)) {
    ::ShowWindow(window, SW_SHOW);
  }
  // A dialog the window owns and last had in front (the quit question) comes first, as
  // Windows brings a modal dialog with its owner.
  HWND front = ::GetLastActivePopup(window);
  if (front == nullptr || !::IsWindowVisible(front)) front = window;
  return ::SetForegroundWindow(front) != FALSE;
}

}  // namespace quencfg
