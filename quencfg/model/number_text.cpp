#include "quencfg/model/number_text.h"

#include <limits>


namespace quencfg {
namespace {

bool IsCSpace(char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }

}  // namespace

std::int32_t ParseDecimal(std::u16string_view text) noexcept {
  std::size_t i = 0;
  while (i < text.size() && IsCSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
  constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
  std::int64_t magnitude = 0;
  for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
    magnitude = magnitude * 10 + (text[i] - u'0');
    if (magnitude > kMax + 1) magnitude = kMax + 1;  // saturated; keep reading digits
  }
  if (negative) return static_cast<std::int32_t>(-magnitude);
  return static_cast<std::int32_t>(magnitude > kMax ? kMax : magnitude);
}

std::u16string FormatDecimal(std::int32_t value) {
  // "%d" by hand: the files hold thousands of numbers and names like "Button_%d".
  char16_t digits[12];
  char16_t* end = digits + 12;
  char16_t* p = end;
  std::uint32_t magnitude = value < 0 ? 0u - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
  do {
    *--p = static_cast<char16_t>(u'0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  if (value < 0) *--p = u'-';
  return std::u16string(p, end);
}

}  // namespace quencfg
