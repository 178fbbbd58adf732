#pragma once
// The steps every skin loader shares: read a control's layout entry, load its images,
// cut the piece of the window background under it, create the owner-drawn button
// window and move a control to its rectangle. The loaders of the control families
// (push button, color button, edit, slider) put these together with their controls.
#include <windows.h>

#include <string>
#include <string_view>

#include "quencfg/ui/skin/skin_documents.h"
#include "quencfg/ui/skin/skin_bitmap_win.h"
#include "quencfg/ui/skin/state_images_win.h"
#include "quencfg/ui/skin/skin_rect.h"

namespace quencfg {

// Every skinned control carries this identifier; parents tell them apart by handle.
inline constexpr int kSkinControlId = 1001;
// WS_CHILD | WS_VISIBLE | BS_OWNERDRAW.
inline constexpr DWORD kSkinButtonStyle = 0x5000000B;

struct ControlSkin {
  SkinRect entry{};
  std::u16string imageName;    // after the "btnPng" rule; empty loads nothing
  StateImages images;          // LoadStateImages with the entry's single-image flag
  SkinBitmap backgroundPiece;  // the window background under the entry's rectangle
};

// Steps 1, 2, 3 and 5 of a loader, from any layout document.
ControlSkin LoadControlSkin(SharedSkinDocument& layout, std::u16string_view section, std::u16string_view key,
                            const SkinBitmap& windowBackground);
// The same from an entry already parsed (the lighting panel reads its own key document).
ControlSkin LoadControlSkinFor(const SkinRect& entry, const SkinBitmap& windowBackground);

// An owner-drawn child button with the empty caption, kSkinButtonStyle and kSkinControlId.
HWND CreateSkinButtonWindow(HWND parent, const RECT& place = RECT{});

// Moves a control to the entry's left, top, width and height.
void MoveToSkinRect(HWND control, const SkinRect& entry);

// What the edit loader gives an edit field from its entry: the entry's text as content
// and a limit of 3 characters (the callers that need longer fields raise it afterwards).
void ApplyEditEntry(HWND edit, const SkinRect& entry);

// The color button's source picture: stem + "_normal2.png", laid out in the
// coordinates of the whole window, else a copy of the normal image of the set.
SkinBitmap LoadColorButtonSource(std::u16string_view imageName, const StateImages& images);

// The slider's bar images: the state image set of the image name + "_bar".
StateImages LoadSliderBarImages(const ControlSkin& thumb);

}  // namespace quencfg
