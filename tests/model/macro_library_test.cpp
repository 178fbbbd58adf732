#include "quencfg/model/macro_library.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "quencfg/framework/files.h"
#include "quencfg/framework/text.h"
#include "quencfg/model/number_text.h"
#include "support/data_folder_scope.h"
#include "support/macro_file_text.h"

namespace quencfg {
namespace {

using testing::DataFolderScope;
using testing::Utf16FileBytes;

MacroFile ZeroMacro() {
  MacroFile m;
  std::memset(&m, 0, sizeof m);
  return m;
}

std::u16string MacroText(const MacroFile& m) { return testing::MacroFileText(m); }

class MacroLibraryTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(CreateFolder(data_.path() + u"Macros")); }
  static void WriteRaw(std::u16string_view name, std::u16string_view body) {
    std::u16string text(u"<?xml version=\"1.0\" encoding=\"utf-16\"?>\r\n<root><Setting>");
    text += body;
    text += u"</Setting></root>";
    ASSERT_TRUE(ReplaceFileContents(MacroPath(name), Utf16FileBytes(text)));
  }
  DataFolderScope data_;
};

TEST_F(MacroLibraryTest, NewMacroFileHasTheDocumentedBytes) {
  MacroFile m = ZeroMacro();
  m.Repeat = 1;
  CopyToField(m.MacroName, u"Macro 1");
  WriteMacro(m, u"Macro 1");
  const std::string bytes = ReadWholeFile(MacroPath(u"Macro 1")).value_or("");
  EXPECT_EQ(bytes, Utf16FileBytes(MacroText(m)));
  const std::string begin = Utf16FileBytes(
      u"<?xml version=\"1.0\" encoding=\"utf-16\"?>\r\n<root>\r\n<Setting>\r\n<MacroName>Macro 1</MacroName>\r\n"
      u"<Repeat>1</Repeat>\r\n<Event_0>\r\n<attributeH>0</attributeH>\r\n<attributeL>0</attributeL>\r\n"
      u"<map>0</map>\r\n</Event_0>\r\n");
  EXPECT_EQ(bytes.substr(0, begin.size()), begin);
}

TEST_F(MacroLibraryTest, RoundTripOfEventsAndAnAmpersandName) {
  MacroFile m = ZeroMacro();
  m.Repeat = 65535;
  CopyToField(m.MacroName, u"Tom & Jerry <1>");
  m.events[0] = {0x80, 0x00, 0x04};
  m.events[1] = {0x00, 0x32, 0x04};
  m.events[2] = {0xFF, 0xFF, 0xF0};
  WriteMacro(m, u"Tom & Jerry");
  const std::string bytes = ReadWholeFile(MacroPath(u"Tom & Jerry")).value_or("");
  EXPECT_NE(bytes.find(Utf16FileBytes(u"Tom &amp; Jerry &lt;1&gt;").substr(2)), std::string::npos);

  MacroFile read = ZeroMacro();
  ReadMacro(read, u"Tom & Jerry");
  EXPECT_EQ(std::memcmp(&read, &m, sizeof m), 0);
}

TEST_F(MacroLibraryTest, ReadingCutsAndSkipsAsTheFormatSays) {
  const std::u16string longName(600, u'n');
  WriteRaw(u"m", u"<MacroName>" + longName + u"</MacroName><Repeat>65537</Repeat>"
                 u"<Event_0><attributeH>128</attributeH><attributeL>300</attributeL><map>4</map></Event_0>"
                 u"<Event_1><map>5</map><attributeH>1</attributeH></Event_1>"
                 u"<Event_3><attributeH>3</attributeH></Event_3>");
  MacroFile m = ZeroMacro();
  m.events[2].map = 99;
  ReadMacro(m, u"m");
  EXPECT_EQ(FieldText(m.MacroName), std::u16string(kMacroFileNameCapacity - 1, u'n'));
  EXPECT_EQ(m.Repeat, 1);
  EXPECT_EQ(m.events[0].attributeH, 128);
  EXPECT_EQ(m.events[0].attributeL, 44);
  EXPECT_EQ(m.events[1].attributeH, 1);
  EXPECT_EQ(m.events[1].map, 0) << "map stands before attributeH, which was found: passed";
  EXPECT_EQ(m.events[2].map, 99) << "a missing event keeps the caller's bytes";
  EXPECT_EQ(m.events[3].attributeH, 3);
}

TEST_F(MacroLibraryTest, FileWithoutSettingIsNotTouched) {
  ASSERT_TRUE(ReplaceFileContents(MacroPath(u"odd"), Utf16FileBytes(u"<root><Other/></root>")));
  MacroFile m = ZeroMacro();
  ReadMacro(m, u"odd");
  EXPECT_EQ(ReadWholeFile(MacroPath(u"odd")).value_or(""), Utf16FileBytes(u"<root><Other/></root>"));
}

TEST_F(MacroLibraryTest, ListOnlyMacroFiles) {
  ASSERT_TRUE(ReplaceFileContents(MacroPath(u"a"), "x"));
  ASSERT_TRUE(ReplaceFileContents(data_.path() + u"Macros/b.txt", "x"));
  std::vector<std::u16string> names{u"stale"};
  EXPECT_TRUE(ListMacros(names));
  EXPECT_EQ(names, std::vector<std::u16string>{u"a"});
  DeleteMacro(u"a");
  EXPECT_FALSE(ListMacros(names));
  EXPECT_TRUE(names.empty());
}

TEST(MacroLibrary, WithoutTheFolderNothingIsListedOrWritten) {
  DataFolderScope data;
  std::vector<std::u16string> names{u"stale"};
  EXPECT_FALSE(ListMacros(names));
  EXPECT_TRUE(names.empty());
  WriteMacro(ZeroMacro(), u"m");
  EXPECT_FALSE(PathExists(MacroPath(u"m")));
}

TEST(MacroLibrary, NextMacroName) {
  const struct {
    std::vector<std::u16string> names;
    std::u16string next;
  } cases[] = {
      {{}, u"Macro 1"},
      {{u"Macro 1", u"Macro 3"}, u"Macro 2"},
      {{u"Macro 2", u"Macro 1"}, u"Macro 3"},
      {{u"macro 1"}, u"Macro 1"},
  };
  for (const auto& c : cases) EXPECT_EQ(NextMacroName(u"Macro ", c.names), c.next);
}

TEST_F(MacroLibraryTest, NamesThatLeaveTheFolderOrNameADeviceAreRefused) {
  const std::u16string outside = data_.path() + u"outside.macro";
  ASSERT_TRUE(ReplaceFileContents(outside, "keep"));
  const struct {
    std::u16string_view name;
    bool usable;
  } cases[] = {
      {u"../outside", false},
      {u"..\\outside", false},
      {u"C:x", false},
      {u"", false},
      {u"..", false},
      {u"a|b", false},
      {u"a\tb", false},
      // Device names: with or without an extension, in any case, with trailing blanks.
      {u"CON", false},
      {u"nul", false},
      {u"Aux", false},
      {u"PRN.txt", false},
      {u"con.macro", false},
      {u"NUL .log", false},
      {u"COM1", false},
      {u"com9", false},
      {u"LPT1", false},
      {u"lpt9.x.y", false},
      {u"COM\u00B9", false},
      {u"Macro 1", true},
      {u"\u5b8f \u00e9 & more", true},
      {u"CONSOLE", true},
      {u"NULL", true},
      {u"COM10", true},
      {u"LPT", true},
      {u"a.con", true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsUsableMacroName(c.name), c.usable) << Utf16ToUtf8(c.name);
    if (c.usable) continue;
    MacroFile m = ZeroMacro();
    WriteMacro(m, c.name);
    ReadMacro(m, c.name);
    DeleteMacro(c.name);
  }
  EXPECT_EQ(ReadWholeFile(outside).value_or(""), "keep");
  std::vector<std::u16string> names;
  EXPECT_FALSE(ListMacros(names)) << "no refused name was written";
}

}  // namespace
}  // namespace quencfg
