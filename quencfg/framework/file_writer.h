#pragma once
// Whole-file writes as an object: the part of the files seam whose failures the user is
// told of. The program writes through the platform's (ReplaceFileContents); a test that
// shows what the user sees when a save fails puts a double in its place that refuses
// writes as the platform refuses them, leaving the files as they were.
#include <string_view>

#include "quencfg/framework/files.h"

namespace quencfg {

class FileWriter {
 public:
  virtual ~FileWriter() = default;
  [[nodiscard]] virtual FileWriteResult ReplaceContents(std::u16string_view path, std::string_view bytes) = 0;
};

// The process-wide writer of the platform.
[[nodiscard]] FileWriter& PlatformFileWriter() noexcept;

}  // namespace quencfg
