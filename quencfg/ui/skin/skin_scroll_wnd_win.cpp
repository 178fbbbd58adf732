#include "quencfg/ui/skin/skin_scroll_wnd_win.h"

#include <commctrl.h>

namespace quencfg {
namespace {

constexpr int kHorizontalBarId = 100;
constexpr int kVerticalBarId = 101;
constexpr int kFallbackThickness = 12;
constexpr UINT kRelayoutMessage = WM_APP + 0x351;  // posted to the window when its bars come or go

RECT RectInParent(HWND window) {
  RECT rect{};
  ::GetWindowRect(window, &rect);
  ::MapWindowPoints(nullptr, ::GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

}  // namespace

bool CSkinScrollCorner::Create(HWND parent, HBITMAP bitmap) {
  bitmap_ = bitmap;
  WindowCreateParams params;
  params.className = L"KorvaneSkinScrollCorner";
  params.style = WS_CHILD;
  params.x = params.y = params.width = params.height = 0;
  params.parent = parent;
  params.classStyle = 0;
  return Window::Create(params);
}

LRESULT CSkinScrollCorner::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  const auto paint = [this](HDC dc, const RECT& client) { CSkinScrollBar::DrawCorner(dc, bitmap_, client, false); };
  if (const auto painted = HandlePaintMessages(hwnd(), message, wParam, paint)) return *painted;
  return DefaultHandling(message, wParam, lParam);
}

CSkinScrollWnd::~CSkinScrollWnd() { Detach(); }

bool CSkinScrollWnd::Attach(HWND window, HBITMAP bitmap) {
  if (window_ != nullptr || window == nullptr) return false;
  HWND parent = ::GetParent(window);
  if (parent == nullptr) return false;
  place_ = RectInParent(window);
  if (!vertical_.Create(parent, RECT{}, true, bitmap, kVerticalBarId, false) ||
      !horizontal_.Create(parent, RECT{}, false, bitmap, kHorizontalBarId, false) ||
      !corner_.Create(parent, bitmap)) {
    vertical_.Destroy();
    horizontal_.Destroy();
    corner_.Destroy();
    return false;
  }
  vertical_.SetTarget(window);
  horizontal_.SetTarget(window);
  if (!::SetWindowSubclass(window, &CSkinScrollWnd::Procedure, reinterpret_cast<UINT_PTR>(this),
                           reinterpret_cast<DWORD_PTR>(this))) {
    vertical_.Destroy();
    horizontal_.Destroy();
    return false;
  }
  window_ = window;
  ::SetTimer(window_, kScrollSyncTimer, kScrollSyncMs, nullptr);
  laidOut_ = false;
  Sync();
  return true;
}

void CSkinScrollWnd::Detach() {
  if (window_ != nullptr && ::IsWindow(window_)) {
    ::KillTimer(window_, kScrollSyncTimer);
    ::RemoveWindowSubclass(window_, &CSkinScrollWnd::Procedure, reinterpret_cast<UINT_PTR>(this));
    ::SetWindowRgn(window_, nullptr, TRUE);
    ::SetWindowPos(window_, nullptr, place_.left, place_.top, place_.right - place_.left, place_.bottom - place_.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
  }
  window_ = nullptr;
  vertical_.Destroy();
  horizontal_.Destroy();
  corner_.Destroy();
}

void CSkinScrollWnd::Relayout() {
  relayouting_ = true;
  const LONG_PTR style = ::GetWindowLongPtrW(window_, GWL_STYLE);
  showVertical_ = (style & WS_VSCROLL) != 0;
  showHorizontal_ = (style & WS_HSCROLL) != 0;
  const int thickness = vertical_.CellWidth() > 0 ? vertical_.CellWidth() : kFallbackThickness;
  const int width = place_.right - place_.left;
  const int height = place_.bottom - place_.top;
  const int visibleWidth = width - (showVertical_ ? thickness : 0);
  const int visibleHeight = height - (showHorizontal_ ? thickness : 0);
  // The native bars lie beyond the visible part and are cut off by the region.
  const int windowWidth = visibleWidth + (showVertical_ ? ::GetSystemMetrics(SM_CXVSCROLL) : 0);
  const int windowHeight = visibleHeight + (showHorizontal_ ? ::GetSystemMetrics(SM_CYHSCROLL) : 0);
  ::SetWindowPos(window_, nullptr, place_.left, place_.top, windowWidth, windowHeight, SWP_NOZORDER | SWP_NOACTIVATE);
  if (showVertical_ || showHorizontal_) {
    ::SetWindowRgn(window_, ::CreateRectRgn(0, 0, visibleWidth, visibleHeight), TRUE);
  } else {
    ::SetWindowRgn(window_, nullptr, TRUE);
  }
  const bool windowShown = ::IsWindowVisible(window_) != FALSE;
  const UINT verticalShow = showVertical_ && windowShown ? SWP_SHOWWINDOW : SWP_HIDEWINDOW;
  const UINT horizontalShow = showHorizontal_ && windowShown ? SWP_SHOWWINDOW : SWP_HIDEWINDOW;
  ::SetWindowPos(vertical_.hwnd(), HWND_TOP, place_.left + visibleWidth, place_.top, thickness, visibleHeight,
                 SWP_NOACTIVATE | verticalShow);
  ::SetWindowPos(horizontal_.hwnd(), HWND_TOP, place_.left, place_.top + visibleHeight, visibleWidth, thickness,
                 SWP_NOACTIVATE | horizontalShow);
  const UINT cornerShow = showVertical_ && showHorizontal_ && windowShown ? SWP_SHOWWINDOW : SWP_HIDEWINDOW;
  ::SetWindowPos(corner_.hwnd(), HWND_TOP, place_.left + visibleWidth, place_.top + visibleHeight, thickness,
                 thickness, SWP_NOACTIVATE | cornerShow);
  laidOut_ = true;
  relayouting_ = false;
}

void CSkinScrollWnd::SyncBar(CSkinScrollBar& bar, int which) {
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  if (!::GetScrollInfo(window_, which, &info)) return;
  const ScrollState state{info.nMin, info.nMax, static_cast<int>(info.nPage), info.nPos};
  if (!bar.dragging() && !(state == bar.scrollState())) bar.SetScrollState(state);
  ::EnableWindow(bar.hwnd(), info.nMax >= static_cast<int>(info.nPage));
}

void CSkinScrollWnd::Sync() {
  if (window_ == nullptr) return;
  const LONG_PTR style = ::GetWindowLongPtrW(window_, GWL_STYLE);
  if (!laidOut_ || showVertical_ != ((style & WS_VSCROLL) != 0) || showHorizontal_ != ((style & WS_HSCROLL) != 0)) {
    Relayout();
  }
  if (showVertical_) SyncBar(vertical_, SB_VERT);
  if (showHorizontal_) SyncBar(horizontal_, SB_HORZ);
}

LRESULT CSkinScrollWnd::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_VSCROLL:
    case WM_HSCROLL: {
      HWND from = reinterpret_cast<HWND>(lParam);
      if (from != vertical_.hwnd() && from != horizontal_.hwnd()) break;
      // Passed on as the window's own bar would send it.
      const LRESULT result = ::DefSubclassProc(window_, message, wParam, 0);
      if (LOWORD(wParam) != SB_THUMBTRACK) Sync();
      return result;
    }
    case WM_ERASEBKGND: {
      const LRESULT result = ::DefSubclassProc(window_, message, wParam, lParam);
      if (showVertical_) SyncBar(vertical_, SB_VERT);
      if (showHorizontal_) SyncBar(horizontal_, SB_HORZ);
      return result;
    }
    case WM_NCCALCSIZE: {
      const LONG_PTR style = ::GetWindowLongPtrW(window_, GWL_STYLE);
      if (laidOut_ && !relayouting_ &&
          (showVertical_ != ((style & WS_VSCROLL) != 0) || showHorizontal_ != ((style & WS_HSCROLL) != 0))) {
        ::PostMessageW(window_, kRelayoutMessage, 0, 0);
      }
      break;
    }
    case kRelayoutMessage:
      Sync();
      return 0;
    case WM_TIMER:
      if (wParam != kScrollSyncTimer) break;
      Sync();
      return 0;
    case WM_SHOWWINDOW:
      ::ShowWindow(vertical_.hwnd(), wParam != 0 && showVertical_ ? SW_SHOWNA : SW_HIDE);
      ::ShowWindow(horizontal_.hwnd(), wParam != 0 && showHorizontal_ ? SW_SHOWNA : SW_HIDE);
      ::ShowWindow(corner_.hwnd(), wParam != 0 && showVertical_ && showHorizontal_ ? SW_SHOWNA : SW_HIDE);
      break;
    case WM_WINDOWPOSCHANGED: {
      const auto* position = reinterpret_cast<const WINDOWPOS*>(lParam);
      if (relayouting_ || ((position->flags & SWP_NOMOVE) != 0 && (position->flags & SWP_NOSIZE) != 0)) break;
      const LRESULT result = ::DefSubclassProc(window_, message, wParam, lParam);
      // Moved or sized from outside: the bars go with it.
      const RECT now = RectInParent(window_);
      if ((position->flags & SWP_NOSIZE) != 0) {
        ::OffsetRect(&place_, now.left - place_.left, now.top - place_.top);
      } else {
        place_ = now;  // a new size from outside includes the bars
      }
      Relayout();
      return result;
    }
    case WM_NCDESTROY: {
      HWND window = window_;
      ::KillTimer(window, kScrollSyncTimer);
      ::RemoveWindowSubclass(window, &CSkinScrollWnd::Procedure, reinterpret_cast<UINT_PTR>(this));
      window_ = nullptr;
      vertical_.Destroy();
      horizontal_.Destroy();
      corner_.Destroy();
      return ::DefSubclassProc(window, message, wParam, lParam);
    }
    default:
      break;
  }
  return ::DefSubclassProc(window_, message, wParam, lParam);
}

LRESULT CALLBACK CSkinScrollWnd::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                           DWORD_PTR data) {
  auto* self = reinterpret_cast<CSkinScrollWnd*>(data);
  if (self == nullptr || self->window_ != hwnd) return ::DefSubclassProc(hwnd, message, wParam, lParam);
  return self->HandleMessage(message, wParam, lParam);
}

}  // namespace quencfg
