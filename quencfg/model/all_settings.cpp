#include "quencfg/model/all_settings.h"

#include "quencfg/model/profile_file.h"
#include "quencfg/model/settings_file.h"

namespace quencfg {

void LoadAllSettings(SettingsBlock& settings) {
  ClearSettings(settings);
  ReadSettings(settings);
  NormalizeSettings(settings);
  for (int index = 0; index < PROFILE_COUNT; ++index) {
    ReadProfile(settings.profiles[index], ProfileName(index), u"");
    NormalizeProfile(settings.profiles[index], false, index);
  }
}

}  // namespace quencfg
