#include "quencfg/model/number_text.h"

#include <gtest/gtest.h>

namespace quencfg {
namespace {

TEST(ParseDecimal, ReadsLikeTheCLibrary) {
  const struct {
    std::u16string text;
    std::int32_t value;
  } cases[] = {
      {u"0", 0},
      {u"108", 108},
      {u"  \t\r\n 42", 42},
      {u"+7", 7},
      {u"-5", -5},
      {u"12abc", 12},
      {u"abc", 0},
      {u"", 0},
      {u"-", 0},
      {u" - 3", 0},
      {u"2147483647", 2147483647},
      {u"2147483648", 2147483647},
      {u"99999999999999999999999", 2147483647},
      {u"-2147483648", -2147483647 - 1},
      {u"-2147483649", -2147483647 - 1},
      {u"-99999999999999999999999", -2147483647 - 1},
      {u"16777215", 16777215},
      {u"\u0663", 0},  // only ASCII digits count
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParseDecimal(c.text), c.value) << std::string(c.text.begin(), c.text.end());
  }
}

TEST(ParseDecimal, CutToTheFieldWidth) {
  EXPECT_EQ(ParseLow8(u"365"), 109);
  EXPECT_EQ(ParseLow8(u"300"), 44);
  EXPECT_EQ(ParseLow8(u"-1"), 255);
  EXPECT_EQ(ParseLow16(u"65537"), 1);
  EXPECT_EQ(ParseBits32(u"-1"), 0xFFFFFFFFu);
}

TEST(FormatDecimal, PrintfD) {
  EXPECT_EQ(FormatDecimal(0), u"0");
  EXPECT_EQ(FormatDecimal(-466), u"-466");
  EXPECT_EQ(FormatDecimal(-2147483647 - 1), u"-2147483648");
}

}  // namespace
}  // namespace quencfg
