#pragma once
// Decoded skin images by file path. The windows make many controls of one image name
// (111 key buttons share a handful of stems, a missing state image falls back to the
// normal one, and several windows share a background), and a decode costs far more
// than a copy: each file is decoded once, and every load hands out a bitmap of its
// own, which the control owns and may draw into as before.
//
// An entry is decoded again when the file's size or write time changed, so a skin
// file replaced while the program runs is still seen. A missing or undecodable file is
// never stored, nor a large picture (backgrounds, whole-window key pictures): each is used by one or
// two windows, and keeping them all would hold some 15 MB for the life of the process.
//
// A load names the 96-DPI file and the DPI it is wanted at: the entry is the rendering
// for that DPI, resampled where needed (skin_scaled_image_win.h), so each file is read
// and resampled once per DPI.
//
// A window about to open may have its pictures decoded ahead on another thread
// (Prefetch). A load never decodes what another thread is decoding: it waits for that
// decode. Decoding happens outside the lock, so two threads decode two files at once.
#include <windows.h>

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>

#include "quencfg/ui/skin/skin_bitmap_win.h"
#include "quencfg/ui/skin/state_images_win.h"
#include "quencfg/ui/skin/skin_picture_win.h"
#include "quencfg/ui/skin/skin_scale.h"

namespace quencfg {

// Images of more pixel bytes are decoded for every load; the largest control image of
// the shipped skin is far below (620 x 48: 116 KB), the smallest picture far above
// (the warning background, 440 x 240: 413 KB). The limit is of 96-DPI pixels: at other
// DPIs it grows with the pixel count, so the same images are kept.
inline constexpr std::size_t kLargestStoredImageBytes = 256 * 1024;

class SkinImageCache {
 public:
  explicit SkinImageCache(std::size_t largestStoredBytes = kLargestStoredImageBytes)
      : largestStoredBytes_(largestStoredBytes) {}

  // A copy of what DecodePng gives for the file (premultiplied 32-bit; empty for a
  // missing or undecodable file), at `dpi` (DecodeAtDpi).
  SkinBitmap LoadPng(std::u16string_view path, int dpi = kSkinBaseDpi);
  // A copy of what DecodePicture gives for the file, at `dpi`.
  SkinBitmap LoadPicture(std::u16string_view path, int dpi = kSkinBaseDpi);

  // Decodes the file as LoadPng or LoadPicture would, for a load still to come. A large
  // picture, which is otherwise never stored, is kept for exactly one load, which takes
  // it over without a copy.
  void PrefetchPng(std::u16string_view path, int dpi = kSkinBaseDpi);
  void PrefetchPicture(std::u16string_view path, int dpi = kSkinBaseDpi);

  // Forgets every decoded image.
  void Clear();

  // Off, every load decodes, as without a cache; the benchmarks compare both ways.
  // Switching it off empties the cache.
  void SetEnabled(bool enabled);

  // How many files this cache has decoded since it was made.
  [[nodiscard]] std::size_t decodeCount() const;

 private:
  enum class Decoder { kPng, kPicture };
  struct FileStamp {
    std::uint64_t size = 0;
    std::uint64_t writeTime = 0;
    friend bool operator==(const FileStamp&, const FileStamp&) = default;
  };
  struct Entry {
    FileStamp stamp;
    SkinBitmap image;
    bool handOver = false;  // a prefetched large picture: the next load takes it
  };
  // One file may be read both ways, and at several DPIs.
  using Key = std::tuple<Decoder, int, std::u16string>;
  enum class Use { kLoad, kPrefetch };

  SkinBitmap Load(Decoder decoder, std::u16string_view path, int dpi, Use use);
  // The stored entry's image for a load (a copy, or the handed-over picture itself).
  static SkinBitmap TakeFrom(std::map<Key, Entry>& entries, std::map<Key, Entry>::iterator found, Use use);
  static bool StampOf(const std::u16string& path, FileStamp& stamp);
  static SkinBitmap Decode(Decoder decoder, const std::u16string& path, int dpi);

  // The progress window loads its pictures on its own thread, and prefetches run on theirs.
  mutable std::mutex mutex_;
  std::condition_variable decodeEnded_;
  std::set<Key> decoding_;  // decodes under way, outside the lock
  std::map<Key, Entry> entries_;
  std::size_t largestStoredBytes_;
  std::size_t decodes_ = 0;
  bool enabled_ = true;
};

// The cache every skin load of the process goes through: skin files do not change
// while the program runs, and a language change that lays the windows out again
// reuses it.
SkinImageCache& SharedSkinImageCache();

}  // namespace quencfg
