// The code-page seam: what iconv (natively) and WideCharToMultiByte (on Windows) give
// for text a code page can and cannot hold.
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
      {65001, u"\U0001F600", "\xF0\x9F\x98\x80", false},
#ifndef _WIN32
      // A character beyond U+FFFF is one character in two units, and one "?" as on
      // Windows. (Under Wine the Windows seam is Wine's own conversion, which writes one
      // "?" per unit.)
      {1252, u"a\U0001F600b", "a?b", true},
      {1252, u"\U0001F600\U0001F601", "??", true},
      {1252, u"\u0416\U0001F600", "??", true},
      {28591, u"x\U00010348", "x?", true},
#endif
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
