#include "quencfg/model/settings_block.h"

#include <cstring>

#include "quencfg/framework/text.h"

namespace quencfg {
namespace {

constexpr std::uint8_t kFactoryEffect = 3;
constexpr std::uint8_t kFactoryStep = 2;  // brightness, speed and color mode

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
  if (settings.Language < kLanguageMin || settings.Language > kLanguageMax) {
    settings.Language = kLanguageDefault;
  }
  if (settings.Profile >= PROFILE_COUNT) settings.Profile = 0;
}

void NormalizeProfile(ProfileData& profile, bool reset, int index) noexcept {
  LightingSettings& light = profile.lighting;
  if (reset) std::memset(profile.keys, 0, sizeof profile.keys);
  if (reset || light.byLightEffect > kLightEffectMax) light.byLightEffect = kFactoryEffect;
  if (reset || light.byLightBright > kLightBrightMax) light.byLightBright = kFactoryStep;
  if (reset || light.byLightSpeed > kLightSpeedMax) light.byLightSpeed = kFactoryStep;
  if (reset || light.byLightColorType > kLightColorTypeMax) light.byLightColorType = kFactoryStep;
  if (reset || light.byLightColor > kLightColorMax) light.byLightColor = FactoryLightColor(index);
  if (reset) {
    CopyToField(light.keyColors.layerName, u"DEFAULT");
    std::memset(light.keyColors.coLightRGB, 0, sizeof light.keyColors.coLightRGB);
  }
}

int CurrentProfileIndex(const SettingsBlock& settings) noexcept {
  return settings.Profile < PROFILE_COUNT ? settings.Profile : 0;
}

const ProfileData& CurrentProfile(const SettingsBlock& settings) noexcept {
  return settings.profiles[CurrentProfileIndex(settings)];
}

ProfileData& CurrentProfile(SettingsBlock& settings) noexcept { return settings.profiles[CurrentProfileIndex(settings)]; }

}  // namespace quencfg
