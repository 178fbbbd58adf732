#include "quencfg/framework/folders.h"

#include <gtest/gtest.h>

#include "quencfg/framework/files.h"
#include "quencfg/framework/paths.h"
#include "support/temp_folder.h"

namespace quencfg {
namespace {

using testing::TempFolder;

std::u16string Native(std::u16string_view backslashed) { return NativeRelativePath(backslashed); }

TEST(ResolveFolder, CreatesEveryMissingFolderAlongTheRelativePart) {
  TempFolder dir;
  std::u16string base = dir.path();
  base.pop_back();  // the application-data folder comes without a trailing separator
  const auto result = ResolveFolderUnder(base, Native(u"\\Korvane\\Profiles\\"));
  EXPECT_EQ(result, base + Native(u"\\Korvane\\Profiles\\"));
  EXPECT_TRUE(IsDirectory(base + Native(u"\\Korvane")));
  EXPECT_TRUE(IsDirectory(base + Native(u"\\Korvane\\Profiles")));
}

TEST(ResolveFolder, AFileInTheWayIsNotAFolder) {
  TempFolder dir;
  std::u16string base = dir.path();
  base.pop_back();
  ASSERT_TRUE(ReplaceFileContents(base + Native(u"\\Korvane"), "x"));
  // The creation fails and is ignored; the path is still returned whole.
  EXPECT_EQ(ResolveFolderUnder(base, Native(u"\\Korvane\\Macros\\")), base + Native(u"\\Korvane\\Macros\\"));
  EXPECT_FALSE(IsDirectory(base + Native(u"\\Korvane\\Macros")));
}

TEST(FolderOfPath, KeepsTheLastSeparator) {
  EXPECT_EQ(FolderOfPath(Native(u"C:\\a b\\Korvane.exe")), Native(u"C:\\a b\\"));
  EXPECT_EQ(FolderOfPath(u"Korvane.exe"), u"");
}

TEST(ProcessFolders, RefuseValuesBeyondCapacity) {
  const std::u16string fits(259, u'a');
  ASSERT_TRUE(SetAppFolder(fits));
  EXPECT_EQ(std::u16string(AppFolder()), fits);
  EXPECT_FALSE(SetAppFolder(std::u16string(260, u'b')));
  EXPECT_EQ(std::u16string(AppFolder()), fits) << "the old value is kept";
  ASSERT_TRUE(SetAppFolder(u""));
}

}  // namespace
}  // namespace quencfg
