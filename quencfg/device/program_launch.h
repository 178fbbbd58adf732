#pragma once
// Which program a key event of the keyboard asks for.
#include <cstdint>
#include <string>

#include "quencfg/model/settings_block.h"

namespace quencfg {

// The `launch` text of the first slot, in slot order, whose key sits in `cell`, taken
// from the current profile. Empty when the cell has no key of this keyboard (cell 0,
// cells without a key, values beyond a byte) or the slot names no program. The slot's
// function is not examined: the keyboard reports only keys written as launch keys.
std::u16string ProgramOfCell(const SettingsBlock& settings, std::uintptr_t cell);

}  // namespace quencfg
