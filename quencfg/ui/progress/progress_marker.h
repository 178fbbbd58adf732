#pragma once
// The arithmetic of the progress bar: which position it takes and how much of its
// width the filled image covers.
namespace quencfg {

struct MarkerRange {
  int minimum = 0;
  int maximum = 10;
};

// The value when minimum <= value <= maximum, else the minimum.
int ClampMarkerPosition(int value, MarkerRange range) noexcept;

// (position - minimum) x width / (maximum - minimum) in integer arithmetic, kept within
// 0..width; 0 for an empty range.
int MarkerFillWidth(int position, MarkerRange range, int width) noexcept;

}  // namespace quencfg
