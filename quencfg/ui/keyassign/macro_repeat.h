#pragma once
// The repeat count of a macro as the repeat field holds it: plain text while the user
// types, kept to 1..65534 half a second after the last key-up and when it is saved.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quencfg {

inline constexpr int kRepeatCountMin = 1;
inline constexpr int kRepeatCountMax = 65534;
inline constexpr int kRepeatFieldLimit = 5;  // characters
inline constexpr int kMacroNameFieldLimit = 20;

// The text the repeat field must show instead of `fieldText` ("%d" of the nearest
// limit), or nothing when the number it starts with is within the limits.
std::optional<std::u16string> CorrectedRepeatText(std::u16string_view fieldText);

// The repeat count a save stores: the field's leading number kept to the limits.
std::uint16_t RepeatCountToSave(std::u16string_view fieldText) noexcept;

}  // namespace quencfg
