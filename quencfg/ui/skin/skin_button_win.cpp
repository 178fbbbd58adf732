#include "quencfg/ui/skin/skin_button_win.h"

#include <windowsx.h>

#include <utility>

#include "quencfg/framework/clock.h"
#include "quencfg/framework/gdi_win.h"
#include "quencfg/ui/skin/skin_draw_win.h"
#include "quencfg/ui/skin/skin_loaders_win.h"

namespace quencfg {

bool SkinButton::Create(HWND parent, const RECT& place) {
  HWND button = CreateSkinButtonWindow(parent, place);
  if (button == nullptr) return false;
  if (!Attach(button)) {
    ::DestroyWindow(button);
    return false;
  }
  return true;
}

void SkinButton::SetBackgroundPiece(SkinBitmap piece) {
  SetBackgroundPlace(std::make_shared<const SkinBitmap>(std::move(piece)), POINT{0, 0});
}

void SkinButton::SetBackgroundPlace(std::shared_ptr<const SkinBitmap> windowBackground, POINT origin) {
  background_ = std::move(windowBackground);
  backgroundOrigin_ = origin;
  Redraw();
}

void SkinButton::DrawBackground(HDC dc, const RECT& client) const {
  if (!background_) return;
  BlitBitmap(dc, *background_, 0, 0, client.right - client.left, client.bottom - client.top, backgroundOrigin_.x,
             backgroundOrigin_.y);
}

void SkinButton::Redraw() {
  if (hwnd() != nullptr) ::InvalidateRect(hwnd(), nullptr, FALSE);
}

std::uint32_t SkinButton::Now() const { return TickNow(tickSource_); }

void SkinButton::SendCommand(WORD code) {
  HWND self = hwnd();
  HWND parent = ::GetParent(self);
  lastCommandTime_ = Now();
  const WPARAM wParam = MAKEWPARAM(static_cast<WORD>(::GetDlgCtrlID(self)), code);
  // Last thing a handler does: the parent may destroy the button while handling it.
  ::SendMessageW(parent, WM_COMMAND, wParam, reinterpret_cast<LPARAM>(self));
}

void SkinButton::OnRelease() { SendCommand(BN_CLICKED); }

void SkinButton::OnDoubleClick() {
  if (Now() != lastCommandTime_) SendCommand(BN_DBLCLK);
}

bool SkinButton::PointerOver(POINT clientPoint) const {
  if (!InsideClientArea(clientPoint)) return false;
  POINT screen = clientPoint;
  ::ClientToScreen(hwnd(), &screen);
  return ::WindowFromPoint(screen) == hwnd();  // a window above the button hides it
}

bool SkinButton::CanAct() const noexcept {
  return ::IsWindowEnabled(hwnd()) && ::IsWindowEnabled(::GetAncestor(hwnd(), GA_ROOT));
}

void SkinButton::StopHovering() {
  if (!hovering_) return;
  hovering_ = false;
  Redraw();
}

void SkinButton::StartPress() {
  pressed_ = true;
  pointerInside_ = true;
  if (::GetCapture() != hwnd()) ::SetCapture(hwnd());
  Redraw();
}

void SkinButton::OnMouseMove(WPARAM keys, POINT point) {
  const bool leftHeld = (keys & MK_LBUTTON) != 0;
  if (::GetCapture() != hwnd()) {
    if (leftHeld && !hovering_) return;
    if (!hovering_) {
      TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, hwnd(), 0};
      ::TrackMouseEvent(&track);
    }
    hovering_ = true;
    ::SetCapture(hwnd());
    Redraw();
    return;
  }
  const bool over = PointerOver(point);
  if (pressed_ && over != pointerInside_) {
    pointerInside_ = over;
    Redraw();
  }
  if (!over) {
    StopHovering();
    if (!leftHeld && !pressed_) ::ReleaseCapture();
  } else if (!hovering_ && !pressed_) {
    hovering_ = true;
    Redraw();
  }
}

void SkinButton::FinishPress(POINT point) {
  if (!pressed_) return;
  pressed_ = false;
  if (!PointerOver(point)) {
    hovering_ = false;
    if (::GetCapture() == hwnd()) ::ReleaseCapture();
  }
  Redraw();
  // As with every standard button, dragging off before letting go takes the press back.
  if (InsideClientArea(point)) OnRelease();
}

bool SkinButton::InsideClientArea(POINT clientPoint) const {
  RECT client{};
  ::GetClientRect(hwnd(), &client);
  return ::PtInRect(&client, clientPoint) != FALSE;
}

void SkinButton::ForgetHoverOfAPointerGone() {
  if (!hovering_ || pressed_) return;
  POINT cursor{};
  if (!::GetCursorPos(&cursor)) return;
  ::ScreenToClient(hwnd(), &cursor);
  if (PointerOver(cursor)) return;
  // The pointer left while the window was hidden (or covered): no move told the button.
  hovering_ = false;
  if (::GetCapture() == hwnd()) ::ReleaseCapture();
}

LRESULT SkinButton::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) ForgetHoverOfAPointerGone();
  const auto paint = [this](HDC dc, const RECT& client) { Paint(dc, client); };
  if (const auto painted = HandlePaintMessages(hwnd(), message, wParam, paint)) return *painted;
  switch (message) {
    case WM_MOUSEMOVE:
      OnMouseMove(wParam, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      return 0;
    case WM_MOUSELEAVE:
      StopHovering();
      return 0;
    case WM_SETFOCUS:
      Redraw();  // the keyboard focus shows on the button
      return DefaultHandling(message, wParam, lParam);
    case WM_KILLFOCUS:
      StopHovering();
      Redraw();
      return DefaultHandling(message, wParam, lParam);
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != hwnd()) {
        pressed_ = false;
        StopHovering();
      }
      return 0;
    case WM_LBUTTONDOWN:
      // Handled here, not by the button class: no focus taken, no command of its own.
      StartPress();
      return 0;
    case WM_LBUTTONUP:
      FinishPress(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      return 0;
    case WM_LBUTTONDBLCLK:
      OnDoubleClick();
      return 0;
    case WM_MOUSEWHEEL:
      ::PostMessageW(::GetParent(hwnd()), WM_VSCROLL, GET_WHEEL_DELTA_WPARAM(wParam) > 0 ? SB_LINEUP : SB_LINEDOWN, 0);
      return DefaultHandling(message, wParam, lParam);
    case WM_SETCURSOR:
      if (KeepsCursor()) return TRUE;
      return DefaultHandling(message, wParam, lParam);
    case WM_ENABLE:
      Redraw();
      return DefaultHandling(message, wParam, lParam);
    default:
      return DefaultHandling(message, wParam, lParam);
  }
}

}  // namespace quencfg
