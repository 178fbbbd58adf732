#include "quencfg/ui/skin/skin_text_win.h"

#include <gdiplus.h>

#include <memory>
#include <string>

#include "quencfg/framework/files.h"
#include "quencfg/framework/text.h"
#include "quencfg/framework/wide_win.h"
#include "quencfg/ui/skin/skin_documents.h"
#include "quencfg/ui/skin/skin_image_win.h"
#include "quencfg/ui/skin/skin_scale.h"

namespace quencfg {

void DrawSkinText(HDC dc, std::u16string_view section, std::u16string_view key, UINT format) {
  DrawSkinText(dc, section, key, StringDocument().Lookup(section, key), format);
}

void DrawSkinText(HDC dc, std::u16string_view section, std::u16string_view key, std::u16string_view text,
                  UINT format) {
  const SkinRect entry = LayoutDocument().LookupRect(section, key);
  RECT rect{entry.left, entry.top, entry.right, entry.bottom};
  std::u16string drawn(text);  // DrawTextW takes a mutable pointer
  SIZE extent{};
  ::GetTextExtentPoint32W(dc, AsWide(drawn), static_cast<int>(drawn.size()), &extent);
  rect.top += (rect.bottom - extent.cy - rect.top) / 2;  // truncates toward zero, may move up
  ::DrawTextW(dc, AsWide(drawn.data()), static_cast<int>(drawn.size()), &rect, format);
}

void DrawSkinImage(HDC dc, std::u16string_view section, std::u16string_view key) {
  const SkinRect entry = SkinDocument().LookupRect(section, key);
  const std::u16string_view name = FieldText(entry.name);
  if (name.empty()) return;
  const std::u16string original = SkinsFolder() + std::u16string(name);
  // The rendering for the DPI where there is one; drawn into the scaled entry either way.
  const std::u16string rendering = RenderingPath(original, SkinDpi());
  const std::u16string& path = IsRegularFile(rendering) ? rendering : original;
  if (!IsRegularFile(path)) return;
  std::unique_ptr<Gdiplus::Image> image(Gdiplus::Image::FromFile(AsWide(path), FALSE));
  if (!image || image->GetLastStatus() != Gdiplus::Ok) return;
  Gdiplus::Graphics graphics(dc);
  graphics.DrawImage(image.get(), entry.left, entry.top, entry.right - entry.left, entry.bottom - entry.top);
}

}  // namespace quencfg
