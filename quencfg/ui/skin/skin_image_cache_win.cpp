#include "quencfg/ui/skin/skin_image_cache_win.h"

#include "quencfg/framework/wide_win.h"
#include "quencfg/ui/skin/skin_scaled_image_win.h"

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

SkinBitmap SkinImageCache::Load(Decoder decoder, std::u16string_view path, int dpi) {
  Key key{decoder, dpi, std::u16string(path)};
  const std::u16string& file = std::get<2>(key);
  FileStamp stamp;
  if (!StampOf(file, stamp)) return {};
  const std::lock_guard<std::mutex> lock(mutex_);
  if (enabled_) {
    const auto found = entries_.find(key);
    if (found != entries_.end() && found->second.stamp == stamp) return CopySkinBitmap(found->second.image);
  }
  ++decodes_;
  SkinBitmap decoded = Decode(decoder, file, dpi);
  const std::size_t bytes = static_cast<std::size_t>(decoded.width) * static_cast<std::size_t>(decoded.height) * 4;
  const std::size_t scale = static_cast<std::size_t>(ScaleToDpi(kSkinBaseDpi, dpi));
  const std::size_t largest =
      scale == kSkinBaseDpi ? largestStoredBytes_ : largestStoredBytes_ / kSkinBaseDpi * scale / kSkinBaseDpi * scale;
  // A failed decode is tried again next time.
  if (!enabled_ || decoded.empty() || bytes > largest) return decoded;
  SkinBitmap copy = CopySkinBitmap(decoded);
  entries_.insert_or_assign(std::move(key), Entry{stamp, std::move(decoded)});
  return copy;
}

SkinBitmap SkinImageCache::LoadPng(std::u16string_view path, int dpi) { return Load(Decoder::kPng, path, dpi); }

SkinBitmap SkinImageCache::LoadPicture(std::u16string_view path, int dpi) {
  return Load(Decoder::kPicture, path, dpi);
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
