#include "quencfg/ui/skin/scroll_geometry.h"

#include <gtest/gtest.h>

namespace quencfg {
namespace {

TEST(ScrollGeometry, LaysOutArrowsTrackAndThumb) {
  struct Case {
    int length;
    int arrow;
    ScrollState state;
    int arrowLength, track, thumbStart, thumbLength;
  };
  const Case cases[] = {
      // A menu of 8 items, 6 rows of 18 pixels: bar 108 long, arrows 12.
      {108, 12, {0, 7, 6, 0}, 12, 84, 12, 63},
      {108, 12, {0, 7, 6, 2}, 12, 84, 33, 63},   // at the end: thumb touches the second arrow
      {108, 12, {0, 7, 6, 9}, 12, 84, 33, 63},   // beyond the end: kept at the end
      {108, 12, {0, 99, 6, 0}, 12, 84, 12, 12},  // small page: thumb at least 12
      {108, 12, {0, 3, 6, 0}, 12, 84, 12, 84},   // page covers everything: thumb fills, centred
      {108, 12, {0, 7, 0, 0}, 12, 84, 12, 12},   // no page
      {30, 12, {0, 7, 6, 0}, 12, 6, 12, 0},      // track shorter than 12: no thumb
      {20, 12, {0, 7, 6, 0}, 10, 0, 10, 0},      // shorter than two arrows
      {0, 12, {0, 7, 6, 0}, 0, 0, 0, 0},
      {108, 12, {5, 2, 6, 0}, 12, 84, 12, 84},   // reversed range
  };
  for (const Case& c : cases) {
    const ScrollBarLayout layout = LayoutScrollBar(c.length, c.arrow, c.state);
    EXPECT_EQ(layout.arrowLength, c.arrowLength) << c.length << " pos " << c.state.position;
    EXPECT_EQ(layout.trackLength, c.track) << c.length << " pos " << c.state.position;
    EXPECT_EQ(layout.thumbStart, c.thumbStart) << c.length << " pos " << c.state.position;
    EXPECT_EQ(layout.thumbLength, c.thumbLength) << c.length << " pos " << c.state.position;
  }
}

TEST(ScrollGeometry, CentresTheThumbWhenThePageShowsEverything) {
  const ScrollBarLayout layout = LayoutScrollBar(108, 12, ScrollState{0, 99, 100, 0});
  EXPECT_EQ(layout.thumbLength, 84);
  EXPECT_EQ(layout.thumbStart, 12);
  const ScrollBarLayout partial = LayoutScrollBar(108, 12, ScrollState{0, 19, 2, 0});
  EXPECT_EQ(partial.thumbLength, 12);  // 84*2/20 = 8, raised to 12
}

TEST(ScrollGeometry, HitsThePiecesInTheirOrder) {
  const ScrollBarLayout layout = LayoutScrollBar(108, 12, ScrollState{0, 19, 6, 5});
  // thumb 84*6/20 = 25 long, starts at 12 + 5*59/14 = 33
  ASSERT_EQ(layout.thumbStart, 33);
  ASSERT_EQ(layout.thumbLength, 25);
  struct Case {
    int offset;
    ScrollPiece piece;
  };
  const Case cases[] = {
      {-1, ScrollPiece::kNone},        {0, ScrollPiece::kFirstArrow},  {11, ScrollPiece::kFirstArrow},
      {12, ScrollPiece::kTrackBefore}, {32, ScrollPiece::kTrackBefore}, {33, ScrollPiece::kThumb},
      {57, ScrollPiece::kThumb},       {58, ScrollPiece::kTrackAfter},  {95, ScrollPiece::kTrackAfter},
      {96, ScrollPiece::kSecondArrow}, {107, ScrollPiece::kSecondArrow}, {108, ScrollPiece::kNone},
  };
  for (const Case& c : cases) EXPECT_EQ(HitScrollPiece(layout, c.offset), c.piece) << c.offset;
  EXPECT_EQ(static_cast<int>(ScrollPiece::kFirstArrow), 0);
  EXPECT_EQ(static_cast<int>(ScrollPiece::kTrackBefore), 2);
  EXPECT_EQ(static_cast<int>(ScrollPiece::kThumb), 5);
  EXPECT_EQ(static_cast<int>(ScrollPiece::kTrackAfter), 3);
  EXPECT_EQ(static_cast<int>(ScrollPiece::kSecondArrow), 1);
}

TEST(ScrollGeometry, DraggingMovesByPositionsPerFreePixel) {
  const ScrollState state{0, 19, 6, 5};
  const ScrollBarLayout layout = LayoutScrollBar(108, 12, state);  // 59 free pixels, 14 positions
  EXPECT_EQ(ScrollDragLimit(state), 14);
  EXPECT_EQ(ScrollDragPosition(state, layout, 5, 0), 5);
  EXPECT_EQ(ScrollDragPosition(state, layout, 5, 5), 6);     // 14*5/59 = 1
  EXPECT_EQ(ScrollDragPosition(state, layout, 5, 4), 5);     // 14*4/59 = 0
  EXPECT_EQ(ScrollDragPosition(state, layout, 5, -30), 0);   // kept at the minimum
  EXPECT_EQ(ScrollDragPosition(state, layout, 5, 500), 14);  // kept at the limit
  const ScrollState everything{0, 3, 6, 0};
  const ScrollBarLayout full = LayoutScrollBar(108, 12, everything);
  EXPECT_EQ(ScrollDragPosition(everything, full, 0, 40), 0);  // no free pixels: no division
}

}  // namespace
}  // namespace quencfg
