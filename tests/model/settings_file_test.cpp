#include "quencfg/model/settings_file.h"

#include <gtest/gtest.h>

#include <memory>

#include "quencfg/framework/files.h"
#include "quencfg/framework/paths.h"
#include "quencfg/model/profile_file.h"
#include "support/data_folder_scope.h"

namespace quencfg {
namespace {

using testing::DataFolderScope;
using testing::Utf16FileBytes;

constexpr std::u16string_view kDefaultSettingsText =
    u"<?xml version=\"1.0\" encoding=\"utf-16\"?>\r\n"
    u"<root>\r\n"
    u"<Setting>\r\n"
    u"<Profile>0</Profile>\r\n"
    u"<Language>108</Language>\r\n"
    u"</Setting>\r\n"
    u"</root>\r\n";

std::unique_ptr<SettingsBlock> ClearedBlock() {
  auto block = std::make_unique<SettingsBlock>();
  ClearSettings(*block);
  return block;
}

void WriteSettingsText(std::u16string_view text) {
  ASSERT_TRUE(ReplaceFileContents(SettingsFilePath(), Utf16FileBytes(text)));
}

std::string SettingsBytes() { return ReadWholeFile(SettingsFilePath()).value_or("<missing>"); }

TEST(SettingsFile, FirstStartPreparesTheFolderAndWritesTheDocumentedBytes) {
  DataFolderScope data;
  PrepareDataFolder();
  EXPECT_TRUE(IsDirectory(data.path() + u"Profiles"));
  EXPECT_TRUE(IsDirectory(data.path() + u"Macros"));
  for (int i = 0; i < PROFILE_COUNT; ++i) EXPECT_TRUE(IsRegularFile(ProfilePath(ProfileName(i), u""))) << i;

  // What the device thread does when no settings file exists yet.
  ASSERT_FALSE(SettingsFileExists());
  auto block = ClearedBlock();
  WriteSettings(*block);
  ASSERT_TRUE(SettingsFileExists());
  EXPECT_EQ(SettingsBytes(), Utf16FileBytes(kDefaultSettingsText));

  block->Language = 1;
  ReadSettings(*block);
  NormalizeSettings(*block);
  EXPECT_EQ(block->Profile, 0);
  EXPECT_EQ(block->Language, 108);
  EXPECT_EQ(SettingsBytes(), Utf16FileBytes(kDefaultSettingsText)) << "the rewrite keeps the text";
}

TEST(SettingsFile, PrepareDoesNothingWhenTheFirstProfileExists) {
  DataFolderScope data;
  ASSERT_TRUE(CreateFolder(data.path() + u"Profiles"));
  ASSERT_TRUE(ReplaceFileContents(ProfilePath(ProfileName(0), u""), "kept"));
  PrepareDataFolder();
  EXPECT_EQ(ReadWholeFile(ProfilePath(ProfileName(0), u"")).value_or(""), "kept");
  EXPECT_FALSE(PathExists(ProfilePath(ProfileName(1), u"")));
  EXPECT_FALSE(PathExists(data.path() + u"Macros"));
}

TEST(SettingsFile, ReadsValuesAsTheFieldsHoldThem) {
  const struct {
    const char* name;
    std::u16string_view body;
    int plug, profile, language;
  } cases[] = {
      {"all three", u"<Plug>5</Plug><Profile>2</Profile><Language>120</Language>", 5, 2, 120},
      {"cut to 8 bits", u"<Profile>1</Profile><Language>365</Language>", 9, 1, 109},
      {"only forward", u"<Language>101</Language><Profile>2</Profile>", 9, 2, 7},
      {"not a number", u"<Profile>x</Profile><Language> 12y</Language>", 9, 0, 12},
      {"nothing", u"", 9, 3, 7},
  };
  for (const auto& c : cases) {
    DataFolderScope data;
    std::u16string text(u"<?xml version=\"1.0\" encoding=\"utf-16\"?>\r\n<any><Setting>");
    text += c.body;
    text += u"</Setting></any>";
    WriteSettingsText(text);
    auto block = ClearedBlock();
    block->Plug = 9, block->Profile = 3, block->Language = 7;
    ReadSettings(*block);
    EXPECT_EQ(block->Plug, c.plug) << c.name;
    EXPECT_EQ(block->Profile, c.profile) << c.name;
    EXPECT_EQ(block->Language, c.language) << c.name;
  }
}

TEST(SettingsFile, WriteKeepsOtherContentAndChangesOnlyTheValues) {
  DataFolderScope data;
  WriteSettingsText(u"<?xml version=\"1.0\" encoding=\"utf-16\"?>\r\n<root>\r\n<Setting>\r\n<Plug>1</Plug>\r\n"
                    u"<Profile>0</Profile>\r\n<Language>108</Language>\r\n</Setting>\r\n</root>\r\n");
  auto block = ClearedBlock();
  block->Profile = 2;
  block->Language = 115;
  WriteSettings(*block);
  EXPECT_EQ(SettingsBytes(),
            Utf16FileBytes(u"<?xml version=\"1.0\" encoding=\"utf-16\"?>\r\n<root>\r\n<Setting>\r\n<Plug>1</Plug>\r\n"
                           u"<Profile>2</Profile>\r\n<Language>115</Language>\r\n</Setting>\r\n</root>\r\n"));
}

TEST(SettingsFile, IllFormedFileIsLeftAloneByReadAndReplacedByWrite) {
  DataFolderScope data;
  WriteSettingsText(u"<root><Setting><Profile>2</Profile>");
  const std::string damaged = SettingsBytes();
  auto block = ClearedBlock();
  ReadSettings(*block);
  EXPECT_EQ(block->Profile, 0);
  EXPECT_EQ(SettingsBytes(), damaged) << "not rewritten";
  WriteSettings(*block);
  EXPECT_EQ(SettingsBytes(), Utf16FileBytes(kDefaultSettingsText));
}

TEST(SettingsFile, MissingFolderWritesNothingAndReadsNothing) {
  DataFolderScope data;
  const std::u16string saved = DataFolder();
  SetDataFolder(data.path() + NativeRelativePath(u"missing\\"));
  auto block = ClearedBlock();
  WriteSettings(*block);
  EXPECT_FALSE(SettingsFileExists());
  block->Language = 33;
  ReadSettings(*block);
  EXPECT_EQ(block->Language, 33);
  SetDataFolder(saved);
}

}  // namespace
}  // namespace quencfg

namespace quencfg {
namespace {

TEST(SettingsFile, ReadRewritesAFileWhoseBytesChangeOnSaving) {
  testing::DataFolderScope data;
  // UTF-16LE without a mark: loaded as 8-bit text with the zero bytes removed, so the
  // rewrite after the read stores it as UTF-8.
  std::string bytes = testing::Utf16FileBytes(u"<root><Setting><Profile>1</Profile></Setting></root>").substr(2);
  ASSERT_TRUE(ReplaceFileContents(SettingsFilePath(), bytes));
  auto block = std::make_unique<SettingsBlock>();
  ClearSettings(*block);
  ReadSettings(*block);
  EXPECT_EQ(block->Profile, 1);
  EXPECT_EQ(ReadWholeFile(SettingsFilePath()).value_or(""), "<root><Setting><Profile>1</Profile></Setting></root>");
}

}  // namespace
}  // namespace quencfg
