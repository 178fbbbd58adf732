#include "quencfg/ui/main/sent_lighting.h"

#include <algorithm>
#include <iterator>

namespace quencfg {

bool SameKeyboardLighting(const LightingSettings& a, const LightingSettings& b) noexcept {
  return a.byLightEffect == b.byLightEffect && a.byLightBright == b.byLightBright && a.byLightSpeed == b.byLightSpeed &&
         a.byLightColor == b.byLightColor && a.byLightColorType == b.byLightColorType &&
         std::equal(std::begin(a.keyColors.coLightRGB), std::end(a.keyColors.coLightRGB),
                    std::begin(b.keyColors.coLightRGB));
}

void SentLighting::RememberAll(const SettingsBlock& settings) noexcept {
  for (int index = 0; index < PROFILE_COUNT; ++index) Remember(index, settings.profiles[index].lighting);
}

void SentLighting::Remember(int index, const LightingSettings& lighting) noexcept {
  if (IsProfileIndex(index)) sent_[static_cast<std::size_t>(index)] = lighting;
}

bool SentLighting::Unsent(int index, const LightingSettings& lighting) const noexcept {
  return !IsProfileIndex(index) || !SameKeyboardLighting(sent_[static_cast<std::size_t>(index)], lighting);
}

}  // namespace quencfg
