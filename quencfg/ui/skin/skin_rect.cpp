#include "quencfg/ui/skin/skin_rect.h"

#include <cstring>
#include <limits>

#include "quencfg/framework/text.h"

namespace quencfg {
namespace {

bool IsScanfSpace(char16_t c) noexcept {
  return c == u' ' || c == u'\t' || c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r';
}

// Reads one "%d" at `pos`: white space, an optional sign, at least one digit. Values
// beyond the 32-bit range saturate instead of overflowing.
bool ReadInteger(std::u16string_view text, std::size_t& pos, std::int32_t& out) noexcept {
  std::size_t i = pos;
  while (i < text.size() && IsScanfSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
  if (i >= text.size() || text[i] < u'0' || text[i] > u'9') return false;
  std::int64_t value = 0;
  constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
  for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
    if (value < kLimit) value = value * 10 + (text[i] - u'0');
  }
  if (value > kLimit) value = kLimit;
  value = negative ? -value : value;
  if (value > std::numeric_limits<std::int32_t>::max()) value = std::numeric_limits<std::int32_t>::max();
  out = static_cast<std::int32_t>(value);
  pos = i;
  return true;
}

// The pattern "%d,%d,%d,%d": stops at the first mismatch, leaving the rest untouched.
void ReadCoordinates(std::u16string_view text, std::int32_t* (&fields)[4]) noexcept {
  std::size_t pos = 0;
  for (std::size_t n = 0; n < 4; ++n) {
    if (n > 0) {
      if (pos >= text.size() || text[pos] != u',') return;
      ++pos;
    }
    if (!ReadInteger(text, pos, *fields[n])) return;
  }
}

// Sums in 64 bits so that huge values in a damaged file cannot overflow.
std::int32_t SaturatingSum(std::int32_t a, std::int32_t b) noexcept {
  const std::int64_t sum = std::int64_t{a} + b;
  if (sum > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
  if (sum < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(sum);
}

}  // namespace

SkinRect ParseSkinRect(std::u16string_view value) noexcept {
  SkinRect entry;
  std::memset(&entry, 0, sizeof entry);

  const std::size_t comma = value.find(u',');
  std::u16string_view rest = value;
  if (comma != std::u16string_view::npos) {
    CopyToField(entry.name, value.substr(0, comma));
    rest = value.substr(comma + 1);
  }

  std::int32_t* fields[4] = {&entry.left, &entry.top, &entry.right, &entry.bottom};
  ReadCoordinates(rest, fields);
  entry.right = SaturatingSum(entry.left, entry.right);
  entry.bottom = SaturatingSum(entry.top, entry.bottom);

  entry.flag = rest.find(u"TRUE") != std::u16string_view::npos;

  const std::size_t lastComma = rest.rfind(u',');
  if (lastComma != std::u16string_view::npos) {
    const std::u16string_view beforeLast = rest.substr(0, lastComma);
    const std::size_t textStart = beforeLast.rfind(u',');
    CopyToField(entry.text, textStart == std::u16string_view::npos ? beforeLast
                                                                    : beforeLast.substr(textStart + 1));
  }
  return entry;
}

std::u16string SkinImageName(const SkinRect& entry) {
  const std::u16string_view name = FieldText(entry.name);
  if (name.find(u"btnPng") != std::u16string_view::npos) return u"btnPng";
  return std::u16string(name);
}

}  // namespace quencfg
