#include "quencfg/ui/skin/bitmap_btn_win.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

#include "quencfg/framework/gdi_win.h"
#include "quencfg/framework/wide_win.h"
#include "quencfg/ui/skin/skin_draw_win.h"
#include "quencfg/ui/skin/skin_scale.h"

namespace quencfg {
namespace {

constexpr int kBadgeInset = 12;  // from the button's right edge
constexpr int kFocusRingInset = 3;
constexpr int kFocusRingWidth = 2;
constexpr COLORREF kFocusRingColor = 0xFFFFFF;

}  // namespace

UINT CaptionFormat(int textAlign) noexcept {
  switch (textAlign) {
    case kAlignLeft: return DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS;
    case kAlignCenter: return DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS;
    case kAlignBottom: return DT_CENTER | DT_VCENTER | DT_BOTTOM | DT_SINGLELINE | DT_END_ELLIPSIS;
    default: return DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS;
  }
}

void CBitmapBtnEx::SetImages(StateImages images) { SetImages(std::make_shared<StateImages>(std::move(images))); }

void CBitmapBtnEx::SetImages(std::shared_ptr<StateImages> images) {
  images_ = images ? std::move(images) : std::make_shared<StateImages>();
  Redraw();
}

bool CBitmapBtnEx::SetCaption(std::u16string_view text, int offset, int /*number*/) {
  if (caption_ == text && captionOffset_ == offset) return false;
  caption_ = std::u16string(text);
  captionOffset_ = offset;
  Redraw();
  return true;
}

void CBitmapBtnEx::SetTextColors(COLORREF normal, COLORREF hover, COLORREF pressed) {
  textColorNormal_ = normal;
  textColorHover_ = hover;
  textColorPressed_ = pressed;
  textColorDisabled_ = 0x464646;
  Redraw();
}

void CBitmapBtnEx::SetFontHeight(int height) { fontHeight_ = height; }

void CBitmapBtnEx::SetFontWeight(int weight) { fontWeight_ = weight; }

void CBitmapBtnEx::SetBadge(SkinBitmap image) {
  badge_ = std::move(image);
  Redraw();
}

void CBitmapBtnEx::ShowBadge(bool shown) {
  if (badgeShown_ == shown) return;
  badgeShown_ = shown;
  Redraw();
}

void CBitmapBtnEx::SetSelected(bool selected) {
  selected_ = selected;
  StopHovering();
  Redraw();
}

CBitmapBtnEx::Look CBitmapBtnEx::CurrentLook() const {
  if (hwnd() != nullptr && !CanAct()) return Look{kStateDisabled, textColorDisabled_};
  if (selected_ || pushed()) return Look{kStateDown, textColorPressed_};
  if (hovering()) return Look{kStateOver, textColorHover_};
  return Look{kStateNormal, textColorNormal_};
}

void CBitmapBtnEx::Paint(HDC dc, const RECT& client) {
  DrawBackground(dc, client);
  const Look look = CurrentLook();
  BlendBitmap(dc, StateImage(*images_, look.state), 0, 0);
  if (!caption_.empty()) DrawCaption(dc, client, look.textColor);
  if (badgeShown()) {
    BlendBitmap(dc, badge_, client.right - badge_.width - ScaleToDpi(kBadgeInset, SkinDpi()),
                (client.bottom - badge_.height) / 2);
  }
  if (hwnd() != nullptr && ::GetFocus() == hwnd()) DrawFocusRing(dc, client);
}

// A ring inside the button's edge, as Windows draws the keyboard focus.
void CBitmapBtnEx::DrawFocusRing(HDC dc, const RECT& client) const {
  const int inset = ScaleToDpi(kFocusRingInset, SkinDpi());
  const int width = std::max(1, ScaleToDpi(kFocusRingWidth, SkinDpi()));
  RECT ring{client.left + inset, client.top + inset, client.right - inset, client.bottom - inset};
  OwnedBrush brush(::CreateSolidBrush(kFocusRingColor));
  for (int i = 0; i < width; ++i) {
    ::FrameRect(dc, &ring, brush.get());
    ::InflateRect(&ring, -1, -1);
  }
}

void CBitmapBtnEx::DrawCaption(HDC dc, const RECT& client, COLORREF color) const {
  OwnedFont font = CreateSkinFont(fontHeight_, fontWeight_);
  SelectScope selectFont(dc, font.get());
  const int oldMode = ::SetBkMode(dc, TRANSPARENT);
  const COLORREF oldColor = ::SetTextColor(dc, color);
  SIZE extent{};
  ::GetTextExtentPoint32W(dc, AsWide(caption_), static_cast<int>(caption_.size()), &extent);
  RECT rect{client.left + captionOffset_, 0, client.right, 0};
  rect.top = (client.bottom - client.top - extent.cy) / 2;
  rect.bottom = rect.top + extent.cy;
  if (textAlign_ == kAlignBottom) ::OffsetRect(&rect, 0, client.bottom - 2 - rect.bottom);
  std::u16string text = caption_;  // DrawTextW may not change it without DT_MODIFYSTRING, but takes a mutable pointer
  ::DrawTextW(dc, AsWide(text.data()), static_cast<int>(text.size()), &rect, CaptionFormat(textAlign_));
  ::SetTextColor(dc, oldColor);
  ::SetBkMode(dc, oldMode);
}

void CBitmapListBtn::SetCheckMark(bool checked, int left, int width) {
  if (checked_ == checked && markLeft_ == left && markWidth_ == width) return;
  checked_ = checked;
  markLeft_ = left;
  markWidth_ = width;
  Redraw();
}

void CBitmapListBtn::Paint(HDC dc, const RECT& client) {
  CBitmapBtnEx::Paint(dc, client);
  if (checked_ && markWidth_ > 0) DrawCheckMark(dc, client, CurrentLook().textColor);
}

void CBitmapListBtn::DrawCheckMark(HDC dc, const RECT& client, COLORREF color) const {
  // A tick in a square as wide as the column, centred on the row.
  const int size = std::min(markWidth_, static_cast<int>(client.bottom - client.top));
  const int left = client.left + markLeft_ + (markWidth_ - size) / 2;
  const int top = client.top + (client.bottom - client.top - size) / 2;
  const POINT tick[] = {{left + size * 2 / 10, top + size * 5 / 10},
                        {left + size * 4 / 10, top + size * 7 / 10},
                        {left + size * 8 / 10, top + size * 3 / 10}};
  OwnedPen pen(::CreatePen(PS_SOLID, std::max(size / 7, 1), color));
  SelectScope selectPen(dc, pen.get());
  ::Polyline(dc, tick, 3);
}

}  // namespace quencfg
