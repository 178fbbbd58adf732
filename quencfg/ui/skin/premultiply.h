#pragma once
// Premultiplied alpha for 32-bit images drawn with per-pixel alpha blending.
#include <cstddef>
#include <cstdint>

namespace quencfg {

// Pixels as bytes blue, green, red, alpha: each color becomes color * alpha / 255,
// truncated; alpha stays.
void PremultiplyBgra(std::uint8_t* pixels, std::size_t pixelCount) noexcept;

}  // namespace quencfg
