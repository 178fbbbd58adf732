// The key name file: loading on first use, reloading while missing, the lookup.
#include "quencfg/ui/keyassign/key_name_document.h"

#include <gtest/gtest.h>

#include "quencfg/framework/files.h"
#include "quencfg/framework/text.h"
#include "support/temp_folder.h"

namespace quencfg {
namespace {

using testing::TempFolder;

std::string Utf16File(std::u16string_view text) {
  std::string bytes = "\xFF\xFE";
  for (char16_t c : text) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  }
  return bytes;
}

constexpr std::u16string_view kTable =
    u"<?xml version=\"1.0\" encoding=\"utf-16\"?>\r\n"
    u"<root>\r\n"
    u"<OTHER><CODE_1b>Wrong</CODE_1b></OTHER>\r\n"
    u"<KEYTABLE>\r\n"
    u"<CODE_1b>Esc</CODE_1b>\r\n"
    u"<CODE_201>Left &amp; click</CODE_201>\r\n"
    u"<CODE_bc>VK:comma</CODE_bc>\r\n"
    u"</KEYTABLE>\r\n"
    u"</root>\r\n";

TEST(KeyNameFile, LooksUpEntriesOfTheKeyTable) {
  TempFolder dir;
  ASSERT_TRUE(ReplaceFileContents(dir / u"table.xml", Utf16File(kTable)));
  KeyNameFile names([&] { return dir / u"table.xml"; });
  EXPECT_EQ(names.StoredName(u"CODE_1b"), u"Esc");
  EXPECT_EQ(names.StoredName(u"CODE_201"), u"Left & click");
  EXPECT_EQ(names.StoredName(u"CODE_41"), u"");
  EXPECT_EQ(names.StoredName(u"CODE_1b"), u"Esc");  // the lookup does not depend on the last one
}

TEST(KeyNameFile, MissingFileGivesEmptyNamesAndIsReadOnceItAppears) {
  TempFolder dir;
  int loads = 0;
  KeyNameFile names([&] {
    ++loads;
    return dir / u"table.xml";
  });
  EXPECT_EQ(names.StoredName(u"CODE_1b"), u"");
  EXPECT_EQ(names.StoredName(u"CODE_1b"), u"");
  EXPECT_EQ(loads, 2);  // still without text: tried again
  ASSERT_TRUE(ReplaceFileContents(dir / u"table.xml", Utf16File(kTable)));
  EXPECT_EQ(names.StoredName(u"CODE_1b"), u"Esc");
  // Once read, the file is kept for the life of the process.
  ASSERT_TRUE(ReplaceFileContents(dir / u"table.xml", Utf16File(u"<root><KEYTABLE/></root>")));
  EXPECT_EQ(names.StoredName(u"CODE_1b"), u"Esc");
  EXPECT_EQ(loads, 3);
}

TEST(KeyNameFile, DamagedFilesGiveNamesOrNothingButNeverFail) {
  const std::u16string_view texts[] = {
      u"<root><KEYTABLE><CODE_1b>Esc</CODE_1b>",        // cut short
      u"<KEYTABLE><CODE_1b>Esc</CODE_1b></KEYTABLE>",   // the section is the root itself
      u"<root><KEYTABLE><CODE_1b><b>x</b></CODE_1b></KEYTABLE></root>",
      u"\u0000\u0001<<<>>>",
  };
  for (std::u16string_view text : texts) {
    TempFolder dir;
    ASSERT_TRUE(ReplaceFileContents(dir / u"table.xml", Utf16File(text)));
    KeyNameFile names([&] { return dir / u"table.xml"; });
    const std::u16string name = names.StoredName(u"CODE_1b");
    EXPECT_TRUE(name.empty() || name == u"Esc") << Utf16ToUtf8(name);
  }
}

TEST(KeyNameForVirtualKey, ProcessWideNamesAreNeverEmpty) {
  for (std::uint32_t value : {0x08u, 0x1Bu, 0x41u, 0xBCu, 0x201u, 0x207u}) {
    EXPECT_FALSE(KeyNameForVirtualKey(value).empty()) << value;
  }
}

}  // namespace
}  // namespace quencfg
