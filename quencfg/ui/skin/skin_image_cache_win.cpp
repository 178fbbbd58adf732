#include "quencfg/ui/skin/skin_image_cache_win.h"

#include "quencfg/framework/wide_win.h"

namespace quencfg {

bool SkinImageCache::StampOf(const std::u16string& path, FileStamp& stamp) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (::GetFileAttributesExW(AsWide(path), GetFileExInfoStandard, &data) == 0) return false;
  if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return false;
  stamp.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  stamp.writeTime = (static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                    data.ftLastWriteTime.dwLowDateTime;
  return true;
}

SkinBitmap SkinImageCache::LoadPng(std::u16string_view path) {
  const std::u16string file(path);
  FileStamp stamp;
  if (!StampOf(file, stamp)) return {};
  const std::lock_guard<std::mutex> lock(mutex_);
  if (enabled_) {
    const auto found = entries_.find(file);
    if (found != entries_.end() && found->second.stamp == stamp) return CopyBitmap32(found->second.image);
  }
  ++decodes_;
  if (!enabled_) return quencfg::LoadPng(file);
  Entry entry{stamp, quencfg::LoadPng(file)};
  SkinBitmap copy = CopyBitmap32(entry.image);
  entries_.insert_or_assign(file, std::move(entry));
  return copy;
}

void SkinImageCache::Clear() {
  const std::lock_guard<std::mutex> lock(mutex_);
  entries_.clear();
}

void SkinImageCache::SetEnabled(bool enabled) {
  const std::lock_guard<std::mutex> lock(mutex_);
  enabled_ = enabled;
  if (!enabled_) entries_.clear();
}

std::size_t SkinImageCache::decodeCount() const {
  const std::lock_guard<std::mutex> lock(mutex_);
  return decodes_;
}

SkinImageCache& SharedSkinImageCache() {
  static SkinImageCache cache;
  return cache;
}

}  // namespace quencfg
