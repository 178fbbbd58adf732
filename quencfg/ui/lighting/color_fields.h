#pragma once
// The red, green and blue fields of the lighting panel: the decimal components of a
// color value, and what the user types into them.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quencfg {

enum ColorComponent : int { kComponentRed = 0, kComponentGreen = 1, kComponentBlue = 2 };
inline constexpr int kComponentCount = 3;

// Red is bits 0-7 of a color value, green 8-15, blue 16-23.
std::uint8_t ComponentOf(std::uint32_t color, ColorComponent component) noexcept;
std::uint32_t WithComponent(std::uint32_t color, ColorComponent component, std::uint8_t value) noexcept;

// The field's text for a component: "0" to "255".
std::u16string ComponentText(std::uint32_t color, ColorComponent component);

// A typed field: one to three digits. Nothing for an empty field or one holding any
// other character (it keeps the color as it was); a number above 255 means 255.
std::optional<std::uint8_t> ParseComponentField(std::u16string_view text) noexcept;

}  // namespace quencfg
