#pragma once
// The shipped skin for one Windows test: AppFolder points at the staged application
// folder and the skin, layout and English strings documents are loaded; all is undone
// when the object goes. Declare it before the windows a fixture creates.
#include <string>

namespace quencfg::testing {

class ShippedSkin {
 public:
  ShippedSkin();
  ~ShippedSkin();
  ShippedSkin(const ShippedSkin&) = delete;
  ShippedSkin& operator=(const ShippedSkin&) = delete;

  // False when the staged folder could not be made AppFolder.
  [[nodiscard]] bool loaded() const { return loaded_; }

 private:
  std::u16string previousAppFolder_;
  bool loaded_ = false;
};

// The staged application folder, ending with a backslash.
std::u16string StagedAppFolder();

}  // namespace quencfg::testing
