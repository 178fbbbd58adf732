#include "quencfg/device/progress_thread_win.h"

#include <atomic>
#include <memory>

#include "quencfg/framework/messages.h"

namespace quencfg {
namespace {

constexpr DWORD kQueueReadyTimeoutMs = 10000;
constexpr DWORD kStopTimeoutMs = 5000;

std::atomic<DWORD> g_progressThreadId{0};

void PostProgress(UINT message, WPARAM wParam) {
  const DWORD thread = g_progressThreadId.load();
  if (thread != 0) ::PostThreadMessageW(thread, message, wParam, 0);
}

}  // namespace

DWORD ProgressThreadId() noexcept { return g_progressThreadId.load(); }

void SignalQueueReady(LPVOID parameter) noexcept {
  MSG peek{};
  ::PeekMessageW(&peek, nullptr, WM_USER, WM_USER, PM_NOREMOVE);  // makes the queue
  const auto* start = static_cast<const ProgressThreadStart*>(parameter);
  if (start != nullptr && start->queueReady != nullptr) ::SetEvent(start->queueReady);
}

StartedThread StartProgressThread(LPTHREAD_START_ROUTINE entry) {
  auto ready = std::make_unique<UniqueKernelHandle>(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
  auto start = std::make_unique<ProgressThreadStart>(ProgressThreadStart{ready->get()});
  StartedThread thread = StartThread(entry, start.get(), kProgressThreadStackSize);
  if (!thread.handle) return thread;
  if (::WaitForSingleObject(ready->get(), kQueueReadyTimeoutMs) != WAIT_OBJECT_0) {
    // The thread may still signal later: what it uses must outlive this frame.
    (void)start.release();
    (void)ready.release();
  }
  g_progressThreadId.store(thread.id);
  return thread;
}

void StopProgressThread(StartedThread& thread) {
  if (!thread.handle) return;
  ::PostThreadMessageW(thread.id, WM_QUIT, 0, 0);
  ::WaitForSingleObject(thread.handle.get(), kStopTimeoutMs);
  DWORD expected = thread.id;
  g_progressThreadId.compare_exchange_strong(expected, 0);
  thread.handle.reset();
  thread.id = 0;
}

void PostedProgress::Open() { PostProgress(UM_PROGRESSOPEN, 0); }
void PostedProgress::Position(int percent) { PostProgress(UM_PROGRESSPOS, static_cast<WPARAM>(percent)); }
void PostedProgress::Close() { PostProgress(UM_PROGRESSCLOSE, 0); }

}  // namespace quencfg
