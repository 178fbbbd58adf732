#include "support/foreign_window_win.h"

#include "quencfg/framework/wide_win.h"

namespace quencfg::testing {

ForeignWindow::ForeignWindow(const char16_t* title, const wchar_t* className) {
  WindowCreateParams params;
  params.className = className;
  params.title = AsWide(title);
  params.style = WS_POPUP;
  params.width = 10;
  params.height = 10;
  if (Create(params)) ::SetWindowPos(hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

LRESULT ForeignWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  // The program's own messages lie between WM_USER and the registered ones.
  const bool programs = message >= WM_USER && message < 0xC000;
  if (programs || message == WM_CLOSE || message == WM_COMMAND || message == WM_SHOWWINDOW) {
    received.push_back(message);
  }
  return DefaultHandling(message, wParam, lParam);
}

}  // namespace quencfg::testing
