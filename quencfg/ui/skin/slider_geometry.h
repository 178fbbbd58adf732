#pragma once
// Where a horizontal slider's thumb stands, and which position a mouse x means.
//
// A range without steps (minimum equal to or above maximum) or a thumb as wide as the
// slider has no geometry: the thumb stays at the left edge and every x means the
// minimum, so nothing divides by zero.

namespace quencfg {

struct SliderGeometry {
  int left = 0;        // slider edges, in the parent's client coordinates
  int right = 0;
  int thumbWidth = 0;
  int minimum = 0;
  int maximum = 10;
};

// The thumb's left edge relative to the slider, kept within the track.
int SliderThumbLeft(const SliderGeometry& slider, int position) noexcept;

// The position a mouse at parent x stands for.
int SliderPositionFromX(const SliderGeometry& slider, int x) noexcept;

// One step up for a positive wheel delta, down otherwise, kept within the range.
int SliderWheelPosition(const SliderGeometry& slider, int position, int wheelDelta) noexcept;

// `position` kept within the range (the minimum when there is no range).
int ClampSliderPosition(const SliderGeometry& slider, int position) noexcept;

}  // namespace quencfg
