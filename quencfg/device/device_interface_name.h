#pragma once
// Telling the keyboard's device-change events from those of other USB devices by the
// device interface name, such as \\?\USB#VID_258A&PID_0090#...
#include <cstdint>
#include <string_view>

namespace quencfg {

// Where the four vendor and product ID digits stand in a USB device interface name.
inline constexpr std::size_t kVendorIdDigitsAt = 12;
inline constexpr std::size_t kProductIdDigitsAt = 21;
inline constexpr std::size_t kIdDigitCount = 4;

// True when the name's characters 12 to 15 are exactly the vendor ID and 21 to 24
// exactly the product ID, each as four hexadecimal digits in either case: another
// maker's device whose product digits happen to match is not the keyboard. A name too
// short to hold the digits is not the keyboard's.
bool IsKeyboardInterfaceName(std::u16string_view name, std::uint32_t vendorId, std::uint32_t productId) noexcept;

}  // namespace quencfg
