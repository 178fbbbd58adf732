#include "quencfg/ui/skin/standard_menu_win.h"

#include <string>

#include "quencfg/framework/messages.h"
#include "quencfg/ui/skin/skins_folder_win.h"
#include "quencfg/ui/skin/skin_scale.h"

namespace quencfg {
namespace {

constexpr int kMenuRows = 6;
constexpr int kMenuRowHeight = 18;
constexpr int kMenuFontHeight = 16;
constexpr int kMenuTextOffset = 5;
constexpr COLORREF kMenuTextNormal = 0x787878;
constexpr COLORREF kMenuTextHover = 0x000000;

}  // namespace

std::unique_ptr<CBtnMenu> MakeStandardMenu(HWND owner, POINT screenPosition, std::u16string_view normalImage,
                                           std::u16string_view overImage) {
  auto menu = std::make_unique<CBtnMenu>();
  menu->SetVisibleRows(kMenuRows);
  menu->SetRowHeight(ScaleToDpi(kMenuRowHeight, SkinDpi()));
  menu->SetRowFontHeight(kMenuFontHeight);  // scaled where the font is made
  menu->SetRowTextAlign(kAlignLeft, ScaleToDpi(kMenuTextOffset, SkinDpi()));
  menu->SetRowTextColors(kMenuTextNormal, kMenuTextHover);
  menu->SetPickMessages(kMenuPickCommand, kMenuPickCommand);
  const std::u16string normal = SkinsFolder() + std::u16string(normalImage);
  const std::u16string over = SkinsFolder() + std::u16string(overImage);
  menu->SetBackgrounds(normal, over, over, normal);
  menu->SetPosition(screenPosition);
  menu->SetOwner(owner);
  return menu;
}

}  // namespace quencfg
