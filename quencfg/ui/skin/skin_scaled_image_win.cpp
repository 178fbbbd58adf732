#include "quencfg/ui/skin/skin_scaled_image_win.h"

#include <optional>
#include <string>
#include <vector>

#include "quencfg/framework/files.h"
#include "quencfg/ui/skin/image_resample.h"
#include "quencfg/ui/skin/picture_header.h"

namespace quencfg {
namespace {

// The bitmap as 32-bit top-down pixels, whatever its format; empty when unreadable.
std::vector<std::uint8_t> Pixels32(const SkinBitmap& bitmap) {
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(bitmap.width) * static_cast<std::size_t>(bitmap.height) *
                                   4);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = bitmap.width;
  info.bmiHeader.biHeight = -bitmap.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  ::GdiFlush();
  WindowDc screen(nullptr);
  const int rows = ::GetDIBits(screen.get(), bitmap.get(), 0, static_cast<UINT>(bitmap.height), pixels.data(), &info,
                               DIB_RGB_COLORS);
  if (rows != bitmap.height) pixels.clear();
  return pixels;
}

}  // namespace

SkinBitmap ResampleSkinBitmap(const SkinBitmap& source, PixelSize size, bool opaque) {
  if (source.empty() || size.width <= 0 || size.height <= 0) return {};
  std::vector<std::uint8_t> pixels = Pixels32(source);
  if (pixels.empty()) return {};
  if (opaque) {
    for (std::size_t i = 3; i < pixels.size(); i += 4) pixels[i] = 255;  // the picture loader leaves alpha 0
  }
  SkinBitmap result = CreateBitmap32(size.width, size.height);
  if (result.empty()) return {};
  DIBSECTION section{};
  if (::GetObjectW(result.get(), sizeof section, &section) != sizeof section || section.dsBm.bmBits == nullptr) {
    return {};
  }
  if (!ResampleBgraInto(pixels.data(), source.width, source.height, pixels.size(),
                        static_cast<std::uint8_t*>(section.dsBm.bmBits), size.width, size.height)) {
    return {};
  }
  return result;
}

PixelSize PictureFileSize(std::u16string_view path) {
  // The header alone, read by us: opening the imaging component for it costs several
  // milliseconds per file.
  const std::optional<std::string> bytes = ReadWholeFile(path);
  if (!bytes) return {};
  return PictureHeaderSize(*bytes).value_or(PixelSize{});
}

SkinBitmap DecodeAtDpi(SkinDecoder decode, std::u16string_view path, int dpi, bool opaque) {
  if (ScaleToDpi(kSkinBaseDpi, dpi) == kSkinBaseDpi) return decode(path);  // 96 DPI, or none given
  const std::u16string rendering = RenderingPath(path, dpi);
  SkinBitmap sharp = rendering != path && IsRegularFile(rendering) ? decode(rendering) : SkinBitmap{};
  if (!sharp.empty()) {
    PixelSize base = PictureFileSize(path);
    if (base.width <= 0) {
      const SkinBitmap original = decode(path);
      base = PixelSize{original.width, original.height};
    }
    const PixelSize wanted = ScaledPictureSize(base, dpi);
    // Without the 96-DPI picture there is no size to check: the rendering is all there is.
    if (base.width <= 0 || CloseEnough(PixelSize{sharp.width, sharp.height}, wanted)) return sharp;
    return ResampleSkinBitmap(sharp, wanted, opaque);
  }
  const SkinBitmap original = decode(path);
  return ResampleSkinBitmap(original, ScaledPictureSize(PixelSize{original.width, original.height}, dpi), opaque);
}

}  // namespace quencfg
