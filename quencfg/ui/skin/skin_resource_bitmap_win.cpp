#include "quencfg/ui/skin/skin_resource_bitmap_win.h"

#include "quencfg/ui/skin/skin_scale.h"
#include "quencfg/ui/skin/skin_scaled_image_win.h"

namespace quencfg {
namespace {

SkinBitmap LoadResource(int id) {
  if (id <= 0 || id >= 0x10000) return {};
  SkinBitmap result;
  HINSTANCE program = ::GetModuleHandleW(nullptr);
  result.bitmap.reset(static_cast<HBITMAP>(
      ::LoadImageW(program, MAKEINTRESOURCEW(static_cast<WORD>(id)), IMAGE_BITMAP, 0, 0, 0)));
  BITMAP info{};
  if (!result.bitmap || ::GetObjectW(result.get(), sizeof info, &info) == 0) return {};
  result.width = info.bmWidth;
  result.height = info.bmHeight;
  return result;
}

}  // namespace

OwnedBitmap LoadSkinResourceBitmap(int id, int dpi) {
  SkinBitmap base = LoadResource(id);
  if (base.empty() || ScaleToDpi(kSkinBaseDpi, dpi) == kSkinBaseDpi) return std::move(base.bitmap);
  const PixelSize wanted = ScaledPictureSize(PixelSize{base.width, base.height}, dpi);
  SkinBitmap sharp = LoadResource(RenderingResourceId(id, dpi));
  if (!sharp.empty() && CloseEnough(PixelSize{sharp.width, sharp.height}, wanted)) return std::move(sharp.bitmap);
  SkinBitmap resized = ResampleSkinBitmap(sharp.empty() ? base : sharp, wanted, true);
  return std::move(resized.bitmap);
}

}  // namespace quencfg
