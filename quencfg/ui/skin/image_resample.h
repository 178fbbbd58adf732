#pragma once
// Resizing of premultiplied 32-bit pixels (blue, green, red, alpha), for skin pictures
// that have no rendering of the wanted size. A separable tent filter: bilinear when
// enlarging, widened to the source pixels each target pixel covers when reducing, so
// that neither blocks nor aliasing show. Premultiplied color keeps edges free of
// dark fringes.
#include <cstdint>
#include <vector>

namespace quencfg {

// Top-down rows of width * 4 bytes. Empty for a size that is not positive or a
// source that is too short for its size. The same size gives a copy.
[[nodiscard]] std::vector<std::uint8_t> ResampleBgra(const std::uint8_t* source, int sourceWidth,
                                                     int sourceHeight, std::size_t sourceLength, int width,
                                                     int height);
// The same written into `target`, of width * height * 4 bytes; false (nothing written)
// where ResampleBgra gives nothing.
bool ResampleBgraInto(const std::uint8_t* source, int sourceWidth, int sourceHeight, std::size_t sourceLength,
                      std::uint8_t* target, int width, int height);

}  // namespace quencfg
