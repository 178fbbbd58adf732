#include "quencfg/ui/skin/png_slider_win.h"

#include <windowsx.h>

#include "quencfg/framework/gdi_win.h"
#include "quencfg/ui/skin/skin_draw_win.h"

namespace quencfg {

bool CPngHSliderBar::Create(const RECT& rect, HWND parent, int identifier, DWORD style, int controlId) {
  identifier_ = identifier;
  layout_ = rect;
  parent_ = parent;
  position_ = 0;
  minimum_ = 0;
  maximum_ = 10;
  WindowCreateParams params;
  params.className = L"KorvanePngHSliderBar";
  params.style = style;
  params.x = rect.left;
  params.y = rect.top;
  params.width = rect.right - rect.left;
  params.height = rect.bottom - rect.top;
  params.parent = parent;
  params.menuOrId = reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId));
  return Window::Create(params);
}

void CPngHSliderBar::SetBarImages(const RECT& rect, HBITMAP normal, HBITMAP active, HBITMAP disabled) {
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  barNormal_ = CropBitmap32(normal, 0, 0, width, height);
  barActive_ = CropBitmap32(active, 0, 0, width, height);
  barDisabled_ = CropBitmap32(disabled, 0, 0, width, height);
  Repaint();
}

void CPngHSliderBar::SetThumbImages(StateImages& thumb, bool topAligned) {
  const auto copy = [&thumb](int state) {
    const SkinBitmap& image = StateImage(thumb, state);
    return CropBitmap32(image.get(), 0, 0, image.width, image.height);
  };
  thumbNormal_ = copy(kStateNormal);
  thumbHover_ = copy(kStateOver);
  thumbPressed_ = copy(kStateDown);
  thumbDisabled_ = copy(kStateDisabled);
  topAligned_ = topAligned;
  Repaint();
}

void CPngHSliderBar::SetRange(int minimum, int maximum) {
  const bool changed = minimum != minimum_ || maximum != maximum_;
  minimum_ = minimum;
  maximum_ = maximum;
  position_ = ClampSliderPosition(Geometry(), position_);
  if (changed) Repaint();
}

void CPngHSliderBar::SetPos(int position) {
  if (position == position_) return;
  position_ = position;
  Repaint();
}

void CPngHSliderBar::SetBackground(const RECT& rect, HBITMAP parentBackground) {
  background_ = CropBitmap(nullptr, parentBackground, rect.left, rect.top, rect.right, rect.bottom);
  Repaint();
}

SliderGeometry CPngHSliderBar::Geometry() const {
  RECT client{};
  if (hwnd() != nullptr) ::GetClientRect(hwnd(), &client);
  // The mouse is measured in the parent's client coordinates, from the layout rectangle.
  return SliderGeometry{layout_.left, layout_.left + client.right, thumbNormal_.width, minimum_, maximum_};
}

int CPngHSliderBar::PositionAtClientX(int x) const { return SliderPositionFromX(Geometry(), x + layout_.left); }

void CPngHSliderBar::Repaint() {
  if (hwnd() != nullptr) ::InvalidateRect(hwnd(), nullptr, FALSE);
}

void CPngHSliderBar::PostPosition(int position) const {
  PostToWindow(parent_, kSliderMovedMessage, static_cast<WPARAM>(position), static_cast<LPARAM>(identifier_));
}

void CPngHSliderBar::Paint(HDC dc, const RECT& client) const {
  BlitBitmap(dc, background_, 0, 0);
  const SliderGeometry geometry = Geometry();
  const int thumbLeft = SliderThumbLeft(geometry, position_);
  const int halfThumb = thumbNormal_.width / 2;
  if (enabled_) {
    BlendBitmap(dc, barNormal_, thumbLeft, 0, client.right - thumbLeft, -1, thumbLeft, 0);
    BlendBitmap(dc, barActive_, 0, 0, thumbLeft + halfThumb, -1);
  } else {
    BlendBitmap(dc, barDisabled_, 0, 0);
  }
  const SkinBitmap* thumb = &thumbNormal_;
  if (!enabled_ && !thumbDisabled_.empty()) {
    thumb = &thumbDisabled_;
  } else if (dragging_) {
    thumb = &thumbPressed_;
  } else if (hovering_) {
    thumb = &thumbHover_;
  }
  const int top = topAligned_ ? 0 : client.bottom - thumbNormal_.height;
  BlendBitmap(dc, *thumb, thumbLeft, top);
}

void CPngHSliderBar::OnMouseMove(WPARAM keys, POINT point) {
  if (dragging_) {
    const int position = PositionAtClientX(point.x);
    if (position != position_) PostPosition(position);
    return;
  }
  if (::GetCapture() != hwnd()) {
    if (::GetActiveWindow() == nullptr || parent_ == nullptr) return;
    TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, hwnd(), 0};
    ::TrackMouseEvent(&track);
    hovering_ = true;
    ::SetCapture(hwnd());
    Repaint();
    return;
  }
  POINT screen = point;
  ::ClientToScreen(hwnd(), &screen);
  if (::WindowFromPoint(screen) != hwnd()) {
    if (hovering_) {
      hovering_ = false;
      Repaint();
    }
    if ((keys & MK_LBUTTON) == 0) ::ReleaseCapture();
  }
}

LRESULT CPngHSliderBar::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  const auto paint = [this](HDC dc, const RECT& client) { Paint(dc, client); };
  if (const auto painted = HandlePaintMessages(hwnd(), message, wParam, paint)) return *painted;
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      dragging_ = true;
      ::SetCapture(hwnd());
      Repaint();
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMove(wParam, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      return 0;
    case WM_LBUTTONUP:
      if (dragging_) {
        dragging_ = false;
        if (::GetCapture() == hwnd()) ::ReleaseCapture();
        Repaint();
        PostPosition(PositionAtClientX(GET_X_LPARAM(lParam)));
      }
      return 0;
    case WM_MOUSELEAVE:
      if (hovering_) {
        hovering_ = false;
        Repaint();
      }
      return 0;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != hwnd() && (hovering_ || dragging_)) {
        hovering_ = false;
        dragging_ = false;  // a drag cut off by another window ends without a position
        Repaint();
      }
      return 0;
    case WM_MOUSEWHEEL:
      PostPosition(SliderWheelPosition(Geometry(), position_, GET_WHEEL_DELTA_WPARAM(wParam)));
      return 0;
    case WM_ENABLE:
      enabled_ = wParam != 0;
      Repaint();
      return 0;
    case kSliderMovedMessage:
      PostToWindow(parent_, kSliderMovedMessage, wParam, static_cast<LPARAM>(identifier_));
      return 0;
    default:
      return DefaultHandling(message, wParam, lParam);
  }
}

}  // namespace quencfg
