#include "quencfg/framework/folders.h"

#include "quencfg/framework/files.h"
#include "quencfg/framework/paths.h"
#include "quencfg/framework/text.h"

namespace quencfg {
namespace {

char16_t g_appFolder[kFolderCapacity];
char16_t g_dataFolder[kFolderCapacity];

bool StoreFolder(char16_t (&field)[kFolderCapacity], std::u16string_view folder) noexcept {
  if (folder.size() >= kFolderCapacity) return false;
  CopyToField(field, folder);
  return true;
}

}  // namespace

const char16_t* AppFolder() noexcept { return g_appFolder; }
const char16_t* DataFolder() noexcept { return g_dataFolder; }

bool SetAppFolder(std::u16string_view folder) noexcept { return StoreFolder(g_appFolder, folder); }
bool SetDataFolder(std::u16string_view folder) noexcept { return StoreFolder(g_dataFolder, folder); }

std::u16string FolderOfPath(std::u16string_view path) {
  const auto last = path.find_last_of(kPathSeparator);
  if (last == std::u16string_view::npos) return std::u16string();
  return std::u16string(path.substr(0, last + 1));
}

std::u16string ResolveFolderUnder(std::u16string_view base, std::u16string_view relative) {
  for (std::size_t i = 0; i < relative.size(); ++i) {
    if (relative[i] != kPathSeparator) continue;
    std::u16string step(base);
    step.append(relative.substr(0, i));
    if (!IsDirectory(step)) CreateFolder(step);
  }
  std::u16string result(base);
  result.append(relative);
  return result;
}

std::u16string ResolveDataFolder(std::u16string_view relative) {
  return ResolveFolderUnder(ApplicationDataFolder(), relative);
}

}  // namespace quencfg
