#include "quencfg/ui/lighting/lighting_editor.h"

#include <algorithm>

#include "quencfg/ui/lighting/lighting_rules.h"

namespace quencfg {
namespace {

std::uint8_t Clamped(int value, int maximum) noexcept {
  return static_cast<std::uint8_t>(std::clamp(value, 0, maximum));
}

}  // namespace

void LightingEditor::TakeProfileColour() noexcept {
  if (profile_ != nullptr) pickedColour_ = profile_->lighting.byLightColor;
}

void LightingEditor::SelectEffect(int effect) noexcept {
  currentEffect_ = effect;
  if (profile_ != nullptr) profile_->lighting.byLightEffect = static_cast<std::uint8_t>(effect);
}

bool LightingEditor::Pick(std::uint32_t pixel) noexcept {
  if (!IsPickablePixel(pixel)) return false;
  TakeColour(pixel);
  return true;
}

void LightingEditor::TakeTypedColour(std::uint32_t colour) noexcept { TakeColour(colour & LIGHT_COLOR_MAX); }

void LightingEditor::TakeColour(std::uint32_t colour) noexcept {
  pickedColour_ = colour;
  if (profile_ != nullptr && PickSetsEffectColour(profile_->lighting.byLightEffect)) {
    profile_->lighting.byLightColor = colour;
  }
}

std::uint32_t LightingEditor::ToggleKey(int slot) noexcept {
  if (profile_ == nullptr || slot < 0 || slot >= KEY_COUNT) return 0;
  std::uint32_t& colour = profile_->lighting.keyColors.coLightRGB[slot];
  colour = ToggledKeyColour(colour, pickedColour_);
  return colour;
}

void LightingEditor::SetBrightness(int position) noexcept {
  if (profile_ != nullptr) profile_->lighting.byLightBright = Clamped(position, LIGHT_BRIGHT_MAX);
}

void LightingEditor::SetSpeed(int position) noexcept {
  if (profile_ != nullptr) profile_->lighting.byLightSpeed = Clamped(position, LIGHT_SPEED_MAX);
}

void LightingEditor::SetColourMode(int presetIndex) noexcept {
  if (profile_ != nullptr) profile_->lighting.byLightColorType = Clamped(presetIndex, kPresetCount - 1);
}

}  // namespace quencfg
