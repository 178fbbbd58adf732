// The code-page seam gives the same bytes natively (iconv) and on Windows.
#include "quencfg/framework/codepage.h"

#include <gtest/gtest.h>

#include <string>

#include "quencfg/framework/text.h"

namespace quencfg {
namespace {

TEST(CodePage, EncodingReplacesEachMissingCharacterByOneQuestionMark) {
  const struct {
    std::uint32_t codePage;
    std::u16string_view text;
    std::string_view bytes;
    bool lost;
  } cases[] = {
      {1252, u"a\u00e9b", "a\xE9" "b", false},
      {1252, u"a\u0416b", "a?b", true},
      {1252, u"a\U0001F600b", "a?b", true},  // one character beyond U+FFFF, two units
      {1252, u"\U0001F600\U0001F601", "??", true},
      {1252, u"\u0416\U0001F600", "??", true},
      {28591, u"x\U00010348", "x?", true},
      {65001, u"\U0001F600", "\xF0\x9F\x98\x80", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Utf16ToUtf8(c.text));
    const auto encoded = EncodeCodePage(c.codePage, c.text);
    ASSERT_TRUE(encoded.has_value()) << c.codePage;
    EXPECT_EQ(encoded->bytes, c.bytes);
    EXPECT_EQ(encoded->lost, c.lost);
  }
}

}  // namespace
}  // namespace quencfg
