#pragma once
// The pieces of a skinned scroll bar along its length, which piece a point hits,
// and where a dragged thumb puts the position.

namespace quencfg {

struct ScrollState {
  int minimum = 0;
  int maximum = 0;
  int page = 0;
  int position = 0;

  bool operator==(const ScrollState&) const = default;
};

// Offsets along the bar, from its start.
struct ScrollBarLayout {
  int length = 0;
  int arrowLength = 0;   // each arrow button; both shrink to length / 2 on a short bar
  int trackLength = 0;   // between the arrows
  int thumbStart = 0;    // 0 length: no thumb
  int thumbLength = 0;

  [[nodiscard]] int trackStart() const noexcept { return arrowLength; }
  [[nodiscard]] int trackEnd() const noexcept { return arrowLength + trackLength; }
  [[nodiscard]] int secondArrowStart() const noexcept { return length - arrowLength; }
};

// The pieces in their order along the bar; the values are the scroll codes they send.
enum class ScrollPiece : int {
  kFirstArrow = 0,   // SB_LINEUP
  kSecondArrow = 1,  // SB_LINEDOWN
  kTrackBefore = 2,  // SB_PAGEUP
  kTrackAfter = 3,   // SB_PAGEDOWN
  kThumb = 5,        // SB_THUMBTRACK
  kNone = -1,
};

inline constexpr int kMinimumThumbLength = 12;

ScrollBarLayout LayoutScrollBar(int length, int arrowLength, const ScrollState& state) noexcept;

// The piece at `offset` along the bar; kNone outside it.
ScrollPiece HitScrollPiece(const ScrollBarLayout& layout, int offset) noexcept;

// The highest position a drag reaches: maximum - minimum - page + 1 (not below minimum).
int ScrollDragLimit(const ScrollState& state) noexcept;

// The position of a thumb dragged `movement` pixels from where it was pressed at
// `startPosition`, kept within minimum .. ScrollDragLimit.
int ScrollDragPosition(const ScrollState& state, const ScrollBarLayout& layout, int startPosition,
                       int movement) noexcept;

}  // namespace quencfg
