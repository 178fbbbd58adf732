// The panel's creation and its layout, made once from the skin: background, window
// shape, the effect controls, the color controls and the 111 key color buttons.
#include "quencfg/ui/lighting/lighting_dlg_win.h"

#include <string>
#include <utility>

#include "quencfg/framework/gdi_win.h"
#include "quencfg/framework/text.h"
#include "quencfg/model/number_text.h"
#include "quencfg/ui/skin/skin_control_loaders_win.h"
#include "quencfg/ui/skin/skin_scale.h"
#include "quencfg/ui/skin/skins_folder_win.h"
#include "quencfg/ui/skin/skin_picture_win.h"

namespace quencfg {
namespace {

constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kBlack = 0x000000;
constexpr char16_t kKeyColorImage[] = u"btnColor2";
constexpr int kFieldTextMargin = 6;

void ShowMaskError(HWND panel) { ::MessageBoxW(::GetParent(panel), L"error", nullptr, MB_OK); }

// An empty region would hide the whole panel: no better than no region at all.
bool UsableRegion(HRGN region) {
  RECT box{};
  return region != nullptr && ::GetRgnBox(region, &box) > NULLREGION;
}

RECT RectOf(const SkinRect& entry) { return RECT{entry.left, entry.top, entry.right, entry.bottom}; }

}  // namespace

CLightingDlg::CLightingDlg(MaskFailureNotice maskFailureNotice)
    : maskFailureNotice_(maskFailureNotice ? std::move(maskFailureNotice) : MaskFailureNotice(&ShowMaskError)) {}

CLightingDlg::~CLightingDlg() {
  effectsMenu_.reset();
  Destroy();  // while the controls are still alive to hear their last messages
}

bool CLightingDlg::Create(HWND parent) {
  if (IsCreated() || parent == nullptr) return false;
  RECT parentClient{};
  ::GetClientRect(parent, &parentClient);
  WindowCreateParams params;
  params.className = L"KorvaneLightingDlg";
  params.title = L"";
  params.style = WS_CHILD | WS_CLIPCHILDREN;
  params.exStyle = WS_EX_CONTROLPARENT;
  params.x = 0;
  params.y = 0;
  params.width = parentClient.right;
  params.height = parentClient.bottom;
  params.parent = parent;
  if (!Window::Create(params)) return false;
  LayOut(parent, false);
  return true;
}

void CLightingDlg::Relayout() {
  if (hwnd() == nullptr) return;
  CloseEffectsMenu();
  LayOut(::GetParent(hwnd()), true);
  RefreshLighting();
  ::InvalidateRect(hwnd(), nullptr, FALSE);
}

void CLightingDlg::LayOut(HWND parent, bool rebuild) {
  LoadBackground(parent);
  ApplyMaskRegion();
  LayOutEffectControls(rebuild);
  // Laid out again, the fields get their entry's text: that is no typing, the colour stays.
  writingFields_ = rebuild;
  LayOutColorControls(rebuild);
  writingFields_ = false;
  customColorRect_ = RectOf(SkinDocument().LookupRect(u"MAINSCREENNEW", u"CUSTOMRECT"));
  LayOutKeyButtons(rebuild);
  ShowControlsOf(editor_.currentEffect());
}

void CLightingDlg::LoadBackground(HWND parent) {
  background_ = LoadPicture(SkinsFolder() + SkinDocument().Lookup(u"MAINSCREENNEW", u"Main"));
  // Without its picture the panel keeps the parent's size, so that it still works.
  RECT size{0, 0, background_.width, background_.height};
  if (background_.empty()) ::GetClientRect(parent, &size);
  ::MoveWindow(hwnd(), 0, 0, size.right, size.bottom, FALSE);
}

void CLightingDlg::ApplyMaskRegion() {
  const SkinBitmap mask = LoadPicture(SkinsFolder() + u"Lighting_mask.bmp");
  OwnedRegion region = RegionFromMask(mask.get());
  if (UsableRegion(region.get()) && ::SetWindowRgn(hwnd(), region.get(), FALSE) != 0) {
    static_cast<void>(region.release());  // the window owns it now
    shapedByMask_ = true;
    return;
  }
  maskFailureNotice_(hwnd());
}

void CLightingDlg::LayOutEffectControls(bool rebuild) {
  LoadPushButton(effectButton_, background_, u"LIGHTING", u"BUTTON_MENU", hwnd(), rebuild);
  effectButton_.SetFontHeight(14);
  effectButton_.SetTextAlign(kAlignLeft);
  effectButton_.SetTextColors(kWhite, kWhite, kWhite);
  LoadSlider(brightnessSlider_, background_, u"LIGHTING", u"SLIDER_BRIGHT", hwnd(), kBrightnessSliderId, 0,
             kLightingSliderMax, false, rebuild);
  LoadSlider(speedSlider_, background_, u"LIGHTING", u"SLIDER_SPEED", hwnd(), kSpeedSliderId, 0,
             kLightingSliderMax, false, rebuild);
}

void CLightingDlg::LayOutColorControls(bool rebuild) {
  for (int i = 0; i < kPresetCount; ++i) {
    LoadPushButton(preset(i), background_, u"LIGHTING", u"RECT_COLORSLIDER_" + FormatDecimal(i + 1), hwnd(),
                   rebuild);
  }
  static constexpr const char16_t* kFieldKeys[kComponentCount] = {u"EDIT_R", u"EDIT_G", u"EDIT_B"};
  for (int i = 0; i < kComponentCount; ++i) {
    CClrEdit& field = colorFields_[static_cast<std::size_t>(i)];
    LoadColorEdit(field, background_, u"LIGHTING", kFieldKeys[i], hwnd(),
                   WS_CHILD | WS_TABSTOP | ES_NUMBER | ES_AUTOHSCROLL, kSkinControlId, rebuild);
    field.textColor = kBlack;
    field.backgroundColor = kWhite;
    field.SetSelectAllOnFocus(true);
    // The digits would otherwise touch the field's rounded left edge.
    ::SendMessageW(field.hwnd(), EM_SETMARGINS, EC_LEFTMARGIN, MAKELPARAM(ScaleToDpi(kFieldTextMargin, SkinDpi()), 0));
  }
  LoadColorButton(swatch_, background_, u"LIGHTING", u"BUTTON_ALLKEYRECT", hwnd(), rebuild);
}

void CLightingDlg::LayOutKeyButtons(bool rebuild) {
  keyLayout_.Load(LanguagesFilePath(u"KeyboardButtons.xml"));
  // One picture of all keys, loaded once for the 111 buttons.
  const SkinBitmap keysPicture = LoadColorButtonSource(kKeyColorImage, StateImages{});
  for (int slot = 0; slot < KEY_COUNT; ++slot) {
    SkinRect entry = keyLayout_.LookupRect(u"KEYBOARD", u"BUTTON_" + FormatDecimal(slot + 1));
    CopyToField(entry.name, kKeyColorImage);
    CColorBtn2& button = keyButton(slot);
    LoadColorButtonFor(button, background_, entry, hwnd(), rebuild, &keysPicture);
    // The key picture carries the legends; a caption over it would only blur them.
    button.SetCaption(u"");
  }
}

}  // namespace quencfg
