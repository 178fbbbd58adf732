#include "quencfg/ui/skin/skin_rect.h"

#include <gtest/gtest.h>

#include <string>

#include "quencfg/framework/text.h"

namespace quencfg {
namespace {

TEST(ParseSkinRect, Table) {
  struct Case {
    std::u16string value;
    std::u16string name;
    std::int32_t left, top, right, bottom;
    std::u16string text;
    bool flag;
  } cases[] = {
      {u"BUTTON_1,10,20,30,40,ESC,FALSE", u"BUTTON_1", 10, 20, 40, 60, u"ESC", false},
      {u"btn,0,0,5,6,TRUE", u"btn", 0, 0, 5, 6, u"6", true},  // text is the second-to-last field
      {u"img,1,2,3,4", u"img", 1, 2, 4, 6, u"3", false},
      {u"k,7,8", u"k", 7, 8, 7, 8, u"7", false},              // w and h unread
      {u"x,0,0,1,1,NOTRUE,0", u"x", 0, 0, 1, 1, u"NOTRUE", true},
      {u"12 34", u"", 12, 0, 12, 0, u"", false},               // no comma: coordinates from the start
      {u"", u"", 0, 0, 0, 0, u"", false},
      {u"n,a,2,3,4,T,FALSE", u"n", 0, 0, 0, 0, u"T", false},   // not a number: all stay 0
      {u"n,1,b,3,4,T,FALSE", u"n", 1, 0, 1, 0, u"T", false},   // the rest stays 0
      {u"n, -3, +4,10,10,T,FALSE", u"n", -3, 4, 7, 14, u"T", false},
      {u"n,1 ,2,3,4,T,FALSE", u"n", 1, 0, 1, 0, u"T", false},   // a comma must follow directly
      {u",0,0,0,0,,FALSE", u"", 0, 0, 0, 0, u"", false},
      {u"lwin,1,2,3,4,LWIN,0", u"lwin", 1, 2, 4, 6, u"LWIN", false},
      {u"n,2147483647,5,2147483647,5,T,X", u"n", 2147483647, 5, 2147483647, 10, u"T", false},
      {u"n,99999999999,0,1,1,T,X", u"n", 2147483647, 0, 2147483647, 1, u"T", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Utf16ToUtf8(c.value));
    const SkinRect r = ParseSkinRect(c.value);
    EXPECT_EQ(FieldText(r.name), c.name);
    EXPECT_EQ(r.left, c.left);
    EXPECT_EQ(r.top, c.top);
    EXPECT_EQ(r.right, c.right);
    EXPECT_EQ(r.bottom, c.bottom);
    EXPECT_EQ(FieldText(r.text), c.text);
    EXPECT_EQ(r.flag, c.flag);
  }
}

TEST(ParseSkinRect, NameBeforeFirstCommaEvenWhenNumeric) {
  // "5" is the name; the coordinates are read after it.
  const SkinRect r = ParseSkinRect(u"5,6,7,8");
  EXPECT_EQ(FieldText(r.name), u"5");
  EXPECT_EQ(r.left, 6);
  EXPECT_EQ(r.top, 7);
  EXPECT_EQ(r.right, 14);
  EXPECT_EQ(r.bottom, 7);
  EXPECT_EQ(FieldText(r.text), u"7");
}

TEST(ParseSkinRect, LongFieldsAreCutToTheRecord) {
  const std::u16string longName(80, u'n');
  const std::u16string longText(300, u't');
  const SkinRect r = ParseSkinRect(longName + u",1,2,3,4," + longText + u",TRUE");
  EXPECT_EQ(FieldText(r.name), longName.substr(0, 39));
  EXPECT_EQ(FieldText(r.text), longText.substr(0, 99));
  EXPECT_EQ(r.name[39], 0);
  EXPECT_EQ(r.text[99], 0);
  EXPECT_TRUE(r.flag);
  EXPECT_EQ(r.right, 4);
}

TEST(SkinImageName, BtnPngNamesShareOneStem) {
  struct Case {
    std::u16string value;
    std::u16string image;
  } cases[] = {
      {u"btnPng,0,0,1,1,,FALSE", u"btnPng"},
      {u"btnPngOk,0,0,1,1,,FALSE", u"btnPng"},
      {u"mybtnPng_2,0,0,1,1,,FALSE", u"btnPng"},
      {u"btnpng,0,0,1,1,,FALSE", u"btnpng"},  // the match is exact, case included
      {u"key100,0,0,1,1,ESC,FALSE", u"key100"},
      {u",0,0,0,0,,FALSE", u""},
  };
  for (const auto& c : cases) EXPECT_EQ(SkinImageName(ParseSkinRect(c.value)), c.image);
}

}  // namespace
}  // namespace quencfg
