#pragma once
// A fresh, empty folder for one test, removed with everything in it afterwards.
#include <string>

namespace quencfg::testing {

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder, ending with the path separator.
  [[nodiscard]] const std::u16string& path() const { return path_; }
  [[nodiscard]] std::u16string operator/(std::u16string_view name) const { return path_ + std::u16string(name); }

 private:
  std::u16string path_;
};

}  // namespace quencfg::testing
