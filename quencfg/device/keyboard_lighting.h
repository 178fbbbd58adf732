#pragma once
// What lighting the keyboard holds, as far as the device thread knows. The keyboard
// holds one lighting, whichever profile sent it, and nothing is read back: so it is
// unknown at start and whenever the keyboard may have changed without this program
// (unplugged, plugged in, woken from sleep, a write that did not arrive whole), and
// known only from a write whose every report the keyboard accepted.
#include <optional>

#include "quencfg/model/settings_block.h"

namespace quencfg {

// Whether two lightings give the keyboard the same reports: effect, brightness, speed,
// color mode, effect color and key colors (the layer's name never reaches it).
[[nodiscard]] bool SameKeyboardLighting(const LightingSettings& a, const LightingSettings& b) noexcept;

class KeyboardLighting {
 public:
  // Whether the keyboard is known to hold `lighting`; never while unknown.
  [[nodiscard]] bool Holds(const LightingSettings& lighting) const noexcept;
  // After a write of `lighting` that the keyboard accepted whole.
  void Written(const LightingSettings& lighting) noexcept { held_ = lighting; }
  // The keyboard may hold anything now.
  void Forget() noexcept { held_.reset(); }

 private:
  std::optional<LightingSettings> held_;
};

}  // namespace quencfg
