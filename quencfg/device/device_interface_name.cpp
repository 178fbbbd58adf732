#include "quencfg/device/device_interface_name.h"

#include <cstdio>

namespace quencfg {

bool IsKeyboardInterfaceName(std::u16string_view name, std::uint32_t productId) noexcept {
  if (name.size() < kProductIdDigitsAt + kProductIdDigitCount) return false;
  char digits[16] = {};
  std::snprintf(digits, sizeof digits, "%04X", static_cast<unsigned>(productId));
  // A product ID above 0xFFFF formats to more than four digits and matches nothing.
  if (digits[kProductIdDigitCount] != '\0') return false;
  for (std::size_t i = 0; i < kProductIdDigitCount; ++i) {
    if (name[kProductIdDigitsAt + i] != static_cast<char16_t>(digits[i])) return false;
  }
  return true;
}

}  // namespace quencfg
