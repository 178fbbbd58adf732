#pragma once
// The rules of the lighting panel that do not depend on windows: which controls each
// effect shows, the effects the menu offers, the names of the effects, which colour a
// pick takes and what a click on a key colour does.
#include <cstdint>
#include <span>
#include <string>

namespace quencfg {

inline constexpr int kEffectColourEffect = 16;  // one colour for the whole keyboard
inline constexpr int kPerKeyEffect = 19;        // a colour for each key
inline constexpr int kHighestNamedEffect = 19;

// Pixels below this (black and the dark frame of the colour field) are not taken.
inline constexpr std::uint32_t kDarkestPickableColour = 350;

// The parts of the panel that depend on the effect.
struct LightingControls {
  bool brightness = false;    // slider and label BRIGHTNESS
  bool speed = false;         // slider and label SPEED
  bool presets = false;       // the 8 colour preset buttons
  bool colourLabel = false;   // label COLOR
  bool customColour = false;  // red/green/blue fields, swatch, key colours, colour field, their labels

  friend bool operator==(const LightingControls&, const LightingControls&) = default;
};

LightingControls ShownControls(int effect) noexcept;

// The effects of the menu, in menu order; each item's command number is its effect.
std::span<const int> MenuEffects() noexcept;

// The strings key that names an effect (effect n: LIGHT_EFFECT_(n+1)); empty above 19
// and below 0, so that the effect button shows no caption.
std::u16string EffectNameKey(int effect);

// Whether a picked colour also becomes the profile's effect colour.
bool PickSetsEffectColour(int effect) noexcept;

// Whether a pixel read from the colour field is taken as a colour: not black or nearly
// black, and a real colour value (a failed read gives the invalid value 0xFFFFFFFF).
bool IsPickablePixel(std::uint32_t pixel) noexcept;

// A click on a key: off when it already shows the picked colour or nothing is picked,
// the picked colour otherwise.
std::uint32_t ToggledKeyColour(std::uint32_t keyColour, std::uint32_t picked) noexcept;

}  // namespace quencfg
