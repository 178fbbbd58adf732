#include "quencfg/ui/skin/premultiply.h"

namespace quencfg {

void PremultiplyBgra(std::uint8_t* pixels, std::size_t pixelCount) noexcept {
  if (pixels == nullptr) return;
  for (std::size_t i = 0; i < pixelCount; ++i) {
    std::uint8_t* p = pixels + 4 * i;
    const unsigned alpha = p[3];
    if (alpha == 255) continue;
    for (int c = 0; c < 3; ++c) p[c] = static_cast<std::uint8_t>(p[c] * alpha / 255);
  }
}

}  // namespace quencfg
