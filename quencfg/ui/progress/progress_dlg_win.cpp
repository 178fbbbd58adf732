#include "quencfg/ui/progress/progress_dlg_win.h"

#include "quencfg/ui/progress/ignored_input_win.h"
#include "quencfg/ui/skin/skin_documents.h"
#include "quencfg/ui/skin/skins_folder_win.h"
#include "quencfg/ui/skin/skin_picture_win.h"

namespace quencfg {
namespace {

// The size of the shipped background, used when the image is missing so that the
// window still opens with a readable bar.
constexpr int kFallbackWidth = 750;
constexpr int kFallbackHeight = 150;

std::u16string SkinFile(const char16_t* name) { return SkinsFolder() + name; }

}  // namespace

bool CProgressDlg::CreateModeless() {
  WindowCreateParams params;
  params.className = L"KorvaneProgressWindow";
  params.title = kProgressWindowTitle;
  params.style = WS_POPUP;
  // Never activated, so the keyboard focus stays where the user left it.
  params.exStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
  params.x = 0;
  params.y = 0;
  params.width = kFallbackWidth;
  params.height = kFallbackHeight;
  return Create(params);
}

bool CProgressDlg::OnCreate() {
  background_ = LoadPicture(SkinFile(u"updatebar_n.jpg"));
  SkinBitmap filled = LoadPicture(SkinFile(u"updatebar_o.jpg"));
  width_ = background_.empty() ? kFallbackWidth : background_.width;
  height_ = background_.empty() ? kFallbackHeight : background_.height;
  const std::u16string caption = LookupString(StringDocument(), u"TRAYICON", u"LOADING");

  ::SetWindowPos(hwnd(), nullptr, 0, 0, width_, height_, SWP_NOZORDER | SWP_NOACTIVATE);
  const RECT whole{0, 0, width_, height_};
  if (!marker_.CreateControl(hwnd(), kProgressBarId, whole, caption)) return false;
  WindowDc screen(nullptr);
  marker_.SetImages(
      background_.empty() ? SkinBitmap{} : CropBitmap(screen.get(), background_.get(), 0, 0, width_, height_),
      filled.empty() ? SkinBitmap{} : CropBitmap(screen.get(), filled.get(), 0, 0, width_, height_));
  ::SetWindowTextW(hwnd(), kProgressWindowTitle);
  marker_.SetRange(0, 100);
  return true;
}

void CProgressDlg::PlaceOverMainWindow(HWND mainWindow) {
  HWND self = hwnd();
  const bool hasMain = mainWindow != nullptr && ::IsWindow(mainWindow);
  // Centred in the work area of the main window's monitor (for a hidden or minimised
  // main window, where it was last shown), else of the monitor nearest to the origin.
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  const HMONITOR shownOn = ::MonitorFromWindow(hasMain ? mainWindow : self, MONITOR_DEFAULTTONEAREST);
  if (!::GetMonitorInfoW(shownOn, &monitor)) {
    ::SetWindowPos(self, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return;
  }
  RECT window{};
  ::GetWindowRect(self, &window);
  const RECT& area = monitor.rcWork;
  const int x = area.left + ((area.right - area.left) - (window.right - window.left)) / 2;
  const int y = area.top + ((area.bottom - area.top) - (window.bottom - window.top)) / 2;
  ::SetWindowPos(self, HWND_TOPMOST, x, y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
}

void CProgressDlg::SetPos(int position) { marker_.SetPos(position); }

void CProgressDlg::Paint(HDC dc) const {
  if (background_.empty()) return;  // the bar covers the whole window anyway
  MemoryDc source(dc);
  SelectScope select(source.get(), background_.get());
  ::BitBlt(dc, 0, 0, width_, height_, source.get(), 0, 0, SRCCOPY);
}

LRESULT CProgressDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (IsIgnoredInput(message)) return 0;  // only the progress thread ends the window
  const auto paint = [this](HDC dc, const RECT&) { Paint(dc); };
  if (const auto painted = HandlePaintMessages(hwnd(), message, wParam, paint)) return *painted;
  switch (message) {
    case WM_CREATE:
      if (DefaultHandling(message, wParam, lParam) == -1) return -1;
      return OnCreate() ? 0 : -1;
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    default:
      return DefaultHandling(message, wParam, lParam);
  }
}

}  // namespace quencfg
