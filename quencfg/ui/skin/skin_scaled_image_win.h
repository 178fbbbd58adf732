#pragma once
// Skin pictures at a DPI: the rendering of a 96-DPI file that the DPI reads (see
// skin_scale.h), resampled to the scaled size when that rendering is missing or of
// another size. The image cache decodes through it, so that each file is read and
// resampled once per DPI.
#include <windows.h>

#include <string_view>

#include "quencfg/ui/skin/skin_bitmap_win.h"
#include "quencfg/ui/skin/state_images_win.h"
#include "quencfg/ui/skin/skin_scale.h"

namespace quencfg {

using SkinDecoder = SkinBitmap (*)(std::u16string_view path);

// What `decode` gives for the 96-DPI file `path`, at `dpi`. At 96 DPI exactly that.
// `opaque` pictures (backgrounds, masks) keep alpha 255 when resampled.
SkinBitmap DecodeAtDpi(SkinDecoder decode, std::u16string_view path, int dpi, bool opaque);

// A new 32-bit premultiplied bitmap of `size` with the content of `source`, filtered;
// a copy when the size is the same. Empty for an empty source or size.
SkinBitmap ResampleSkinBitmap(const SkinBitmap& source, PixelSize size, bool opaque);

// The width and height a picture file states in its header; 0 x 0 when unreadable.
PixelSize PictureFileSize(std::u16string_view path);

}  // namespace quencfg
