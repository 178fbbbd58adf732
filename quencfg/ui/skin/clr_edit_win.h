#pragma once
// CClrEdit: a single-line edit control with its own text and background colors, its
// single line centred vertically in a frame painted with its skin image, and a message
// to its parent for every character typed (0x448).
#include <windows.h>

#include <string>
#include <string_view>

#include "quencfg/framework/gdi_win.h"
#include "quencfg/framework/subclass_win.h"
#include "quencfg/ui/skin/skin_bitmap_win.h"
#include "quencfg/ui/skin/state_images_win.h"

namespace quencfg {

inline constexpr UINT kEditTypedMessage = 0x448;  // WM_USER+72: wParam 0, lParam control id

class CClrEdit : public SubclassedWindow {
 public:
  // An edit control of the given style (WS_CHILD is added) at `rect` of the parent.
  bool Create(DWORD style, const RECT& rect, HWND parent, int controlId);

  COLORREF textColor = 0xFFFFFF;
  COLORREF backgroundColor = 0x232324;

  // The four state images, cut to the field's size.
  void SetBackgroundImages(StateImages images, const RECT& rect);
  // The skin font, height 16, weight 400.
  void SetSkinFont();
  void SetText(std::u16string_view text);
  // Focusing the field, by a click or a key, selects its whole text, so that typing
  // replaces it.
  void SetSelectAllOnFocus(bool selectAll) noexcept { selectAllOnFocus_ = selectAll; }
  [[nodiscard]] std::u16string Text() const;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool HandleReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void CenterTextLine(RECT& rect) const;
  void PaintFrame() const;
  void InvalidateParentUnderField() const;

  OwnedBrush brush_;
  SkinBitmap backgrounds_[4];
  OwnedFont font_;
  bool selectAllOnFocus_ = false;
};

}  // namespace quencfg
