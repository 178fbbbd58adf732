#include "quencfg/ui/skin/slider_geometry.h"

#include <gtest/gtest.h>

#include <climits>

namespace quencfg {
namespace {

// Range 0..4, thumb 20 wide, slider 220 wide at x 10: span 200, 50 pixels per step.
constexpr SliderGeometry kLighting{10, 230, 20, 0, 4};

TEST(SliderGeometry, MouseXMapsToPositions) {
  struct Case {
    int x;
    int position;
  };
  const Case cases[] = {
      {10 + 10 + 24, 0},   // d 24, v 0.48
      {10 + 10 + 25, 1},   // d 25, v 0.5 rounds up
      {10 + 10 + 9, 0},    // d below half the thumb
      {10 + 10 + 10, 0},   // d equal to half the thumb: v 0.2
      {230, 4},            // right edge: d 210 beyond the span
      {10 + 10 + 200, 4},  // d equal to the span
      {10 + 10 + 174, 3},  // v 3.48
      {10 + 10 + 175, 4},
      {-1000, 0},
      {INT_MAX, 4},
      {INT_MIN, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(SliderPositionFromX(kLighting, c.x), c.position) << "x " << c.x;
}

TEST(SliderGeometry, ThumbStandsAtItsStepAndWithinTheTrack) {
  const int expected[] = {0, 50, 100, 150, 200};
  for (int position = 0; position <= 4; ++position) {
    EXPECT_EQ(SliderThumbLeft(kLighting, position), expected[position]);
  }
  EXPECT_EQ(SliderThumbLeft(kLighting, -3), 0);
  EXPECT_EQ(SliderThumbLeft(kLighting, 99), 200);
  const SliderGeometry offsetRange{0, 110, 10, -5, 5};  // 10 pixels per step
  EXPECT_EQ(SliderThumbLeft(offsetRange, 0), 50);
  EXPECT_EQ(SliderPositionFromX(offsetRange, 5 + 50), 0);
}

TEST(SliderGeometry, DegenerateRangesNeverDivideByZero) {
  const SliderGeometry cases[] = {
      {0, 100, 20, 3, 3},           // minimum equals maximum
      {0, 100, 20, 5, 1},           // reversed range
      {0, 20, 20, 0, 4},            // thumb as wide as the slider
      {0, 10, 30, 0, 4},            // thumb wider than the slider
      {0, 100, 10, INT_MIN, INT_MAX},  // the widest range
  };
  for (const SliderGeometry& slider : cases) {
    const int thumb = SliderThumbLeft(slider, 2);
    EXPECT_GE(thumb, 0);
    EXPECT_LE(thumb, slider.right - slider.left);
    const int position = SliderPositionFromX(slider, 50);
    if (slider.maximum > slider.minimum) {
      EXPECT_GE(position, slider.minimum);
      EXPECT_LE(position, slider.maximum);
    } else {
      EXPECT_EQ(position, slider.minimum);
      EXPECT_EQ(SliderWheelPosition(slider, 7, 120), slider.minimum);
    }
  }
}

TEST(SliderGeometry, WheelStepsOneAndStopsAtTheEnds) {
  EXPECT_EQ(SliderWheelPosition(kLighting, 2, 120), 3);
  EXPECT_EQ(SliderWheelPosition(kLighting, 2, -120), 1);
  EXPECT_EQ(SliderWheelPosition(kLighting, 4, 120), 4);  // at the maximum: the maximum again
  EXPECT_EQ(SliderWheelPosition(kLighting, 0, -120), 0);
  EXPECT_EQ(SliderWheelPosition(kLighting, 2, 0), 1);     // zero delta counts as down
  EXPECT_EQ(SliderWheelPosition(kLighting, INT_MAX, 120), 4);
}

}  // namespace
}  // namespace quencfg
