#include "quencfg/ui/skin/image_resample.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace quencfg {
namespace {

using Pixels = std::vector<std::uint8_t>;

Pixels Filled(int width, int height, std::uint8_t b, std::uint8_t g, std::uint8_t r, std::uint8_t a) {
  Pixels pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
  for (std::size_t i = 0; i < pixels.size(); i += 4) {
    pixels[i] = b;
    pixels[i + 1] = g;
    pixels[i + 2] = r;
    pixels[i + 3] = a;
  }
  return pixels;
}

const std::uint8_t* At(const Pixels& pixels, int width, int x, int y) {
  return pixels.data() + (static_cast<std::size_t>(y) * width + x) * 4;
}

TEST(ResampleBgra, AFlatColorStaysThatColorAtEverySize) {
  const Pixels source = Filled(7, 5, 10, 200, 30, 255);
  const struct {
    int width, height;
  } sizes[] = {{7, 5}, {11, 8}, {14, 10}, {10, 7}, {3, 2}, {1, 1}, {20, 1}};
  for (const auto& size : sizes) {
    const Pixels out = ResampleBgra(source.data(), 7, 5, source.size(), size.width, size.height);
    ASSERT_EQ(out.size(), static_cast<std::size_t>(size.width * size.height * 4)) << size.width << "x" << size.height;
    EXPECT_EQ(out, Filled(size.width, size.height, 10, 200, 30, 255)) << size.width << "x" << size.height;
  }
}

// Enlarging keeps the content in place: the left half of a half black, half white
// picture stays black at the far left and white at the far right, with the blend
// only around the middle.
TEST(ResampleBgra, EnlargingKeepsContentInPlace) {
  Pixels source = Filled(4, 1, 0, 0, 0, 255);
  for (int x = 2; x < 4; ++x) {
    for (int c = 0; c < 3; ++c) source[static_cast<std::size_t>(x) * 4 + c] = 255;
  }
  const Pixels out = ResampleBgra(source.data(), 4, 1, source.size(), 8, 2);
  ASSERT_EQ(out.size(), 8u * 2 * 4);
  for (int y = 0; y < 2; ++y) {
    EXPECT_EQ(At(out, 8, 0, y)[0], 0);
    EXPECT_EQ(At(out, 8, 2, y)[0], 0);
    EXPECT_EQ(At(out, 8, 5, y)[0], 255);
    EXPECT_EQ(At(out, 8, 7, y)[0], 255);
    EXPECT_GT(At(out, 8, 4, y)[0], 0);
    EXPECT_LT(At(out, 8, 3, y)[0], 255);
  }
}

// Reducing averages what a target pixel covers instead of picking every other pixel:
// a fine stripe pattern turns grey, not black or white.
TEST(ResampleBgra, ReducingAveragesFineDetail) {
  Pixels source = Filled(16, 1, 0, 0, 0, 255);
  for (std::size_t x = 1; x < 16; x += 2) {
    for (std::size_t c = 0; c < 3; ++c) source[x * 4 + c] = 255;
  }
  const Pixels out = ResampleBgra(source.data(), 16, 1, source.size(), 7, 1);
  ASSERT_EQ(out.size(), 7u * 4);
  for (int x = 1; x < 6; ++x) {
    EXPECT_GT(At(out, 7, x, 0)[0], 80) << x;
    EXPECT_LT(At(out, 7, x, 0)[0], 175) << x;
  }
}

// Premultiplied color never ends above its alpha, so AlphaBlend draws no bright rims.
TEST(ResampleBgra, ColorStaysWithinAlphaAtTransparentEdges) {
  Pixels source = Filled(3, 3, 0, 0, 0, 0);
  for (int c = 0; c < 4; ++c) source[(1 * 3 + 1) * 4 + c] = 255;  // one opaque white pixel
  const Pixels out = ResampleBgra(source.data(), 3, 3, source.size(), 5, 5);
  ASSERT_EQ(out.size(), 5u * 5 * 4);
  for (std::size_t i = 0; i < out.size(); i += 4) {
    for (int c = 0; c < 3; ++c) EXPECT_LE(out[i + c], out[i + 3]) << i / 4;
  }
  EXPECT_EQ(At(out, 5, 0, 0)[3], 0);
  EXPECT_EQ(At(out, 5, 2, 2)[3], 255);
}

TEST(ResampleBgra, NothingForBadSizesOrShortSources) {
  const Pixels source = Filled(2, 2, 1, 2, 3, 4);
  EXPECT_TRUE(ResampleBgra(source.data(), 2, 2, source.size(), 0, 3).empty());
  EXPECT_TRUE(ResampleBgra(source.data(), 2, 2, source.size(), 3, -1).empty());
  EXPECT_TRUE(ResampleBgra(source.data(), 0, 2, source.size(), 3, 3).empty());
  EXPECT_TRUE(ResampleBgra(source.data(), 2, 2, source.size() - 1, 3, 3).empty());
  EXPECT_TRUE(ResampleBgra(nullptr, 2, 2, 16, 3, 3).empty());
}

// Resampling keeps only a few rows resampled across at a time: a tall picture reduced
// and enlarged gives what each row of it gives alone.
TEST(ResampleBgra, EveryRowComesFromItsOwnPartOfTheSource) {
  Pixels source = Filled(3, 40, 0, 0, 0, 255);
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 3; ++x) source[(static_cast<std::size_t>(y) * 3 + x) * 4] = static_cast<std::uint8_t>(y * 6);
  }
  for (const int height : {20, 60, 80}) {
    const Pixels out = ResampleBgra(source.data(), 3, 40, source.size(), 3, height);
    ASSERT_EQ(out.size(), static_cast<std::size_t>(3 * height * 4));
    int previous = -1;
    for (int y = 0; y < height; ++y) {
      const int blue = At(out, 3, 1, y)[0];
      EXPECT_GE(blue, previous) << "row " << y << " of " << height;  // a ramp stays a ramp
      previous = blue;
    }
    EXPECT_LE(At(out, 3, 1, 0)[0], 6);
    EXPECT_GE(At(out, 3, 1, height - 1)[0], 228);
  }
}

TEST(ResampleBgra, WritingIntoABufferGivesTheSamePixels) {
  const Pixels source = Filled(5, 4, 9, 99, 199, 255);
  Pixels target(8 * 6 * 4, 7);
  ASSERT_TRUE(ResampleBgraInto(source.data(), 5, 4, source.size(), target.data(), 8, 6));
  EXPECT_EQ(target, ResampleBgra(source.data(), 5, 4, source.size(), 8, 6));
  Pixels untouched(16, 7);
  EXPECT_FALSE(ResampleBgraInto(source.data(), 5, 4, source.size() - 1, untouched.data(), 2, 2));
  EXPECT_EQ(untouched, Pixels(16, 7));
}

}  // namespace
}  // namespace quencfg
