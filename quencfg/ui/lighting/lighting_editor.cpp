#include "quencfg/ui/lighting/lighting_editor.h"

#include <algorithm>

#include "quencfg/ui/lighting/lighting_rules.h"

namespace quencfg {
namespace {

static_assert(kPresetColors.size() == kPresetCount);

std::uint8_t Clamped(int value, int maximum) noexcept {
  return static_cast<std::uint8_t>(std::clamp(value, 0, maximum));
}

}  // namespace

void LightingEditor::TakeProfileColor() noexcept {
  if (profile_ != nullptr) pickedColor_ = profile_->lighting.byLightColor;
}

void LightingEditor::SelectEffect(int effect) noexcept {
  currentEffect_ = effect;
  if (profile_ == nullptr) return;
  profile_->lighting.byLightEffect = static_cast<std::uint8_t>(effect);
  // The fields that come into view show the color the profile sends.
  if (ShowsColorField()) TakeProfileColor();
}

bool LightingEditor::ShowsColorField() const noexcept { return ShownControls(currentEffect_).effectColor; }

bool LightingEditor::Pick(std::uint32_t pixel) noexcept {
  if (!ShowsColorField() || !IsPickablePixel(pixel)) return false;
  TakeColor(pixel);
  return true;
}

bool LightingEditor::TakeTypedColor(std::uint32_t color) noexcept {
  if (!ShowsColorField()) return false;
  TakeColor(color & kLightColorMax);
  return true;
}

void LightingEditor::TakeColor(std::uint32_t color) noexcept {
  pickedColor_ = color;
  if (profile_ != nullptr && PickSetsEffectColor(profile_->lighting.byLightEffect)) {
    profile_->lighting.byLightColor = color;
  }
}

std::uint32_t LightingEditor::ToggleKey(int slot) noexcept {
  if (profile_ == nullptr || slot < 0 || slot >= KEY_COUNT) return 0;
  std::uint32_t& color = profile_->lighting.keyColors.coLightRGB[slot];
  color = ToggledKeyColor(color, pickedColor_);
  return color;
}

void LightingEditor::SetBrightness(int position) noexcept {
  if (profile_ != nullptr) profile_->lighting.byLightBright = Clamped(position, kLightBrightMax);
}

void LightingEditor::SetSpeed(int position) noexcept {
  if (profile_ != nullptr) profile_->lighting.byLightSpeed = Clamped(position, kLightSpeedMax);
}

void LightingEditor::SetColorMode(int presetIndex) noexcept {
  if (profile_ == nullptr) return;
  const std::uint8_t type = Clamped(presetIndex, kPresetCount - 1);
  profile_->lighting.byLightColorType = type;
  if (ShowsColorField()) TakeColor(kPresetColors[type]);
}

int LightingEditor::markedPreset() const noexcept {
  if (profile_ == nullptr) return -1;
  const LightingSettings& lighting = profile_->lighting;
  return MarkedPreset(currentEffect_, lighting.byLightColorType, lighting.byLightColor);
}

}  // namespace quencfg
