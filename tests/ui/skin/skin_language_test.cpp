#include "quencfg/ui/skin/skin_language.h"

#include <gtest/gtest.h>

#include "quencfg/framework/paths.h"

namespace quencfg {
namespace {

std::u16string Native(std::u16string_view backslashed) { return NativeRelativePath(backslashed); }

TEST(StringsFilePath, LanguageSelectsFolder) {
  struct Case {
    std::int32_t language;
    std::u16string code;
  } cases[] = {
      {101, u"EN"}, {102, u"GE"}, {103, u"FR"}, {104, u"JP"}, {105, u"KR"}, {106, u"CS"},
      {107, u"CT"}, {108, u"ES"}, {109, u"EN"}, {110, u"RU"}, {111, u"UA"}, {112, u"PR"},
      {131, u"EN"}, {0, u"EN"},   {-1, u"EN"},
  };
  const std::u16string app = std::u16string(u"app") + kPathSeparator;
  for (const auto& c : cases) {
    EXPECT_EQ(LanguageCode(c.language), c.code) << c.language;
    EXPECT_EQ(StringsFilePathIn(app, c.language), app + Native(u"Languages\\" + c.code + u"\\Strings.xml"))
        << c.language;
  }
}

TEST(SkinFontName, SetAndRead) {
  const std::u16string before = SkinFontName();
  SetSkinFontName(u"Microsoft YaHei");
  EXPECT_EQ(SkinFontName(), u"Microsoft YaHei");
  SetSkinFontName(before);
}

}  // namespace
}  // namespace quencfg
