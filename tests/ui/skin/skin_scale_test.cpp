#include "quencfg/ui/skin/skin_scale.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "quencfg/framework/paths.h"
#include "quencfg/framework/text.h"

namespace quencfg {
namespace {

TEST(SkinScale, ScaleToDpiRoundsHalvesAwayFromZero) {
  const struct {
    std::int32_t value;
    int dpi;
    std::int32_t scaled;
  } cases[] = {
      {1200, 96, 1200},  {1200, 144, 1800}, {1200, 192, 2400}, {672, 144, 1008}, {672, 192, 1344},
      {1, 144, 2},       // 1.5 rounds up
      {3, 144, 5},       // 4.5 rounds up
      {-1, 144, -2},     // and down below zero, as MulDiv does
      {-3, 144, -5},     {7, 120, 9},      // 8.75
      {5, 120, 6},       // 6.25
      {0, 192, 0},       {13, 96, 13},     {13, 0, 13},   // no DPI counts as 96
      {13, -5, 13},      {std::numeric_limits<std::int32_t>::max(), 192, std::numeric_limits<std::int32_t>::max()},
      {std::numeric_limits<std::int32_t>::min(), 192, std::numeric_limits<std::int32_t>::min()},
  };
  for (const auto& c : cases) EXPECT_EQ(ScaleToDpi(c.value, c.dpi), c.scaled) << c.value << " at " << c.dpi;
}

// Neighbours that touch at 96 DPI touch at every DPI: each edge is scaled, not the size.
TEST(SkinScale, ScaledRectanglesKeepTouchingNeighbours) {
  const SkinRect left = ParseSkinRect(u"key,1,1,61,61,A,FALSE");
  const SkinRect right = ParseSkinRect(u"key,62,1,61,61,B,FALSE");
  for (const int dpi : {96, 120, 144, 168, 192, 240}) {
    const SkinRect a = ScaleSkinRect(left, dpi);
    const SkinRect b = ScaleSkinRect(right, dpi);
    EXPECT_EQ(a.right, b.left) << dpi;
    EXPECT_EQ(FieldText(a.text), u"A");
  }
  const SkinRect scaled = ScaleSkinRect(left, 144);
  EXPECT_EQ(scaled.left, 2);
  EXPECT_EQ(scaled.right, 93);  // 62 * 1.5; the width 91 is not 61 * 1.5 rounded
}

TEST(SkinScale, RenderingFolderPerDpi) {
  const struct {
    int dpi;
    std::u16string_view folder;
    int resourceOffset;
  } cases[] = {{96, u"", 0},      {72, u"", 0},       {119, u"", 0},      {120, u"150", 10000},
               {144, u"150", 10000}, {167, u"150", 10000}, {168, u"200", 20000}, {192, u"200", 20000},
               {288, u"200", 20000}, {0, u"", 0}};
  for (const auto& c : cases) {
    EXPECT_EQ(RenderingFolder(c.dpi), c.folder) << c.dpi;
    EXPECT_EQ(RenderingResourceId(215, c.dpi), 215 + c.resourceOffset) << c.dpi;
  }
}

TEST(SkinScale, RenderingPathPutsTheFolderBeforeTheFileName) {
  const std::u16string sep(1, kPathSeparator);
  const std::u16string folder = u"app" + sep + u"skins" + sep;
  EXPECT_EQ(RenderingPath(folder + u"Main_bg.jpg", 96), folder + u"Main_bg.jpg");
  EXPECT_EQ(RenderingPath(folder + u"Main_bg.jpg", 144), folder + u"150" + sep + u"Main_bg.jpg");
  EXPECT_EQ(RenderingPath(folder + u"btnPng_normal.png", 192), folder + u"200" + sep + u"btnPng_normal.png");
  EXPECT_EQ(RenderingPath(u"bare.png", 192), u"200" + sep + u"bare.png");
}

TEST(SkinScale, PictureSizesAndTheOnePixelAllowance) {
  EXPECT_EQ(ScaledPictureSize(PixelSize{1200, 672}, 144), (PixelSize{1800, 1008}));
  EXPECT_EQ(ScaledPictureSize(PixelSize{61, 33}, 144), (PixelSize{92, 50}));
  EXPECT_EQ(ScaledPictureSize(PixelSize{61, 33}, 120), (PixelSize{76, 41}));
  const struct {
    PixelSize rendering, wanted;
    bool usedAsItIs;
  } cases[] = {{{92, 50}, {92, 50}, true},  {{91, 50}, {92, 50}, true},  {{93, 51}, {92, 50}, true},
               {{90, 50}, {92, 50}, false}, {{92, 48}, {92, 50}, false}, {{122, 66}, {107, 58}, false}};
  for (const auto& c : cases) {
    EXPECT_EQ(CloseEnough(c.rendering, c.wanted), c.usedAsItIs)
        << c.rendering.width << "x" << c.rendering.height << " for " << c.wanted.width << "x" << c.wanted.height;
  }
}

TEST(SkinScale, DpiScopePutsThePreviousDpiBack) {
  const int before = SkinDpi();
  {
    const SkinDpiScope scope(144);
    EXPECT_EQ(SkinDpi(), 144);
    {
      const SkinDpiScope inner(0);
      EXPECT_EQ(SkinDpi(), 96);  // no DPI counts as 96
    }
    EXPECT_EQ(SkinDpi(), 144);
  }
  EXPECT_EQ(SkinDpi(), before);
}

}  // namespace
}  // namespace quencfg
