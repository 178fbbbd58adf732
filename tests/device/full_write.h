#pragma once
// The keyboard part of the device thread's full write (without the reload and the
// progress window), for tests and the benchmark.
#include <vector>

#include "quencfg/device/device_sync.h"

namespace quencfg::testing {

inline void RunFullWrite(CUSBDriver& driver, const ProfileData& profile, const MacroSource& macros,
                         bool writeLighting, bool reset, std::vector<int>* progressSeen = nullptr) {
  const ProgressCallback progress = [progressSeen](int percent) {
    if (progressSeen) progressSeen->push_back(percent);
  };
  WriteProfileToKeyboard(driver, profile, macros, SyncRequest{writeLighting, reset}, progress);
}

}  // namespace quencfg::testing
