#pragma once
// CLightingDlg: the lighting panel. A child of the main window at its top-left corner,
// as large as the main background and shaped by the mask "Lighting_mask.bmp", so that
// the main window's own buttons stay visible around it. It edits the lighting of the
// profile the main window hands over, in place; nothing reaches the keyboard before
// the main window applies.
#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

#include "quencfg/framework/window_win.h"
#include "quencfg/model/settings_block.h"
#include "quencfg/ui/lighting/color_fields.h"
#include "quencfg/ui/lighting/lighting_editor.h"
#include "quencfg/ui/lighting/lighting_rules.h"
#include "quencfg/ui/skin/bitmap_btn_win.h"
#include "quencfg/ui/skin/btn_menu_win.h"
#include "quencfg/ui/skin/clr_edit_win.h"
#include "quencfg/ui/skin/color_btn_win.h"
#include "quencfg/ui/skin/png_slider_win.h"
#include "quencfg/ui/skin/skin_documents.h"
#include "quencfg/ui/skin/skin_bitmap_win.h"
#include "quencfg/ui/skin/state_images_win.h"

namespace quencfg {

inline constexpr int kBrightnessSliderId = 10001;
inline constexpr int kSpeedSliderId = 10002;
inline constexpr int kLightingSliderMax = 4;

class CLightingDlg : public Window {
 public:
  // Told when the mask gives no window shape (the panel then covers its whole
  // rectangle); by default a message box "error".
  using MaskFailureNotice = std::function<void(HWND panel)>;

  explicit CLightingDlg(MaskFailureNotice maskFailureNotice = {});
  ~CLightingDlg() override;

  // Creates the panel hidden at (0, 0) of `parent` and lays it out once from the skin:
  // SkinDocument, LayoutDocument (Buttons.xml) and StringDocument must be loaded.
  bool Create(HWND parent);
  // Lays the panel out again from the skin, at the skin's DPI of now: the main window
  // calls it when it moved to a monitor of another DPI. Nothing before Create.
  void Relayout();

  // The profile edited from now on; draws nothing.
  void SetLightingProfile(ProfileData& profile);
  // Brings every control in line with the profile.
  void RefreshLighting();
  // Shows the controls of the effect, names it on the effect button and makes it the
  // profile's effect.
  void SelectEffect(int effect);

  // Closes the effects menu if it is open (true); the main window calls it when it
  // hides, which the panel, its child, is not told of.
  bool CloseEffectsMenu();

  // For the main window's message loop: Enter, Escape and Space pressed in the panel
  // are discarded (true); other keys for the panel get the dialog key handling.
  bool PreTranslateMessage(MSG& message) override;

  [[nodiscard]] std::uint32_t pickedColor() const noexcept { return editor_.pickedColor(); }
  [[nodiscard]] int currentEffect() const noexcept { return editor_.currentEffect(); }
  [[nodiscard]] const RECT& customColorRect() const noexcept { return customColorRect_; }
  [[nodiscard]] bool shapedByMask() const noexcept { return shapedByMask_; }
  [[nodiscard]] CPngListBtn& effectButton() noexcept { return effectButton_; }
  [[nodiscard]] CPngHSliderBar& brightnessSlider() noexcept { return brightnessSlider_; }
  [[nodiscard]] CPngHSliderBar& speedSlider() noexcept { return speedSlider_; }
  [[nodiscard]] CPngListBtn& preset(int index) { return presets_.at(static_cast<std::size_t>(index)); }
  [[nodiscard]] CClrEdit& colorField(ColorComponent component) {
    return colorFields_.at(static_cast<std::size_t>(component));
  }
  [[nodiscard]] CColorBtn2& swatch() noexcept { return swatch_; }
  [[nodiscard]] CColorBtn2& keyButton(int slot) { return keyButtons_.at(static_cast<std::size_t>(slot)); }
  // The open effects menu, or null (also once it closed itself).
  [[nodiscard]] CBtnMenu* effectsMenu() const noexcept {
    return effectsMenu_ && effectsMenu_->IsOpen() ? effectsMenu_.get() : nullptr;
  }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // Layout, at creation (and again after a DPI change: `rebuild`).
  void LayOut(HWND parent, bool rebuild);
  void LoadBackground(HWND parent);
  void ApplyMaskRegion();
  void LayOutEffectControls(bool rebuild);
  void LayOutColorControls(bool rebuild);
  void LayOutKeyButtons(bool rebuild);

  void ShowControlsOf(int effect);
  // The speed row's distance from its skin place, and the slider put there.
  [[nodiscard]] static int SpeedRowRiseOf(const LightingControls& shown);
  void PlaceSpeedRow(const LightingControls& shown);
  // Marks the one preset of the color in use (MarkedPreset), or none.
  void MarkCurrentPreset();
  void ShowColor(std::uint32_t color);
  void RecolorSwatch(std::uint32_t color);
  void Paint(HDC dc) const;
  std::uint32_t PaintedPixel(POINT point) const;

  void OnCommand(WORD code, HWND from);
  void OnFieldChanged(ColorComponent component);
  void OnSliderMoved(WPARAM position, LPARAM identifier);
  void OnMenuPick(LPARAM lParam);
  void OnLeftButtonDown(POINT point);
  void OpenEffectsMenu();
  void TellOwnerOfEdit() const;
  int KeyButtonIndex(HWND button) const;
  int ColorFieldIndex(HWND field) const;

  MaskFailureNotice maskFailureNotice_;
  LightingEditor editor_;
  SkinBitmap background_;
  bool shapedByMask_ = false;
  bool writingFields_ = false;  // the panel itself sets the fields' texts

  CPngListBtn effectButton_;
  CPngHSliderBar brightnessSlider_;
  CPngHSliderBar speedSlider_;
  std::array<CPngListBtn, kPresetCount> presets_;
  std::array<CClrEdit, kComponentCount> colorFields_;
  CColorBtn2 swatch_;
  std::array<CColorBtn2, KEY_COUNT> keyButtons_;
  SharedSkinDocument keyLayout_;  // Languages\KeyboardButtons.xml, the panel's own copy
  RECT customColorRect_{};
  std::unique_ptr<CBtnMenu> effectsMenu_;
};

}  // namespace quencfg
