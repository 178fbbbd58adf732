#pragma once
// The settings of a first start: the three factory profiles, as the main window loads
// them, in a block of its own (it is too large for a test's stack).
#include <memory>

#include "quencfg/model/settings_block.h"

namespace quencfg::testing {

inline void ResetToFactoryProfiles(SettingsBlock& settings) noexcept {
  ClearSettings(settings);
  for (int i = 0; i < PROFILE_COUNT; ++i) NormalizeProfile(settings.profiles[i], true, i);
}

inline std::unique_ptr<SettingsBlock> FactorySettings() {
  auto settings = std::make_unique<SettingsBlock>();
  ResetToFactoryProfiles(*settings);
  return settings;
}

}  // namespace quencfg::testing
