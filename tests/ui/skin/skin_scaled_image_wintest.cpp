// Skin pictures at a DPI: which rendering the loader reads, when it resamples, and the
// program's own bitmaps chosen the same way. Real PNG files in a folder of the test's.
#include "quencfg/ui/skin/skin_scaled_image_win.h"

#include <gtest/gtest.h>

#include <string>

#include "quencfg/framework/paths.h"
#include "quencfg/framework/text.h"
#include "quencfg/framework/wide_win.h"
#include "quencfg/ui/skin/skin_image_cache_win.h"
#include "quencfg/ui/skin/skin_resource_bitmap_win.h"
#include "quencfg/ui/skin/skin_resource_ids.h"
#include "quencfg/ui/skin/skin_scale.h"
#include "support/gdiplus_session_win.h"
#include "support/screenshot_win.h"
#include "support/temp_folder.h"
#include "ui/skin/control_host_win.h"
#include "quencfg/ui/skin/skin_picture_win.h"

namespace quencfg {
namespace {

constexpr COLORREF kBaseColor = RGB(200, 40, 40);
constexpr COLORREF kRenderingColor = RGB(40, 40, 200);

class ScaledSkinImages : public ::testing::Test {
 protected:
  void SetUp() override {
    ::CreateDirectoryW(AsWide(folder_ / u"150"), nullptr);
    // 10 x 6 at 96 DPI; at 144 DPI that is 15 x 9.
    Write(u"exact.png", 10, 6, kBaseColor);
    Write(u"150\\exact.png", 15, 9, kRenderingColor);
    Write(u"rounded.png", 10, 6, kBaseColor);
    Write(u"150\\rounded.png", 16, 8, kRenderingColor);  // a pixel off each way: used as it is
    Write(u"odd.png", 10, 6, kBaseColor);
    Write(u"150\\odd.png", 30, 18, kRenderingColor);  // of another size: resampled
    Write(u"only96.png", 10, 6, kBaseColor);
  }
  void Write(std::u16string_view name, int width, int height, COLORREF color) {
    const SkinBitmap image = testing::SolidImage(width, height, color);
    ASSERT_TRUE(testing::SavePng(image.get(), folder_ / std::u16string(name)));
  }
  SkinBitmap Load(std::u16string_view name, int dpi) { return cache_.LoadPng(folder_ / std::u16string(name), dpi); }

  testing::GdiplusSession gdiplus_;
  testing::TempFolder folder_;
  SkinImageCache cache_;
};

TEST_F(ScaledSkinImages, EachDpiReadsItsRenderingAndResamplesOnlyWhatDoesNotFit) {
  const struct {
    const char16_t* name;
    int dpi;
    int width, height;
    COLORREF color;
  } cases[] = {
      {u"exact.png", 96, 10, 6, kBaseColor},         // 96 DPI reads the 96-DPI file as it is
      {u"exact.png", 144, 15, 9, kRenderingColor},   // the rendering of the right size
      {u"rounded.png", 144, 16, 8, kRenderingColor}, // off by a pixel: not resampled
      {u"odd.png", 144, 15, 9, kRenderingColor},     // another size: the rendering resampled
      {u"exact.png", 120, 13, 8, kRenderingColor},   // 125 %: the 1.5x rendering, reduced
      {u"only96.png", 144, 15, 9, kBaseColor},       // no rendering: the 96-DPI file enlarged
      {u"exact.png", 192, 20, 12, kBaseColor},       // no 2x folder: the 96-DPI file enlarged
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << Utf16ToUtf8(c.name) << " at " << c.dpi);
    const SkinBitmap image = Load(c.name, c.dpi);
    ASSERT_FALSE(image.empty());
    EXPECT_EQ(image.width, c.width);
    EXPECT_EQ(image.height, c.height);
    EXPECT_EQ(testing::PixelOf(image, image.width / 2, image.height / 2), c.color);
  }
}

TEST_F(ScaledSkinImages, EachFileIsReadAndResampledOncePerDpi) {
  for (int round = 0; round < 3; ++round) {
    static_cast<void>(Load(u"only96.png", 144));
    static_cast<void>(Load(u"only96.png", 192));
    static_cast<void>(Load(u"only96.png", 96));
  }
  EXPECT_EQ(cache_.decodeCount(), 3u);
  const SkinBitmap a = Load(u"only96.png", 144);
  const SkinBitmap b = Load(u"only96.png", 144);
  EXPECT_NE(a.get(), b.get()) << "every load owns its bitmap";
}

TEST_F(ScaledSkinImages, AMissingFileStaysEmptyAtEveryDpi) {
  for (const int dpi : {96, 144, 192}) EXPECT_TRUE(Load(u"missing.png", dpi).empty()) << dpi;
}

// The program's own bitmaps: at 96 DPI the bitmap itself, else one of the scaled size.
TEST(ScaledResourceBitmaps, TheScrollBarGridTakesTheScaledSize) {
  const OwnedBitmap base = LoadSkinResourceBitmap(IDB_SCROLLBAR_GRID, 96);
  ASSERT_TRUE(base);
  BITMAP baseInfo{};
  ::GetObjectW(base.get(), sizeof baseInfo, &baseInfo);
  for (const int dpi : {144, 192}) {
    const OwnedBitmap scaled = LoadSkinResourceBitmap(IDB_SCROLLBAR_GRID, dpi);
    ASSERT_TRUE(scaled) << dpi;
    BITMAP info{};
    ::GetObjectW(scaled.get(), sizeof info, &info);
    EXPECT_NEAR(info.bmWidth, ScaleToDpi(baseInfo.bmWidth, dpi), 1) << dpi;
    EXPECT_NEAR(info.bmHeight, ScaleToDpi(baseInfo.bmHeight, dpi), 1) << dpi;
  }
  EXPECT_FALSE(LoadSkinResourceBitmap(12345, 144)) << "no bitmap of that number";
}

}  // namespace
}  // namespace quencfg
