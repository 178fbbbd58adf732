#include "quencfg/model/settings_block.h"

#include <cstring>

#include "quencfg/framework/text.h"

namespace quencfg {
namespace {

constexpr std::uint8_t kFactoryEffect = 3;
constexpr std::uint8_t kFactoryStep = 2;  // brightness, speed and colour mode

}  // namespace

std::uint32_t FactoryLightColor(int index) noexcept {
  switch (index) {
    case 1: return 0x0000FF;
    case 2: return 0xFF0000;
    default: return 0xFFFFFF;
  }
}

void ClearSettings(SettingsBlock& settings) noexcept {
  std::memset(&settings, 0, sizeof settings);
  NormalizeSettings(settings);
}

void NormalizeSettings(SettingsBlock& settings) noexcept {
  if (settings.Language < LANGUAGE_MIN || settings.Language > LANGUAGE_MAX) {
    settings.Language = LANGUAGE_DEFAULT;
  }
  if (settings.Profile >= PROFILE_COUNT) settings.Profile = 0;
}

void NormalizeProfile(ProfileData& profile, bool reset, int index) noexcept {
  LightingSettings& light = profile.lighting;
  if (reset) std::memset(profile.keys, 0, sizeof profile.keys);
  if (reset || light.byLightEffect > LIGHT_EFFECT_MAX) light.byLightEffect = kFactoryEffect;
  if (reset || light.byLightBright > LIGHT_BRIGHT_MAX) light.byLightBright = kFactoryStep;
  if (reset || light.byLightSpeed > LIGHT_SPEED_MAX) light.byLightSpeed = kFactoryStep;
  if (reset || light.byLightColorType > LIGHT_COLOR_TYPE_MAX) light.byLightColorType = kFactoryStep;
  if (reset || light.byLightColor > LIGHT_COLOR_MAX) light.byLightColor = FactoryLightColor(index);
  if (reset) {
    CopyToField(light.keyColors.layerName, u"DEFAULT");
    std::memset(light.keyColors.coLightRGB, 0, sizeof light.keyColors.coLightRGB);
  }
}

}  // namespace quencfg
