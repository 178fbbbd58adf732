#pragma once
// Skin pictures decoded into bitmaps by the imaging component: PNG state images with
// premultiplied alpha, and opaque backgrounds and masks (through the platform picture
// loader where the component cannot read one).
//
// A missing or undecodable file is never a failure: it gives an empty bitmap, and the
// control then draws nothing for it.
#include <string_view>

#include "quencfg/ui/skin/skin_bitmap_win.h"

namespace quencfg {

// Loads a PNG (or any format the imaging component reads) as a 32-bit top-down DIB section
// with premultiplied color, ready for AlphaBlend with AC_SRC_ALPHA.
// Each file is decoded once (SharedSkinImageCache); every call returns a bitmap of its own.
// `path` names the 96-DPI file; the picture comes at SkinDpi() (skin_scale.h), as do
// LoadPicture's and so every picture of the state image sets.
SkinBitmap LoadPng(std::u16string_view path);

// Loads an opaque JPEG, BMP or GIF picture: a 32-bit bitmap like LoadPng's (alpha 255),
// decoded by the imaging component, or by the platform picture loader (OleLoadPicture)
// where that component cannot read it. Decoded once per file like LoadPng.
SkinBitmap LoadPicture(std::u16string_view path);

// The decoders themselves, without the cache.
SkinBitmap DecodePng(std::u16string_view path);
SkinBitmap DecodePicture(std::u16string_view path);
// The picture loader alone, as DecodePicture falls back to it: the picture's own bitmap
// copied into a bitmap of ours.
SkinBitmap DecodeWithPictureLoader(std::u16string_view path);

}  // namespace quencfg
