#pragma once
// Drawing straight from the skin documents: a localised label at its layout rectangle,
// and an image named by an entry of the skin document.
#include <windows.h>

#include <string_view>

namespace quencfg {

// The label of (section, key): text from StringDocument(), rectangle from
// LayoutDocument(), vertically centred on the text's height, drawn with DrawTextW and
// `format` in the font, color and background mode selected into `dc`.
void DrawSkinText(HDC dc, std::u16string_view section, std::u16string_view key, UINT format);
// The same with a text of the caller's at the rectangle of (section, key).
void DrawSkinText(HDC dc, std::u16string_view section, std::u16string_view key, std::u16string_view text,
                  UINT format);

// Draws AppFolder() + "skins\" + the entry's name from SkinDocument() into the entry's
// rectangle, blended by its alpha. Nothing when the file is missing or unreadable.
void DrawSkinImage(HDC dc, std::u16string_view section, std::u16string_view key);

}  // namespace quencfg
