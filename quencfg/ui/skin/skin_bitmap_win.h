#pragma once
// SkinBitmap, the bitmap every skinned control draws with, and the small operations on
// it: making, copying and cropping 32-bit bitmaps, reading their pixels, and a window
// shape from a mask. An empty bitmap (no handle, 0 x 0) stands for a missing picture.
#include <windows.h>

#include <cstdint>
#include <vector>

#include "quencfg/framework/gdi_win.h"

namespace quencfg {

struct SkinBitmap {
  OwnedBitmap bitmap;
  int width = 0;
  int height = 0;
  // Made by the decoders and the 32-bit bitmap maker: a DIB section whose rows run top
  // to bottom, 4 bytes a pixel, which copies and crops read row by row. GetObject cannot
  // tell: it gives a top-down section's height as positive.
  bool topDown32 = false;

  [[nodiscard]] HBITMAP get() const noexcept { return bitmap.get(); }
  [[nodiscard]] bool empty() const noexcept { return !bitmap; }
};

// A bitmap of its own with the size, format and pixels of `source`: a plain memory copy
// for the top-down 32-bit DIB sections the loaders make. Empty for empty.
SkinBitmap CopySkinBitmap(const SkinBitmap& source);

// Any bitmap's pixels as 32-bit top-down rows (blue, green, red, alpha), read back
// through GDI; empty when unreadable.
std::vector<std::uint8_t> ReadPixels32(HBITMAP bitmap, int width, int height);

// A new 32-bit top-down DIB section, all bytes 0; empty for a size that is not positive.
SkinBitmap CreateBitmap32(int width, int height);

// The rectangle [left, right) x [top, bottom) of `source`, 1:1, in a bitmap compatible
// with `dc`. Parts outside the source stay black; an empty rectangle gives an empty bitmap.
SkinBitmap CropBitmap(HDC dc, HBITMAP source, int left, int top, int right, int bottom);

// The same into a 32-bit DIB section, so that the alpha channel survives.
SkinBitmap CropBitmap32(HBITMAP source, int left, int top, int right, int bottom);
// The same from a skin bitmap: rows copied straight from the source's memory where it
// is one of our top-down 32-bit sections and the rectangle lies inside it (several times
// faster than GDI, which the other cases go through).
SkinBitmap CropSkinBitmap(const SkinBitmap& source, int left, int top, int right, int bottom);

// The window shape of a mask: every pixel that is not pure white is inside. No bitmap
// gives no region; an all-white mask gives an empty region.
OwnedRegion RegionFromMask(HBITMAP mask);

// The 32-bit pixels of a DIB section (blue, green, red, alpha), or null.
std::uint8_t* DibPixels(HBITMAP bitmap) noexcept;

// A 32-bit copy of a whole bitmap with every alpha set to 255, so that a picture
// without an alpha channel blends as opaque.
SkinBitmap OpaqueCopy32(HBITMAP source, int left, int top, int right, int bottom);

}  // namespace quencfg
