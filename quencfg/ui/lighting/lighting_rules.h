#pragma once
// The rules of the lighting panel that do not depend on windows: which controls each
// effect shows, the effects the menu offers, the names of the effects, which color a
// pick takes and what a click on a key color does.
#include <array>
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

// The colors the 8 preset buttons stand for (as their pictures show them), as color
// values: red in the low byte.
inline constexpr std::array<std::uint32_t, 8> kPresetColors = {0x2020FF, 0x008AFF, 0x00E1FF, 0x40E020,
                                                               0xFFD800, 0xFF5020, 0xFF30A0, 0xFFFFFF};

// The preset button shown marked, or -1: the panel shows one current color. Where the
// effect sends the effect color (the red, green and blue fields are shown too), that
// color is the one in use, and only a preset of that very color is marked (the one of
// `colorType` first); elsewhere the preset of `colorType` is (hidden presets keep that
// mark for when they show again).
int MarkedPreset(int effect, std::uint8_t colorType, std::uint32_t effectColor) noexcept;

// How far the speed row (its label and slider) moves up so that a hidden brightness row
// above it leaves no gap: the distance between the two rows' tops, or 0.
int SpeedRowRise(const LightingControls& shown, int brightnessTop, int speedTop) noexcept;

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
