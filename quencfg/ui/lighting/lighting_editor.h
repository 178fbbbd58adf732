#pragma once
// What the lighting panel does to the profile it edits, apart from its windows: the
// effect, brightness, speed and color mode, the picked color and the key colors.
// The profile is the main window's working copy; it is changed in place.
#include <cstdint>

#include "quencfg/model/settings_block.h"

namespace quencfg {

inline constexpr std::uint32_t kInitialPickedColor = 0x0000FF;
inline constexpr int kPresetCount = 8;

class LightingEditor {
 public:
  // The profile edited from now on (none: nothing is edited); changes nothing.
  void SetProfile(ProfileData* profile) noexcept { profile_ = profile; }
  [[nodiscard]] ProfileData* profile() const noexcept { return profile_; }

  [[nodiscard]] std::uint32_t pickedColor() const noexcept { return pickedColor_; }
  [[nodiscard]] int currentEffect() const noexcept { return currentEffect_; }

  // The first step of a refresh: the picked color becomes the profile's effect color.
  void TakeProfileColor() noexcept;
  // The effect becomes current and the profile's effect. An effect that shows the
  // color field takes the profile's color as the picked one: the fields always show
  // what the profile sends.
  void SelectEffect(int effect) noexcept;
  // Whether the current effect shows the color field (and the red, green and blue
  // fields): only there does a pick or a typed color act.
  [[nodiscard]] bool ShowsColorField() const noexcept;

  // A pixel of the color field. Dark pixels, failed reads and picks while no field is
  // shown are not taken (false); otherwise the pixel is the picked color and the
  // profile's effect color.
  bool Pick(std::uint32_t pixel) noexcept;
  // A color typed into the red, green and blue fields: taken like a pick, dark or not,
  // because the user chose it digit by digit; false while the fields are not shown.
  bool TakeTypedColor(std::uint32_t color) noexcept;

  // A click on key `slot`: switches it between the picked color and off. Returns the
  // key's new color (0 for a slot outside the profile).
  std::uint32_t ToggleKey(int slot) noexcept;

  // Slider positions and the preset index, kept within their ranges (0..4, 0..7).
  void SetBrightness(int position) noexcept;
  void SetSpeed(int position) noexcept;
  // Where the effect sends the effect color, the preset's color also becomes the picked
  // color and the effect color: the panel shows one current color.
  void SetColorMode(int presetIndex) noexcept;
  // The preset button to show marked, or -1 (MarkedPreset of the profile).
  [[nodiscard]] int markedPreset() const noexcept;

 private:
  void TakeColor(std::uint32_t color) noexcept;

  ProfileData* profile_ = nullptr;
  std::uint32_t pickedColor_ = kInitialPickedColor;
  int currentEffect_ = 0;
};

}  // namespace quencfg
