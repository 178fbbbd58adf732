#include "quencfg/ui/skin/scroll_geometry.h"

#include <algorithm>

namespace quencfg {
namespace {

// Positions a full page can start at, beyond the first: maximum - minimum - page + 1.
long long ScrollablePositions(const ScrollState& state) noexcept {
  return static_cast<long long>(state.maximum) - state.minimum - state.page + 1;
}

long long RangeSize(const ScrollState& state) noexcept {
  return static_cast<long long>(state.maximum) - state.minimum + 1;
}

int ThumbLength(int track, const ScrollState& state) noexcept {
  if (track < kMinimumThumbLength) return 0;
  const long long range = RangeSize(state);
  long long thumb = range > 0 ? static_cast<long long>(track) * std::max(state.page, 0) / range : track;
  thumb = std::clamp<long long>(thumb, kMinimumThumbLength, track);
  return static_cast<int>(thumb);
}

}  // namespace

ScrollBarLayout LayoutScrollBar(int length, int arrowLength, const ScrollState& state) noexcept {
  ScrollBarLayout layout;
  layout.length = std::max(length, 0);
  layout.arrowLength = std::max(arrowLength, 0);
  if (layout.length < 2 * layout.arrowLength) {
    layout.arrowLength = layout.length / 2;
    layout.trackLength = 0;
  } else {
    layout.trackLength = layout.length - 2 * layout.arrowLength;
  }
  layout.thumbLength = ThumbLength(layout.trackLength, state);
  const int free = layout.trackLength - layout.thumbLength;
  const long long positions = ScrollablePositions(state);
  if (positions <= 0) {
    layout.thumbStart = layout.arrowLength + free / 2;  // the page shows everything
  } else {
    const long long offset = std::clamp<long long>(static_cast<long long>(state.position) - state.minimum, 0, positions);
    layout.thumbStart = layout.arrowLength + static_cast<int>(offset * free / positions);
  }
  return layout;
}

ScrollPiece HitScrollPiece(const ScrollBarLayout& layout, int offset) noexcept {
  if (offset < 0 || offset >= layout.length) return ScrollPiece::kNone;
  if (offset < layout.trackStart()) return ScrollPiece::kFirstArrow;
  if (offset >= layout.secondArrowStart()) return ScrollPiece::kSecondArrow;
  if (layout.thumbLength == 0) return ScrollPiece::kTrackAfter;
  if (offset < layout.thumbStart) return ScrollPiece::kTrackBefore;
  if (offset < layout.thumbStart + layout.thumbLength) return ScrollPiece::kThumb;
  return ScrollPiece::kTrackAfter;
}

int ScrollDragLimit(const ScrollState& state) noexcept {
  const long long limit = ScrollablePositions(state);
  return static_cast<int>(std::max<long long>(limit, state.minimum));
}

int ScrollDragPosition(const ScrollState& state, const ScrollBarLayout& layout, int startPosition,
                       int movement) noexcept {
  const int free = layout.trackLength - layout.thumbLength;
  const long long limit = ScrollDragLimit(state);
  if (free <= 0) return static_cast<int>(std::clamp<long long>(startPosition, state.minimum, limit));
  const long long moved = static_cast<long long>(startPosition) + ScrollablePositions(state) * movement / free;
  return static_cast<int>(std::clamp<long long>(moved, state.minimum, limit));
}

}  // namespace quencfg
