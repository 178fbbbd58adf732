#pragma once
// What a row of the macro event list shows: its text and the number of the bitmap
// resource drawn in front of it.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "quencfg/ui/keyassign/macro_events.h"

namespace quencfg {

inline constexpr int kRowImageKeyPress = 4024;
inline constexpr int kRowImageKeyRelease = 4025;
inline constexpr int kRowImageButtonPress = 4021;
inline constexpr int kRowImageButtonRelease = 4020;
inline constexpr int kRowImageMoveX = 4022;
inline constexpr int kRowImageMoveY = 4023;

struct MacroEventRow {
  std::u16string text;
  int image = 0;
};

// The display name of a key code.
using KeyCodeNamer = std::function<std::u16string(std::uint8_t keyCode)>;

// The name of the key's VK under the current layout, from the key name file.
std::u16string NameOfKeyCode(std::uint8_t keyCode);

// The row of a stored event, as the list shows it after a refresh.
MacroEventRow EventRow(const MacroEvent& event, const KeyCodeNamer& nameOf = NameOfKeyCode);

// One row per event, stopping at the first all-zero event.
std::vector<MacroEventRow> EventRows(const MacroEvents& events, const KeyCodeNamer& nameOf = NameOfKeyCode);

// The row the recorder appends: the name, then the delay in a 20-character column.
std::u16string RecordedRowText(std::u16string_view name, int delay, bool fixedDelay);
int RecordedRowImage(bool press, bool mouseButton) noexcept;

// The image of a row that the editor moved: key press or release by the press bit,
// whatever the event is.
int MovedRowImage(const MacroEvent& event) noexcept;

}  // namespace quencfg
