#include "quencfg/device/device_interface_name.h"

#include <cstdio>

namespace quencfg {
namespace {

char16_t AsciiUpper(char16_t c) noexcept { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c; }

bool HasIdDigitsAt(std::u16string_view name, std::size_t at, std::uint32_t id) noexcept {
  if (name.size() < at + kIdDigitCount) return false;
  char digits[16] = {};
  std::snprintf(digits, sizeof digits, "%04X", static_cast<unsigned>(id));
  // An ID above 0xFFFF formats to more than four digits and matches nothing.
  if (digits[kIdDigitCount] != '\0') return false;
  for (std::size_t i = 0; i < kIdDigitCount; ++i) {
    // The case of a hex digit carries no meaning; some paths come in lower case.
    if (AsciiUpper(name[at + i]) != static_cast<char16_t>(digits[i])) return false;
  }
  return true;
}

}  // namespace

bool IsKeyboardInterfaceName(std::u16string_view name, std::uint32_t vendorId, std::uint32_t productId) noexcept {
  return HasIdDigitsAt(name, kVendorIdDigitsAt, vendorId) && HasIdDigitsAt(name, kProductIdDigitsAt, productId);
}

}  // namespace quencfg
