#include "quencfg/framework/text.h"

#include <gtest/gtest.h>

namespace quencfg {
namespace {

TEST(Utf16ToUtf8, Table) {
  struct Case {
    std::u16string in;
    std::string out;
  } cases[] = {
      {u"", ""},
      {u"abc", "abc"},
      {u"\u00e9", "\xC3\xA9"},
      {u"\u2514\u2500>", "\xE2\x94\x94\xE2\x94\x80>"},
      {u"\U0001F600", "\xF0\x9F\x98\x80"},
      {std::u16string(1, char16_t(0xD800)), "\xEF\xBF\xBD"},          // lone high surrogate
      {std::u16string(1, char16_t(0xDC00)) + u"a", "\xEF\xBF\xBD" "a"},  // lone low surrogate
  };
  for (const auto& c : cases) EXPECT_EQ(Utf16ToUtf8(c.in), c.out);
}

TEST(Utf8ToUtf16, MalformedBecomesReplacement) {
  struct Case {
    std::string in;
    std::u16string out;
  } cases[] = {
      {"\xC3\xA9", u"\u00e9"},
      {"\xF0\x9F\x98\x80", u"\U0001F600"},
      {"\xC0\xAF", u"\uFFFD"},          // overlong
      {"\xED\xA0\x80", u"\uFFFD"},      // encoded surrogate
      {"\xE2\x94", u"\uFFFD"},          // truncated at end
      {"\xFF" "a", u"\uFFFD" u"a"},
  };
  for (const auto& c : cases) EXPECT_EQ(Utf8ToUtf16(c.in), c.out);
}

TEST(CopyToField, CutsToCapacityAndTerminates) {
  char16_t field[5];
  EXPECT_TRUE(CopyToField(field, u"abcd"));
  EXPECT_EQ(FieldText(field), u"abcd");
  EXPECT_FALSE(CopyToField(field, u"abcdef"));
  EXPECT_EQ(FieldText(field), u"abcd");
  EXPECT_EQ(field[4], 0);
  EXPECT_TRUE(CopyToField(field, u"x"));
  for (int i = 1; i < 5; ++i) EXPECT_EQ(field[i], 0) << "the old tail is cleared";
}

TEST(CopyToField, NeverSplitsASurrogatePair) {
  char16_t field[4];
  EXPECT_FALSE(CopyToField(field, u"ab\U0001F600"));
  EXPECT_EQ(FieldText(field), u"ab");
}

TEST(FieldLength, UnterminatedFieldCountsAsFull) {
  const char16_t full[3] = {u'a', u'b', u'c'};
  EXPECT_EQ(FieldLength(full, 3), 3u);
}

TEST(EndsWithIgnoringAsciiCase, Table) {
  EXPECT_TRUE(EndsWithIgnoringAsciiCase(u"a.MACRO", u".macro"));
  EXPECT_TRUE(EndsWithIgnoringAsciiCase(u".macro", u".macro"));
  EXPECT_FALSE(EndsWithIgnoringAsciiCase(u"macro", u".macro"));
  EXPECT_FALSE(EndsWithIgnoringAsciiCase(u"a.macros", u".macro"));
}

}  // namespace
}  // namespace quencfg
