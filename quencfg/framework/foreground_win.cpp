#include "quencfg/framework/foreground_win.h"

#include "quencfg/framework/handle_win.h"

namespace quencfg {

bool ProgramIsInFront() noexcept {
  HWND front = ::GetForegroundWindow();
  if (front == nullptr) return false;
  DWORD process = 0;
  ::GetWindowThreadProcessId(front, &process);
  return process == ::GetCurrentProcessId();
}

bool IsThreadOfThisProcess(DWORD threadId) noexcept {
  if (threadId == 0) return false;
  if (threadId == ::GetCurrentThreadId()) return true;
  UniqueKernelHandle thread(::OpenThread(THREAD_QUERY_LIMITED_INFORMATION, FALSE, threadId));
  return thread && ::GetProcessIdOfThread(thread.get()) == ::GetCurrentProcessId();
}

}  // namespace quencfg
