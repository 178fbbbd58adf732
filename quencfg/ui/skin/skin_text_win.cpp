#include "quencfg/ui/skin/skin_text_win.h"

#include <string>

#include "quencfg/framework/text.h"
#include "quencfg/framework/wide_win.h"
#include "quencfg/ui/skin/skin_documents.h"
#include "quencfg/ui/skin/skin_draw_win.h"
#include "quencfg/ui/skin/skin_bitmap_win.h"
#include "quencfg/ui/skin/skin_picture_win.h"
#include "quencfg/ui/skin/skins_folder_win.h"

namespace quencfg {

void DrawSkinText(HDC dc, std::u16string_view section, std::u16string_view key, UINT format) {
  DrawSkinText(dc, section, key, StringDocument().Lookup(section, key), format);
}

void DrawSkinText(HDC dc, std::u16string_view section, std::u16string_view key, std::u16string_view text,
                  UINT format) {
  const SkinRect entry = LayoutDocument().LookupRect(section, key);
  RECT rect{entry.left, entry.top, entry.right, entry.bottom};
  std::u16string drawn(text);  // DrawTextW takes a mutable pointer
  int height = 0;
  if ((format & DT_WORDBREAK) != 0) {
    // Centred as it stands: a text that wraps takes the height of all its lines.
    RECT measured = rect;
    ::DrawTextW(dc, AsWide(drawn.data()), static_cast<int>(drawn.size()), &measured, format | DT_CALCRECT);
    height = measured.bottom - measured.top;
  } else {
    SIZE extent{};
    ::GetTextExtentPoint32W(dc, AsWide(drawn), static_cast<int>(drawn.size()), &extent);
    height = extent.cy;
  }
  rect.top += (rect.bottom - height - rect.top) / 2;  // truncates toward zero, may move up
  ::DrawTextW(dc, AsWide(drawn.data()), static_cast<int>(drawn.size()), &rect, format);
}

void DrawSkinImage(HDC dc, std::u16string_view section, std::u16string_view key) {
  const SkinRect entry = SkinDocument().LookupRect(section, key);
  const std::u16string_view name = FieldText(entry.name);
  if (name.empty()) return;
  // Any picture format, in its rendering for the skin's DPI, stretched to the scaled
  // entry where the two differ by a rounding; a missing or unreadable file draws nothing.
  const SkinBitmap image = LoadPng(SkinsFolder() + std::u16string(name));
  BlendBitmapInto(dc, image, RECT{entry.left, entry.top, entry.right, entry.bottom});
}

}  // namespace quencfg
