#include "quencfg/ui/skin/mask_runs.h"

#include <gtest/gtest.h>

#include <vector>

namespace quencfg {
namespace {

// A 32-bit top-down image; `inside` decides which pixels are not pure white.
template <typename Inside>
std::vector<std::uint8_t> MakeMask(int width, int height, Inside inside) {
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * height * 4, 255);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      if (inside(x, y)) {
        std::uint8_t* p = &pixels[(static_cast<std::size_t>(y) * width + x) * 4];
        p[0] = p[1] = p[2] = 0;
      }
  return pixels;
}

struct Collected {
  std::vector<MaskRun> runs;
  std::vector<std::size_t> batchSizes;
  std::size_t total = 0;
};

Collected Collect(const std::vector<std::uint8_t>& pixels, int width, int height) {
  Collected c;
  c.total = FindMaskRuns(pixels.data(), width, height, static_cast<std::size_t>(width) * 4,
                         [&](std::span<const MaskRun> batch) {
                           c.batchSizes.push_back(batch.size());
                           c.runs.insert(c.runs.end(), batch.begin(), batch.end());
                         });
  return c;
}

TEST(FindMaskRuns, AllWhiteGivesNothing) {
  const auto c = Collect(MakeMask(20, 10, [](int, int) { return false; }), 20, 10);
  EXPECT_EQ(c.total, 0u);
  EXPECT_TRUE(c.batchSizes.empty());
}

TEST(FindMaskRuns, NoWhiteGivesOneRunPerRow) {
  const auto c = Collect(MakeMask(20, 10, [](int, int) { return true; }), 20, 10);
  ASSERT_EQ(c.total, 10u);
  for (int y = 0; y < 10; ++y) {
    EXPECT_EQ(c.runs[y].left, 0);
    EXPECT_EQ(c.runs[y].right, 20);
    EXPECT_EQ(c.runs[y].top, y);
    EXPECT_EQ(c.runs[y].bottom, y + 1);
  }
}

TEST(FindMaskRuns, OnlyPureWhiteIsOutside) {
  // Near-white (254) counts as inside; the fourth byte is ignored.
  std::vector<std::uint8_t> pixels(4 * 4, 255);
  pixels[4 * 1 + 2] = 254;  // pixel 1: red 254
  pixels[4 * 3 + 3] = 0;    // pixel 3: white with a zero fourth byte
  const auto c = Collect(pixels, 4, 1);
  ASSERT_EQ(c.total, 1u);
  EXPECT_EQ(c.runs[0].left, 1);
  EXPECT_EQ(c.runs[0].right, 2);
}

TEST(FindMaskRuns, CheckerboardIsBatchedAndCoversExactlyTheInsidePixels) {
  const int width = 100, height = 60;  // 3000 runs of one pixel
  const auto inside = [](int x, int y) { return (x + y) % 2 == 0; };
  const auto c = Collect(MakeMask(width, height, inside), width, height);
  ASSERT_EQ(c.total, 3000u);
  EXPECT_EQ(c.batchSizes, (std::vector<std::size_t>{2000, 1000}));
  std::vector<int> covered(static_cast<std::size_t>(width) * height, 0);
  for (const MaskRun& r : c.runs) {
    ASSERT_EQ(r.bottom, r.top + 1);
    for (int x = r.left; x < r.right; ++x) ++covered[static_cast<std::size_t>(r.top) * width + x];
  }
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      EXPECT_EQ(covered[static_cast<std::size_t>(y) * width + x], inside(x, y) ? 1 : 0) << x << "," << y;
}

TEST(FindMaskRuns, HonoursRowStride) {
  // Rows padded to 3 pixels; the padding is black and must not be read as a run.
  std::vector<std::uint8_t> pixels(3 * 4 * 2, 0);
  for (int y = 0; y < 2; ++y)
    for (int b = 0; b < 4; ++b) pixels[static_cast<std::size_t>(y) * 12 + b] = 255;  // pixel 0 white
  Collected c;
  c.total = FindMaskRuns(pixels.data(), 2, 2, 12, [&](std::span<const MaskRun> batch) {
    c.runs.insert(c.runs.end(), batch.begin(), batch.end());
  });
  ASSERT_EQ(c.total, 2u);
  EXPECT_EQ(c.runs[0].left, 1);
  EXPECT_EQ(c.runs[0].right, 2);
}

TEST(FindMaskRuns, EmptyOrMissingImage) {
  int calls = 0;
  const auto count = [&](std::span<const MaskRun>) { ++calls; };
  EXPECT_EQ(FindMaskRuns(nullptr, 5, 5, 20, count), 0u);
  std::uint8_t one[4] = {0, 0, 0, 0};
  EXPECT_EQ(FindMaskRuns(one, 0, 1, 4, count), 0u);
  EXPECT_EQ(FindMaskRuns(one, 1, -1, 4, count), 0u);
  EXPECT_EQ(calls, 0);
}

}  // namespace
}  // namespace quencfg
