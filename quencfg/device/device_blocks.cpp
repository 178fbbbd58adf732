#include "quencfg/device/device_blocks.h"

#include <algorithm>
#include <optional>

#include "quencfg/device/key_cells.h"

namespace quencfg {
namespace {

// The key map code a slot's function sets; none leaves the default code.
std::optional<std::uint8_t> AssignedCode(const KeySlot& slot) noexcept {
  switch (slot.byBtnFuncType) {
    case BTNFUNC_DISABLE: return kKeycodeNone;
    case BTNFUNC_KEY: return slot.byKeyNumber;
    case BTNFUNC_LAUNCH: return kKeycodeLaunch;
    case BTNFUNC_MACRO: return kKeycodeMacro;
    default: return std::nullopt;
  }
}

}  // namespace

KeyMapBlock BuildKeyMap(const ProfileData& profile) noexcept {
  KeyMapBlock block{};
  std::copy(DefaultKeyMap.begin(), DefaultKeyMap.end(), block.begin());
  for (int slot = 0; slot < KEY_COUNT; ++slot) {
    if (const auto code = AssignedCode(profile.keys[slot])) block[SlotCell(slot)] = *code;
  }
  return block;
}

MacroBlock BuildMacroBlock(const MacroFile& macro) noexcept {
  MacroBlock block{};
  block[0] = static_cast<std::uint8_t>(macro.Repeat >> 8);
  block[1] = static_cast<std::uint8_t>(macro.Repeat & 0xFF);
  for (std::size_t k = 0; k < kMacroEventCount; ++k) {
    block[2 + 3 * k] = macro.events[k].attributeH;
    block[3 + 3 * k] = macro.events[k].attributeL;
    block[4 + 3 * k] = macro.events[k].map;
  }
  return block;
}

}  // namespace quencfg
