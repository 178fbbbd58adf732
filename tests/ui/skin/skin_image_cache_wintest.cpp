#include "quencfg/ui/skin/skin_image_cache_win.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "quencfg/framework/files.h"
#include "quencfg/framework/wide_win.h"
#include "quencfg/ui/skin/skin_draw_win.h"
#include "support/gdiplus_session_win.h"
#include "support/temp_folder.h"
#include "quencfg/ui/skin/skin_picture_win.h"

namespace quencfg {
namespace {

std::u16string Fixture(std::u16string_view name) {
  return ToU16(KORVANE_TEST_SOURCE_DIR) + u"tests\\ui\\skin\\fixtures\\" + std::u16string(name);
}

// Any bitmap's pixels as 32-bit top-down rows, read back through GDI.
std::vector<std::uint8_t> PixelsOf(const SkinBitmap& bitmap) {
  if (bitmap.empty()) return {};
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(bitmap.width) * bitmap.height * 4);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = bitmap.width;
  info.bmiHeader.biHeight = -bitmap.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  HDC screen = ::GetDC(nullptr);
  const int rows = ::GetDIBits(screen, bitmap.get(), 0, static_cast<UINT>(bitmap.height), pixels.data(), &info,
                               DIB_RGB_COLORS);
  ::ReleaseDC(nullptr, screen);
  if (rows != bitmap.height) pixels.clear();
  return pixels;
}

int BitsPerPixel(const SkinBitmap& bitmap) {
  BITMAP info{};
  return ::GetObjectW(bitmap.get(), sizeof info, &info) == sizeof info ? info.bmBitsPixel : 0;
}

class SkinImageCacheTest : public ::testing::Test {
 protected:
  testing::GdiplusSession gdiplus_;
  testing::TempFolder folder_;
  SkinImageCache cache_;
};

TEST_F(SkinImageCacheTest, RepeatedLoadsDecodeOnceIntoSeparateBitmapsWithTheDecodersPixels) {
  const std::u16string path = Fixture(u"small_normal.png");
  const SkinBitmap decoded = DecodePng(path);
  SkinBitmap first = cache_.LoadPng(path);
  const SkinBitmap second = cache_.LoadPng(path);
  EXPECT_EQ(cache_.decodeCount(), 1u);
  ASSERT_FALSE(first.empty());
  ASSERT_FALSE(second.empty());
  EXPECT_NE(first.get(), second.get());
  EXPECT_NE(DibPixels(first.get()), DibPixels(second.get()));
  EXPECT_EQ(second.width, 3);
  EXPECT_EQ(second.height, 2);
  EXPECT_EQ(PixelsOf(first), PixelsOf(decoded)) << "premultiplied exactly as the decoder gives it";
  EXPECT_EQ(PixelsOf(second), PixelsOf(decoded));

  // A control that draws into its copy or drops it leaves the others and later loads alone.
  std::memset(DibPixels(first.get()), 0x5A, 4);
  EXPECT_EQ(PixelsOf(second), PixelsOf(decoded));
  first = SkinBitmap{};
  EXPECT_EQ(PixelsOf(second), PixelsOf(decoded));
  EXPECT_EQ(PixelsOf(cache_.LoadPng(path)), PixelsOf(decoded));
  cache_.Clear();
  EXPECT_EQ(PixelsOf(cache_.LoadPng(path)), PixelsOf(decoded));
  EXPECT_EQ(cache_.decodeCount(), 2u);
}

TEST_F(SkinImageCacheTest, MissingAndUndecodableFilesStayEmpty) {
  const std::u16string paths[] = {folder_ / u"no_such.png", Fixture(u"garbage.png"), folder_.path(), u""};
  for (const std::u16string& path : paths) {
    for (int round = 0; round < 2; ++round) {
      const SkinBitmap image = cache_.LoadPng(path);
      EXPECT_TRUE(image.empty());
      EXPECT_EQ(image.width, 0);
      EXPECT_EQ(image.height, 0);
    }
  }
  // Only the file that exists is decoded, and its failure is not kept (a PNG loaded
  // before GDI+ started would otherwise stay empty).
  EXPECT_EQ(cache_.decodeCount(), 2u);
}

TEST_F(SkinImageCacheTest, AFileThatAppearsOrChangesIsDecodedAgain) {
  const std::u16string path = folder_ / u"changing.png";
  EXPECT_TRUE(cache_.LoadPng(path).empty());
  ASSERT_TRUE(CopyFileTo(Fixture(u"small_normal.png"), path));
  EXPECT_EQ(cache_.LoadPng(path).width, 3) << "a missing file is not remembered as missing";
  ASSERT_TRUE(DeleteFileAt(path));
  EXPECT_TRUE(cache_.LoadPng(path).empty());
  ASSERT_TRUE(CopyFileTo(Fixture(u"large.png"), path));
  const SkinBitmap replaced = cache_.LoadPng(path);
  EXPECT_EQ(replaced.width, 5);
  EXPECT_EQ(replaced.height, 4);
  EXPECT_EQ(PixelsOf(replaced), PixelsOf(DecodePng(path)));
}

TEST_F(SkinImageCacheTest, DisabledCacheDecodesEveryLoad) {
  const std::u16string path = Fixture(u"red_half.png");
  cache_.SetEnabled(false);
  EXPECT_EQ(PixelsOf(cache_.LoadPng(path)), PixelsOf(DecodePng(path)));
  EXPECT_EQ(PixelsOf(cache_.LoadPng(path)), PixelsOf(DecodePng(path)));
  EXPECT_EQ(cache_.decodeCount(), 2u);
  cache_.SetEnabled(true);
  cache_.LoadPng(path);
  cache_.LoadPng(path);
  EXPECT_EQ(cache_.decodeCount(), 3u);
}

TEST_F(SkinImageCacheTest, PicturesKeepTheirFormatAndAreNotMixedUpWithPngs) {
  const std::u16string pictures[] = {ToU16(KORVANE_TEST_APP_DIR) + u"skins\\Main_bg.jpg",
                                     ToU16(KORVANE_TEST_APP_DIR) + u"skins\\Lighting_mask.bmp"};
  for (const std::u16string& path : pictures) {
    const SkinBitmap decoded = DecodePicture(path);
    ASSERT_FALSE(decoded.empty());
    const SkinBitmap first = cache_.LoadPicture(path);
    const SkinBitmap second = cache_.LoadPicture(path);
    EXPECT_NE(first.get(), second.get());
    for (const SkinBitmap* copy : {&first, &second}) {
      EXPECT_EQ(copy->width, decoded.width);
      EXPECT_EQ(copy->height, decoded.height);
      EXPECT_EQ(BitsPerPixel(*copy), BitsPerPixel(decoded));
      EXPECT_EQ(PixelsOf(*copy), PixelsOf(decoded));
    }
  }
  // The same file through the other decoder is decoded for that decoder.
  const std::size_t before = cache_.decodeCount();
  const SkinBitmap asPng = cache_.LoadPng(pictures[1]);
  EXPECT_EQ(cache_.decodeCount(), before + 1);
  EXPECT_EQ(BitsPerPixel(asPng), 32);
  EXPECT_TRUE(cache_.LoadPicture(Fixture(u"garbage.png")).empty());
}

TEST_F(SkinImageCacheTest, LargeImagesAreDecodedForEveryLoad) {
  SkinImageCache limited(50);  // small.png has 24 pixel bytes, large.png 80
  const std::u16string small = Fixture(u"small_normal.png");
  const std::u16string large = Fixture(u"large.png");
  for (int round = 0; round < 3; ++round) {
    EXPECT_EQ(PixelsOf(limited.LoadPng(small)), PixelsOf(DecodePng(small)));
    EXPECT_EQ(PixelsOf(limited.LoadPng(large)), PixelsOf(DecodePng(large)));
  }
  EXPECT_EQ(limited.decodeCount(), 1u + 3u);
}

TEST_F(SkinImageCacheTest, APrefetchedImageIsDecodedOnceForTheLoadsThatFollow) {
  SkinImageCache limited(50);  // small.png has 24 pixel bytes, large.png 80
  const std::u16string small = Fixture(u"small_normal.png");
  const std::u16string large = Fixture(u"large.png");
  limited.PrefetchPng(small);
  limited.PrefetchPng(large);
  EXPECT_EQ(limited.decodeCount(), 2u);
  for (int round = 0; round < 2; ++round) EXPECT_EQ(PixelsOf(limited.LoadPng(small)), PixelsOf(DecodePng(small)));
  // A large picture is kept for one load only, which takes it over.
  EXPECT_EQ(PixelsOf(limited.LoadPng(large)), PixelsOf(DecodePng(large)));
  EXPECT_EQ(limited.decodeCount(), 2u);
  EXPECT_EQ(PixelsOf(limited.LoadPng(large)), PixelsOf(DecodePng(large)));
  EXPECT_EQ(limited.decodeCount(), 3u);

  // Nothing to prefetch: a missing file, or a cache that keeps nothing.
  limited.PrefetchPicture(folder_ / u"no_such.jpg");
  limited.SetEnabled(false);
  limited.PrefetchPng(small);
  EXPECT_EQ(limited.decodeCount(), 3u);
}

TEST_F(SkinImageCacheTest, LoadsOnTwoThreadsDecodeEachFileOnce) {
  // The main window's layout loads what a prefetch thread is decoding at that moment:
  // it waits for that decode instead of decoding the file a second time.
  const std::u16string paths[] = {Fixture(u"small_normal.png"), Fixture(u"large.png"), Fixture(u"red_half.png")};
  for (int round = 0; round < 20; ++round) {
    SkinImageCache cache;
    std::thread prefetch([&] {
      for (const std::u16string& path : paths) cache.PrefetchPng(path);
    });
    for (const std::u16string& path : paths) EXPECT_EQ(PixelsOf(cache.LoadPng(path)), PixelsOf(DecodePng(path)));
    prefetch.join();
    EXPECT_EQ(cache.decodeCount(), 3u);
  }
}

TEST_F(SkinImageCacheTest, CopySkinBitmapKeepsPixelsOfEveryBitmapKind) {
  EXPECT_TRUE(CopySkinBitmap(SkinBitmap{}).empty());
  const SkinBitmap decoded = DecodePng(Fixture(u"large.png"));
  const SkinBitmap copy = CopySkinBitmap(decoded);
  EXPECT_NE(copy.get(), decoded.get());
  EXPECT_NE(DibPixels(copy.get()), DibPixels(decoded.get()));
  EXPECT_EQ(PixelsOf(copy), PixelsOf(decoded));

  // A device bitmap is copied through GDI, rows kept in place.
  HDC screen = ::GetDC(nullptr);
  SkinBitmap device;
  device.bitmap.reset(::CreateCompatibleBitmap(screen, 2, 2));
  ::ReleaseDC(nullptr, screen);
  device.width = 2;
  device.height = 2;
  {
    MemoryDc dc(nullptr);
    SelectScope select(dc.get(), device.get());
    ::SetPixel(dc.get(), 0, 0, RGB(255, 0, 0));
    ::SetPixel(dc.get(), 1, 0, RGB(0, 0, 0));
    ::SetPixel(dc.get(), 0, 1, RGB(0, 0, 0));
    ::SetPixel(dc.get(), 1, 1, RGB(0, 0, 255));
  }
  const SkinBitmap converted = CopySkinBitmap(device);
  ASSERT_FALSE(converted.empty());
  EXPECT_NE(converted.get(), device.get());
  const std::vector<std::uint8_t> pixels = PixelsOf(converted);
  ASSERT_EQ(pixels.size(), 16u);
  EXPECT_EQ(pixels[2], 255);   // red at the top left
  EXPECT_EQ(pixels[12], 255);  // blue at the bottom right
  EXPECT_EQ(pixels, PixelsOf(device));
}

// The sharing as the skin loaders use it: every control gets images of its own.
TEST_F(SkinImageCacheTest, StateImagesOfOneStemAreSeparateCopies) {
  ASSERT_TRUE(CopyFileTo(Fixture(u"small_normal.png"), folder_ / u"key_normal.png"));
  ASSERT_TRUE(CopyFileTo(Fixture(u"large.png"), folder_ / u"key_down.png"));
  StateImages first = LoadStateImagesFrom(folder_.path(), u"key", false);
  StateImages second = LoadStateImagesFrom(folder_.path(), u"key", false);
  LoadPendingStates(first);
  LoadPendingStates(second);
  const std::vector<std::uint8_t> normal = PixelsOf(DecodePng(folder_ / u"key_normal.png"));
  const std::vector<std::uint8_t> down = PixelsOf(DecodePng(folder_ / u"key_down.png"));
  for (const StateImages* images : {&std::as_const(first), &std::as_const(second)}) {
    EXPECT_EQ(PixelsOf(images->states[kStateNormal]), normal);
    EXPECT_EQ(PixelsOf(images->states[kStateOver]), normal);
    EXPECT_EQ(PixelsOf(images->states[kStateDown]), down);
    EXPECT_EQ(PixelsOf(images->states[kStateDisabled]), normal);
  }
  std::vector<HBITMAP> handles;
  for (const StateImages* images : {&std::as_const(first), &std::as_const(second)}) {
    for (const SkinBitmap& state : images->states) handles.push_back(state.get());
  }
  for (std::size_t i = 0; i < handles.size(); ++i) {
    for (std::size_t j = i + 1; j < handles.size(); ++j) EXPECT_NE(handles[i], handles[j]);
  }
  first = StateImages{};  // one button destroyed
  EXPECT_EQ(PixelsOf(second.states[kStateNormal]), normal);
  EXPECT_EQ(PixelsOf(second.states[kStateDown]), down);
}

}  // namespace
}  // namespace quencfg
