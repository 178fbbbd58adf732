#include "quencfg/ui/skin/skin_picture_win.h"

#include <ocidl.h>
#include <olectl.h>
#include <wincodec.h>

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>

#include "quencfg/framework/com_apartment_win.h"
#include "quencfg/framework/com_ptr_win.h"
#include "quencfg/framework/files.h"
#include "quencfg/framework/handle_win.h"
#include "quencfg/framework/wide_win.h"
#include "quencfg/ui/skin/bgr_expand.h"
#include "quencfg/ui/skin/premultiply.h"
#include "quencfg/ui/skin/skin_image_cache_win.h"
#include "quencfg/ui/skin/skin_scale.h"

namespace quencfg {

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
  ComPtr<IWICFormatConverter> converter;
  if (FAILED(factory.CreateFormatConverter(converter.put()))) return false;
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
  const std::u16string file(path);
  if (!IsRegularFile(file)) return {};
  // The imaging component decodes several times faster than GDI+ and gives the same
  // non-premultiplied pixels.
  const ComApartment com;
  const ComPtr<IWICImagingFactory> factory =
      CreateComObject<IWICImagingFactory>(CLSID_WICImagingFactory, IID_IWICImagingFactory);
  if (!factory) return {};
  ComPtr<IWICBitmapDecoder> decoder;
  if (FAILED(factory->CreateDecoderFromFilename(AsWide(file), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand,
                                                decoder.put()))) {
    return {};
  }
  ComPtr<IWICBitmapFrameDecode> frame;
  if (FAILED(decoder->GetFrame(0, frame.put()))) return {};
  UINT width = 0;
  UINT height = 0;
  if (FAILED(frame->GetSize(&width, &height))) return {};
  SkinBitmap result = CreateBitmap32(static_cast<int>(width), static_cast<int>(height));
  std::uint8_t* bits = DibPixels(result.get());
  if (bits == nullptr) return {};
  if (!CopyFrameAsBgra(*factory, *frame, width, height, bits)) return {};
  PremultiplyBgra(bits, static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
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
  UniqueGlobalMemory memory(::GlobalAlloc(GMEM_MOVEABLE, bytes->size()));
  if (!memory) return {};
  void* target = ::GlobalLock(memory.get());
  if (target == nullptr) return {};
  std::memcpy(target, bytes->data(), bytes->size());
  ::GlobalUnlock(memory.get());

  ComPtr<IStream> stream;
  if (FAILED(::CreateStreamOnHGlobal(memory.get(), TRUE, stream.put())) || !stream) return {};
  static_cast<void>(memory.release());  // the stream frees the block now

  ComPtr<IPicture> picture;
  if (FAILED(::OleLoadPicture(stream.get(), static_cast<LONG>(bytes->size()), FALSE, IID_IPicture,
                              picture.put_void())) ||
      !picture) {
    return {};
  }
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
  BITMAP info{};
  if (own == nullptr || ::GetObjectW(own, sizeof info, &info) == 0 || info.bmWidth <= 0 || info.bmHeight <= 0) {
    return {};
  }
  result.width = info.bmWidth;
  result.height = info.bmHeight;
  return result;
}

}  // namespace quencfg
