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

void WriteProfileToKeyboard(CUSBDriver& driver, const ProfileData& profile, const MacroSource& macros,
                            SyncRequest request, const ProgressCallback& report) {
  PreciseTimingScope precise(driver.Clock());
  if (request.reset) {
    driver.SendReset();
    report(30);
  }
  WriteKeysAndMacros(driver, profile, macros, report);
  driver.Clock().Pause(kPauseAfterKeysMs);
  report(50);
  report(60);
  if (request.writeLighting || request.reset) {
    report(70);
    WriteLighting(driver, profile, report);
  }
  report(90);
  driver.SendEndOfUpdate();
  report(100);
}

void RunFullWrite(CUSBDriver& driver, SettingsBlock& settings, ProgressTarget& progress, SyncRequest request) {
  progress.Open();
  ReloadSettings(settings);
  progress.Position(20);
  const ProgressCallback report = [&progress](int percent) { progress.Position(percent); };
  WriteProfileToKeyboard(driver, CurrentProfile(settings), LibraryMacroSource(), request, report);
  progress.Close();
}

}  // namespace quencfg
