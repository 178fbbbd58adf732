#include <cstdlib>

#include "quencfg/framework/files.h"
#include "quencfg/framework/folders.h"
#include "quencfg/framework/text.h"

namespace quencfg {

// Natively the data lives under $XDG_CONFIG_HOME, else ~/.config, else /tmp.
std::u16string ApplicationDataFolder() {
  std::u16string folder;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && *xdg != '\0') {
    folder = Utf8ToUtf16(xdg);
  } else if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
    folder = Utf8ToUtf16(home) + u"/.config";
  } else {
    folder = u"/tmp";
  }
  CreateFolder(folder);
  return folder;
}

}  // namespace quencfg
