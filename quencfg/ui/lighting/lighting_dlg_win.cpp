// The panel at work: refreshing from the profile, selecting effects, painting, and the
// commands, picks, slider moves and typed colors it receives.
#include "quencfg/ui/lighting/lighting_dlg_win.h"

#include <span>
#include <string>
#include <utility>

#include "quencfg/framework/gdi_win.h"
#include "quencfg/framework/messages.h"
#include "quencfg/framework/wide_win.h"
#include "quencfg/model/number_text.h"
#include "quencfg/ui/lighting/lighting_rules.h"
#include "quencfg/ui/skin/button_group_win.h"
#include "quencfg/ui/skin/skin_draw_win.h"
#include "quencfg/ui/skin/skin_language.h"
#include "quencfg/ui/skin/skin_text_win.h"
#include "quencfg/ui/skin/standard_menu_win.h"

namespace quencfg {
namespace {

constexpr COLORREF kWhite = 0xFFFFFF;
constexpr int kEffectCaptionOffset = 8;
constexpr LPARAM kFirstInvalidEffectPick = 0x150000;  // command numbers 21 and up

constexpr int kLabelFontHeight = 16;

bool IsKeyThePanelDiscards(const MSG& message) {
  return message.message == WM_KEYDOWN &&
         (message.wParam == VK_RETURN || message.wParam == VK_ESCAPE || message.wParam == VK_SPACE);
}

}  // namespace

// ---------------------------------------------------------------- the profile

void CLightingDlg::SetLightingProfile(ProfileData& profile) { editor_.SetProfile(&profile); }

void CLightingDlg::RefreshLighting() {
  ProfileData* profile = editor_.profile();
  if (profile == nullptr) return;
  const LightingSettings& lighting = profile->lighting;
  editor_.TakeProfileColor();
  SelectEffect(lighting.byLightEffect);
  brightnessSlider_.SetPos(lighting.byLightBright);
  speedSlider_.SetPos(lighting.byLightSpeed);
  MarkCurrentPreset();
  for (int slot = 0; slot < KEY_COUNT; ++slot) {
    const std::uint32_t value = lighting.keyColors.coLightRGB[slot];
    const RgbColor color = RgbFromColorValue(value);
    keyButton(slot).Recolor(color.red, color.green, color.blue);
    keyButton(slot).SetDimmed(value == 0);
  }
}

void CLightingDlg::SelectEffect(int effect) {
  ShowControlsOf(effect);
  const std::u16string nameKey = EffectNameKey(effect);
  effectButton_.SetCaption(nameKey.empty() ? std::u16string() : StringDocument().Lookup(u"LIGHT_STRING", nameKey),
                           kEffectCaptionOffset);
  editor_.SelectEffect(effect);
  if (PickSetsEffectColor(effect)) ShowColor(editor_.pickedColor());
  MarkCurrentPreset();
  if (hwnd() != nullptr) ::InvalidateRect(hwnd(), nullptr, FALSE);
}

void CLightingDlg::MarkCurrentPreset() {
  const int marked = editor_.markedPreset();
  for (int i = 0; i < kPresetCount; ++i) {
    if (preset(i).selected() != (i == marked)) preset(i).SetSelected(i == marked);
  }
}

void CLightingDlg::ShowControlsOf(int effect) {
  const LightingControls shown = ShownControls(effect);
  ShowChild(brightnessSlider_.hwnd(), shown.brightness);
  ShowChild(speedSlider_.hwnd(), shown.speed);
  for (CPngListBtn& button : presets_) ShowChild(button.hwnd(), shown.presets);
  for (CClrEdit& field : colorFields_) ShowChild(field.hwnd(), shown.effectColor);
  ShowChild(swatch_.hwnd(), shown.effectColor);
  for (CColorBtn2& button : keyButtons_) ShowChild(button.hwnd(), shown.customColor);
  PlaceSpeedRow(shown);
}

int CLightingDlg::SpeedRowRiseOf(const LightingControls& shown) {
  const SkinRect brightness = LayoutDocument().LookupRect(u"LIGHTING", u"SLIDER_BRIGHT");
  const SkinRect speed = LayoutDocument().LookupRect(u"LIGHTING", u"SLIDER_SPEED");
  return SpeedRowRise(shown, brightness.top, speed.top);
}

void CLightingDlg::PlaceSpeedRow(const LightingControls& shown) {
  // A hidden brightness row gives its place to the speed row below it.
  if (speedSlider_.hwnd() == nullptr) return;
  const SkinRect entry = LayoutDocument().LookupRect(u"LIGHTING", u"SLIDER_SPEED");
  RECT rect{entry.left, entry.top, entry.right, entry.bottom};
  ::OffsetRect(&rect, 0, -SpeedRowRiseOf(shown));
  speedSlider_.SetBackground(rect, background_.get());
  ::SetWindowPos(speedSlider_.hwnd(), nullptr, rect.left, rect.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CLightingDlg::ShowColor(std::uint32_t color) {
  writingFields_ = true;
  for (int i = 0; i < kComponentCount; ++i) {
    CClrEdit& field = colorFields_[static_cast<std::size_t>(i)];
    const std::u16string text = ComponentText(color, static_cast<ColorComponent>(i));
    field.SetText(text);
    if (field.hwnd() != nullptr) {
      ::SendMessageW(field.hwnd(), EM_SETSEL, text.size(), static_cast<LPARAM>(text.size()));
    }
  }
  writingFields_ = false;
  RecolorSwatch(color);
}

void CLightingDlg::RecolorSwatch(std::uint32_t color) {
  if (!PickSetsEffectColor(editor_.currentEffect())) return;
  const RgbColor rgb = RgbFromColorValue(color);
  swatch_.RecolorChain(rgb.red, rgb.green, rgb.blue);
}

// ---------------------------------------------------------------- painting

void CLightingDlg::Paint(HDC dc) const {
  BlitBitmap(dc, background_, 0, 0);
  const LightingControls shown = ShownControls(editor_.currentEffect());
  OwnedFont font = CreateSkinLabelFont(kLabelFontHeight);
  SelectScope selectFont(dc, font.get());
  const int oldMode = ::SetBkMode(dc, TRANSPARENT);
  const COLORREF oldColor = ::SetTextColor(dc, kWhite);
  if (shown.brightness) DrawSkinText(dc, u"LIGHT_STRING", u"BRIGHTNESS", DT_WORDBREAK);
  if (shown.colorLabel) DrawSkinText(dc, u"LIGHT_STRING", u"COLOR", DT_WORDBREAK);
  if (shown.customColor) DrawSkinText(dc, u"LIGHT_STRING", u"COLORCUSTOM", DT_WORDBREAK);
  if (shown.effectColor) {
    for (const char16_t* key : {u"TXR", u"TXG", u"TXB"}) DrawSkinText(dc, u"LIGHT_STRING", key, DT_WORDBREAK);
  }
  if (shown.effectColor) DrawSkinImage(dc, u"MAINSCREENNEW", u"CUSTOMRECT");
  if (shown.speed) {
    // Its label moves with the speed slider.
    POINT origin{};
    ::OffsetViewportOrgEx(dc, 0, -SpeedRowRiseOf(shown), &origin);
    DrawSkinText(dc, u"LIGHT_STRING", u"SPEED", DT_WORDBREAK);
    ::SetViewportOrgEx(dc, origin.x, origin.y, nullptr);
  }
  ::SetTextColor(dc, oldColor);
  ::SetBkMode(dc, oldMode);
}

// What the panel shows at `point`, painted off-screen; CLR_INVALID when it cannot be read.
std::uint32_t CLightingDlg::PaintedPixel(POINT point) const {
  RECT client{};
  ::GetClientRect(hwnd(), &client);
  if (!::PtInRect(&client, point)) return CLR_INVALID;
  const SkinBitmap canvas = CreateBitmap32(client.right, client.bottom);
  MemoryDc memory(nullptr);
  if (canvas.empty() || memory.get() == nullptr) return CLR_INVALID;
  SelectScope select(memory.get(), canvas.get());
  ::IntersectClipRect(memory.get(), point.x, point.y, point.x + 1, point.y + 1);
  Paint(memory.get());
  return ::GetPixel(memory.get(), point.x, point.y);
}

// ---------------------------------------------------------------- messages

bool CLightingDlg::PreTranslateMessage(MSG& message) {
  if (!IsFor(message)) return false;
  if (IsKeyThePanelDiscards(message)) return true;
  if (!IsKeyboardMessage(message.message)) return false;
  return ::IsDialogMessageW(hwnd(), &message) != 0;
}

LRESULT CLightingDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  const auto paint = [this](HDC dc, const RECT&) { Paint(dc); };
  if (const auto painted = HandlePaintMessages(hwnd(), message, wParam, paint)) return *painted;
  switch (message) {
    case WM_COMMAND:
      OnCommand(HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      TellOwnerOfEdit();
      return DefaultHandling(message, wParam, lParam);
    case kSliderMovedMessage:
      OnSliderMoved(wParam, lParam);
      TellOwnerOfEdit();
      return 1;
    case kMenuPickCommand:
      OnMenuPick(lParam);
      TellOwnerOfEdit();
      return DefaultHandling(message, wParam, lParam);
    case WM_LBUTTONDOWN:
      OnLeftButtonDown(POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
      TellOwnerOfEdit();
      return DefaultHandling(message, wParam, lParam);
    case WM_SHOWWINDOW:
      // A menu left open over a hidden panel could still pick an effect.
      if (wParam == FALSE) CloseEffectsMenu();
      return DefaultHandling(message, wParam, lParam);
    default:
      return DefaultHandling(message, wParam, lParam);
  }
}

void CLightingDlg::OnCommand(WORD code, HWND from) {
  const int field = ColorFieldIndex(from);
  if (field >= 0 && code != 0) {
    // Notifications of the fields are no clicks: they leave the menu alone.
    if (code == EN_CHANGE && !writingFields_) OnFieldChanged(static_cast<ColorComponent>(field));
    return;
  }
  if (CloseEffectsMenu()) return;  // the click that closed the menu does nothing else
  if (from == effectButton_.hwnd()) {
    OpenEffectsMenu();
    return;
  }
  const int presetIndex = SelectButtonInGroup(std::span<CPngListBtn>(presets_), from);
  if (presetIndex >= 0) {
    editor_.SetColorMode(presetIndex);
    if (editor_.ShowsColorField()) ShowColor(editor_.pickedColor());
    MarkCurrentPreset();
    return;
  }
  const int slot = KeyButtonIndex(from);
  if (slot >= 0) {
    const RgbColor color = RgbFromColorValue(editor_.ToggleKey(slot));
    const bool off = color.red == 0 && color.green == 0 && color.blue == 0;
    if (off) {
      keyButton(slot).Recolor(0, 0, 0);
    } else {
      keyButton(slot).RecolorChain(color.red, color.green, color.blue);
    }
    keyButton(slot).SetDimmed(off);
  }
}

void CLightingDlg::OnFieldChanged(ColorComponent component) {
  CClrEdit& field = colorField(component);
  const std::u16string typed = field.Text();
  const std::optional<std::uint8_t> value = ParseComponentField(typed);
  if (!value) return;  // empty or not a number yet: the color stays
  const std::u16string shown = FormatDecimal(*value);
  if (*value == 255 && typed != shown) {
    // Above 255: the field says what was taken.
    writingFields_ = true;
    field.SetText(shown);
    ::SendMessageW(field.hwnd(), EM_SETSEL, shown.size(), static_cast<LPARAM>(shown.size()));
    writingFields_ = false;
  }
  if (editor_.TakeTypedColor(WithComponent(editor_.pickedColor(), component, *value))) {
    RecolorSwatch(editor_.pickedColor());
    MarkCurrentPreset();
  }
}

void CLightingDlg::OnSliderMoved(WPARAM position, LPARAM identifier) {
  const int value = static_cast<int>(position);
  if (identifier == kBrightnessSliderId) {
    brightnessSlider_.SetPos(value);
    editor_.SetBrightness(value);
  } else if (identifier == kSpeedSliderId) {
    speedSlider_.SetPos(value);
    editor_.SetSpeed(value);
  }
}

void CLightingDlg::OnMenuPick(LPARAM lParam) {
  CloseEffectsMenu();
  if (lParam >= 0 && lParam < kFirstInvalidEffectPick) SelectEffect(HIWORD(lParam));
}

void CLightingDlg::OnLeftButtonDown(POINT point) {
  CloseEffectsMenu();
  if (!::PtInRect(&customColorRect_, point)) return;
  if (editor_.Pick(PaintedPixel(point))) {
    ShowColor(editor_.pickedColor());
    MarkCurrentPreset();
  }
}

void CLightingDlg::OpenEffectsMenu() {
  RECT button{};
  ::GetWindowRect(effectButton_.hwnd(), &button);
  auto menu = MakeStandardMenu(hwnd(), POINT{button.left, button.bottom}, u"menu_effect_normal.jpg",
                               u"menu_effect_over.jpg");
  for (int effect : MenuEffects()) {
    const bool current = effect == editor_.currentEffect();
    menu->AddItem(StringDocument().Lookup(u"LIGHT_STRING", EffectNameKey(effect)), effect, nullptr, true, current);
  }
  menu->SetClosingOnlyArea(hwnd());  // the click that closes the menu does nothing else
  if (!menu->Create(hwnd())) return;
  menu->ShowCheckedItem();
  effectsMenu_ = std::move(menu);
}

bool CLightingDlg::CloseEffectsMenu() {
  const bool wasOpen = effectsMenu() != nullptr;
  effectsMenu_.reset();
  return wasOpen;
}

void CLightingDlg::TellOwnerOfEdit() const {
  // The main window compares the profile with its file; a message that finds nothing
  // changed costs only that comparison.
  PostToWindow(::GetParent(hwnd()), UM_PROFILEEDITED, 0, 0);
}

int CLightingDlg::KeyButtonIndex(HWND button) const { return IndexOfWindow(keyButtons_, button); }

int CLightingDlg::ColorFieldIndex(HWND field) const { return IndexOfWindow(colorFields_, field); }

}  // namespace quencfg
