#pragma once
// The images of one skinned control in its four states, read from the skins folder as
// they are first needed.
#include <array>
#include <string>
#include <string_view>

#include "quencfg/ui/skin/skin_bitmap_win.h"

namespace quencfg {

// The images of one skinned control, in state order.
enum SkinState : int { kStateNormal = 0, kStateOver = 1, kStateDown = 2, kStateDisabled = 3 };

// A window shows its controls in the normal state first, so a loaded set holds the
// normal image at once and reads the others from their files when first needed
// (StateImage): a window of a hundred buttons opens without decoding or copying the
// hover, pressed and disabled pictures that nobody has seen yet.
struct StateImages {
  std::array<SkinBitmap, 4> states;  // normal, mouse over, pressed, disabled
  int width = 0;                     // natural size: that of the normal image
  int height = 0;
  // The states not read yet, and where they come from: the skins folder and image
  // name. A state is read once, even when its file turns out missing or damaged.
  std::array<bool, 4> pending{};
  std::u16string stem;
  bool single = false;  // every state is the normal file
};

// Loads AppFolder() + "skins\" + name + "_normal.png"; the other states follow from
// their files when first asked for: a missing state file falls back to the normal file,
// and `single` uses the normal file for every state without looking for the others.
// An empty name loads nothing.
StateImages LoadStateImages(std::u16string_view imageName, bool single);
// The file of a state set's normal image: the stem (skins folder and image name) and
// "_normal.png". The other states fall back to it.
std::u16string NormalStateImagePath(std::u16string_view stem);

// The image of a state, read from its file on first use when the set is still pending.
const SkinBitmap& StateImage(StateImages& images, int state);

// Reads every state still pending, for controls that prepare all their pictures at once.
void LoadPendingStates(StateImages& images);

// The same below any skins folder (ending with the separator); the tests use it.
StateImages LoadStateImagesFrom(std::u16string_view skinsFolder, std::u16string_view imageName, bool single);

}  // namespace quencfg
