#include "quencfg/ui/skin/skin_scaled_image_win.h"

#include <optional>
#include <string>
#include <vector>

#include "quencfg/framework/files.h"
#include "quencfg/ui/skin/image_resample.h"
#include "quencfg/ui/skin/picture_header.h"
#include "quencfg/ui/skin/skin_draw_win.h"

namespace quencfg {

SkinBitmap ResampleSkinBitmap(const SkinBitmap& source, PixelSize size, bool opaque) {
  if (source.empty() || size.width <= 0 || size.height <= 0) return {};
  std::vector<std::uint8_t> pixels = ReadPixels32(source.get(), source.width, source.height);
  if (pixels.empty()) return {};
  if (opaque) {
    for (std::size_t i = 3; i < pixels.size(); i += 4) pixels[i] = 255;  // the picture loader leaves alpha 0
  }
  SkinBitmap result = CreateBitmap32(size.width, size.height);
  if (result.empty()) return {};
  std::uint8_t* target = DibPixels(result.get());
  if (target == nullptr ||
      !ResampleBgraInto(pixels.data(), source.width, source.height, pixels.size(), target, size.width, size.height)) {
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
