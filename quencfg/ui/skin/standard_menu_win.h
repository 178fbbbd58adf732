#pragma once
// The image pop-up menu as every window of the program opens it: six rows of 18 pixels,
// row text of height 16 left-aligned 5 pixels in, grey rows that turn black under the
// pointer, and picks posted to the owner as message 0x10001.
#include <windows.h>

#include <memory>
#include <string_view>

#include "quencfg/ui/skin/btn_menu_win.h"

namespace quencfg {

// A configured menu, not yet created: add the items, then Create it. `normalImage`
// (normal and disabled rows) and `overImage` (hover and pressed rows) are file names
// in the skins folder; the menu's top-left corner goes to `screenPosition`.
std::unique_ptr<CBtnMenu> MakeStandardMenu(HWND owner, POINT screenPosition, std::u16string_view normalImage,
                                           std::u16string_view overImage);

}  // namespace quencfg
