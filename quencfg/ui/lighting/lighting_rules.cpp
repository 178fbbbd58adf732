#include "quencfg/ui/lighting/lighting_rules.h"

#include <array>

#include "quencfg/model/number_text.h"

namespace quencfg {
namespace {

constexpr std::array<int, 12> kMenuEffects = {1, 2, 3, 8, 9, 10, 11, 12, 13, 15, 16, 18};

bool IsOneOf(int value, std::span<const int> values) noexcept {
  for (int v : values) {
    if (v == value) return true;
  }
  return false;
}

}  // namespace

LightingControls ShownControls(int effect) noexcept {
  static constexpr int kWithoutPresets[] = {3, 8, 9, 18, 19};
  static constexpr int kWithColorLabel[] = {1, 2, 7, 10, 11, 12, 13, 14, 15, 16, 17};
  LightingControls shown;
  shown.brightness = effect != 1;
  shown.speed = effect != kEffectSingleColor && effect != kEffectPerKey;
  shown.presets = !IsOneOf(effect, kWithoutPresets);
  shown.colorLabel = IsOneOf(effect, kWithColorLabel);
  shown.customColor = effect == kEffectPerKey;
  // Under the single-color effect too, the user sees which color the keyboard gets.
  shown.effectColor = PickSetsEffectColor(effect);
  return shown;
}

int MarkedPreset(int effect, std::uint8_t colorType, std::uint32_t effectColor) noexcept {
  const bool validType = colorType < kPresetColors.size();
  if (!PickSetsEffectColor(effect) || !ShownControls(effect).presets) return validType ? colorType : -1;
  if (validType && kPresetColors[colorType] == effectColor) return colorType;
  for (std::size_t i = 0; i < kPresetColors.size(); ++i) {
    if (kPresetColors[i] == effectColor) return static_cast<int>(i);
  }
  return -1;
}

int SpeedRowRise(const LightingControls& shown, int brightnessTop, int speedTop) noexcept {
  if (shown.brightness || !shown.speed || speedTop <= brightnessTop) return 0;
  return speedTop - brightnessTop;
}

std::span<const int> MenuEffects() noexcept { return kMenuEffects; }

std::u16string EffectNameKey(int effect) {
  if (effect < 0 || effect > kHighestNamedEffect) return {};
  return u"LIGHT_EFFECT_" + FormatDecimal(effect + 1);
}

bool PickSetsEffectColor(int effect) noexcept { return effect == kEffectSingleColor || effect == kEffectPerKey; }

bool IsPickablePixel(std::uint32_t pixel) noexcept {
  return pixel >= kDarkestPickableColor && pixel <= 0xFFFFFF;
}

std::uint32_t ToggledKeyColor(std::uint32_t keyColor, std::uint32_t picked) noexcept {
  return keyColor == picked || picked == 0 ? 0 : picked;
}

}  // namespace quencfg
