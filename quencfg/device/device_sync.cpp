#include "quencfg/device/device_sync.h"

#include "quencfg/model/macro_library.h"
#include "quencfg/model/profile_file.h"
#include "quencfg/model/settings_file.h"

namespace quencfg {
namespace {

bool HoldsCommandHandle(CUSBDriver& driver) noexcept { return driver.Handles().command.load() != kNoHidHandle; }

}  // namespace

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

void RunFullWrite(CUSBDriver& driver, SettingsBlock& settings, ProgressTarget& progress, SyncRequest request,
                  KeyboardLighting& keyboardLighting) {
  progress.Open();
  ReloadSettings(settings);
  progress.Position(20);
  const ProfileData& profile = CurrentProfile(settings);
  if (!keyboardLighting.Holds(profile.lighting)) request.writeLighting = true;
  const ProgressCallback report = [&progress](int percent) { progress.Position(percent); };
  const std::uint64_t failedBefore = driver.FailedReports();
  const bool presentBefore = HoldsCommandHandle(driver);
  WriteProfileToKeyboard(driver, profile, LibraryMacroSource(), request, report);
  if (!presentBefore || !HoldsCommandHandle(driver) || driver.FailedReports() != failedBefore) {
    keyboardLighting.Forget();
  } else if (request.writeLighting || request.reset) {
    keyboardLighting.Written(profile.lighting);
  }
  progress.Close();
}

}  // namespace quencfg
