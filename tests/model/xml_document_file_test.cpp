#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
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

// The rewrite after a read: SaveFileIfChanged leaves a file that already holds the
// bytes alone (its time stays old) and rewrites any other.
class SaveIfChanged {
 public:
  explicit SaveIfChanged(const std::u16string& path) : path_(path) {}

  void Write(const std::string& bytes) {
    ASSERT_TRUE(ReplaceFileContents(path_.u16string(), bytes));
    std::filesystem::last_write_time(path_, std::filesystem::file_time_type::clock::now() - std::chrono::hours(48));
    written_ = std::filesystem::last_write_time(path_);  // as the file system rounded it
  }
  [[nodiscard]] bool Untouched() const { return std::filesystem::last_write_time(path_) == written_; }
  [[nodiscard]] std::string Bytes() const { return ReadWholeFile(path_.u16string()).value_or("<missing>"); }

 private:
  std::filesystem::path path_;
  std::filesystem::file_time_type written_;
};

TEST(XmlDocumentFile, SaveIfChangedRewritesOnlyFilesWhoseBytesWouldChange) {
  const std::u16string text = u"<root><Profile>1</Profile></root>";
  const std::string utf16 = "\xFF\xFE" + Utf16LeBytes(text);
  struct Case {
    const char* what;
    std::string stored;
    bool edit;  // change the value before saving
    std::string expected;
  };
  const Case cases[] = {
      {"UTF-16LE as written", utf16, false, utf16},
      {"UTF-8 with mark", "\xEF\xBB\xBF" + Utf16ToUtf8(text), false, "\xEF\xBB\xBF" + Utf16ToUtf8(text)},
      {"UTF-16LE edited", utf16, true, "\xFF\xFE" + Utf16LeBytes(u"<root><Profile>7</Profile></root>")},
      {"UTF-16LE with a zero unit", "\xFF\xFE" + Utf16LeBytes(text.substr(0, 6)) + std::string(2, '\0') +
                                        Utf16LeBytes(text.substr(6)), false, utf16},
      {"UTF-16LE with an odd last byte", utf16 + "\x0A", false, utf16},
      {"UTF-16LE without mark", Utf16LeBytes(text), false, Utf16ToUtf8(text)},
  };
  TempFolder dir;
  for (const Case& c : cases) {
    const auto path = dir / u"a.xml";
    SaveIfChanged file(path);
    file.Write(c.stored);
    XmlDocument doc;
    ASSERT_TRUE(doc.LoadFile(path)) << c.what;
    if (c.edit) {
      ASSERT_TRUE(doc.FindChildElement(u"Profile"));
      ASSERT_TRUE(doc.EnterElement());
      ASSERT_TRUE(doc.SetElementText(7));
    }
    ASSERT_TRUE(doc.SaveFileIfChanged(path)) << c.what;
    EXPECT_EQ(file.Bytes(), c.expected) << c.what;
    EXPECT_EQ(file.Untouched(), c.stored == c.expected) << c.what;
  }
}

TEST(XmlDocumentFile, SaveIfChangedComparesWithWhatTheFileHoldsNow) {
  TempFolder dir;
  const auto loadedPath = dir / u"loaded.xml";
  const auto otherPath = dir / u"other.xml";
  const std::string one = "\xFF\xFE" + Utf16LeBytes(u"<root>1</root>");
  const std::string two = "\xFF\xFE" + Utf16LeBytes(u"<root>2</root>");
  SaveIfChanged loaded(loadedPath);
  SaveIfChanged other(otherPath);
  loaded.Write(one);
  XmlDocument doc;
  ASSERT_TRUE(doc.LoadFile(loadedPath));

  // Another path: its own bytes count, not the loaded file's.
  other.Write(one);
  ASSERT_TRUE(doc.SaveFileIfChanged(otherPath));
  EXPECT_TRUE(other.Untouched());
  other.Write(two);
  ASSERT_TRUE(doc.SaveFileIfChanged(otherPath));
  EXPECT_EQ(other.Bytes(), one);

  // After a save changed the loaded file, what was loaded no longer describes it.
  ASSERT_TRUE(doc.SetText(u"<root>2</root>"));
  ASSERT_TRUE(doc.SaveFile(loadedPath));
  ASSERT_TRUE(doc.SetText(u"<root>1</root>"));
  ASSERT_TRUE(doc.SaveFileIfChanged(loadedPath));
  EXPECT_EQ(loaded.Bytes(), one);

  // A new load of a file changed on disk compares with the new bytes.
  loaded.Write(two);
  ASSERT_TRUE(doc.LoadFile(loadedPath));
  ASSERT_TRUE(doc.SetText(u"<root>1</root>"));
  ASSERT_TRUE(doc.SaveFileIfChanged(loadedPath));
  EXPECT_EQ(loaded.Bytes(), one);
}

}  // namespace
}  // namespace quencfg
