#pragma once
// Recoloring of grey mask images: the first byte of every 32-bit pixel (blue in
// the platform's BGRA order) is the intensity that the color is scaled by.
#include <cstddef>
#include <cstdint>

namespace quencfg {

struct RgbColor {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
};

// The color of a color value (red in bits 0-7, green 8-15, blue 16-23).
RgbColor RgbFromColorValue(std::uint32_t colorValue) noexcept;

// Every pixel becomes (v*b/255, v*g/255, v*r/255, v), computed in single precision
// and truncated: a white mask pixel takes the color, a black one turns transparent.
void RecolorMaskFloat(const std::uint8_t* source, std::uint8_t* target, std::size_t pixelCount,
                      RgbColor color) noexcept;

// The integer variant used for single buttons: a color whose components add up to
// 15 or less leaves the image as it is, and so do pixels of intensity 0.
void RecolorMaskInteger(const std::uint8_t* source, std::uint8_t* target, std::size_t pixelCount,
                        RgbColor color) noexcept;

}  // namespace quencfg
