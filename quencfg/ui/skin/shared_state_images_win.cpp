#include "quencfg/ui/skin/shared_state_images_win.h"

namespace quencfg {

std::shared_ptr<StateImages> SharedStateImages::For(const SkinRect& entry) {
  std::pair<std::u16string, bool> key{SkinImageName(entry), entry.flag};
  std::shared_ptr<StateImages>& set = sets_[key];
  if (!set) set = std::make_shared<StateImages>(LoadStateImages(key.first, key.second));
  return set;
}

}  // namespace quencfg
