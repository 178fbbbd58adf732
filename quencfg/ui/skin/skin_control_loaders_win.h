#pragma once
// The skin loaders of the control families: each creates its control (unless asked to
// rebuild an existing one), gives it the images of its layout entry and the piece of
// the window background under it, and moves it to the entry's rectangle.
#include <windows.h>

#include <memory>
#include <string_view>

#include "quencfg/ui/skin/bitmap_btn_win.h"
#include "quencfg/ui/skin/clr_edit_win.h"
#include "quencfg/ui/skin/color_btn_win.h"
#include "quencfg/ui/skin/png_slider_win.h"
#include "quencfg/ui/skin/shared_state_images_win.h"
#include "quencfg/ui/skin/skin_loaders_win.h"

namespace quencfg {

// Push buttons (CPngListBtn and the other image buttons), from LayoutDocument().
// A button made beforehand by LoadPushButtonImages is loaded in place: its window
// exists already, so a window can make its buttons while its background is decoded.
bool LoadPushButton(CBitmapBtnEx& button, const SkinBitmap& windowBackground, std::u16string_view section,
                    std::u16string_view key, HWND parent, bool rebuild);
bool LoadPushButtonFor(CBitmapBtnEx& button, const SkinBitmap& windowBackground, const SkinRect& entry, HWND parent,
                       bool rebuild);
// The same with the button's place in a background the window shares with its buttons.
bool LoadPushButtonFor(CBitmapBtnEx& button, std::shared_ptr<const SkinBitmap> windowBackground, const SkinRect& entry,
                       HWND parent, bool rebuild);
// The two halves of LoadPushButtonFor, for a window whose background is still being
// decoded: the button (made where missing) with its images, then the piece of the
// background under it, and a move to the entry's rectangle where `move` says so.
bool LoadPushButtonImages(CBitmapBtnEx& button, const SkinRect& entry, HWND parent);
// The same with the images from `sets`, shared with the other buttons of that picture.
bool LoadPushButtonImages(CBitmapBtnEx& button, const SkinRect& entry, HWND parent, SharedStateImages& sets);
void SetPushButtonBackground(CBitmapBtnEx& button, const SkinBitmap& windowBackground, const SkinRect& entry,
                             bool move);
// The same with the button's place in a background the window shares with its buttons.
void SetPushButtonBackground(CBitmapBtnEx& button, std::shared_ptr<const SkinBitmap> windowBackground,
                             const SkinRect& entry, bool move);

// Color buttons; the entry's text becomes the caption. A window that makes many
// buttons of one image name may load their whole-window picture once (see
// LoadColorButtonSource) and hand it over as `wholeWindowPicture`.
bool LoadColorButton(CColorBtn2& button, const SkinBitmap& windowBackground, std::u16string_view section,
                      std::u16string_view key, HWND parent, bool rebuild);
bool LoadColorButtonFor(CColorBtn2& button, const SkinBitmap& windowBackground, const SkinRect& entry, HWND parent,
                         bool rebuild, const SkinBitmap* wholeWindowPicture = nullptr);

// Colored edits: skin font, white text, the entry's text, at most 3 characters.
bool LoadColorEdit(CClrEdit& edit, const SkinBitmap& windowBackground, std::u16string_view section,
                   std::u16string_view key, HWND parent, DWORD style, int controlId, bool rebuild);

// Sliders: thumb images of the entry's name, bar images of name + "_bar".
bool LoadSlider(CPngHSliderBar& slider, const SkinBitmap& windowBackground, std::u16string_view section,
                std::u16string_view key, HWND parent, int identifier, int minimum, int maximum, bool topAligned,
                bool rebuild);

}  // namespace quencfg
