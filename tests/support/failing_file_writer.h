#pragma once
// A FileWriter that refuses the writes of the files it is told, as the platform refuses
// them: nothing is written (the file stays as it was) and the reason comes back. Every
// other file is written by the platform.
#include <map>
#include <string>
#include <string_view>

#include "quencfg/framework/file_writer.h"

namespace quencfg::testing {

class FailingFileWriter final : public FileWriter {
 public:
  // Writes of `path` fail with `status` from now on.
  void Fail(std::u16string path, FileWriteStatus status) { failing_[std::move(path)] = status; }
  void Heal() { failing_.clear(); }
  [[nodiscard]] int refused() const noexcept { return refused_; }

  FileWriteResult ReplaceContents(std::u16string_view path, std::string_view bytes) override {
    const auto failing = failing_.find(path);
    if (failing == failing_.end()) return ReplaceFileContents(path, bytes);
    ++refused_;
    return FileWriteResult{failing->second};
  }

 private:
  std::map<std::u16string, FileWriteStatus, std::less<>> failing_;
  int refused_ = 0;
};

}  // namespace quencfg::testing
