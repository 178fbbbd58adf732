#include "quencfg/ui/skin/skin_image_win.h"

#include <objbase.h>
#include <ocidl.h>
#include <olectl.h>
#include <wincodec.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "quencfg/framework/com_apartment_win.h"
#include "quencfg/framework/files.h"
#include "quencfg/framework/folders.h"
#include "quencfg/framework/paths.h"
#include "quencfg/framework/wide_win.h"
#include "quencfg/ui/skin/bgr_expand.h"
#include "quencfg/ui/skin/mask_runs.h"
#include "quencfg/ui/skin/premultiply.h"
#include "quencfg/ui/skin/skin_image_cache_win.h"
#include "quencfg/ui/skin/skin_scale.h"

namespace quencfg {
namespace {

SkinBitmap MakeDib32(int width, int height, void** bits) {
  SkinBitmap result;
  *bits = nullptr;
  if (width <= 0 || height <= 0) return result;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down: row 0 is the top row
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  result.bitmap.reset(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0));
  if (!result.bitmap || *bits == nullptr) {
    result.bitmap.reset();
    *bits = nullptr;
    return result;
  }
  std::memset(*bits, 0, static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
  result.width = width;
  result.height = height;
  result.topDown32 = true;
  return result;
}

struct ComRelease {
  void operator()(IUnknown* object) const noexcept {
    if (object != nullptr) object->Release();
  }
};

template <typename Interface>
std::unique_ptr<Interface, ComRelease> CreateComObject(REFCLSID type, REFIID interfaceId) {
  void* object = nullptr;
  if (FAILED(::CoCreateInstance(type, nullptr, CLSCTX_INPROC_SERVER, interfaceId, &object))) object = nullptr;
  return std::unique_ptr<Interface, ComRelease>(static_cast<Interface*>(object));
}

BITMAP BitmapInfoOf(HBITMAP bitmap) {
  BITMAP info{};
  if (bitmap == nullptr || ::GetObjectW(bitmap, sizeof info, &info) == 0) return BITMAP{};
  return info;
}

// The bitmap as 32-bit top-down pixels (blue, green, red, x), whatever its format.
std::u16string PathText(std::u16string_view path) { return std::u16string(path); }

}  // namespace

std::vector<std::uint8_t> ReadPixels32(HBITMAP bitmap, int width, int height) {
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  ::GdiFlush();  // drawing into the bitmap may still be queued
  WindowDc screen(nullptr);
  const int rows =
      ::GetDIBits(screen.get(), bitmap, 0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS);
  if (rows != height) pixels.clear();
  return pixels;
}

SkinBitmap CreateBitmap32(int width, int height) {
  void* bits = nullptr;
  return MakeDib32(width, height, &bits);
}

SkinBitmap CopySkinBitmap(const SkinBitmap& source) {
  if (source.empty()) return {};
  if (source.topDown32) return CropSkinBitmap(source, 0, 0, source.width, source.height);
  SkinBitmap copy;
  // Pictures keep the format the picture loader gave them: its own copy step once more.
  copy.bitmap.reset(static_cast<HBITMAP>(::CopyImage(source.get(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  if (!copy.bitmap) return {};
  copy.width = source.width;
  copy.height = source.height;
  return copy;
}

SkinBitmap LoadPng(std::u16string_view path) { return SharedSkinImageCache().LoadPng(path, SkinDpi()); }

SkinBitmap LoadPicture(std::u16string_view path) { return SharedSkinImageCache().LoadPicture(path, SkinDpi()); }

namespace {

// The frame's pixels as 32-bit BGRA into `bits` (rows of 4 * width bytes). PNG state
// images come as BGRA and the opaque pictures as BGR: both are copied straight in, the
// BGR rows then widened in place, several times faster than the imaging component's
// format converter does it. Other formats go through the converter.
bool CopyFrameAsBgra(IWICImagingFactory& factory, IWICBitmapFrameDecode& frame, UINT width, UINT height,
                     BYTE* bits) {
  const UINT stride = width * 4;
  const UINT size = stride * height;
  WICPixelFormatGUID format{};
  if (FAILED(frame.GetPixelFormat(&format))) return false;
  if (format == GUID_WICPixelFormat32bppBGRA) return SUCCEEDED(frame.CopyPixels(nullptr, stride, size, bits));
  if (format == GUID_WICPixelFormat24bppBGR) {
    if (FAILED(frame.CopyPixels(nullptr, stride, size, bits))) return false;
    ExpandBgrRowsToBgra(bits, width, height, stride);
    return true;
  }
  IWICFormatConverter* rawConverter = nullptr;
  if (FAILED(factory.CreateFormatConverter(&rawConverter))) return false;
  std::unique_ptr<IWICFormatConverter, ComRelease> converter(rawConverter);
  if (FAILED(converter->Initialize(&frame, GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr, 0.0,
                                   WICBitmapPaletteTypeCustom))) {
    return false;
  }
  return SUCCEEDED(converter->CopyPixels(nullptr, stride, size, bits));
}

}  // namespace

// Any format the imaging component reads (PNG, and the opaque JPEG, BMP and GIF
// pictures), as premultiplied 32-bit pixels.
SkinBitmap DecodePng(std::u16string_view path) {
  const std::u16string file = PathText(path);
  if (!IsRegularFile(file)) return {};
  // The imaging component decodes several times faster than GDI+ and gives the same
  // non-premultiplied pixels.
  const ComApartment com;
  std::unique_ptr<IWICImagingFactory, ComRelease> factory = CreateComObject<IWICImagingFactory>(
      CLSID_WICImagingFactory, IID_IWICImagingFactory);
  if (!factory) return {};
  IWICBitmapDecoder* rawDecoder = nullptr;
  if (FAILED(factory->CreateDecoderFromFilename(AsWide(file), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand,
                                                &rawDecoder))) {
    return {};
  }
  std::unique_ptr<IWICBitmapDecoder, ComRelease> decoder(rawDecoder);
  IWICBitmapFrameDecode* rawFrame = nullptr;
  if (FAILED(decoder->GetFrame(0, &rawFrame))) return {};
  std::unique_ptr<IWICBitmapFrameDecode, ComRelease> frame(rawFrame);
  UINT width = 0;
  UINT height = 0;
  if (FAILED(frame->GetSize(&width, &height))) return {};
  void* bits = nullptr;
  SkinBitmap result = MakeDib32(static_cast<int>(width), static_cast<int>(height), &bits);
  if (result.empty()) return {};
  if (!CopyFrameAsBgra(*factory, *frame, width, height, static_cast<BYTE*>(bits))) return {};
  PremultiplyBgra(static_cast<std::uint8_t*>(bits), static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  ::GdiFlush();
  return result;
}

SkinBitmap DecodePicture(std::u16string_view path) {
  // The imaging component reads the skin's JPEG backgrounds in about two thirds of the
  // picture loader's time, with the same pixels.
  SkinBitmap decoded = DecodePng(path);
  if (decoded.empty()) return DecodeWithPictureLoader(path);
  return decoded;
}

SkinBitmap DecodeWithPictureLoader(std::u16string_view path) {
  const std::optional<std::string> bytes = ReadWholeFile(path);
  if (!bytes || bytes->empty()) return {};
  HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes->size());
  if (memory == nullptr) return {};
  void* target = ::GlobalLock(memory);
  if (target == nullptr) {
    ::GlobalFree(memory);
    return {};
  }
  std::memcpy(target, bytes->data(), bytes->size());
  ::GlobalUnlock(memory);

  IStream* rawStream = nullptr;
  if (FAILED(::CreateStreamOnHGlobal(memory, TRUE, &rawStream)) || rawStream == nullptr) {
    ::GlobalFree(memory);
    return {};
  }
  std::unique_ptr<IStream, ComRelease> stream(rawStream);  // frees the memory block too

  IPicture* rawPicture = nullptr;
  if (FAILED(::OleLoadPicture(stream.get(), static_cast<LONG>(bytes->size()), FALSE, IID_IPicture,
                              reinterpret_cast<void**>(&rawPicture))) ||
      rawPicture == nullptr) {
    return {};
  }
  std::unique_ptr<IPicture, ComRelease> picture(rawPicture);
  OLE_HANDLE handle = 0;
  SHORT type = PICTYPE_UNINITIALIZED;
  if (FAILED(picture->get_Type(&type)) || type != PICTYPE_BITMAP || FAILED(picture->get_Handle(&handle))) {
    return {};
  }
  // The picture owns its bitmap; keep a copy that lives as long as we need it.
  HBITMAP own = static_cast<HBITMAP>(
      ::CopyImage(reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(handle)), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  SkinBitmap result;
  result.bitmap.reset(own);
  const BITMAP info = BitmapInfoOf(own);
  if (info.bmWidth <= 0 || info.bmHeight <= 0) return {};
  result.width = info.bmWidth;
  result.height = info.bmHeight;
  return result;
}

SkinBitmap CropBitmap(HDC dc, HBITMAP source, int left, int top, int right, int bottom) {
  const int width = right - left;
  const int height = bottom - top;
  if (source == nullptr || width <= 0 || height <= 0) return {};
  WindowDc screen(nullptr);
  HDC reference = dc != nullptr ? dc : screen.get();
  SkinBitmap result;
  result.bitmap.reset(::CreateCompatibleBitmap(reference, width, height));
  if (result.bitmap) {
    MemoryDc from(reference);
    MemoryDc to(reference);
    SelectScope selectFrom(from.get(), source);
    SelectScope selectTo(to.get(), result.get());
    ::BitBlt(to.get(), 0, 0, width, height, from.get(), left, top, SRCCOPY);
    result.width = width;
    result.height = height;
  }
  return result;
}

SkinBitmap CropSkinBitmap(const SkinBitmap& source, int left, int top, int right, int bottom) {
  DIBSECTION section{};
  const bool inside = left >= 0 && top >= 0 && right <= source.width && bottom <= source.height;
  const bool rows = source.topDown32 && inside &&
                    ::GetObjectW(source.get(), sizeof section, &section) == sizeof section &&
                    section.dsBm.bmBitsPixel == 32 && section.dsBm.bmBits != nullptr &&
                    section.dsBm.bmWidth == source.width && std::abs(section.dsBm.bmHeight) == source.height;
  if (!rows) return CropBitmap32(source.get(), left, top, right, bottom);
  void* bits = nullptr;
  SkinBitmap piece = MakeDib32(right - left, bottom - top, &bits);
  if (piece.empty()) return {};
  ::GdiFlush();  // drawing into the source may still be queued
  const std::size_t sourceStride = static_cast<std::size_t>(source.width) * 4;
  const std::size_t pieceStride = static_cast<std::size_t>(piece.width) * 4;
  const auto* from = static_cast<const std::uint8_t*>(section.dsBm.bmBits) +
                     static_cast<std::size_t>(top) * sourceStride + static_cast<std::size_t>(left) * 4;
  auto* to = static_cast<std::uint8_t*>(bits);
  for (int row = 0; row < piece.height; ++row) {
    std::memcpy(to + static_cast<std::size_t>(row) * pieceStride, from + static_cast<std::size_t>(row) * sourceStride,
                pieceStride);
  }
  return piece;
}

SkinBitmap CropBitmap32(HBITMAP source, int left, int top, int right, int bottom) {
  if (source == nullptr) return {};
  SkinBitmap result = CreateBitmap32(right - left, bottom - top);
  if (result.empty()) return {};
  MemoryDc from(nullptr);
  MemoryDc to(nullptr);
  SelectScope selectFrom(from.get(), source);
  SelectScope selectTo(to.get(), result.get());
  ::BitBlt(to.get(), 0, 0, result.width, result.height, from.get(), left, top, SRCCOPY);
  ::GdiFlush();
  return result;
}

OwnedRegion RegionFromMask(HBITMAP mask) {
  if (mask == nullptr) return OwnedRegion();
  const BITMAP info = BitmapInfoOf(mask);
  if (info.bmWidth <= 0 || info.bmHeight <= 0) return OwnedRegion();
  const std::vector<std::uint8_t> pixels = ReadPixels32(mask, info.bmWidth, info.bmHeight);
  if (pixels.empty()) return OwnedRegion();

  OwnedRegion region(::CreateRectRgn(0, 0, 0, 0));
  if (!region) return OwnedRegion();
  bool failed = false;
  std::vector<std::uint8_t> buffer;
  FindMaskRuns(pixels.data(), info.bmWidth, info.bmHeight, static_cast<std::size_t>(info.bmWidth) * 4,
               [&](std::span<const MaskRun> runs) {
                 if (failed) return;
                 buffer.assign(sizeof(RGNDATAHEADER) + runs.size() * sizeof(RECT), 0);
                 auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
                 data->rdh.dwSize = sizeof(RGNDATAHEADER);
                 data->rdh.iType = RDH_RECTANGLES;
                 data->rdh.nCount = static_cast<DWORD>(runs.size());
                 data->rdh.rcBound = RECT{0, 0, info.bmWidth, info.bmHeight};
                 RECT* rects = reinterpret_cast<RECT*>(data->Buffer);
                 for (std::size_t i = 0; i < runs.size(); ++i) {
                   rects[i] = RECT{runs[i].left, runs[i].top, runs[i].right, runs[i].bottom};
                 }
                 OwnedRegion part(::ExtCreateRegion(nullptr, static_cast<DWORD>(buffer.size()), data));
                 if (!part || ::CombineRgn(region.get(), region.get(), part.get(), RGN_OR) == ERROR) failed = true;
               });
  if (failed) return OwnedRegion();
  return region;
}

std::u16string SkinsFolder() {
  std::u16string folder = AppFolder();
  folder += u"skins";
  folder += kPathSeparator;
  return folder;
}

std::u16string NormalStateImagePath(std::u16string_view stem) { return std::u16string(stem) + u"_normal.png"; }

StateImages LoadStateImagesFrom(std::u16string_view skinsFolder, std::u16string_view imageName, bool single) {
  StateImages images;
  if (imageName.empty()) return images;
  images.stem = std::u16string(skinsFolder) + std::u16string(imageName);
  images.single = single;
  images.pending = {false, true, true, true};
  images.states[kStateNormal] = LoadPng(NormalStateImagePath(images.stem));
  images.width = images.states[kStateNormal].width;
  images.height = images.states[kStateNormal].height;
  return images;
}

const SkinBitmap& StateImage(StateImages& images, int state) {
  static const SkinBitmap kNone;
  if (state < kStateNormal || state > kStateDisabled) return kNone;
  const auto index = static_cast<std::size_t>(state);
  SkinBitmap& image = images.states[index];
  if (!images.pending[index]) return image;
  images.pending[index] = false;
  static constexpr std::u16string_view kSuffixes[] = {u"_over.png", u"_down.png", u"_disable.png"};
  const std::u16string normal = NormalStateImagePath(images.stem);
  const std::u16string own = images.stem + std::u16string(kSuffixes[index - 1]);
  image = LoadPng(!images.single && PathExists(own) ? own : normal);
  return image;
}

void LoadPendingStates(StateImages& images) {
  for (int state = kStateOver; state <= kStateDisabled; ++state) StateImage(images, state);
}

StateImages LoadStateImages(std::u16string_view imageName, bool single) {
  return LoadStateImagesFrom(SkinsFolder(), imageName, single);
}

}  // namespace quencfg
