#include "quencfg/ui/skin/premultiply.h"

#include <gtest/gtest.h>

#include <array>

namespace quencfg {
namespace {

TEST(PremultiplyBgra, Table) {
  struct Case {
    std::array<std::uint8_t, 4> in;   // blue, green, red, alpha
    std::array<std::uint8_t, 4> out;
  } cases[] = {
      {{0, 0, 255, 128}, {0, 0, 128, 128}},          // red 255 at alpha 128 -> 128
      {{255, 255, 255, 255}, {255, 255, 255, 255}},  // opaque unchanged
      {{200, 100, 50, 0}, {0, 0, 0, 0}},             // transparent goes black
      {{1, 2, 3, 254}, {0, 1, 2, 254}},              // truncates, never rounds up
      {{255, 127, 64, 1}, {1, 0, 0, 1}},
  };
  for (const auto& c : cases) {
    auto pixel = c.in;
    PremultiplyBgra(pixel.data(), 1);
    EXPECT_EQ(pixel, c.out);
  }
}

TEST(PremultiplyBgra, WholeBufferAndNull) {
  std::array<std::uint8_t, 8> two = {10, 20, 30, 51, 40, 50, 60, 255};
  PremultiplyBgra(two.data(), 2);
  EXPECT_EQ(two, (std::array<std::uint8_t, 8>{2, 4, 6, 51, 40, 50, 60, 255}));
  PremultiplyBgra(nullptr, 5);  // no crash
}

}  // namespace
}  // namespace quencfg
