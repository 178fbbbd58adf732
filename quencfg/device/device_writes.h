#pragma once
// The write steps that the device thread runs to bring the keyboard up to a profile.
#include <functional>
#include <string>
#include <vector>

#include "quencfg/device/usb_driver.h"
#include "quencfg/model/macro_file.h"
#include "quencfg/model/settings_block.h"

namespace quencfg {

// Receives the progress points 0..100 of a write; the device thread posts them on.
using ProgressCallback = std::function<void(int percent)>;

// The macro library as the writer sees it.
struct MacroSource {
  // The names of the stored macros, in the file system's order.
  std::function<std::vector<std::u16string>()> listNames;
  // Reads the named macro into the record; leaves the record as it was when the
  // macro cannot be read.
  std::function<void(MacroFile& macro, const std::u16string& name)> readMacro;
};

inline constexpr std::uint32_t kPauseAfterMacroMs = 100;
inline constexpr std::uint32_t kPauseAfterLightingMs = 100;
inline constexpr std::uint32_t kPauseAfterEffectColorMs = 200;

// The macro sent for a macro key: its own name when the library has it, else the
// library's first macro; none when the library is empty.
const std::u16string* ChooseMacroName(std::u16string_view wanted, const std::vector<std::u16string>& names) noexcept;

// Sends the macro of every macro key in slot order, then the key map; progress 20, 40,
// 50 and 70. A macro key is skipped (its key map code stays the macro code) when the
// library holds no macro at all.
void WriteKeysAndMacros(CUSBDriver& driver, const ProfileData& profile, const MacroSource& macros,
                        const ProgressCallback& progress);

// 63 key colors of the profile, then color 0 for the keyless cells 0, 20, 40, 60,
// 80, 100 and 122.
void WriteKeyColors(CUSBDriver& driver, const ProfileData& profile);

// The lighting command and its pause, progress 80, then the effect color (effect 16)
// or the key colors (effect 19).
void WriteLighting(CUSBDriver& driver, const ProfileData& profile, const ProgressCallback& progress);

}  // namespace quencfg
