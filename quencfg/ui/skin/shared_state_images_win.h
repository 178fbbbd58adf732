#pragma once
// State image sets shared by the buttons of one layout pass that show the same picture:
// the keyboard's 111 keys come in a handful of sizes. Each set is loaded once, and each
// of its other states once for all its buttons, when one of them first shows it.
#include <map>
#include <memory>
#include <string>
#include <utility>

#include "quencfg/ui/skin/state_images_win.h"
#include "quencfg/ui/skin/skin_rect.h"

namespace quencfg {

class SharedStateImages {
 public:
  // The set of the entry's image name and single-image flag, loaded on first ask.
  std::shared_ptr<StateImages> For(const SkinRect& entry);

 private:
  std::map<std::pair<std::u16string, bool>, std::shared_ptr<StateImages>> sets_;
};

}  // namespace quencfg
