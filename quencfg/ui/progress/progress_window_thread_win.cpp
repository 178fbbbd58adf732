#include "quencfg/ui/progress/progress_window_thread_win.h"

#include <memory>

#include "quencfg/device/progress_thread_win.h"
#include "quencfg/framework/com_apartment_win.h"
#include "quencfg/framework/messages.h"
#include "quencfg/framework/program_windows_win.h"
#include "quencfg/ui/progress/progress_dlg_win.h"

namespace quencfg {
namespace {

void CloseWindow(std::unique_ptr<CProgressDlg>& window) {
  if (!window) return;
  window->Destroy();
  window.reset();
}

void OpenWindow(std::unique_ptr<CProgressDlg>& window) {
  CloseWindow(window);  // at most one progress window, even if a close went missing
  auto created = std::make_unique<CProgressDlg>();
  if (!created->CreateModeless()) return;
  created->PlaceOverMainWindow(FindOwnWindow(kMainWindowName));
  created->SetPos(0);
  ::ShowWindow(created->hwnd(), SW_SHOWNOACTIVATE);
  ::UpdateWindow(created->hwnd());
  window = std::move(created);
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
      ::Sleep(kProgressClosePauseMs);
      ::ShowWindow(window->hwnd(), SW_HIDE);
      CloseWindow(window);
      break;
    default:
      break;
  }
}

}  // namespace

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

}  // namespace quencfg
