#include "quencfg/ui/keyassign/macro_repeat.h"

#include <algorithm>

#include "quencfg/model/number_text.h"

namespace quencfg {

std::optional<std::u16string> CorrectedRepeatText(std::u16string_view fieldText) {
  const std::int32_t value = ParseDecimal(fieldText);
  if (value > kRepeatCountMax) return FormatDecimal(kRepeatCountMax);
  if (value < kRepeatCountMin) return FormatDecimal(kRepeatCountMin);
  return std::nullopt;
}

std::uint16_t RepeatCountToSave(std::u16string_view fieldText) noexcept {
  // Kept to the limits rather than cut to 16 bits: 99999 typed and saved at once
  // must not become 34463.
  return static_cast<std::uint16_t>(std::clamp<std::int32_t>(ParseDecimal(fieldText), kRepeatCountMin,
                                                             kRepeatCountMax));
}

}  // namespace quencfg
