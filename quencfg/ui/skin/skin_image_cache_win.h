#pragma once
// Decoded skin images by file path. The windows make many controls of one image name
// (111 key buttons share a handful of stems, and a missing state image falls back to
// the normal one), and a decode costs far more than a copy: each file is decoded once
// and every load hands out a bitmap of its own, which the control owns as before.
//
// An entry is decoded again when the file's size or write time changed, so a skin
// file replaced while the program runs is still seen. A missing file is never stored.
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <string_view>

#include "quencfg/ui/skin/skin_image_win.h"

namespace quencfg {

class SkinImageCache {
 public:
  // A copy of the file as LoadPng decodes it: premultiplied 32-bit, empty for a
  // missing or undecodable file.
  SkinBitmap LoadPng(std::u16string_view path);

  // Forgets every decoded image.
  void Clear();

  // Off, every load decodes, as without a cache; the benchmarks compare both ways.
  void SetEnabled(bool enabled);

  // How many files this cache has decoded since it was made.
  [[nodiscard]] std::size_t decodeCount() const;

 private:
  struct FileStamp {
    std::uint64_t size = 0;
    std::uint64_t writeTime = 0;
    friend bool operator==(const FileStamp&, const FileStamp&) = default;
  };
  struct Entry {
    FileStamp stamp;
    SkinBitmap image;
  };

  static bool StampOf(const std::u16string& path, FileStamp& stamp);

  mutable std::mutex mutex_;
  std::map<std::u16string, Entry, std::less<>> entries_;
  std::size_t decodes_ = 0;
  bool enabled_ = true;
};

// The cache every skin loader of the process shares; skin files do not change while
// the program runs, and a language change that lays the windows out again reuses it.
SkinImageCache& SharedSkinImageCache();

}  // namespace quencfg
