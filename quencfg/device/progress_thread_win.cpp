#include "quencfg/device/progress_thread_win.h"

#include <atomic>
#include <memory>

#include "quencfg/app/messages.h"
#include "quencfg/app/window_refs_win.h"
#include "quencfg/device/progress_dlg_win.h"
#include "quencfg/framework/com_apartment_win.h"
#include "quencfg/ui/main/quencfg_dlg_win.h"

namespace quencfg {
namespace {

constexpr DWORD kQueueReadyTimeoutMs = 10000;
constexpr DWORD kStopTimeoutMs = 5000;

std::atomic<DWORD> g_progressThreadId{0};
std::atomic<CProgressDlg*> g_progressWindow{nullptr};

HWND MainWindowHandle() {
  CQuencfgDlg* main = MainWindow();
  return main != nullptr ? main->hwnd() : nullptr;
}

void CloseWindow(std::unique_ptr<CProgressDlg>& window) {
  if (!window) return;
  g_progressWindow.store(nullptr);
  window->Destroy();
  window.reset();
}

void OpenWindow(std::unique_ptr<CProgressDlg>& window) {
  CloseWindow(window);  // at most one progress window, even if a close went missing
  auto created = std::make_unique<CProgressDlg>();
  if (!created->CreateModeless()) return;
  created->PlaceOverMainWindow(MainWindowHandle());
  created->SetPos(0);
  ::ShowWindow(created->hwnd(), SW_SHOWNOACTIVATE);
  ::UpdateWindow(created->hwnd());
  window = std::move(created);
  g_progressWindow.store(window.get());
}

void HandleThreadMessage(const MSG& message, std::unique_ptr<CProgressDlg>& window) {
  switch (message.message) {
    case UM_PROGRESSOPEN:
      OpenWindow(window);
      break;
    case UM_PROGRESSPOS:
      if (window) window->SetPos(static_cast<int>(message.wParam > 100 ? -1 : message.wParam));
      break;
    case UM_PROGRESSCLOSE:
      if (!window) break;
      window->SetPos(100);
      ::Sleep(PROGRESS_CLOSE_PAUSE_MS);
      ::ShowWindow(window->hwnd(), SW_HIDE);
      CloseWindow(window);
      break;
    default:
      break;
  }
}

void PostProgress(UINT message, WPARAM wParam) {
  const DWORD thread = g_progressThreadId.load();
  if (thread != 0) ::PostThreadMessageW(thread, message, wParam, 0);
}

}  // namespace

DWORD ProgressThreadId() noexcept { return g_progressThreadId.load(); }

CProgressDlg* CurrentProgressWindow() noexcept { return g_progressWindow.load(); }

void SignalQueueReady(LPVOID parameter) noexcept {
  MSG peek{};
  ::PeekMessageW(&peek, nullptr, WM_USER, WM_USER, PM_NOREMOVE);  // makes the queue
  const auto* start = static_cast<const ProgressThreadStart*>(parameter);
  if (start != nullptr && start->queueReady != nullptr) ::SetEvent(start->queueReady);
}

DWORD WINAPI ProgressThreadMain(LPVOID parameter) {
  ComApartment com;  // for the picture loader of the skin images
  SignalQueueReady(parameter);
  std::unique_ptr<CProgressDlg> window;
  MSG message{};
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (message.hwnd == nullptr) {
      HandleThreadMessage(message, window);
      continue;
    }
    // The window's own messages: painting; input is swallowed by the window.
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  CloseWindow(window);
  return 0;
}

StartedThread StartProgressThread(LPTHREAD_START_ROUTINE entry) {
  auto ready = std::make_unique<UniqueKernelHandle>(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
  auto start = std::make_unique<ProgressThreadStart>(ProgressThreadStart{ready->get()});
  StartedThread thread = StartThread(entry, start.get(), PROGRESS_THREAD_STACK_SIZE);
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
