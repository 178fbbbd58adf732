#pragma once
// The event buffer of a macro and what the three bytes of an event mean: bit 7 of
// attributeH marks a press; attributeH bits 0-6 and attributeL hold a 15-bit value (the
// delay in milliseconds, or the distance of a movement); map holds what was pressed.
#include <array>
#include <cstdint>

#include "quencfg/model/macro_file.h"

namespace quencfg {

inline constexpr std::uint8_t kMacroPressBit = 0x80;
inline constexpr int kMacroValueMax = 0x7FFF;

// Codes of `map` that are not key codes.
inline constexpr std::uint8_t kMacroLeftButton = 0xB7;
inline constexpr std::uint8_t kMacroRightButton = 0xB8;
inline constexpr std::uint8_t kMacroMiddleButton = 0xB9;
inline constexpr std::uint8_t kMacroMoveYPlus = 0xBC;
inline constexpr std::uint8_t kMacroMoveYMinus = 0xBD;
inline constexpr std::uint8_t kMacroMoveXMinus = 0xBE;
inline constexpr std::uint8_t kMacroMoveXPlus = 0xBF;

using MacroEvents = std::array<MacroEvent, kMacroEventCount>;

// The buffer the recorder fills and the editor shows: the events in use come first,
// the rest are all zero.
struct MacroBuffer {
  MacroEvents events{};
  int eventCount = 0;
};

// `value` is kept to its low 15 bits.
[[nodiscard]] constexpr MacroEvent MakeMacroEvent(bool press, int value, std::uint8_t map) noexcept {
  const auto bits = static_cast<unsigned>(value) & kMacroValueMax;
  return MacroEvent{static_cast<std::uint8_t>((bits >> 8) | (press ? kMacroPressBit : 0u)),
                    static_cast<std::uint8_t>(bits & 0xFF), map};
}

[[nodiscard]] constexpr bool IsPress(const MacroEvent& event) noexcept {
  return (event.attributeH & kMacroPressBit) != 0;
}

[[nodiscard]] constexpr int EventValue(const MacroEvent& event) noexcept {
  return ((event.attributeH & 0x7F) << 8) | event.attributeL;
}

// An all-zero event ends the list wherever it stands.
[[nodiscard]] constexpr bool IsEndOfEvents(const MacroEvent& event) noexcept {
  return event.attributeH == 0 && event.attributeL == 0 && event.map == 0;
}

[[nodiscard]] constexpr bool IsMouseButtonCode(std::uint8_t map) noexcept {
  return map == kMacroLeftButton || map == kMacroRightButton || map == kMacroMiddleButton;
}

[[nodiscard]] constexpr bool operator==(const MacroEvent& a, const MacroEvent& b) noexcept {
  return a.attributeH == b.attributeH && a.attributeL == b.attributeL && a.map == b.map;
}

// The number of events before the first all-zero one.
[[nodiscard]] int CountEventsInUse(const MacroEvents& events) noexcept;

// Copies a macro's events up to its first all-zero event into the buffer and counts them.
void LoadEvents(MacroBuffer& buffer, const MacroFile& macro) noexcept;

}  // namespace quencfg
