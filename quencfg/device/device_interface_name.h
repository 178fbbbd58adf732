#pragma once
// Telling the keyboard's device-change events from those of other USB devices by the
// device interface name, such as \\?\USB#VID_258A&PID_0090#...
#include <cstdint>
#include <string_view>

namespace quencfg {

// Where the four product ID digits stand in a USB device interface name.
inline constexpr std::size_t kProductIdDigitsAt = 21;
inline constexpr std::size_t kProductIdDigitCount = 4;

// True when the name's characters 21 to 24 are exactly the product ID as "%04X"
// (upper-case hexadecimal, case-sensitive). The vendor ID digits are not compared. A
// name too short to hold the digits is not the keyboard's.
bool IsKeyboardInterfaceName(std::u16string_view name, std::uint32_t productId) noexcept;

}  // namespace quencfg
