#include "quencfg/ui/skin/menu_model.h"

#include <gtest/gtest.h>

#include <string>

namespace quencfg {
namespace {

constexpr int kLineUp = 0, kLineDown = 1, kPageUp = 2, kPageDown = 3, kThumbPosition = 4, kThumbTrack = 5;

TEST(MenuModel, VisibleRowsFollowTheItems) {
  EXPECT_EQ(ResolveVisibleRows(6, 3), 3);
  EXPECT_EQ(ResolveVisibleRows(6, 8), 6);
  EXPECT_EQ(ResolveVisibleRows(6, 0), 6);  // a menu without items keeps its value
  EXPECT_EQ(ResolveVisibleRows(-1, 12), 12);
  EXPECT_EQ(ResolveVisibleRows(-5, 12), 0);
}

TEST(MenuModel, ScrollRequestsStayWithinTheItems) {
  struct Case {
    int first, code, thumb, items, page, expected;
  };
  const Case cases[] = {
      {0, kLineUp, 0, 8, 6, 0},     {1, kLineUp, 0, 8, 6, 0},     {0, kLineDown, 0, 8, 6, 1},
      {2, kLineDown, 0, 8, 6, 2},   // at n - p: unchanged
      {0, kPageDown, 0, 8, 6, 2},   {1, kPageUp, 0, 20, 6, 0},    {10, kPageUp, 0, 20, 6, 4},
      {10, kPageDown, 0, 20, 6, 14}, {0, kThumbTrack, 3, 20, 6, 3}, {0, kThumbPosition, 99, 20, 6, 14},
      {0, kThumbTrack, -4, 20, 6, 0}, {0, kLineDown, 0, 3, 6, 0},  // fewer items than rows
      {0, kPageDown, 0, 3, 6, 0},   {4, 8, 0, 20, 6, 4},          // SB_ENDSCROLL: nothing
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ScrolledFirstVisible(c.first, c.code, c.thumb, c.items, c.page), c.expected)
        << "first " << c.first << " code " << c.code;
  }
}

TEST(MenuModel, PickCarriesIndexAndId) {
  // Row 2 while the top row shows item 3: item 5.
  const MenuPickParams pick = MakeMenuPick(-1, 3 + 2, 17);
  EXPECT_EQ(pick.wParam, 0x0005FFFFu);
  EXPECT_EQ(pick.lParam, 0x00110000u);
  EXPECT_EQ(MakeMenuPick(4, 0, 0x12345).lParam, 0x23450000u);  // the id's low 16 bits
}

TEST(MenuModel, MakesItemsWithCutText) {
  const BMPMENUINFO item = MakeMenuItem(std::u16string(400, u'x'), 9);
  EXPECT_EQ(std::u16string(item.itemText).size(), 259u);
  EXPECT_EQ(item.itemId, 9);
  EXPECT_EQ(item.itemEnabled, 1);
  EXPECT_TRUE(item.subItems.empty());
  EXPECT_EQ(MakeMenuItem(u"a", 1, false).itemEnabled, 0);
  EXPECT_FALSE(MakeMenuItem(u"a", 1).itemChecked);
}

TEST(MenuModel, TallerBackgroundRepeatsTheMiddleBand) {
  // Image of 10 rows, band 3: top 0-2, middle 3-6, tail 3-9 ends at the bottom.
  const std::vector<int> rows = BackgroundSourceRows(10, 18, 3);
  const std::vector<int> expected{0, 1, 2, 3, 4, 5, 6, 3, 4, 5, 6, 3, 4, 5, 6, 7, 8, 9};
  EXPECT_EQ(rows, expected);
}

TEST(MenuModel, ShorterBackgroundKeepsTopAndBottom) {
  EXPECT_EQ(BackgroundSourceRows(10, 6, 2), (std::vector<int>{0, 1, 2, 3, 8, 9}));  // top H-b, bottom b
  EXPECT_EQ(BackgroundSourceRows(10, 4, 5), (std::vector<int>{0, 1, 8, 9}));        // band too big: halves
  EXPECT_EQ(BackgroundSourceRows(10, 5, 5), (std::vector<int>{0, 1, 7, 8, 9}));     // odd: the bottom gets the extra row
  EXPECT_EQ(BackgroundSourceRows(10, 10, 3), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
}

TEST(MenuModel, BackgroundWithoutMiddleBandStaysInsideTheImage) {
  // 18-pixel image, 18-pixel rows: no band to repeat; 6 rows of 108 pixels.
  const std::vector<int> rows = BackgroundSourceRows(18, 108, 18);
  ASSERT_EQ(rows.size(), 108u);
  for (int y = 0; y < 18; ++y) EXPECT_EQ(rows[static_cast<std::size_t>(y)], y);
  for (int row : rows) {
    EXPECT_GE(row, 0);
    EXPECT_LT(row, 18);
  }
  EXPECT_TRUE(BackgroundSourceRows(0, 10, 3).empty());
  EXPECT_TRUE(BackgroundSourceRows(10, 0, 3).empty());
  for (int row : BackgroundSourceRows(5, 40, 9)) EXPECT_LT(row, 5);
}

}  // namespace
}  // namespace quencfg
