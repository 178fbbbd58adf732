#include "quencfg/ui/skin/skin_draw_win.h"

#include <algorithm>

#include "quencfg/framework/wide_win.h"
#include "quencfg/ui/skin/skin_language.h"
#include "quencfg/ui/skin/skin_scale.h"

namespace quencfg {
namespace {

struct Part {
  int width;
  int height;
  bool empty() const { return width <= 0 || height <= 0; }
};

Part CutToBitmap(const SkinBitmap& bitmap, int width, int height, int sourceX, int sourceY) {
  const int w = width < 0 ? bitmap.width - sourceX : std::min(width, bitmap.width - sourceX);
  const int h = height < 0 ? bitmap.height - sourceY : std::min(height, bitmap.height - sourceY);
  return Part{w, h};
}

}  // namespace

void BlitBitmap(HDC dc, const SkinBitmap& bitmap, int x, int y, int width, int height, int sourceX, int sourceY) {
  if (bitmap.empty() || sourceX < 0 || sourceY < 0) return;
  const Part part = CutToBitmap(bitmap, width, height, sourceX, sourceY);
  if (part.empty()) return;
  MemoryDc source(dc);
  SelectScope select(source.get(), bitmap.get());
  ::BitBlt(dc, x, y, part.width, part.height, source.get(), sourceX, sourceY, SRCCOPY);
}

void BlendBitmap(HDC dc, const SkinBitmap& bitmap, int x, int y, int width, int height, int sourceX, int sourceY) {
  if (bitmap.empty() || sourceX < 0 || sourceY < 0) return;
  const Part part = CutToBitmap(bitmap, width, height, sourceX, sourceY);
  if (part.empty()) return;
  MemoryDc source(dc);
  SelectScope select(source.get(), bitmap.get());
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  ::AlphaBlend(dc, x, y, part.width, part.height, source.get(), sourceX, sourceY, part.width, part.height, blend);
}

void BlendBitmapInto(HDC dc, const SkinBitmap& bitmap, const RECT& target) {
  const int width = target.right - target.left;
  const int height = target.bottom - target.top;
  if (bitmap.empty() || width <= 0 || height <= 0) return;
  MemoryDc source(dc);
  SelectScope select(source.get(), bitmap.get());
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  ::AlphaBlend(dc, target.left, target.top, width, height, source.get(), 0, 0, bitmap.width, bitmap.height, blend);
}

void StretchBitmap(HDC dc, HBITMAP bitmap, const RECT& target, const RECT& source) {
  if (bitmap == nullptr) return;
  const int tw = target.right - target.left;
  const int th = target.bottom - target.top;
  const int sw = source.right - source.left;
  const int sh = source.bottom - source.top;
  if (tw <= 0 || th <= 0 || sw <= 0 || sh <= 0) return;
  MemoryDc from(dc);
  SelectScope select(from.get(), bitmap);
  if (tw == sw && th == sh) {
    ::BitBlt(dc, target.left, target.top, tw, th, from.get(), source.left, source.top, SRCCOPY);
  } else {
    const int oldMode = ::SetStretchBltMode(dc, COLORONCOLOR);
    ::StretchBlt(dc, target.left, target.top, tw, th, from.get(), source.left, source.top, sw, sh, SRCCOPY);
    ::SetStretchBltMode(dc, oldMode);
  }
}

OwnedFont CreateSkinFont(int height, int weight, BYTE pitchAndFamily) {
  const std::u16string face = SkinFontName();
  const int scaledHeight = ScaleToDpi(height, SkinDpi());
  return OwnedFont(::CreateFontW(scaledHeight, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                 OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, 6, pitchAndFamily, AsWide(face)));
}

OwnedFont CreateSkinLabelFont(int height) {
  constexpr int kLabelWeight = 500;
  const std::u16string face = SkinFontName();
  const int scaledHeight = ScaleToDpi(height, SkinDpi());
  return OwnedFont(::CreateFontW(scaledHeight, 0, 0, 0, kLabelWeight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                 OUT_DEFAULT_PRECIS, CLIP_STROKE_PRECIS, PROOF_QUALITY, FF_SWISS, AsWide(face)));
}

}  // namespace quencfg
