#include "quencfg/ui/skin/skins_folder_win.h"

#include "quencfg/framework/folders.h"
#include "quencfg/framework/paths.h"

namespace quencfg {

std::u16string SkinsFolder() {
  std::u16string folder = AppFolder();
  folder += u"skins";
  folder += kPathSeparator;
  return folder;
}

}  // namespace quencfg
