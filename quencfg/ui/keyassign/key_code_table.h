#pragma once
// The table that ties the keyboard's one-byte key codes to virtual keys and scan codes,
// and the fixed sets of codes and VKs that the conversions treat specially.
#include <array>
#include <cstdint>

namespace quencfg {

struct KeyCodeEntry {
  std::uint32_t code;        // the keyboard's key code
  std::uint32_t virtualKey;  // 0 where the key has none
  std::uint32_t scanCode;    // set 1 make code; 0 where the key has none
  std::uint32_t scanPrefix;  // 0xE0 for an extended key, else 0
};

inline constexpr std::size_t kKeyCodeTableSize = 183;

// The order is part of the data: searches take the first match, and for an extended
// key the second row with the same scan code.
extern const std::array<KeyCodeEntry, kKeyCodeTableSize> KeyCodeTable;

// Codes whose VK comes from the table without asking the layout. The ";" position (0x33)
// is not one: its VK moves with the layout (AZERTY has M there).
bool IsDirectVirtualKeyCode(std::uint32_t code) noexcept;

// VKs (and the three mouse-button down messages) named from the key name file alone:
// keys without a character, and the keypad, whose digits would read like the main
// row's. Punctuation keys are not among them: they are named by what the layout types.
bool IsTableNamedVirtualKey(std::uint32_t value) noexcept;

// Home, Up, Page Up, Left, Clear, Right, End, Down, Page Down, Insert, Delete.
bool IsExtendedNavigationKey(std::uint32_t virtualKey) noexcept;

}  // namespace quencfg
