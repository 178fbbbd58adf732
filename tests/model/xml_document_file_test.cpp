#include <gtest/gtest.h>

#include <string>

#include "quencfg/framework/files.h"
#include "quencfg/framework/text.h"
#include "quencfg/model/xml_document.h"
#include "support/temp_folder.h"

namespace quencfg {
namespace {

using testing::TempFolder;

std::string Utf16LeBytes(std::u16string_view text) {
  std::string bytes;
  for (const char16_t c : text) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>(c >> 8));
  }
  return bytes;
}

std::string Utf16BeBytes(std::u16string_view text) {
  std::string bytes;
  for (const char16_t c : text) {
    bytes.push_back(static_cast<char>(c >> 8));
    bytes.push_back(static_cast<char>(c & 0xFF));
  }
  return bytes;
}

constexpr std::u16string_view kSettings =
    u"<?xml version=\"1.0\" encoding=\"utf-16\"?>\r\n<root>\r\n<Setting>\r\n<Profile>2</Profile>\r\n"
    u"<Language>\u00e9t\u00e9 \U0001F600</Language>\r\n</Setting>\r\n</root>\r\n";

TEST(XmlDocumentFile, SavesUtf16LeWithMarkAndLoadsItBack) {
  TempFolder dir;
  const auto path = dir / u"config.xml";
  XmlDocument doc;
  ASSERT_TRUE(doc.SetText(kSettings));
  doc.SetFlags(XmlDocument::BOM_UTF16LE);
  ASSERT_TRUE(doc.SaveFile(path));
  EXPECT_EQ(ReadWholeFile(path).value_or(""), "\xFF\xFE" + Utf16LeBytes(kSettings));

  XmlDocument loaded;
  ASSERT_TRUE(loaded.LoadFile(path)) << Utf16ToUtf8(loaded.Diagnostic());
  EXPECT_EQ(loaded.Text(), kSettings);
  EXPECT_EQ(loaded.Flags(), XmlDocument::BOM_UTF16LE);
  ASSERT_TRUE(loaded.FindChildElement(u"Setting"));
  ASSERT_TRUE(loaded.EnterElement());
  ASSERT_TRUE(loaded.FindChildElement(u"Profile"));
  EXPECT_EQ(loaded.GetChildText(), u"2");
  ASSERT_TRUE(loaded.FindChildElement(u"Language"));
  EXPECT_EQ(loaded.GetChildText(), u"\u00e9t\u00e9 \U0001F600");
}

TEST(XmlDocumentFile, LoadsUtf8WithAndWithoutMark) {
  TempFolder dir;
  const std::string utf8 = Utf16ToUtf8(kSettings);
  for (const bool mark : {true, false}) {
    const auto path = dir / u"a.xml";
    ASSERT_TRUE(ReplaceFileContents(path, (mark ? "\xEF\xBB\xBF" : "") + utf8));
    XmlDocument doc;
    ASSERT_TRUE(doc.LoadFile(path)) << Utf16ToUtf8(doc.Diagnostic());
    EXPECT_EQ(doc.Text(), kSettings);
    EXPECT_EQ(doc.Flags(), mark ? XmlDocument::BOM_UTF8 : 0u);
    // Saved again, the file is the same bytes.
    ASSERT_TRUE(doc.SaveFile(path));
    EXPECT_EQ(ReadWholeFile(path).value_or(""), (mark ? "\xEF\xBB\xBF" : "") + utf8) << mark;
  }
}

TEST(XmlDocumentFile, EditedFileKeepsEverythingElseByteForByte) {
  TempFolder dir;
  const auto path = dir / u"config.xml";
  const std::u16string original =
      u"<?xml version=\"1.0\" encoding=\"utf-16\"?>\r\n<root>\r\n  <!-- kept -->\r\n"
      u"  <Setting a='1'>\r\n    <Plug>1</Plug>\r\n    <Profile>0</Profile>\r\n  </Setting>\r\n</root>";
  ASSERT_TRUE(ReplaceFileContents(path, "\xFF\xFE" + Utf16LeBytes(original)));
  XmlDocument doc;
  ASSERT_TRUE(doc.LoadFile(path));
  doc.ResetPosition();
  ASSERT_TRUE(doc.FindElement());
  ASSERT_TRUE(doc.EnterElement());
  ASSERT_TRUE(doc.FindElement(u"Setting"));
  ASSERT_TRUE(doc.EnterElement());
  ASSERT_TRUE(doc.FindElement(u"Profile"));
  ASSERT_TRUE(doc.SetElementText(12));
  EXPECT_FALSE(doc.FindElement(u"Language"));
  ASSERT_TRUE(doc.AddElement(u"Language", u"a<b&c>\"'"));
  ASSERT_TRUE(doc.SaveFile(path));
  // The new element goes after the white space that followed its predecessor (no
  // indentation of its own); nothing else moves.
  const std::u16string expected =
      u"<?xml version=\"1.0\" encoding=\"utf-16\"?>\r\n<root>\r\n  <!-- kept -->\r\n"
      u"  <Setting a='1'>\r\n    <Plug>1</Plug>\r\n    <Profile>12</Profile>\r\n"
      u"  <Language>a&lt;b&amp;c&gt;\"'</Language>\r\n</Setting>\r\n</root>";
  EXPECT_EQ(ReadWholeFile(path).value_or(""), "\xFF\xFE" + Utf16LeBytes(expected));
}

TEST(XmlDocumentFile, Utf16BigEndianRoundTrip) {
  TempFolder dir;
  const auto path = dir / u"be.xml";
  ASSERT_TRUE(ReplaceFileContents(path, "\xFE\xFF" + Utf16BeBytes(kSettings)));
  XmlDocument doc;
  ASSERT_TRUE(doc.LoadFile(path));
  EXPECT_EQ(doc.Text(), kSettings);
  EXPECT_EQ(doc.Flags(), XmlDocument::BOM_UTF16BE);
  EXPECT_NE(doc.Diagnostic().find(u"endian swap "), std::u16string::npos);
  ASSERT_TRUE(doc.SaveFile(path));
  EXPECT_EQ(ReadWholeFile(path).value_or(""), "\xFE\xFF" + Utf16BeBytes(kSettings));
}

TEST(XmlDocumentFile, MissingFileLeavesTheDocumentEmpty) {
  TempFolder dir;
  XmlDocument doc;
  ASSERT_TRUE(doc.SetText(u"<a/>"));
  EXPECT_FALSE(doc.LoadFile(dir / u"none.xml"));
  EXPECT_TRUE(doc.Text().empty());
  EXPECT_EQ(doc.ElementCount(), 0u);
  EXPECT_FALSE(doc.Diagnostic().empty());
  EXPECT_LE(doc.Diagnostic().size(), 100u);
}

TEST(XmlDocumentFile, FailedSaveKeepsTheOldFile) {
  TempFolder dir;
  const auto path = dir / u"keep.xml";
  ASSERT_TRUE(ReplaceFileContents(path, "old"));
  // A folder where the temporary file must go makes writing fail half way.
  ASSERT_TRUE(CreateFolder(path + u".tmp"));
  XmlDocument doc;
  doc.SetText(u"<a>new</a>");
  EXPECT_FALSE(doc.SaveFile(path));
  EXPECT_FALSE(doc.Diagnostic().empty());
  EXPECT_EQ(ReadWholeFile(path).value_or(""), "old");
  EXPECT_FALSE(doc.SaveFile(dir / u"no-such-folder/x.xml"));
}

}  // namespace
}  // namespace quencfg
