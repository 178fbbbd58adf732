#pragma once
// Shared set-up of the data-file fuzz targets: a private data folder with its Profiles
// and Macros subfolders, and a check that a fixed text field stayed terminated.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "quencfg/framework/files.h"
#include "quencfg/framework/folders.h"
#include "quencfg/framework/text.h"

namespace quencfg::fuzzing {

inline const std::u16string& FuzzDataFolder() {
  static const std::u16string folder = [] {
    namespace fs = std::filesystem;
    const fs::path root = fs::temp_directory_path() / ("korvane-fuzz-" + std::to_string(::getpid()));
    fs::create_directories(root / "Profiles");
    fs::create_directories(root / "Macros");
    std::u16string path = Utf8ToUtf16(root.string()) + u"/";
    SetDataFolder(path);
    return path;
  }();
  return folder;
}

inline void PlaceFile(const std::u16string& path, const std::uint8_t* data, std::size_t size) {
  (void)ReplaceFileContents(path, std::string(reinterpret_cast<const char*>(data), size));
}

template <std::size_t N>
void CheckTerminated(const char16_t (&field)[N]) {
  if (FieldLength(field, N) >= N) std::abort();
}

}  // namespace quencfg::fuzzing
