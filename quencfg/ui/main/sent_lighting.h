#pragma once
// What the keyboard last received of each profile's lighting, as far as the main window
// knows: the lighting as loaded (the files hold what earlier applies sent), then as each
// apply or reset sent it. An apply whose profile's lighting differs from it sends the
// lighting again, so that an edit made with the lighting panel closed is not left
// behind in the profile file only.
#include <array>

#include "quencfg/model/settings_block.h"

namespace quencfg {

// Whether two lightings give the keyboard the same reports: effect, brightness, speed,
// color mode, effect color and key colors (the layer's name never reaches it).
[[nodiscard]] bool SameKeyboardLighting(const LightingSettings& a, const LightingSettings& b) noexcept;

class SentLighting {
 public:
  // Every profile's lighting as `settings` holds it, e.g. right after loading.
  void RememberAll(const SettingsBlock& settings) noexcept;
  // After a request that leaves `lighting` on the keyboard for profile `index`.
  void Remember(int index, const LightingSettings& lighting) noexcept;
  // Whether `lighting` of profile `index` differs from what the keyboard last received
  // of it; an index outside the profiles is always unsent.
  [[nodiscard]] bool Unsent(int index, const LightingSettings& lighting) const noexcept;

 private:
  std::array<LightingSettings, PROFILE_COUNT> sent_{};
};

}  // namespace quencfg
