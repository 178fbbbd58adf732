#include "quencfg/ui/skin/bgr_expand.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace quencfg {
namespace {

// Rows as a decoder leaves them: 3-byte pixels at each row's start, the rest of the row
// holding whatever the bitmap held before (here 0xEE).
std::vector<std::uint8_t> PackedRows(std::size_t width, std::size_t height, std::size_t stride) {
  std::vector<std::uint8_t> rows(stride * height, 0xEE);
  for (std::size_t y = 0; y < height; ++y) {
    for (std::size_t i = 0; i < 3 * width; ++i) rows[y * stride + i] = static_cast<std::uint8_t>(y * 100 + i);
  }
  return rows;
}

TEST(ExpandBgrRowsToBgra, EveryPixelKeepsItsColoursAndBecomesOpaque) {
  struct Case {
    std::size_t width, height, stride;
  } cases[] = {
      {1, 1, 4},    // one pixel
      {2, 1, 8},    // the second pixel overlaps the first's new place
      {5, 3, 20},   // several rows, stride exactly 4 * width
      {3, 2, 16},   // rows with padding at their end
      {0, 2, 4},    // empty rows
  };
  for (const Case& c : cases) {
    std::vector<std::uint8_t> rows = PackedRows(c.width, c.height, c.stride);
    const std::vector<std::uint8_t> packed = rows;
    ExpandBgrRowsToBgra(rows.data(), c.width, c.height, c.stride);
    for (std::size_t y = 0; y < c.height; ++y) {
      for (std::size_t i = 0; i < c.width; ++i) {
        const std::uint8_t* from = &packed[y * c.stride + 3 * i];
        const std::uint8_t* to = &rows[y * c.stride + 4 * i];
        EXPECT_EQ(to[0], from[0]) << c.width << "x" << c.height << " pixel " << i << " row " << y;
        EXPECT_EQ(to[1], from[1]);
        EXPECT_EQ(to[2], from[2]);
        EXPECT_EQ(to[3], 255);
      }
      // The padding after a row's pixels stays as it was.
      for (std::size_t b = 4 * c.width; b < c.stride; ++b) EXPECT_EQ(rows[y * c.stride + b], 0xEE);
    }
  }
}

TEST(ExpandBgrRowsToBgra, LeavesRowsTooNarrowForTheWideningAlone) {
  std::vector<std::uint8_t> rows = PackedRows(4, 1, 12);
  const std::vector<std::uint8_t> before = rows;
  ExpandBgrRowsToBgra(rows.data(), 4, 1, 12);  // 4 pixels need 16 bytes
  EXPECT_EQ(rows, before);
  ExpandBgrRowsToBgra(nullptr, 4, 1, 16);  // no crash
}

}  // namespace
}  // namespace quencfg
