#pragma once
// A stored macro: repeat count, name and 80 events of three bytes. Plain data, filled
// with zero bytes before a file is read into it.
#include <cstdint>
#include <type_traits>

namespace quencfg {

inline constexpr int kMacroEventCount = 80;
inline constexpr int kMacroFileNameCapacity = 520;

// attributeH bit 7: press; attributeH bits 0-6 and attributeL: a 15-bit delay or
// distance; map: the key code or mouse code.
struct MacroEvent {
  std::uint8_t attributeH;
  std::uint8_t attributeL;
  std::uint8_t map;
};

struct MacroFile {
  std::uint16_t Repeat;
  char16_t MacroName[kMacroFileNameCapacity];
  MacroEvent events[kMacroEventCount];
};

static_assert(std::is_trivially_copyable_v<MacroFile> && std::is_standard_layout_v<MacroFile>);
static_assert(sizeof(MacroEvent) == 3);
static_assert(sizeof(MacroFile) == 2 + 2 * kMacroFileNameCapacity + 3 * kMacroEventCount);

}  // namespace quencfg
