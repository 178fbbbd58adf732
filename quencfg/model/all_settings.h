#pragma once
// The settings and the three profiles as the main window loads them when it opens.
#include "quencfg/model/settings_block.h"

namespace quencfg {

// Clears the block, reads the settings file and the three profile files over it and
// brings every value into range; missing or damaged files leave the cleared values.
void LoadAllSettings(SettingsBlock& settings);

}  // namespace quencfg
