#pragma once
// Bitmaps compiled into the program (scroll bar cells, macro list row images) at the
// skin's DPI, chosen like the skin files (skin_scale.h): the 1.5x or 2x rendering under
// its own resource number (RenderingResourceId), used as it is when its size is the
// scaled size give or take a pixel, else resampled; the 96-DPI bitmap resampled when
// the program has no rendering. At 96 DPI exactly the bitmap LoadImageW gives.
#include <windows.h>

#include "quencfg/framework/gdi_win.h"

namespace quencfg {

// Null when the program has no bitmap of that number.
OwnedBitmap LoadSkinResourceBitmap(int id, int dpi);

}  // namespace quencfg
