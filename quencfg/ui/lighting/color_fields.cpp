#include "quencfg/ui/lighting/color_fields.h"

#include "quencfg/model/number_text.h"

namespace quencfg {
namespace {

constexpr int kMaxDigits = 3;

int ShiftOf(ColorComponent component) noexcept { return 8 * static_cast<int>(component); }

}  // namespace

std::uint8_t ComponentOf(std::uint32_t color, ColorComponent component) noexcept {
  return static_cast<std::uint8_t>((color >> ShiftOf(component)) & 0xFF);
}

std::uint32_t WithComponent(std::uint32_t color, ColorComponent component, std::uint8_t value) noexcept {
  const int shift = ShiftOf(component);
  return (color & ~(0xFFu << shift)) | (static_cast<std::uint32_t>(value) << shift);
}

std::u16string ComponentText(std::uint32_t color, ColorComponent component) {
  return FormatDecimal(ComponentOf(color, component));
}

std::optional<std::uint8_t> ParseComponentField(std::u16string_view text) noexcept {
  if (text.empty() || text.size() > kMaxDigits) return std::nullopt;
  int value = 0;
  for (char16_t c : text) {
    if (c < u'0' || c > u'9') return std::nullopt;
    value = value * 10 + (c - u'0');
  }
  return static_cast<std::uint8_t>(value > 255 ? 255 : value);
}

}  // namespace quencfg
