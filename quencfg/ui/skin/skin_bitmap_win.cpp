#include "quencfg/ui/skin/skin_bitmap_win.h"

#include <cstdlib>
#include <cstring>
#include <span>

#include "quencfg/ui/skin/mask_runs.h"

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

BITMAP BitmapInfoOf(HBITMAP bitmap) {
  BITMAP info{};
  if (bitmap == nullptr || ::GetObjectW(bitmap, sizeof info, &info) == 0) return BITMAP{};
  return info;
}

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

std::uint8_t* DibPixels(HBITMAP bitmap) noexcept {
  DIBSECTION section{};
  if (bitmap == nullptr || ::GetObjectW(bitmap, sizeof section, &section) != sizeof section) return nullptr;
  if (section.dsBm.bmBitsPixel != 32) return nullptr;
  ::GdiFlush();
  return static_cast<std::uint8_t*>(section.dsBm.bmBits);
}

SkinBitmap OpaqueCopy32(HBITMAP source, int left, int top, int right, int bottom) {
  SkinBitmap copy = CropBitmap32(source, left, top, right, bottom);
  std::uint8_t* pixels = DibPixels(copy.get());
  if (pixels == nullptr) return copy;
  const std::size_t count = static_cast<std::size_t>(copy.width) * static_cast<std::size_t>(copy.height);
  for (std::size_t i = 0; i < count; ++i) pixels[i * 4 + 3] = 255;
  return copy;
}

}  // namespace quencfg
