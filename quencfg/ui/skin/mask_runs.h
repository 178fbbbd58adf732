#pragma once
// The run-finding behind window shapes made from mask images: every maximal run of
// non-white pixels in a row becomes a rectangle one pixel high.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

namespace quencfg {

struct MaskRun {
  std::int32_t left;    // first pixel inside
  std::int32_t top;     // the row
  std::int32_t right;   // one past the last pixel inside
  std::int32_t bottom;  // top + 1
};

// Rectangles are handed over in batches of at most this many.
inline constexpr std::size_t kMaskRunBatch = 2000;

// Scans a 32-bit top-down image (bytes blue, green, red, unused; `stride` bytes from
// one row to the next), rows top to bottom and each row left to right. A pixel is
// outside when red, green and blue are all 255. Calls `flush` with each batch of runs
// in scanning order; returns the number of runs found.
std::size_t FindMaskRuns(const std::uint8_t* pixels, std::int32_t width, std::int32_t height,
                         std::size_t stride, const std::function<void(std::span<const MaskRun>)>& flush);

}  // namespace quencfg
