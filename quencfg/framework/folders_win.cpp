#include <windows.h>
#include <shlobj.h>

#include "quencfg/framework/folders.h"
#include "quencfg/framework/wide_win.h"

namespace quencfg {

std::u16string ApplicationDataFolder() {
  wchar_t folder[MAX_PATH] = {};
  // When the shell cannot answer, the folder stays empty and the data folder becomes
  // the relative part alone (relative to the current drive), which still ends right.
  if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr,
                                SHGFP_TYPE_CURRENT, folder))) {
    folder[0] = 0;
  }
  return ToU16(folder);
}

}  // namespace quencfg
