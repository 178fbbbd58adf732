#pragma once
// The device thread's side of a request from the main window: reload its copy of the
// settings and profiles from their files, then write the current profile to the
// keyboard while the progress window follows.
#include <cstdint>

#include "quencfg/device/device_writes.h"
#include "quencfg/device/keyboard_lighting.h"
#include "quencfg/device/usb_driver.h"
#include "quencfg/model/settings_block.h"

namespace quencfg {

// Where a full write reports how far it has got; the device thread posts these on to
// the progress thread.
class ProgressTarget {
 public:
  virtual ~ProgressTarget() = default;
  virtual void Open() = 0;
  virtual void Position(int percent) = 0;
  virtual void Close() = 0;
};

// What the main window asks for with one request.
struct SyncRequest {
  bool writeLighting = false;  // apply with the lighting
  bool reset = false;          // reset command first; the lighting is written too
};

inline constexpr std::uint32_t kPauseAfterKeysMs = 200;

// Fills the copy from the files: a missing settings file is first created from cleared
// settings; the three profile files are read over what the copy holds (not cleared
// first, not normalised), so fields a file lacks keep their earlier values.
void ReloadSettings(SettingsBlock& settings);

// The macro library of the data folder, as the write steps read it.
MacroSource LibraryMacroSource();


// The keyboard part of a request: [reset,] macros and key map, the pause, [lighting,]
// end of update, with the progress points 30 .. 100 through `report`. Precise pauses
// are held for the whole write.
void WriteProfileToKeyboard(CUSBDriver& driver, const ProfileData& profile, const MacroSource& macros,
                            SyncRequest request, const ProgressCallback& report);

// The whole request: open the progress window, reload, [reset,] macros and key map,
// [lighting,] end of update, close the progress window. Without a keyboard nothing
// is sent, but the reload and every progress step still happen. The lighting is sent
// also when the request does not ask for it but `keyboardLighting` does not know the
// keyboard to hold the current profile's; afterwards it knows what the write left on
// the keyboard (nothing, unless every report of the write was accepted).
void RunFullWrite(CUSBDriver& driver, SettingsBlock& settings, ProgressTarget& progress, SyncRequest request,
                  KeyboardLighting& keyboardLighting);

}  // namespace quencfg
