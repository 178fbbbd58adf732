#include "quencfg/ui/skin/color_btn_win.h"

#include <cstring>
#include <utility>
#include <vector>

#include "quencfg/framework/wide_win.h"
#include "quencfg/ui/skin/skin_draw_win.h"

namespace quencfg {
namespace {

constexpr BYTE kDimAlpha = 170;  // two thirds black

std::size_t PixelCount(const SkinBitmap& bitmap) {
  return static_cast<std::size_t>(bitmap.width) * static_cast<std::size_t>(bitmap.height);
}

// Source and shown image are the same size: both come from one crop.
bool SamePixels(const SkinBitmap& source, const SkinBitmap& shown) {
  return !source.empty() && source.width == shown.width && source.height == shown.height;
}

void CopyPixels(const SkinBitmap& source, const SkinBitmap& target) {
  std::uint8_t* from = DibPixels(source.get());
  std::uint8_t* to = DibPixels(target.get());
  if (from != nullptr && to != nullptr && SamePixels(source, target)) std::memcpy(to, from, PixelCount(source) * 4);
}

}  // namespace

void CBitmapBtn2::OnRelease() {
  if (Now() - lastCommandTime_ > kColorButtonCommandGapMs) SendCommand(BN_CLICKED);
}

void CColorBtn2::LoadImages(HBITMAP normalSource, HBITMAP selectedSource, const RECT& rect) {
  sourceNormal_ = CropBitmap32(normalSource, rect.left, rect.top, rect.right, rect.bottom);
  sourceSelected_ = CropBitmap32(selectedSource, rect.left, rect.top, rect.right, rect.bottom);
  shownNormal_ = CropBitmap32(normalSource, rect.left, rect.top, rect.right, rect.bottom);
  shownSelected_ = CropBitmap32(selectedSource, rect.left, rect.top, rect.right, rect.bottom);
  Redraw();
}

void CColorBtn2::SetDisabledImage(SkinBitmap image, bool use) {
  disabledImage_ = std::move(image);
  useDisabledImage_ = use;
  Redraw();
}

void CColorBtn2::RecolorOwnImages(RgbColor color) {
  tint_ = color;
  const std::pair<const SkinBitmap*, const SkinBitmap*> pairs[] = {{&sourceNormal_, &shownNormal_},
                                                                   {&sourceSelected_, &shownSelected_}};
  for (const auto& [source, shown] : pairs) {
    std::uint8_t* from = DibPixels(source->get());
    std::uint8_t* to = DibPixels(shown->get());
    if (from != nullptr && to != nullptr && SamePixels(*source, *shown)) {
      RecolorMaskFloat(from, to, PixelCount(*source), color);
    }
  }
  Redraw();
}

void CColorBtn2::RecolorChain(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  const RgbColor color{red, green, blue};
  std::vector<const CColorBtn2*> done;  // a chain that loops back ends at its first repeat
  for (CColorBtn2* button = this; button != nullptr; button = button->nextLinked_) {
    for (const CColorBtn2* seen : done) {
      if (seen == button) return;
    }
    done.push_back(button);
    button->RecolorOwnImages(color);
  }
}

void CColorBtn2::Recolor(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  tint_ = RgbColor{red, green, blue};
  std::uint8_t* from = DibPixels(sourceNormal_.get());
  std::uint8_t* to = DibPixels(shownNormal_.get());
  if (from != nullptr && to != nullptr && SamePixels(sourceNormal_, shownNormal_)) {
    RecolorMaskInteger(from, to, PixelCount(sourceNormal_), tint_);
  }
  CopyPixels(sourceSelected_, shownSelected_);
  Redraw();
}

bool CColorBtn2::SetCaption(std::u16string_view text, int /*offset*/, int /*number*/) {
  if (caption_ == text) return false;
  caption_ = std::u16string(text);
  Redraw();
  return true;
}

void CColorBtn2::SetTextColors(COLORREF normal, COLORREF hover, COLORREF pressed) {
  textColorNormal_ = normal;
  textColorHover_ = hover;
  textColorPressed_ = pressed;
  Redraw();
}

void CColorBtn2::SetSelected(bool selected) {
  selected_ = selected;
  StopHovering();
  Redraw();
}

void CColorBtn2::SetDimmed(bool dimmed) {
  if (dimmed_ == dimmed) return;
  dimmed_ = dimmed;
  Redraw();
}

void CColorBtn2::DimArea(HDC dc, const RECT& client) const {
  // Black laid over the image at a constant alpha keeps its shape and darkens it.
  const SkinBitmap black = CreateBitmap32(client.right - client.left, client.bottom - client.top);
  MemoryDc source(dc);
  if (black.empty() || source.get() == nullptr) return;
  SelectScope select(source.get(), black.get());
  const BLENDFUNCTION blend{AC_SRC_OVER, 0, kDimAlpha, 0};
  ::GdiAlphaBlend(dc, client.left, client.top, black.width, black.height, source.get(), 0, 0, black.width,
                  black.height, blend);
}

void CColorBtn2::Paint(HDC dc, const RECT& client) {
  DrawBackground(dc, client);
  const bool disabled = hwnd() != nullptr && !::IsWindowEnabled(hwnd());
  if (disabled && useDisabledImage_) {
    BlitBitmap(dc, disabledImage_, 0, 0);
  } else {
    BlitBitmap(dc, selected_ ? shownSelected_ : shownNormal_, 0, 0);
  }
  if (dimmed_) DimArea(dc, client);
  if (!caption_.empty()) {
    const COLORREF color = pushed() || selected_ ? textColorPressed_ : hovering() ? textColorHover_ : textColorNormal_;
    OwnedFont font = CreateSkinFont(fontHeight_, 400, 14);
    SelectScope selectFont(dc, font.get());
    const int oldMode = ::SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColor = ::SetTextColor(dc, color);
    RECT rect = client;
    ::OffsetRect(&rect, 5, 0);
    std::u16string text = caption_;
    ::DrawTextW(dc, AsWide(text.data()), static_cast<int>(text.size()), &rect,
                DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    ::SetTextColor(dc, oldColor);
    ::SetBkMode(dc, oldMode);
  }
  if (selected_) {
    OwnedBrush white(::CreateSolidBrush(0xFFFFFF));
    ::FrameRect(dc, &client, white.get());
  }
}

}  // namespace quencfg
