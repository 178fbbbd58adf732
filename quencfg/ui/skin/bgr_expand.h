#pragma once
// Opaque 24-bit pictures widened to the 32-bit pixels every skin image is kept in.
#include <cstddef>
#include <cstdint>

namespace quencfg {

// Rows of `width` pixels, `rowStride` bytes apart (at least 4 * width), each starting
// with its pixels as 3 bytes blue, green, red: widens every row in place to 4 bytes a
// pixel, alpha 255. The decoder writes the 24-bit rows straight into the 32-bit
// bitmap's memory, which spares a second buffer and a format converter.
void ExpandBgrRowsToBgra(std::uint8_t* rows, std::size_t width, std::size_t height, std::size_t rowStride) noexcept;

}  // namespace quencfg
