#include "quencfg/ui/skin/skin_control_loaders_win.h"

#include <utility>

#include "quencfg/framework/files.h"
#include "quencfg/framework/text.h"
#include "quencfg/ui/skin/skins_folder_win.h"

namespace quencfg {
namespace {

RECT RectOf(const SkinRect& entry) { return RECT{entry.left, entry.top, entry.right, entry.bottom}; }

}  // namespace

bool LoadPushButtonImages(CBitmapBtnEx& button, const SkinRect& entry, HWND parent, SharedStateImages& sets) {
  if (!button.IsCreated() && !button.Create(parent, RectOf(entry))) return false;
  button.SetImages(sets.For(entry));
  return true;
}

bool LoadPushButtonImages(CBitmapBtnEx& button, const SkinRect& entry, HWND parent) {
  SharedStateImages own;  // a set for this button alone
  return LoadPushButtonImages(button, entry, parent, own);
}

void SetPushButtonBackground(CBitmapBtnEx& button, const SkinBitmap& windowBackground, const SkinRect& entry,
                             bool move) {
  button.SetBackgroundPiece(CropSkinBitmap(windowBackground, entry.left, entry.top, entry.right, entry.bottom));
  if (move) MoveToSkinRect(button.hwnd(), entry);
}

void SetPushButtonBackground(CBitmapBtnEx& button, std::shared_ptr<const SkinBitmap> windowBackground,
                             const SkinRect& entry, bool move) {
  button.SetBackgroundPlace(std::move(windowBackground), POINT{entry.left, entry.top});
  if (move) MoveToSkinRect(button.hwnd(), entry);
}

namespace {

// A rebuild of a button that was never made makes it, in its place at once; one that
// exists moves there. A first load of a button made beforehand keeps its place.
template <typename Background>
bool LoadPushButtonOn(CBitmapBtnEx& button, Background&& windowBackground, const SkinRect& entry, HWND parent,
                      bool rebuild) {
  const bool existed = button.IsCreated();
  if (!LoadPushButtonImages(button, entry, parent)) return false;
  SetPushButtonBackground(button, std::forward<Background>(windowBackground), entry, existed && rebuild);
  return true;
}

}  // namespace

bool LoadPushButtonFor(CBitmapBtnEx& button, const SkinBitmap& windowBackground, const SkinRect& entry, HWND parent,
                       bool rebuild) {
  return LoadPushButtonOn(button, windowBackground, entry, parent, rebuild);
}

bool LoadPushButtonFor(CBitmapBtnEx& button, std::shared_ptr<const SkinBitmap> windowBackground, const SkinRect& entry,
                       HWND parent, bool rebuild) {
  return LoadPushButtonOn(button, std::move(windowBackground), entry, parent, rebuild);
}

bool LoadPushButton(CBitmapBtnEx& button, const SkinBitmap& windowBackground, std::u16string_view section,
                    std::u16string_view key, HWND parent, bool rebuild) {
  return LoadPushButtonFor(button, windowBackground, LayoutDocument().LookupRect(section, key), parent, rebuild);
}

bool LoadColorButtonFor(CColorBtn2& button, const SkinBitmap& windowBackground, const SkinRect& entry, HWND parent,
                         bool rebuild, const SkinBitmap* wholeWindowPicture) {
  ControlSkin skin = LoadControlSkinFor(entry, windowBackground);
  if ((!rebuild || !button.IsCreated()) && !button.Create(parent)) return false;
  const bool given = wholeWindowPicture != nullptr && !wholeWindowPicture->empty();
  const SkinBitmap loaded = given ? SkinBitmap{} : LoadColorButtonSource(skin.imageName, skin.images);
  const SkinBitmap& source = given ? *wholeWindowPicture : loaded;
  // The whole-window picture is cut at the entry's rectangle; the fallback, the
  // button's own normal image, from its origin.
  const bool wholeWindow =
      given || (!skin.imageName.empty() && PathExists(SkinsFolder() + skin.imageName + u"_normal2.png"));
  RECT cut = RectOf(skin.entry);
  if (!wholeWindow) cut = RECT{0, 0, skin.entry.right - skin.entry.left, skin.entry.bottom - skin.entry.top};
  button.LoadImages(source.get(), source.get(), cut);
  StateImage(skin.images, kStateDisabled);  // read now: of the set, the button keeps only this state
  button.SetDisabledImage(std::move(skin.images.states[kStateDisabled]), false);
  button.SetBackgroundPiece(std::move(skin.backgroundPiece));
  button.SetCaption(FieldText(skin.entry.text));
  MoveToSkinRect(button.hwnd(), skin.entry);
  return true;
}

bool LoadColorButton(CColorBtn2& button, const SkinBitmap& windowBackground, std::u16string_view section,
                      std::u16string_view key, HWND parent, bool rebuild) {
  return LoadColorButtonFor(button, windowBackground, LayoutDocument().LookupRect(section, key), parent, rebuild);
}

bool LoadColorEdit(CClrEdit& edit, const SkinBitmap& windowBackground, std::u16string_view section,
                   std::u16string_view key, HWND parent, DWORD style, int controlId, bool rebuild) {
  ControlSkin skin = LoadControlSkin(LayoutDocument(), section, key, windowBackground);
  const RECT rect = RectOf(skin.entry);
  if ((!rebuild || !edit.IsCreated()) && !edit.Create(style, rect, parent, controlId)) return false;
  edit.SetBackgroundImages(std::move(skin.images), rect);
  edit.SetSkinFont();
  edit.textColor = 0xFFFFFF;
  ApplyEditEntry(edit.hwnd(), skin.entry);
  MoveToSkinRect(edit.hwnd(), skin.entry);
  return true;
}

bool LoadSlider(CPngHSliderBar& slider, const SkinBitmap& windowBackground, std::u16string_view section,
                std::u16string_view key, HWND parent, int identifier, int minimum, int maximum, bool topAligned,
                bool rebuild) {
  ControlSkin thumb = LoadControlSkin(LayoutDocument(), section, key, windowBackground);
  const StateImages bar = LoadSliderBarImages(thumb);
  const RECT rect = RectOf(thumb.entry);
  if ((!rebuild || !slider.IsCreated()) && !slider.Create(rect, parent, identifier)) return false;
  slider.SetBarImages(rect, bar.states[kStateNormal].get(), bar.states[kStateDown].get(),
                      bar.states[kStateDisabled].get());
  slider.SetThumbImages(thumb.images, topAligned);
  slider.SetRange(minimum, maximum);
  slider.SetBackground(rect, windowBackground.get());
  MoveToSkinRect(slider.hwnd(), thumb.entry);
  return true;
}

}  // namespace quencfg
