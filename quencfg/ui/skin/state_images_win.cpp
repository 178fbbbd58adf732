#include "quencfg/ui/skin/state_images_win.h"

#include "quencfg/framework/files.h"
#include "quencfg/ui/skin/skin_picture_win.h"
#include "quencfg/ui/skin/skins_folder_win.h"

namespace quencfg {

std::u16string NormalStateImagePath(std::u16string_view stem) { return std::u16string(stem) + u"_normal.png"; }

StateImages LoadStateImagesFrom(std::u16string_view skinsFolder, std::u16string_view imageName, bool single) {
  StateImages images;
  if (imageName.empty()) return images;
  images.stem = std::u16string(skinsFolder) + std::u16string(imageName);
  images.single = single;
  images.pending = {false, true, true, true};
  images.states[kStateNormal] = LoadPng(NormalStateImagePath(images.stem));
  images.width = images.states[kStateNormal].width;
  images.height = images.states[kStateNormal].height;
  return images;
}

const SkinBitmap& StateImage(StateImages& images, int state) {
  static const SkinBitmap kNone;
  if (state < kStateNormal || state > kStateDisabled) return kNone;
  const auto index = static_cast<std::size_t>(state);
  SkinBitmap& image = images.states[index];
  if (!images.pending[index]) return image;
  images.pending[index] = false;
  static constexpr std::u16string_view kSuffixes[] = {u"_over.png", u"_down.png", u"_disable.png"};
  const std::u16string normal = NormalStateImagePath(images.stem);
  const std::u16string own = images.stem + std::u16string(kSuffixes[index - 1]);
  image = LoadPng(!images.single && PathExists(own) ? own : normal);
  return image;
}

void LoadPendingStates(StateImages& images) {
  for (int state = kStateOver; state <= kStateDisabled; ++state) StateImage(images, state);
}

StateImages LoadStateImages(std::u16string_view imageName, bool single) {
  return LoadStateImagesFrom(SkinsFolder(), imageName, single);
}

}  // namespace quencfg
