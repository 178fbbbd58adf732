#include "quencfg/framework/thread_win.h"

namespace quencfg {

StartedThread StartThread(LPTHREAD_START_ROUTINE entry, void* argument, SIZE_T stackSize) {
  StartedThread thread;
  thread.handle.reset(::CreateThread(nullptr, stackSize, entry, argument, 0, &thread.id));
  if (!thread.handle) thread.id = 0;
  return thread;
}

int RunMessageLoop() {
  MSG msg{};
  BOOL got = 0;
  while ((got = ::GetMessageW(&msg, nullptr, 0, 0)) != 0) {
    if (got == -1) return -1;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

}  // namespace quencfg
