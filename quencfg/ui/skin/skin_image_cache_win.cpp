#include "quencfg/ui/skin/skin_image_cache_win.h"

#include "quencfg/framework/wide_win.h"
#include "quencfg/ui/skin/skin_scaled_image_win.h"
#include "quencfg/ui/skin/skin_picture_win.h"

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

SkinBitmap SkinImageCache::Decode(Decoder decoder, const std::u16string& path, int dpi) {
  if (decoder == Decoder::kPng) return DecodeAtDpi(&DecodePng, path, dpi, false);
  return DecodeAtDpi(&DecodePicture, path, dpi, true);
}

SkinBitmap SkinImageCache::TakeFrom(std::map<Key, Entry>& entries, std::map<Key, Entry>::iterator found, Use use) {
  if (use == Use::kPrefetch) return {};
  if (!found->second.handOver) return CopySkinBitmap(found->second.image);
  SkinBitmap image = std::move(found->second.image);
  entries.erase(found);
  return image;
}

SkinBitmap SkinImageCache::Load(Decoder decoder, std::u16string_view path, int dpi, Use use) {
  Key key{decoder, dpi, std::u16string(path)};
  const std::u16string file = std::get<2>(key);
  FileStamp stamp;
  if (!StampOf(file, stamp)) return {};
  std::unique_lock<std::mutex> lock(mutex_);
  const bool storing = enabled_;
  if (storing) {
    decodeEnded_.wait(lock, [&] { return !decoding_.contains(key); });
    const auto found = entries_.find(key);
    if (found != entries_.end() && found->second.stamp == stamp) return TakeFrom(entries_, found, use);
    decoding_.insert(key);
  } else if (use == Use::kPrefetch) {
    return {};  // nothing would keep it
  }
  ++decodes_;
  lock.unlock();
  SkinBitmap decoded = Decode(decoder, file, dpi);
  lock.lock();
  if (!storing) return decoded;
  decoding_.erase(key);
  decodeEnded_.notify_all();
  const std::size_t bytes = static_cast<std::size_t>(decoded.width) * static_cast<std::size_t>(decoded.height) * 4;
  const std::size_t scale = static_cast<std::size_t>(ScaleToDpi(kSkinBaseDpi, dpi));
  const std::size_t largest =
      scale == kSkinBaseDpi ? largestStoredBytes_ : largestStoredBytes_ / kSkinBaseDpi * scale / kSkinBaseDpi * scale;
  const bool large = bytes > largest;
  // A failed decode is tried again next time; a large picture is kept only for a load
  // still to come.
  if (decoded.empty() || (large && use == Use::kLoad)) return decoded;
  if (large) {
    entries_.insert_or_assign(std::move(key), Entry{stamp, std::move(decoded), true});
    return {};
  }
  SkinBitmap copy = use == Use::kLoad ? CopySkinBitmap(decoded) : SkinBitmap{};
  entries_.insert_or_assign(std::move(key), Entry{stamp, std::move(decoded), false});
  return copy;
}

SkinBitmap SkinImageCache::LoadPng(std::u16string_view path, int dpi) {
  return Load(Decoder::kPng, path, dpi, Use::kLoad);
}

SkinBitmap SkinImageCache::LoadPicture(std::u16string_view path, int dpi) {
  return Load(Decoder::kPicture, path, dpi, Use::kLoad);
}

void SkinImageCache::PrefetchPng(std::u16string_view path, int dpi) { Load(Decoder::kPng, path, dpi, Use::kPrefetch); }

void SkinImageCache::PrefetchPicture(std::u16string_view path, int dpi) {
  Load(Decoder::kPicture, path, dpi, Use::kPrefetch);
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
