#include "quencfg/ui/skin/bgr_expand.h"

namespace quencfg {

void ExpandBgrRowsToBgra(std::uint8_t* rows, std::size_t width, std::size_t height, std::size_t rowStride) noexcept {
  if (rows == nullptr || rowStride < 4 * width) return;
  for (std::size_t y = 0; y < height; ++y) {
    std::uint8_t* row = rows + y * rowStride;
    // From the last pixel back: pixel i moves from 3i to 4i, never over a pixel not yet
    // moved.
    for (std::size_t i = width; i-- > 0;) {
      const std::uint8_t blue = row[3 * i];
      const std::uint8_t green = row[3 * i + 1];
      const std::uint8_t red = row[3 * i + 2];
      row[4 * i] = blue;
      row[4 * i + 1] = green;
      row[4 * i + 2] = red;
      row[4 * i + 3] = 255;
    }
  }
}

}  // namespace quencfg
