#include "quencfg/ui/skin/skin_scaled_image_win.h"

#include <wincodec.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "quencfg/framework/com_apartment_win.h"
#include "quencfg/framework/files.h"
#include "quencfg/framework/wide_win.h"
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

template <typename Interface>
struct ComPointer {
  Interface* object = nullptr;
  ~ComPointer() {
    if (object != nullptr) object->Release();
  }
};

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
  const std::u16string file(path);
  if (!IsRegularFile(file)) return {};
  // The header alone, read by us: far cheaper than opening the imaging component.
  if (const std::optional<std::string> bytes = ReadWholeFile(file)) {
    if (const std::optional<PixelSize> size = PictureHeaderSize(*bytes)) return *size;
  }
  const ComApartment com;
  ComPointer<IWICImagingFactory> factory;
  if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                reinterpret_cast<void**>(&factory.object)))) {
    return {};
  }
  ComPointer<IWICBitmapDecoder> decoder;
  if (FAILED(factory.object->CreateDecoderFromFilename(AsWide(file), nullptr, GENERIC_READ,
                                                       WICDecodeMetadataCacheOnDemand, &decoder.object))) {
    return {};
  }
  ComPointer<IWICBitmapFrameDecode> frame;
  if (FAILED(decoder.object->GetFrame(0, &frame.object))) return {};
  UINT width = 0;
  UINT height = 0;
  if (FAILED(frame.object->GetSize(&width, &height))) return {};
  return PixelSize{static_cast<int>(width), static_cast<int>(height)};
}

SkinBitmap DecodeAtDpi(SkinDecoder decode, std::u16string_view path, int dpi, bool opaque) {
  if (ScaleToDpi(kSkinBaseDpi, dpi) == kSkinBaseDpi) return decode(path);
  const std::u16string rendering = RenderingPath(path, dpi);
  if (rendering != path && IsRegularFile(rendering)) {
    SkinBitmap sharp = decode(rendering);
    PixelSize base = PictureFileSize(path);
    if (base.width <= 0) {
      const SkinBitmap original = decode(path);
      base = PixelSize{original.width, original.height};
    }
    const PixelSize wanted = ScaledPictureSize(base, dpi);
    const PixelSize got{sharp.width, sharp.height};
    if (!sharp.empty() && (base.width <= 0 || CloseEnough(got, wanted))) return sharp;
    if (!sharp.empty()) return ResampleSkinBitmap(sharp, wanted, opaque);
  }
  const SkinBitmap original = decode(path);
  return ResampleSkinBitmap(original, ScaledPictureSize(PixelSize{original.width, original.height}, dpi), opaque);
}

}  // namespace quencfg
