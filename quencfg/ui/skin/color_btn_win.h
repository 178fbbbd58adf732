#pragma once
// The color button family: an image recolored at run time with an RGB color,
// copied opaquely over the background piece.
//   CBitmapBtn2  commands at most every 500 ms; the cursor is left as it is
//   CColorBtn2   the recolored images, the selected frame and a chain of buttons
//                recolored together
#include <windows.h>

#include <string>
#include <string_view>

#include "quencfg/ui/skin/recolor.h"
#include "quencfg/ui/skin/skin_button_win.h"

namespace quencfg {

inline constexpr std::uint32_t kColorButtonCommandGapMs = 500;

class CBitmapBtn2 : public SkinButton {
 protected:
  void OnRelease() override;
  bool KeepsCursor() const override { return true; }
};

class CColorBtn2 : public CBitmapBtn2 {
 public:
  // Cuts both images from the given skin bitmaps at `rect` and shows them unrecolored.
  void LoadImages(HBITMAP normalSource, HBITMAP selectedSource, const RECT& rect);
  void SetDisabledImage(SkinBitmap image, bool use);

  // This button only, integer arithmetic; a color of 15 or less leaves the image grey.
  void Recolor(std::uint8_t red, std::uint8_t green, std::uint8_t blue);
  // This button and every button linked after it, floating point.
  void RecolorChain(std::uint8_t red, std::uint8_t green, std::uint8_t blue);
  void SetNextLinked(CColorBtn2* next) noexcept { nextLinked_ = next; }

  bool SetCaption(std::u16string_view text, int offset = 0, int number = -1);
  void SetTextColors(COLORREF normal, COLORREF hover, COLORREF pressed);
  void SetFontHeight(int height) { fontHeight_ = height; }
  void SetSelected(bool selected);
  // Drawn darker, e.g. a key whose light is off.
  void SetDimmed(bool dimmed);
  [[nodiscard]] bool dimmed() const noexcept { return dimmed_; }

  [[nodiscard]] bool selected() const noexcept { return selected_; }
  [[nodiscard]] RgbColor tint() const noexcept { return tint_; }
  [[nodiscard]] const SkinBitmap& shownNormal() const noexcept { return shownNormal_; }
  [[nodiscard]] const SkinBitmap& shownSelected() const noexcept { return shownSelected_; }

 protected:
  void Paint(HDC dc, const RECT& client) override;

 private:
  void RecolorOwnImages(RgbColor color);
  void DimArea(HDC dc, const RECT& client) const;

  SkinBitmap sourceNormal_;
  SkinBitmap sourceSelected_;
  SkinBitmap shownNormal_;
  SkinBitmap shownSelected_;
  SkinBitmap disabledImage_;
  bool useDisabledImage_ = false;
  std::u16string caption_;
  int fontHeight_ = 18;
  COLORREF textColorNormal_ = 0xFFFFFF;
  COLORREF textColorHover_ = 0xFFFFFF;
  COLORREF textColorPressed_ = 0xFFFFFF;
  bool selected_ = false;
  bool dimmed_ = false;
  RgbColor tint_;
  CColorBtn2* nextLinked_ = nullptr;
};

}  // namespace quencfg
