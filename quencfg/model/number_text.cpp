#include "quencfg/model/number_text.h"

#include <cstdio>
#include <limits>

#include "quencfg/framework/text.h"

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
  char digits[16];
  std::snprintf(digits, sizeof digits, "%d", static_cast<int>(value));
  return AsciiToUtf16(digits);
}

}  // namespace quencfg
