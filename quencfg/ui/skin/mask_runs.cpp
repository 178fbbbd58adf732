#include "quencfg/ui/skin/mask_runs.h"

#include <vector>

namespace quencfg {
namespace {

bool IsOutside(const std::uint8_t* pixel) noexcept {
  return pixel[0] == 255 && pixel[1] == 255 && pixel[2] == 255;
}

}  // namespace

std::size_t FindMaskRuns(const std::uint8_t* pixels, std::int32_t width, std::int32_t height,
                         std::size_t stride, const std::function<void(std::span<const MaskRun>)>& flush) {
  if (pixels == nullptr || width <= 0 || height <= 0) return 0;
  std::vector<MaskRun> batch;
  batch.reserve(100);
  std::size_t total = 0;
  for (std::int32_t y = 0; y < height; ++y) {
    const std::uint8_t* row = pixels + static_cast<std::size_t>(y) * stride;
    std::int32_t x = 0;
    while (x < width) {
      while (x < width && IsOutside(row + 4 * static_cast<std::size_t>(x))) ++x;
      if (x >= width) break;
      const std::int32_t start = x;
      while (x < width && !IsOutside(row + 4 * static_cast<std::size_t>(x))) ++x;
      batch.push_back(MaskRun{start, y, x, y + 1});
      ++total;
      if (batch.size() == kMaskRunBatch) {
        flush(batch);
        batch.clear();
      }
    }
  }
  if (!batch.empty()) flush(batch);
  return total;
}

}  // namespace quencfg
