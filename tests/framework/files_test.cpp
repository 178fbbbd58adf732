#include "quencfg/framework/files.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/read_only_file.h"
#include "support/temp_folder.h"

namespace quencfg {
namespace {

using testing::TempFolder;

TEST(Files, AppendCreatesThenExtends) {
  TempFolder dir;
  const auto file = dir / u"log.txt";
  ASSERT_TRUE(AppendToFile(file, "one\n"));
  ASSERT_TRUE(AppendToFile(file, "two\n"));
  EXPECT_EQ(ReadWholeFile(file).value_or(""), "one\ntwo\n");
  EXPECT_TRUE(IsRegularFile(file));
  EXPECT_FALSE(IsDirectory(file));
}

TEST(Files, MissingFileAndMissingFolder) {
  TempFolder dir;
  EXPECT_FALSE(ReadWholeFile(dir / u"none").has_value());
  EXPECT_FALSE(AppendToFile(dir / u"no-such-folder/x", "a"));
  EXPECT_FALSE(ReplaceFileContents(dir / u"no-such-folder/x", "a"));
  EXPECT_FALSE(PathExists(dir / u"none"));
}

TEST(Files, ReplaceKeepsOldFileWhenWritingFails) {
  TempFolder dir;
  const auto file = dir / u"a.xml";
  ASSERT_TRUE(ReplaceFileContents(file, "first"));
  ASSERT_TRUE(ReplaceFileContents(file, "second, longer"));
  EXPECT_EQ(ReadWholeFile(file).value_or(""), "second, longer");
  // A folder standing where the temporary file must go makes the write fail.
  ASSERT_TRUE(CreateFolder(file + u".tmp"));
  EXPECT_FALSE(ReplaceFileContents(file, "third"));
  EXPECT_EQ(ReadWholeFile(file).value_or(""), "second, longer");
}

// A failed replace says why, and never leaves the file cut short or changed: the new
// bytes go to a temporary file first, which is removed again.
TEST(Files, AFailedReplaceSaysWhyAndLeavesTheFileWhole) {
  TempFolder dir;
  EXPECT_EQ(ReplaceFileContents(dir / u"no-such-folder/x", "a").status, FileWriteStatus::kFailed);

  const auto file = dir / u"config.xml";
  ASSERT_TRUE(ReplaceFileContents(file, "whole and saved"));
  ASSERT_TRUE(testing::MarkReadOnly(file, true));
  const FileWriteResult refused = ReplaceFileContents(file, "new");
  ASSERT_TRUE(testing::MarkReadOnly(file, false));
  EXPECT_FALSE(refused);
  EXPECT_EQ(refused.status, FileWriteStatus::kReadOnly);
  EXPECT_EQ(ReadWholeFile(file).value_or(""), "whole and saved");
  EXPECT_FALSE(PathExists(file + u".tmp")) << "no temporary file is left behind";

  EXPECT_EQ(ReplaceFileContents(file, "new").status, FileWriteStatus::kWritten);
  EXPECT_EQ(ReadWholeFile(file).value_or(""), "new");
}

TEST(Files, NonAsciiNamesRoundTrip) {
  TempFolder dir;
  const auto file = dir / u"\u00c4rger \u5b8f.macro";
  ASSERT_TRUE(ReplaceFileContents(file, "x"));
  const auto names = ListFiles(dir.path(), u".MACRO");
  ASSERT_EQ(names.size(), 1u);
  EXPECT_EQ(names[0], u"\u00c4rger \u5b8f.macro");
}

TEST(Files, ListFilesFiltersBySuffixAndSkipsFolders) {
  TempFolder dir;
  ASSERT_TRUE(ReplaceFileContents(dir / u"a.macro", ""));
  ASSERT_TRUE(ReplaceFileContents(dir / u"b.profile", ""));
  ASSERT_TRUE(CreateFolder(dir / u"c.macro"));
  auto names = ListFiles(dir.path(), u".macro");
  EXPECT_EQ(names, std::vector<std::u16string>{u"a.macro"});
}

TEST(Files, CopyAndDelete) {
  TempFolder dir;
  ASSERT_TRUE(ReplaceFileContents(dir / u"a", "payload"));
  ASSERT_TRUE(CopyFileTo(dir / u"a", dir / u"b"));
  EXPECT_EQ(ReadWholeFile(dir / u"b").value_or(""), "payload");
  EXPECT_TRUE(DeleteFileAt(dir / u"a"));
  EXPECT_FALSE(PathExists(dir / u"a"));
  EXPECT_FALSE(CopyFileTo(dir / u"a", dir / u"c"));
}

// A rename never replaces another file. A new spelling of a file's own name is the same
// file where the file system ignores case (Windows, and Wine over Linux): there the
// rename changes the name and keeps the content, with no second file; elsewhere the
// spellings are two names and the rename an ordinary one.
TEST(Files, RenameKeepsOtherFilesAndTakesANewSpellingOfItsOwnName) {
  TempFolder dir;
  ASSERT_TRUE(ReplaceFileContents(dir / u"Macro 1.macro", "one"));
  ASSERT_TRUE(ReplaceFileContents(dir / u"Macro 2.macro", "two"));
  EXPECT_FALSE(RenameFile(dir / u"Macro 1.macro", dir / u"Macro 2.macro"));
  EXPECT_EQ(ReadWholeFile(dir / u"Macro 2.macro").value_or(""), "two");
  EXPECT_FALSE(SameFile(dir / u"Macro 1.macro", dir / u"Macro 2.macro"));
  EXPECT_TRUE(SameFile(dir / u"Macro 1.macro", dir / u"Macro 1.macro"));
  EXPECT_FALSE(SameFile(dir / u"Macro 1.macro", dir / u"none.macro"));

  const bool ignoresCase = PathExists(dir / u"MACRO 1.MACRO");
  EXPECT_EQ(SameFile(dir / u"Macro 1.macro", dir / u"macro 1.macro"), ignoresCase);
  ASSERT_TRUE(RenameFile(dir / u"Macro 1.macro", dir / u"macro 1.macro"));
  EXPECT_EQ(ReadWholeFile(dir / u"macro 1.macro").value_or(""), "one");
  auto names = ListFiles(dir.path(), u".macro");
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::u16string>{u"Macro 2.macro", u"macro 1.macro"}));
}

}  // namespace
}  // namespace quencfg
