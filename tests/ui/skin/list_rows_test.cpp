#include "quencfg/ui/skin/list_rows.h"

#include <gtest/gtest.h>

namespace quencfg {
namespace {

TEST(ListRows, SplitsTheTwoColumns) {
  struct Case {
    std::u16string_view text;
    std::u16string_view first;
    std::u16string_view second;
  };
  const Case cases[] = {
      {u"A  Press     20 ms", u"A", u"20 ms"},
      {u" Shift    Down  x", u"Shift", u"Down  x"},
      {u"MS Left    100 ms", u"MS Left", u""},    // starts with "MS": no second column
      {u"Tab  Down", u"Tab", u""},                // 9 characters: too short
      {u"123456789012", u"", u""},                // 12 characters, no double blank
      {u"1234567890123", u"", u"123"},            // 13 characters
      {u"NoDoubleBlank at all", u"", u"ank at all"},
      {u"", u"", u""},
      {u"  lead", u"", u""},
      // The macro rows: a number right-aligned across the eleventh character, and a
      // name reaching past it, are not cut in two.
      {u"A       150ms", u"A", u"150ms"},
      {u"LB       300ms", u"LB", u"300ms"},
      {u"Right Shift       150ms", u"Right Shift", u"150ms"},
      {u"A                 150ms", u"A", u"150ms"},
      {u"RB         ", u"RB", u""},
  };
  for (const Case& c : cases) {
    const RowColumns columns = SplitRowColumns(c.text);
    EXPECT_EQ(columns.first, c.first) << std::u16string(c.text).size();
    EXPECT_EQ(columns.second, c.second) << std::u16string(c.text).size();
  }
}

TEST(ListRows, GridStylesDrawTheirLines) {
  const std::vector<int> twelve = GridLineRows(kGridTwelveRows);
  ASSERT_EQ(twelve.size(), 13u);
  EXPECT_EQ(twelve.front(), 0);
  EXPECT_EQ(twelve[1], 14);
  EXPECT_EQ(twelve.back(), 179);
  const std::vector<int> longStyle = GridLineRows(kGridLong);
  ASSERT_EQ(longStyle.size(), 29u);
  EXPECT_EQ(longStyle.front(), 14);
  EXPECT_EQ(longStyle.back(), 434);
  EXPECT_TRUE(GridLineRows(kGridNone).empty());
  EXPECT_TRUE(GridLineRows(7).empty());
}

// At another DPI the rows are taller: as many lines, each along the bottom of its row.
TEST(ListRows, GridLinesFollowTheRowHeight) {
  const std::vector<int> twelve = GridLineRows(kGridTwelveRows, 23);
  ASSERT_EQ(twelve.size(), 13u);
  EXPECT_EQ(twelve[1], 22);
  EXPECT_EQ(twelve.back(), 275);
  const std::vector<int> longStyle = GridLineRows(kGridLong, 30);
  ASSERT_EQ(longStyle.size(), 29u);
  EXPECT_EQ(longStyle.front(), 29);
  EXPECT_EQ(longStyle.back(), 869);
  EXPECT_TRUE(GridLineRows(kGridLong, 0).empty());
}

}  // namespace
}  // namespace quencfg
