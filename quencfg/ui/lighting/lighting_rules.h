#pragma once
// The rules of the lighting panel that do not depend on windows: which controls each
// effect shows, the effects the menu offers, the names of the effects, which color a
// pick takes and what a click on a key color does.
#include <cstdint>
#include <span>
#include <string>

#include "quencfg/model/settings_block.h"

namespace quencfg {

inline constexpr int kHighestNamedEffect = kEffectPerKey;

// Pixels below this (black and the dark frame of the color field) are not taken.
inline constexpr std::uint32_t kDarkestPickableColor = 350;

// The parts of the panel that depend on the effect.
struct LightingControls {
  bool brightness = false;    // slider and label BRIGHTNESS
  bool speed = false;         // slider and label SPEED
  bool presets = false;       // the 8 color preset buttons
  bool colorLabel = false;   // label COLOR
  bool customColor = false;  // key colors and the label COLORCUSTOM
  // The color field, the red/green/blue fields, their labels and the swatch: where a
  // pick acts and what it sends.
  bool effectColor = false;

  friend bool operator==(const LightingControls&, const LightingControls&) = default;
};

LightingControls ShownControls(int effect) noexcept;

// The effects of the menu, in menu order; each item's command number is its effect.
std::span<const int> MenuEffects() noexcept;

// The strings key that names an effect (effect n: LIGHT_EFFECT_(n+1)); empty above 19
// and below 0, so that the effect button shows no caption.
std::u16string EffectNameKey(int effect);

// Whether a picked color also becomes the profile's effect color.
bool PickSetsEffectColor(int effect) noexcept;

// Whether a pixel read from the color field is taken as a color: not black or nearly
// black, and a real color value (a failed read gives the invalid value 0xFFFFFFFF).
bool IsPickablePixel(std::uint32_t pixel) noexcept;

// A click on a key: off when it already shows the picked color or nothing is picked,
// the picked color otherwise.
std::uint32_t ToggledKeyColor(std::uint32_t keyColor, std::uint32_t picked) noexcept;

}  // namespace quencfg
