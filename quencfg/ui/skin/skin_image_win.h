#pragma once
// Skin images as GDI bitmaps, decoded by the imaging component: PNG state images with
// premultiplied alpha, opaque backgrounds and masks (the platform picture loader where
// the component cannot read one), window shapes from masks,
// and the small bitmap operations the skinned controls draw with.
//
// A missing or undecodable file is never a failure: it gives an empty bitmap (no
// handle) of size 0 x 0, and the control then draws nothing for it.
#include <windows.h>

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "quencfg/framework/gdi_win.h"

namespace quencfg {

struct SkinBitmap {
  OwnedBitmap bitmap;
  int width = 0;
  int height = 0;
  // Made by the decoders and the 32-bit bitmap maker: a DIB section whose rows run top
  // to bottom, 4 bytes a pixel, which copies and crops read row by row. GetObject cannot
  // tell: it gives a top-down section's height as positive.
  bool topDown32 = false;

  [[nodiscard]] HBITMAP get() const noexcept { return bitmap.get(); }
  [[nodiscard]] bool empty() const noexcept { return !bitmap; }
};

// Loads a PNG (or any format the imaging component reads) as a 32-bit top-down DIB section
// with premultiplied color, ready for AlphaBlend with AC_SRC_ALPHA.
// Each file is decoded once (SharedSkinImageCache); every call returns a bitmap of its own.
// `path` names the 96-DPI file; the picture comes at SkinDpi() (skin_scale.h), as do
// LoadPicture's and so every picture of the state image sets.
SkinBitmap LoadPng(std::u16string_view path);

// Loads an opaque JPEG, BMP or GIF picture: a 32-bit bitmap like LoadPng's (alpha 255),
// decoded by the imaging component, or by the platform picture loader (OleLoadPicture)
// where that component cannot read it. Decoded once per file like LoadPng.
SkinBitmap LoadPicture(std::u16string_view path);

// The decoders themselves, without the cache.
SkinBitmap DecodePng(std::u16string_view path);
SkinBitmap DecodePicture(std::u16string_view path);
// The picture loader alone, as DecodePicture falls back to it: the picture's own bitmap
// copied into a bitmap of ours.
SkinBitmap DecodeWithPictureLoader(std::u16string_view path);

// A bitmap of its own with the size, format and pixels of `source`: a plain memory copy
// for the top-down 32-bit DIB sections the loaders make. Empty for empty.
SkinBitmap CopySkinBitmap(const SkinBitmap& source);

// Any bitmap's pixels as 32-bit top-down rows (blue, green, red, alpha), read back
// through GDI; empty when unreadable.
std::vector<std::uint8_t> ReadPixels32(HBITMAP bitmap, int width, int height);

// A new 32-bit top-down DIB section, all bytes 0; empty for a size that is not positive.
SkinBitmap CreateBitmap32(int width, int height);

// The rectangle [left, right) x [top, bottom) of `source`, 1:1, in a bitmap compatible
// with `dc`. Parts outside the source stay black; an empty rectangle gives an empty bitmap.
SkinBitmap CropBitmap(HDC dc, HBITMAP source, int left, int top, int right, int bottom);

// The same into a 32-bit DIB section, so that the alpha channel survives.
SkinBitmap CropBitmap32(HBITMAP source, int left, int top, int right, int bottom);
// The same from a skin bitmap: rows copied straight from the source's memory where it
// is one of our top-down 32-bit sections and the rectangle lies inside it (several times
// faster than GDI, which the other cases go through).
SkinBitmap CropSkinBitmap(const SkinBitmap& source, int left, int top, int right, int bottom);

// The window shape of a mask: every pixel that is not pure white is inside. No bitmap
// gives no region; an all-white mask gives an empty region.
OwnedRegion RegionFromMask(HBITMAP mask);

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

// AppFolder() + "skins\" with this platform's separator.
std::u16string SkinsFolder();

}  // namespace quencfg
