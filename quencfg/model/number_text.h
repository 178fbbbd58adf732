#pragma once
// Numbers in the data files: written with "%d", read the way the C library's decimal
// conversion reads them, then cut to the width of the field they go into.
#include <cstdint>
#include <string>
#include <string_view>

namespace quencfg {

// Leading white space skipped, an optional sign, digits up to the first other
// character; 0 when there are no digits; saturates at the 32-bit limits.
std::int32_t ParseDecimal(std::u16string_view text) noexcept;

// "%d".
std::u16string FormatDecimal(std::int32_t value);

// The low bits of the parsed value, as the fixed fields keep them.
inline std::uint8_t ParseLow8(std::u16string_view text) noexcept {
  return static_cast<std::uint8_t>(static_cast<std::uint32_t>(ParseDecimal(text)));
}
inline std::uint16_t ParseLow16(std::u16string_view text) noexcept {
  return static_cast<std::uint16_t>(static_cast<std::uint32_t>(ParseDecimal(text)));
}
inline std::uint32_t ParseBits32(std::u16string_view text) noexcept {
  return static_cast<std::uint32_t>(ParseDecimal(text));
}

}  // namespace quencfg
