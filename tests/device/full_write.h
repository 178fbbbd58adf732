#pragma once
// The full write of the current profile as the device thread runs it (without the
// reload and the messages to the progress window), for tests and the benchmark.
#include <vector>

#include "quencfg/device/device_writes.h"

namespace quencfg::testing {

inline constexpr std::uint32_t kPauseAfterKeysMs = 200;

inline void RunFullWrite(CUSBDriver& driver, const ProfileData& profile, const MacroSource& macros,
                         bool writeLighting, bool reset, std::vector<int>* progressSeen = nullptr) {
  PreciseTimingScope precise(driver.Clock());
  const ProgressCallback progress = [progressSeen](int percent) {
    if (progressSeen) progressSeen->push_back(percent);
  };
  if (reset) {
    driver.SendReset();
    progress(30);
  }
  WriteKeysAndMacros(driver, profile, macros, progress);
  driver.Clock().Pause(kPauseAfterKeysMs);
  progress(50);
  progress(60);
  if (writeLighting || reset) {
    progress(70);
    WriteLighting(driver, profile, progress);
  }
  progress(90);
  driver.SendEndOfUpdate();
  progress(100);
}

}  // namespace quencfg::testing
