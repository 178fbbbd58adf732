#pragma once
// What the device thread would write after an apply: a full write from the files of the
// data folder (settings and profiles, with the lighting), as the keyboard double
// received it.
#include <memory>

#include "device/fake_hid.h"
#include "device/keyboard_model.h"
#include "quencfg/device/device_sync.h"

namespace quencfg::testing {

inline KeyboardModel KeyboardAfterFullWriteFromFiles(CUSBDriver& driver, FakeHidMachine& machine) {
  struct SilentProgress final : ProgressTarget {
    void Open() override {}
    void Position(int) override {}
    void Close() override {}
  };
  machine.ClearFeatures();
  auto deviceCopy = std::make_unique<SettingsBlock>();
  SilentProgress progress;
  KeyboardLighting unknown;
  RunFullWrite(driver, *deviceCopy, progress, SyncRequest{true, false}, unknown);
  KeyboardModel model(KeyboardCollectionIds());
  model.Replay(machine.Features());
  return model;
}

}  // namespace quencfg::testing
