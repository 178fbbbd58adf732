#include "quencfg/ui/main/quencfg_dlg_win.h"

#include "quencfg/app/messages.h"
#include "quencfg/app/quencfg_app_win.h"
#include "quencfg/framework/gdi_win.h"
#include "quencfg/framework/wide_win.h"

namespace quencfg {

bool CQuencfgDlg::CreateForModal(HWND owner) {
  WindowCreateParams params;
  params.className = L"KorvaneMainWindow";
  params.title = AsWide(kMainWindowTitle);
  params.style = WS_OVERLAPPEDWINDOW;
  params.width = 800;
  params.height = 500;
  params.parent = owner;
  return Create(params);
}

LRESULT CQuencfgDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case UM_SHOWMAIN:
      ::ShowWindow(hwnd(), SW_SHOW);
      ::SetForegroundWindow(hwnd());
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      Paint();
      return 0;
    case WM_HELP:
      if (onHelp_) onHelp_();
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == ID_HELP && onHelp_) {
        onHelp_();
        return 0;
      }
      return DefaultHandling(message, wParam, lParam);
    case WM_CLOSE:
      EndModal(IDCANCEL);
      return 0;
    default:
      return DefaultHandling(message, wParam, lParam);
  }
}

void CQuencfgDlg::Paint() {
  PaintDoubleBuffered(hwnd(), [](HDC dc, const RECT& client) {
    OwnedBrush background(::CreateSolidBrush(RGB(32, 34, 40)));
    ::FillRect(dc, &client, background.get());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, RGB(230, 230, 235));
    RECT text = client;
    ::DrawTextW(dc, L"Korvane", -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  });
}

}  // namespace quencfg
