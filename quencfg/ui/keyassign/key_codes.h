#pragma once
// Conversions between virtual keys and the keyboard's key codes. Both follow the
// keyboard layout, so that a key is known by its position, not by what is printed on it.
#include <cstdint>

#include "quencfg/framework/keyboard_layout.h"

namespace quencfg {

// The key code of a VK; 0 when there is none. Callers keep the low byte.
std::uint32_t KeyCodeFromVirtualKey(std::uint32_t virtualKey, const KeyboardLayout& layout);
std::uint32_t KeyCodeFromVirtualKey(std::uint32_t virtualKey);  // under the current layout

// The VK of a key code; 0 when there is none.
std::uint32_t VirtualKeyFromKeyCode(std::uint32_t code, const KeyboardLayout& layout);
std::uint32_t VirtualKeyFromKeyCode(std::uint32_t code);  // under the current layout

}  // namespace quencfg
