#pragma once
// Small drawing steps the skinned controls share: copying and alpha-blending parts of
// bitmaps, and the fonts made with the skin's face name.
#include <windows.h>

#include <cstdint>

#include "quencfg/framework/gdi_win.h"
#include "quencfg/ui/skin/skin_bitmap_win.h"
#include "quencfg/ui/skin/state_images_win.h"

namespace quencfg {

// Copies `bitmap` (or its part starting at sourceX, sourceY) opaquely to (x, y);
// nothing for an empty bitmap. Width and height are cut to the bitmap.
void BlitBitmap(HDC dc, const SkinBitmap& bitmap, int x, int y, int width = -1, int height = -1, int sourceX = 0,
                int sourceY = 0);

// Blends a premultiplied 32-bit bitmap (or its part) over (x, y) with per-pixel alpha.
void BlendBitmap(HDC dc, const SkinBitmap& bitmap, int x, int y, int width = -1, int height = -1, int sourceX = 0,
                 int sourceY = 0);

// Blends a whole premultiplied 32-bit bitmap over `target`, stretched to it when the
// sizes differ; nothing for an empty bitmap or target.
void BlendBitmapInto(HDC dc, const SkinBitmap& bitmap, const RECT& target);

// Stretches a part of a bitmap opaquely into a rectangle.
void StretchBitmap(HDC dc, HBITMAP bitmap, const RECT& target, const RECT& source);

// CreateFontW with SkinFontName(), the default character set and quality 6. Heights
// are in 96-DPI pixels, scaled to SkinDpi() like the layout.
OwnedFont CreateSkinFont(int height, int weight, BYTE pitchAndFamily = 0x20);
// The font of the labels painted on a window's background (weight 500, proof quality,
// stroke clipping, a Swiss face) in SkinFontName().
OwnedFont CreateSkinLabelFont(int height);

}  // namespace quencfg
