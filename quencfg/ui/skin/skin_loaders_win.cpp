#include "quencfg/ui/skin/skin_loaders_win.h"

#include "quencfg/framework/files.h"
#include "quencfg/framework/wide_win.h"
#include "quencfg/ui/skin/skins_folder_win.h"
#include "quencfg/ui/skin/skin_picture_win.h"

namespace quencfg {

ControlSkin LoadControlSkinFor(const SkinRect& entry, const SkinBitmap& windowBackground) {
  ControlSkin skin;
  skin.entry = entry;
  skin.imageName = SkinImageName(entry);
  skin.images = LoadStateImages(skin.imageName, entry.flag);
  skin.backgroundPiece = CropSkinBitmap(windowBackground, entry.left, entry.top, entry.right, entry.bottom);
  return skin;
}

ControlSkin LoadControlSkin(SharedSkinDocument& layout, std::u16string_view section, std::u16string_view key,
                            const SkinBitmap& windowBackground) {
  return LoadControlSkinFor(layout.LookupRect(section, key), windowBackground);
}

HWND CreateSkinButtonWindow(HWND parent, const RECT& place) {
  return ::CreateWindowExW(0, L"BUTTON", L"", kSkinButtonStyle, place.left, place.top, place.right - place.left,
                           place.bottom - place.top, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(kSkinControlId)),
                           reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(parent, GWLP_HINSTANCE)), nullptr);
}

void MoveToSkinRect(HWND control, const SkinRect& entry) {
  if (control == nullptr) return;
  ::MoveWindow(control, entry.left, entry.top, entry.right - entry.left, entry.bottom - entry.top, TRUE);
}

void ApplyEditEntry(HWND edit, const SkinRect& entry) {
  if (edit == nullptr) return;
  ::SendMessageW(edit, EM_LIMITTEXT, 3, 0);
  ::SetWindowTextW(edit, AsWide(entry.text));
}

SkinBitmap LoadColorButtonSource(std::u16string_view imageName, const StateImages& images) {
  if (!imageName.empty()) {
    const std::u16string whole = SkinsFolder() + std::u16string(imageName) + u"_normal2.png";
    if (PathExists(whole)) {
      SkinBitmap picture = LoadPng(whole);
      if (!picture.empty()) return picture;
    }
  }
  const SkinBitmap& normal = images.states[kStateNormal];
  return CropBitmap32(normal.get(), 0, 0, normal.width, normal.height);
}

StateImages LoadSliderBarImages(const ControlSkin& thumb) {
  if (thumb.imageName.empty()) return StateImages{};
  StateImages bar = LoadStateImages(thumb.imageName + u"_bar", thumb.entry.flag);
  LoadPendingStates(bar);  // the slider cuts every state at once
  return bar;
}

}  // namespace quencfg
