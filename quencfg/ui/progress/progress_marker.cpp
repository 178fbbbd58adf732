#include "quencfg/ui/progress/progress_marker.h"

#include <cstdint>

namespace quencfg {

int ClampMarkerPosition(int value, MarkerRange range) noexcept {
  return value >= range.minimum && value <= range.maximum ? value : range.minimum;
}

int MarkerFillWidth(int position, MarkerRange range, int width) noexcept {
  const std::int64_t span = std::int64_t{range.maximum} - range.minimum;
  if (span <= 0 || width <= 0) return 0;
  // 64-bit, so that no product of position and width overflows.
  const std::int64_t fill = (std::int64_t{position} - range.minimum) * width / span;
  if (fill < 0) return 0;
  return fill > width ? width : static_cast<int>(fill);
}

}  // namespace quencfg
