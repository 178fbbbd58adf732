#include "quencfg/ui/skin/picture_header.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <optional>
#include <string>

#include "quencfg/framework/files.h"
#include "quencfg/framework/text.h"
#include "support/source_tree.h"

namespace quencfg {
namespace {

std::u16string SkinsPath(std::u16string_view name) {
  return testing::SourceTreePath(u"data\\skins\\" + std::u16string(name));
}

std::string Bytes(std::initializer_list<int> values) {
  std::string bytes;
  for (const int v : values) bytes.push_back(static_cast<char>(v));
  return bytes;
}

std::string Png(int width, int height) {
  return Bytes({0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R', (width >> 24) & 0xFF,
                (width >> 16) & 0xFF, (width >> 8) & 0xFF, width & 0xFF, (height >> 24) & 0xFF, (height >> 16) & 0xFF,
                (height >> 8) & 0xFF, height & 0xFF, 8, 6, 0, 0, 0});
}

std::string Bmp(int width, int height) {
  std::string bytes = Bytes({'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0});
  for (const int v : {width, height}) {
    for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<char>((v >> shift) & 0xFF));
  }
  return bytes + Bytes({1, 0, 32, 0});
}

// A JPEG start with an application segment before the frame header.
std::string Jpeg(int width, int height, int frameMarker = 0xC0) {
  return Bytes({0xFF, 0xD8, 0xFF, 0xE0, 0, 6, 'J', 'F', 'I', 'F', 0xFF, 0xFF, frameMarker, 0, 11, 8, (height >> 8) & 0xFF,
                height & 0xFF, (width >> 8) & 0xFF, width & 0xFF, 1, 1, 0x11, 0});
}

TEST(PictureHeaderSize, Table) {
  const struct {
    const char* what;
    std::string bytes;
    std::optional<PixelSize> size;
  } cases[] = {
      {"png", Png(1200, 672), PixelSize{1200, 672}},
      {"png cut short", Png(1200, 672).substr(0, 20), std::nullopt},
      {"png of no width", Png(0, 5), std::nullopt},
      {"bmp", Bmp(620, 48), PixelSize{620, 48}},
      {"bmp with top-down rows", Bmp(9, -4), PixelSize{9, 4}},
      {"jpeg", Jpeg(2400, 1344), PixelSize{2400, 1344}},
      {"progressive jpeg", Jpeg(300, 200, 0xC2), PixelSize{300, 200}},
      {"jpeg whose tables come first", Jpeg(10, 20, 0xC4), std::nullopt},  // C4 is no frame: runs off the end
      {"gif", std::string("GIF89a") + Bytes({0x10, 0x01, 0x20, 0x00}), PixelSize{272, 32}},
      {"text", "hello, world", std::nullopt},
      {"nothing", "", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::optional<PixelSize> size = PictureHeaderSize(c.bytes);
    ASSERT_EQ(size.has_value(), c.size.has_value());
    if (size) {
      EXPECT_EQ(size->width, c.size->width);
      EXPECT_EQ(size->height, c.size->height);
    }
  }
}

// Every picture of the shipped skin states its size in a header this reader knows.
TEST(PictureHeaderSize, ReadsEveryShippedPicture) {
  for (const char16_t* name : {u"Main_bg.jpg", u"Lighting_mask.bmp", u"btnPng_normal.png", u"Warn_bg.jpg"}) {
    const std::optional<std::string> bytes = ReadWholeFile(SkinsPath(name));
    ASSERT_TRUE(bytes.has_value()) << Utf16ToUtf8(name);
    EXPECT_TRUE(PictureHeaderSize(*bytes).has_value()) << Utf16ToUtf8(name);
  }
  const std::optional<std::string> main = ReadWholeFile(SkinsPath(u"Main_bg.jpg"));
  EXPECT_EQ(PictureHeaderSize(*main), (PixelSize{1200, 672}));
}

}  // namespace
}  // namespace quencfg
