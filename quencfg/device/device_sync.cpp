#include "quencfg/device/device_sync.h"

#include "quencfg/model/macro_library.h"
#include "quencfg/model/profile_file.h"
#include "quencfg/model/settings_file.h"

namespace quencfg {

void ReloadSettings(SettingsBlock& settings) {
  if (!SettingsFileExists()) {
    ClearSettings(settings);
    WriteSettings(settings);
  }
  ReadSettings(settings);
  NormalizeSettings(settings);
  for (int index = 0; index < PROFILE_COUNT; ++index) {
    ReadProfile(settings.profiles[index], ProfileName(index), u"");
  }
}

MacroSource LibraryMacroSource() {
  MacroSource source;
  source.listNames = [] {
    std::vector<std::u16string> names;
    ListMacros(names);
    return names;
  };
  source.readMacro = [](MacroFile& macro, const std::u16string& name) { ReadMacro(macro, name); };
  return source;
}

const ProfileData& CurrentProfile(const SettingsBlock& settings) noexcept {
  const int index = settings.Profile < PROFILE_COUNT ? settings.Profile : 0;
  return settings.profiles[index];
}

void RunFullWrite(CUSBDriver& driver, SettingsBlock& settings, ProgressTarget& progress, SyncRequest request) {
  progress.Open();
  ReloadSettings(settings);
  progress.Position(20);
  const ProfileData& profile = CurrentProfile(settings);
  const ProgressCallback report = [&progress](int percent) { progress.Position(percent); };

  PreciseTimingScope precise(driver.Clock());
  if (request.reset) {
    driver.SendReset();
    progress.Position(30);
  }
  WriteKeysAndMacros(driver, profile, LibraryMacroSource(), report);
  driver.Clock().Pause(PAUSE_AFTER_KEYS_MS);
  progress.Position(50);
  progress.Position(60);
  if (request.writeLighting || request.reset) {
    progress.Position(70);
    WriteLighting(driver, profile, report);
  }
  progress.Position(90);
  driver.SendEndOfUpdate();
  progress.Position(100);
  progress.Close();
}

}  // namespace quencfg
