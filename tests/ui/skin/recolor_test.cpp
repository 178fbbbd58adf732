#include "quencfg/ui/skin/recolor.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>

namespace quencfg {
namespace {

using Pixel = std::array<std::uint8_t, 4>;  // blue, green, red, alpha

Pixel Grey(std::uint8_t v, std::uint8_t alpha = 255) { return Pixel{v, v, v, alpha}; }

Pixel RecolorFloat(Pixel source, RgbColor color) {
  Pixel out{};
  RecolorMaskFloat(source.data(), out.data(), 1, color);
  return out;
}

Pixel RecolorInteger(Pixel source, RgbColor color) {
  Pixel out{};
  RecolorMaskInteger(source.data(), out.data(), 1, color);
  return out;
}

TEST(RecolorMaskFloat, ScalesTheColorByTheBlueIntensity) {
  struct Case {
    Pixel source;
    RgbColor color;
    Pixel expected;
  };
  const Case cases[] = {
      {Grey(255), {255, 0, 0}, {0, 0, 255, 255}},           // white turns pure red
      {Grey(0), {255, 0, 0}, {0, 0, 0, 0}},                 // black turns transparent black
      {Grey(128), {255, 255, 255}, {128, 128, 128, 128}},
      {Grey(128), {10, 20, 30}, {15, 10, 5, 128}},          // 128*30/255 = 15.06
      {Pixel{200, 7, 9, 3}, {0, 255, 100}, {78, 200, 0, 200}},  // only blue counts, alpha follows it
  };
  for (const Case& c : cases) EXPECT_EQ(RecolorFloat(c.source, c.color), c.expected);
}

TEST(RecolorMaskFloat, WorksInPlaceOverManyPixels) {
  std::array<std::uint8_t, 12> pixels{255, 255, 255, 255, 0, 0, 0, 255, 51, 0, 0, 0};
  RecolorMaskFloat(pixels.data(), pixels.data(), 3, RgbColor{0, 255, 0});
  const std::array<std::uint8_t, 12> expected{0, 255, 0, 255, 0, 0, 0, 0, 0, 51, 0, 51};
  EXPECT_EQ(pixels, expected);
}

TEST(RecolorMaskInteger, DarkColorsAndBlackPixelsLeaveTheImageAlone) {
  struct Case {
    Pixel source;
    RgbColor color;
    Pixel expected;
  };
  const Case cases[] = {
      {Grey(200), {5, 5, 5}, Grey(200)},                  // sum 15: not recolored
      {Grey(200), {0, 0, 0}, Grey(200)},
      {Grey(255), {6, 5, 5}, {5, 5, 6, 255}},             // sum 16: recolored
      {Pixel{0, 40, 50, 255}, {255, 0, 0}, {0, 40, 50, 255}},  // v = 0 copied unchanged
      {Grey(255), {255, 0, 0}, {0, 0, 255, 255}},
      {Grey(128), {10, 20, 30}, {15, 10, 5, 128}},
  };
  for (const Case& c : cases) EXPECT_EQ(RecolorInteger(c.source, c.color), c.expected);
}

TEST(RgbFromColorValue, TakesRedFromTheLowByte) {
  const RgbColor c = RgbFromColorValue(0x00332211);
  EXPECT_EQ(c.red, 0x11);
  EXPECT_EQ(c.green, 0x22);
  EXPECT_EQ(c.blue, 0x33);
}

}  // namespace
}  // namespace quencfg
