#include "quencfg/ui/skin/slider_geometry.h"

#include <algorithm>

namespace quencfg {
namespace {

int Span(const SliderGeometry& slider) noexcept { return slider.right - slider.left - slider.thumbWidth; }

bool HasGeometry(const SliderGeometry& slider) noexcept {
  return slider.maximum > slider.minimum && Span(slider) > 0;
}

double PixelsPerStep(const SliderGeometry& slider) noexcept {
  // In double: the difference of two int extremes does not fit an int.
  return static_cast<double>(Span(slider)) /
         (static_cast<double>(slider.maximum) - static_cast<double>(slider.minimum));
}

}  // namespace

int ClampSliderPosition(const SliderGeometry& slider, int position) noexcept {
  if (slider.maximum <= slider.minimum) return slider.minimum;
  return std::clamp(position, slider.minimum, slider.maximum);
}

int SliderThumbLeft(const SliderGeometry& slider, int position) noexcept {
  if (!HasGeometry(slider)) return 0;
  const double steps = static_cast<double>(ClampSliderPosition(slider, position)) - slider.minimum;
  const int left = static_cast<int>(PixelsPerStep(slider) * steps);
  return std::clamp(left, 0, Span(slider));
}

int SliderPositionFromX(const SliderGeometry& slider, int x) noexcept {
  if (!HasGeometry(slider)) return slider.minimum;
  const int halfThumb = slider.thumbWidth / 2;
  const long long d = static_cast<long long>(x) - halfThumb - slider.left;
  if (d > Span(slider)) return slider.maximum;
  if (d < halfThumb) return slider.minimum;
  const double v = static_cast<double>(d) / PixelsPerStep(slider);
  const double position = static_cast<double>(slider.minimum) + static_cast<double>(static_cast<long long>(v + 0.5));
  return position >= slider.maximum ? slider.maximum : static_cast<int>(position);
}

int SliderWheelPosition(const SliderGeometry& slider, int position, int wheelDelta) noexcept {
  const long long moved = static_cast<long long>(position) + (wheelDelta > 0 ? 1 : -1);
  if (slider.maximum <= slider.minimum) return slider.minimum;
  return static_cast<int>(std::clamp<long long>(moved, slider.minimum, slider.maximum));
}

}  // namespace quencfg
