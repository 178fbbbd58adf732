#pragma once
// The encoders of the two data blocks: a profile's key map and one macro.
#include "quencfg/device/device_reports.h"
#include "quencfg/model/macro_file.h"
#include "quencfg/model/settings_block.h"

namespace quencfg {

// DefaultKeyMap with each slot's assignment applied in slot order, then 18 zero bytes.
// Unknown function values leave the cell's default code.
KeyMapBlock BuildKeyMap(const ProfileData& profile) noexcept;

// Repeat (high byte first), the 80 events of three bytes in stored order, 4 zero bytes.
MacroBlock BuildMacroBlock(const MacroFile& macro) noexcept;

}  // namespace quencfg
