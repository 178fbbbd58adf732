// The skin pictures for displays of 144 and 192 DPI: every picture of data/skins and
// every bitmap compiled into the program has a twin in 150/ and 200/ beside it, stored
// the same way, at 1.5 and 2 times its size.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "quencfg/framework/files.h"
#include "quencfg/framework/text.h"
#include "quencfg/ui/skin/skin_resource_ids.h"
#include "support/image_header.h"
#include "support/source_tree.h"

namespace quencfg {
namespace {

using testing::ImageHeader;
using testing::ReadImageHeader;
using testing::SourceTreePath;

struct Scale {
  const char16_t* folder;
  int percent;
};
constexpr Scale kScales[] = {{u"150\\", 150}, {u"200\\", 200}};

// Halves round up: 75 pixels at 150 % are 113.
int Scaled(int length, int percent) { return (length * percent + 50) / 100; }

std::string Describe(const ImageHeader& h) {
  return h.format + " " + std::to_string(h.width) + "x" + std::to_string(h.height) + " " + h.kind;
}

// The twin of `file` under `folder` at each scale: the same format and storage, its
// width and height scaled (a picture of cols x rows cells: its cell scaled, whole cells).
void ExpectTwins(std::u16string_view folder, std::u16string_view file, int cols = 1, int rows = 1) {
  const ImageHeader original = ReadImageHeader(SourceTreePath(std::u16string(folder) + std::u16string(file)));
  ASSERT_FALSE(original.format.empty()) << Utf16ToUtf8(file) << " is a PNG, JPEG or BMP";
  for (const Scale& scale : kScales) {
    const std::u16string twin = std::u16string(folder) + scale.folder + std::u16string(file);
    const ImageHeader scaled = ReadImageHeader(SourceTreePath(twin));
    ImageHeader expected = original;
    expected.width = cols * Scaled(original.width / cols, scale.percent);
    expected.height = rows * Scaled(original.height / rows, scale.percent);
    EXPECT_EQ(Describe(scaled), Describe(expected)) << Utf16ToUtf8(twin);
  }
}

TEST(ScaledSkin, EverySkinPictureHasItsTwinsAtOneAndAHalfAndTwiceItsSize) {
  const std::vector<std::u16string> files = ListFiles(SourceTreePath(u"data\\skins\\"), u"");
  EXPECT_GT(files.size(), 150u);
  for (const auto& file : files) ExpectTwins(u"data\\skins\\", file);
}

TEST(ScaledSkin, NoTwinWithoutAPictureAt96Dpi) {
  for (const Scale& scale : kScales) {
    const std::u16string folder = u"data\\skins\\" + std::u16string(scale.folder);
    const std::vector<std::u16string> twins = ListFiles(SourceTreePath(folder), u"");
    EXPECT_FALSE(twins.empty()) << Utf16ToUtf8(folder);
    for (const auto& twin : twins)
      EXPECT_TRUE(PathExists(SourceTreePath(u"data\\skins\\" + twin))) << Utf16ToUtf8(folder + twin);
  }
}

TEST(ScaledSkin, LightingMaskStaysTwoToneAtEveryScale) {
  // Its pixels decide where the lighting panel acts: a grey edge would move that line.
  for (const char16_t* file : {u"data\\skins\\Lighting_mask.bmp", u"data\\skins\\150\\Lighting_mask.bmp",
                               u"data\\skins\\200\\Lighting_mask.bmp"})
    EXPECT_EQ(ReadImageHeader(SourceTreePath(file)).kind, "info header 40 bits 1 compression 0") << Utf16ToUtf8(file);
}

struct ResourceBitmap {
  int id;
  int id150;
  int id200;
  const char16_t* file;
  int cols;
  int rows;
};

TEST(ScaledSkin, ResourceBitmapsHaveTheirTwinsUnderNumbersTenAndTwentyThousandUp) {
  const ResourceBitmap bitmaps[] = {
      {IDB_SCROLLBAR_GRID, IDB_SCROLLBAR_GRID_150, IDB_SCROLLBAR_GRID_200, u"scrollbar.bmp", 9, 3},
      {IDB_LIST_KEY_PRESS, IDB_LIST_KEY_PRESS_150, IDB_LIST_KEY_PRESS_200, u"key_press.bmp", 1, 1},
      {IDB_LIST_KEY_RELEASE, IDB_LIST_KEY_RELEASE_150, IDB_LIST_KEY_RELEASE_200, u"key_release.bmp", 1, 1},
      {IDB_LIST_BUTTON_PRESS, IDB_LIST_BUTTON_PRESS_150, IDB_LIST_BUTTON_PRESS_200, u"button_press.bmp", 1, 1},
      {IDB_LIST_BUTTON_RELEASE, IDB_LIST_BUTTON_RELEASE_150, IDB_LIST_BUTTON_RELEASE_200, u"button_release.bmp", 1, 1},
  };
  for (const auto& bitmap : bitmaps) {
    SCOPED_TRACE(Utf16ToUtf8(bitmap.file));
    EXPECT_EQ(bitmap.id150, bitmap.id + 10000);
    EXPECT_EQ(bitmap.id200, bitmap.id + 20000);
    ExpectTwins(u"quencfg\\ui\\skin\\res\\", bitmap.file, bitmap.cols, bitmap.rows);
  }
}

}  // namespace
}  // namespace quencfg
