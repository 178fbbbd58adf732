#include "quencfg/ui/skin/skin_bitmap_win.h"
#include "quencfg/ui/skin/skin_picture_win.h"
#include "quencfg/ui/skin/state_images_win.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "quencfg/framework/files.h"
#include "quencfg/framework/wide_win.h"
#include "quencfg/ui/skin/premultiply.h"
#include "support/gdiplus_session_win.h"
#include "support/temp_folder.h"

namespace quencfg {
namespace {

std::u16string Fixture(std::u16string_view name) {
  return ToU16(KORVANE_TEST_SOURCE_DIR) + u"tests\\ui\\skin\\fixtures\\" + std::u16string(name);
}

std::u16string ShippedSkin(std::u16string_view name) {
  return ToU16(KORVANE_TEST_APP_DIR) + u"skins\\" + std::u16string(name);
}

// The first pixel of a 32-bit DIB section as bytes blue, green, red, alpha.
std::array<std::uint8_t, 4> FirstPixel(HBITMAP bitmap) {
  DIBSECTION dib{};
  std::array<std::uint8_t, 4> pixel{};
  if (::GetObjectW(bitmap, sizeof dib, &dib) == sizeof dib && dib.dsBm.bmBits != nullptr) {
    std::memcpy(pixel.data(), dib.dsBm.bmBits, 4);
  }
  return pixel;
}

std::vector<std::uint8_t> DibPixels(const SkinBitmap& image) {
  DIBSECTION dib{};
  if (image.empty() || ::GetObjectW(image.get(), sizeof dib, &dib) != sizeof dib || dib.dsBm.bmBits == nullptr) return {};
  const auto* bytes = static_cast<const std::uint8_t*>(dib.dsBm.bmBits);
  return std::vector<std::uint8_t>(bytes, bytes + static_cast<std::size_t>(image.width) * image.height * 4);
}

// The pixels GDI+ gives for the file, premultiplied: what the skin showed before.
std::vector<std::uint8_t> GdiplusPremultipliedPixels(const std::filesystem::path& file) {
  std::unique_ptr<Gdiplus::Bitmap> image(Gdiplus::Bitmap::FromFile(file.wstring().c_str(), FALSE));
  if (!image || image->GetLastStatus() != Gdiplus::Ok) return {};
  const UINT width = image->GetWidth();
  const UINT height = image->GetHeight();
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * height * 4);
  Gdiplus::BitmapData data{};
  data.Width = width;
  data.Height = height;
  data.Stride = static_cast<INT>(width * 4);
  data.PixelFormat = PixelFormat32bppARGB;
  data.Scan0 = pixels.data();
  Gdiplus::Rect whole(0, 0, static_cast<INT>(width), static_cast<INT>(height));
  if (image->LockBits(&whole, Gdiplus::ImageLockModeRead | Gdiplus::ImageLockModeUserInputBuf, PixelFormat32bppARGB,
                      &data) != Gdiplus::Ok) {
    return {};
  }
  image->UnlockBits(&data);
  PremultiplyBgra(pixels.data(), static_cast<std::size_t>(width) * height);
  return pixels;
}

class SkinImages : public ::testing::Test {
 protected:
  testing::GdiplusSession gdiplus_;
};

TEST_F(SkinImages, PngIsPremultiplied) {
  const SkinBitmap image = LoadPng(Fixture(u"red_half.png"));
  ASSERT_FALSE(image.empty());
  EXPECT_EQ(image.width, 1);
  EXPECT_EQ(image.height, 1);
  EXPECT_EQ(FirstPixel(image.get()), (std::array<std::uint8_t, 4>{0, 0, 128, 128}));
}

// Every shipped skin image (PNGs and the button masks) shows exactly as GDI+ decoded it.
TEST_F(SkinImages, DecodedSkinImagesHaveTheGdiplusPixels) {
  int compared = 0;
  for (const auto& item : std::filesystem::directory_iterator(std::filesystem::path(AsWide(ShippedSkin(u""))))) {
    const std::wstring extension = item.path().extension().wstring();
    const bool mask = item.path().filename().wstring().ends_with(L"_mask.bmp");
    if (extension != L".png" && !mask) continue;
    SCOPED_TRACE(item.path().string());
    const std::vector<std::uint8_t> expected = GdiplusPremultipliedPixels(item.path());
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(DibPixels(DecodePng(ToU16(item.path().wstring()))), expected);
    ++compared;
  }
  EXPECT_GT(compared, 100);
}

// The opaque 32-bit pixels of any bitmap, as the screen would show them.
std::vector<std::uint8_t> OpaquePixels(HBITMAP bitmap) {
  BITMAP info{};
  if (bitmap == nullptr || ::GetObjectW(bitmap, sizeof info, &info) == 0) return {};
  BITMAPINFO format{};
  format.bmiHeader.biSize = sizeof format.bmiHeader;
  format.bmiHeader.biWidth = info.bmWidth;
  format.bmiHeader.biHeight = -info.bmHeight;
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 32;
  format.bmiHeader.biCompression = BI_RGB;
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(info.bmWidth) * info.bmHeight * 4);
  const HDC screen = ::GetDC(nullptr);
  ::GetDIBits(screen, bitmap, 0, static_cast<UINT>(info.bmHeight), pixels.data(), &format, DIB_RGB_COLORS);
  ::ReleaseDC(nullptr, screen);
  for (std::size_t i = 3; i < pixels.size(); i += 4) pixels[i] = 255;
  return pixels;
}

// Every shipped JPEG and BMP picture shows exactly as the picture loader decoded it.
TEST_F(SkinImages, PicturesHaveThePictureLoadersPixels) {
  int compared = 0;
  for (const auto& item : std::filesystem::directory_iterator(std::filesystem::path(AsWide(ShippedSkin(u""))))) {
    const std::wstring extension = item.path().extension().wstring();
    if (extension != L".jpg" && extension != L".bmp") continue;
    SCOPED_TRACE(item.path().string());
    const std::u16string file = ToU16(item.path().wstring());
    const std::vector<std::uint8_t> expected = OpaquePixels(DecodeWithPictureLoader(file).get());
    ASSERT_FALSE(expected.empty());
    const SkinBitmap decoded = DecodePicture(file);
    EXPECT_EQ(DibPixels(decoded), expected) << "32-bit, opaque, the same colours";
    ++compared;
  }
  EXPECT_GE(compared, 6);
}

// A thread that never started COM (the device thread's progress window, a test's
// worker) still decodes.
TEST_F(SkinImages, PngDecodesOnAThreadWithoutCom) {
  std::array<std::uint8_t, 4> pixel{};
  std::thread worker([&pixel] { pixel = FirstPixel(DecodePng(Fixture(u"red_half.png")).get()); });
  worker.join();
  EXPECT_EQ(pixel, (std::array<std::uint8_t, 4>{0, 0, 128, 128}));
}

TEST_F(SkinImages, MissingOrUndecodableGivesEmptyBitmap) {
  const std::u16string paths[] = {Fixture(u"no_such.png"), Fixture(u"garbage.png"), Fixture(u"")};
  for (const auto& path : paths) {
    const SkinBitmap png = LoadPng(path);
    EXPECT_TRUE(png.empty());
    EXPECT_EQ(png.width, 0);
    EXPECT_EQ(png.height, 0);
    const SkinBitmap picture = LoadPicture(path);
    EXPECT_TRUE(picture.empty());
    EXPECT_EQ(picture.width, 0);
    EXPECT_EQ(picture.height, 0);
  }
}

TEST_F(SkinImages, PictureLoaderReadsShippedJpegAndBmp) {
  const SkinBitmap background = LoadPicture(ShippedSkin(u"Main_bg.jpg"));
  EXPECT_EQ(background.width, 1200);
  EXPECT_EQ(background.height, 672);
  const SkinBitmap mask = LoadPicture(ShippedSkin(u"Lighting_mask.bmp"));
  EXPECT_EQ(mask.width, 1200);
  EXPECT_EQ(mask.height, 672);
  // The lighting panel covers the content area and leaves the side and top bars out.
  const OwnedRegion region = RegionFromMask(mask.get());
  ASSERT_TRUE(region);
  EXPECT_TRUE(::PtInRegion(region.get(), 600, 300));
  EXPECT_TRUE(::PtInRegion(region.get(), 220, 48));
  EXPECT_FALSE(::PtInRegion(region.get(), 219, 300));
  EXPECT_FALSE(::PtInRegion(region.get(), 600, 47));
  EXPECT_FALSE(::PtInRegion(region.get(), 600, 600));
}

// A 32-bit mask whose pixels are black where `inside` says so, white elsewhere.
template <typename Inside>
SkinBitmap MakeMask(int width, int height, Inside inside) {
  SkinBitmap mask = CreateBitmap32(width, height);
  DIBSECTION dib{};
  ::GetObjectW(mask.get(), sizeof dib, &dib);
  auto* bits = static_cast<std::uint8_t*>(dib.dsBm.bmBits);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      std::memset(bits + (static_cast<std::size_t>(y) * width + x) * 4, inside(x, y) ? 0 : 255, 4);
  return mask;
}

TEST_F(SkinImages, RegionFromMaskEdgeCases) {
  EXPECT_FALSE(RegionFromMask(nullptr));

  const SkinBitmap white = MakeMask(30, 20, [](int, int) { return false; });
  const OwnedRegion none = RegionFromMask(white.get());
  ASSERT_TRUE(none);
  RECT box{};
  EXPECT_EQ(::GetRgnBox(none.get(), &box), NULLREGION);

  const SkinBitmap black = MakeMask(30, 20, [](int, int) { return true; });
  const OwnedRegion full = RegionFromMask(black.get());
  ASSERT_TRUE(full);
  EXPECT_EQ(::GetRgnBox(full.get(), &box), SIMPLEREGION);
  EXPECT_EQ(box.left, 0);
  EXPECT_EQ(box.top, 0);
  EXPECT_EQ(box.right, 30);
  EXPECT_EQ(box.bottom, 20);
}

TEST_F(SkinImages, RegionFromCheckerboardCoversExactlyTheDarkPixels) {
  const int width = 100, height = 60;  // 3000 runs: more than one batch
  const auto inside = [](int x, int y) { return (x + y) % 2 == 0; };
  const SkinBitmap mask = MakeMask(width, height, inside);
  const OwnedRegion region = RegionFromMask(mask.get());
  ASSERT_TRUE(region);
  int wrong = 0;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      if ((::PtInRegion(region.get(), x, y) != FALSE) != inside(x, y)) ++wrong;
  EXPECT_EQ(wrong, 0);
}

TEST_F(SkinImages, CropKeepsAlphaAndPosition) {
  SkinBitmap source = CreateBitmap32(4, 3);
  DIBSECTION dib{};
  ::GetObjectW(source.get(), sizeof dib, &dib);
  auto* bits = static_cast<std::uint8_t*>(dib.dsBm.bmBits);
  const std::uint8_t marked[4] = {10, 20, 30, 40};
  std::memcpy(bits + (1 * 4 + 2) * 4, marked, 4);  // pixel (2, 1)
  ::GdiFlush();

  const SkinBitmap piece = CropBitmap32(source.get(), 2, 1, 4, 3);
  ASSERT_FALSE(piece.empty());
  EXPECT_EQ(piece.width, 2);
  EXPECT_EQ(piece.height, 2);
  EXPECT_EQ(FirstPixel(piece.get()), (std::array<std::uint8_t, 4>{10, 20, 30, 40}));

  const SkinBitmap opaque = CropBitmap(nullptr, source.get(), 0, 0, 3, 2);
  EXPECT_EQ(opaque.width, 3);
  EXPECT_EQ(opaque.height, 2);
  EXPECT_TRUE(CropBitmap(nullptr, source.get(), 2, 2, 2, 5).empty());
  EXPECT_TRUE(CropBitmap32(nullptr, 0, 0, 2, 2).empty());
  EXPECT_TRUE(CreateBitmap32(0, 5).empty());
}

// Crops of our own top-down sections copy rows; every other case goes through GDI. Both
// must give the same bitmap, at the edges too.
TEST_F(SkinImages, RowCropsGiveTheSamePixelsAsGdiCrops) {
  const SkinBitmap background = DecodePicture(ShippedSkin(u"Main_bg.jpg"));
  const SkinBitmap translucent = DecodePng(Fixture(u"small_normal.png"));
  ASSERT_TRUE(background.topDown32);
  ASSERT_TRUE(translucent.topDown32);
  struct Case {
    const SkinBitmap* source;
    RECT rect;
  } cases[] = {
      {&background, {260, 84, 320, 144}},  // a key's place
      {&background, {0, 0, background.width, background.height}},
      {&background, {background.width - 7, background.height - 5, background.width, background.height}},
      {&background, {-3, 10, 20, 30}},                                   // partly outside: GDI's way
      {&background, {background.width - 4, 0, background.width + 6, 9}},
      {&translucent, {1, 1, translucent.width - 1, translucent.height}},  // alpha kept
  };
  for (const Case& c : cases) {
    const RECT& r = c.rect;
    const SkinBitmap rows = CropSkinBitmap(*c.source, r.left, r.top, r.right, r.bottom);
    const SkinBitmap gdi = CropBitmap32(c.source->get(), r.left, r.top, r.right, r.bottom);
    EXPECT_EQ(rows.width, r.right - r.left);
    EXPECT_EQ(rows.height, r.bottom - r.top);
    EXPECT_TRUE(rows.topDown32);
    EXPECT_EQ(DibPixels(rows), DibPixels(gdi)) << r.left << "," << r.top << "," << r.right << "," << r.bottom;
  }
  EXPECT_TRUE(CropSkinBitmap(background, 5, 5, 5, 9).empty());
  EXPECT_TRUE(CropSkinBitmap(SkinBitmap{}, 0, 0, 2, 2).empty());
  // A copy is a crop of the whole.
  EXPECT_EQ(DibPixels(CopySkinBitmap(translucent)), DibPixels(translucent));
}

TEST_F(SkinImages, StateImagesFallBackToNormal) {
  testing::TempFolder folder;
  ASSERT_TRUE(CopyFileTo(Fixture(u"small_normal.png"), folder / u"only_normal.png"));
  ASSERT_TRUE(CopyFileTo(Fixture(u"small_normal.png"), folder / u"two_normal.png"));
  ASSERT_TRUE(CopyFileTo(Fixture(u"large.png"), folder / u"two_down.png"));

  StateImages only = LoadStateImagesFrom(folder.path(), u"only", false);
  EXPECT_EQ(only.width, 3);
  EXPECT_EQ(only.height, 2);
  for (int state = kStateNormal; state <= kStateDisabled; ++state) {
    EXPECT_FALSE(StateImage(only, state).empty());
    EXPECT_EQ(StateImage(only, state).width, 3);
  }

  StateImages two = LoadStateImagesFrom(folder.path(), u"two", false);
  EXPECT_EQ(StateImage(two, kStateOver).width, 3);
  EXPECT_EQ(StateImage(two, kStateDown).width, 5);  // its own file
  EXPECT_EQ(StateImage(two, kStateDisabled).width, 3);
  EXPECT_EQ(two.width, 3);  // the natural size is the normal image's

  StateImages single = LoadStateImagesFrom(folder.path(), u"two", true);
  EXPECT_EQ(StateImage(single, kStateDown).width, 3) << "one image for all states: others not looked for";

  StateImages missing = LoadStateImagesFrom(folder.path(), u"nothing", false);
  EXPECT_EQ(missing.width, 0);
  for (int state = kStateNormal; state <= kStateDisabled; ++state) EXPECT_TRUE(StateImage(missing, state).empty());

  const StateImages unnamed = LoadStateImagesFrom(folder.path(), u"", false);
  EXPECT_TRUE(unnamed.states[kStateNormal].empty());
}

// A window of many buttons opens with their normal images only; a state image is read
// from its file when a button first shows that state.
TEST_F(SkinImages, StateImagesAreReadWhenFirstShown) {
  testing::TempFolder folder;
  ASSERT_TRUE(CopyFileTo(Fixture(u"small_normal.png"), folder / u"key_normal.png"));
  StateImages images = LoadStateImagesFrom(folder.path(), u"key", false);
  for (int state = kStateOver; state <= kStateDisabled; ++state) {
    EXPECT_TRUE(images.states[static_cast<std::size_t>(state)].empty()) << "state " << state << " read at once";
  }
  ASSERT_TRUE(CopyFileTo(Fixture(u"large.png"), folder / u"key_down.png"));
  EXPECT_EQ(StateImage(images, kStateDown).width, 5) << "the file as it is when the state is first shown";
  EXPECT_EQ(StateImage(images, kStateOver).width, 3) << "no file of its own: the normal image";
  EXPECT_TRUE(images.states[kStateDisabled].empty());
  LoadPendingStates(images);
  EXPECT_EQ(images.states[kStateDisabled].width, 3);
  EXPECT_EQ(StateImage(images, 7).get(), nullptr) << "no such state";
}

}  // namespace
}  // namespace quencfg
