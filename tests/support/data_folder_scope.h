#pragma once
// Points the process-wide DataFolder at a fresh temporary folder for one test and
// restores the previous folder afterwards.
#include <string>

#include "quencfg/framework/folders.h"
#include "support/temp_folder.h"

namespace quencfg::testing {

class DataFolderScope {
 public:
  DataFolderScope() : previous_(DataFolder()) { SetDataFolder(folder_.path()); }
  ~DataFolderScope() { SetDataFolder(previous_); }
  DataFolderScope(const DataFolderScope&) = delete;
  DataFolderScope& operator=(const DataFolderScope&) = delete;

  [[nodiscard]] const std::u16string& path() const { return folder_.path(); }

 private:
  TempFolder folder_;
  std::u16string previous_;
};

// The bytes of a UTF-16LE file with byte-order mark holding `lines`, each ended by CR LF.
std::string Utf16FileBytes(std::u16string_view text);

}  // namespace quencfg::testing
