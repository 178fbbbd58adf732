#pragma once
// The image button family: four state images alpha-blended over the piece of the
// window background behind the button, with an optional caption.
//   CBitmapBtn      double click answered with BN_DOUBLECLICKED
//   CBitmapBtnEx    state images and caption drawing
//   CPngListBtn     the button of every skinned window; a double click is two clicks
//   CBitmapListBtn  a row of the image pop-up menu, with a column for a check mark
#include <windows.h>

#include <memory>
#include <string>
#include <string_view>

#include "quencfg/framework/handle_win.h"
#include "quencfg/ui/skin/skin_button_win.h"

namespace quencfg {

// DrawTextW formats of the caption alignments.
inline constexpr int kAlignLeft = 0;
inline constexpr int kAlignCenter = 1;
inline constexpr int kAlignBottom = 8;

UINT CaptionFormat(int textAlign) noexcept;

class CBitmapBtn : public SkinButton {};

class CBitmapBtnEx : public CBitmapBtn {
 public:
  void SetImages(StateImages images);
  // A set other buttons show too (SharedStateImages): one copy of the pictures for all.
  void SetImages(std::shared_ptr<StateImages> images);
  // Returns true when text or offset changed (and the button is redrawn).
  bool SetCaption(std::u16string_view text, int offset = 0, int number = -1);
  void SetTextColors(COLORREF normal, COLORREF hover, COLORREF pressed);
  void SetFontHeight(int height);
  void SetFontWeight(int weight);
  void SetSelected(bool selected);
  void SetTextAlign(int align) { textAlign_ = align; }
  // A small picture at the right end of the button, over every state image while it
  // is shown (the profile buttons' mark of edits not yet applied).
  void SetBadge(SkinBitmap image);
  void ShowBadge(bool shown);
  [[nodiscard]] bool badgeShown() const noexcept { return badgeShown_ && !badge_.empty(); }

  [[nodiscard]] bool selected() const noexcept { return selected_; }
  [[nodiscard]] const std::u16string& caption() const noexcept { return caption_; }
  [[nodiscard]] const StateImages& images() const noexcept { return *images_; }

  // The image and caption color of the current state, first match wins: disabled,
  // selected, pushed, hovering, normal.
  struct Look {
    int state;
    COLORREF textColor;
  };
  [[nodiscard]] Look CurrentLook() const;

 protected:
  void Paint(HDC dc, const RECT& client) override;

 private:
  void DrawCaption(HDC dc, const RECT& client, COLORREF color) const;
  void DrawFocusRing(HDC dc, const RECT& client) const;

  std::shared_ptr<StateImages> images_ = std::make_shared<StateImages>();  // never null
  SkinBitmap badge_;
  bool badgeShown_ = false;
  std::u16string caption_;
  int captionOffset_ = 0;
  int fontHeight_ = 18;
  int fontWeight_ = 500;
  COLORREF textColorNormal_ = 0xD0D0D0;
  COLORREF textColorHover_ = 0x000000;
  COLORREF textColorPressed_ = 0xFFFFFF;
  COLORREF textColorDisabled_ = 0x464646;
  int textAlign_ = kAlignCenter;
  bool selected_ = false;
};

class CPngListBtn : public CBitmapBtnEx {
 protected:
  // The double-click message is ignored as such: it presses again, and its release
  // sends a second click.
  void OnDoubleClick() override { StartPress(); }
};

class CBitmapListBtn : public CBitmapBtnEx {
 public:
  // Destroyed here, so that the window's last messages still reach this class.
  ~CBitmapListBtn() override { Destroy(); }
  // A check mark drawn in the column from `left`, `width` pixels wide, in the caption's
  // color; the caption is placed after the column by its own offset.
  void SetCheckMark(bool checked, int left, int width);
  [[nodiscard]] bool checked() const noexcept { return checked_; }

 protected:
  void Paint(HDC dc, const RECT& client) override;

 private:
  void DrawCheckMark(HDC dc, const RECT& client, COLORREF color) const;

  bool checked_ = false;
  int markLeft_ = 0;
  int markWidth_ = 0;
};

}  // namespace quencfg
