#include "support/image_header.h"

#include <cstddef>
#include <cstdint>
#include <string>

#include "quencfg/framework/files.h"

namespace quencfg::testing {
namespace {

class Bytes {
 public:
  explicit Bytes(std::string_view bytes) : bytes_(bytes) {}
  [[nodiscard]] std::size_t size() const { return bytes_.size(); }
  [[nodiscard]] unsigned at(std::size_t i) const { return static_cast<unsigned char>(bytes_[i]); }
  [[nodiscard]] std::uint32_t BigEndian(std::size_t from, int count) const {
    std::uint32_t v = 0;
    for (int i = 0; i < count; ++i) v = (v << 8) | at(from + static_cast<std::size_t>(i));
    return v;
  }
  [[nodiscard]] std::uint32_t LittleEndian(std::size_t from, int count) const {
    std::uint32_t v = 0;
    for (int i = count - 1; i >= 0; --i) v = (v << 8) | at(from + static_cast<std::size_t>(i));
    return v;
  }
  [[nodiscard]] std::string_view Slice(std::size_t from, std::size_t count) const {
    return bytes_.substr(from, count);
  }

 private:
  std::string_view bytes_;
};

// A short fingerprint of bytes that must be equal (FNV-1a).
std::string Fingerprint(std::string_view bytes) {
  std::uint32_t hash = 2166136261u;
  for (char c : bytes) hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
  static const char kHex[] = "0123456789abcdef";
  std::string out;
  for (int shift = 28; shift >= 0; shift -= 4) out += kHex[(hash >> shift) & 0xF];
  return out;
}

ImageHeader Png(const Bytes& b) {
  if (b.size() < 29) return {};
  std::string kind = "depth ";
  kind += std::to_string(b.at(24));
  kind += " colour type ";
  kind += std::to_string(b.at(25));
  kind += " interlace ";
  kind += std::to_string(b.at(28));
  return {"PNG", static_cast<int>(b.BigEndian(16, 4)), static_cast<int>(b.BigEndian(20, 4)), kind};
}

// Walks the marker segments up to the first frame header, collecting the quantisation
// tables on the way (they may follow the frame header too, but not in our encoder's output).
ImageHeader Jpeg(const Bytes& b) {
  std::string tables;
  std::size_t at = 2;
  while (at + 4 <= b.size() && b.at(at) == 0xFF) {
    const unsigned marker = b.at(at + 1);
    const std::size_t length = b.BigEndian(at + 2, 2);
    if (length < 2 || at + 2 + length > b.size()) return {};
    if (marker == 0xDB) tables += b.Slice(at + 4, length - 2);
    const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    if (frame && length >= 8) {
      const unsigned components = b.at(at + 9);
      std::string kind = "SOF";
      kind += std::to_string(marker - 0xC0);
      kind += " precision ";
      kind += std::to_string(b.at(at + 4));
      for (unsigned c = 0; c < components && 10 + 3 * c + 2 <= length + 1; ++c) {
        const unsigned sampling = b.at(at + 10 + 3 * c + 1);
        kind += ' ';
        kind += std::to_string(sampling >> 4);
        kind += 'x';
        kind += std::to_string(sampling & 0xF);
      }
      kind += " tables ";
      kind += Fingerprint(tables);
      return {"JPEG", static_cast<int>(b.BigEndian(at + 7, 2)), static_cast<int>(b.BigEndian(at + 5, 2)), kind};
    }
    if (marker == 0xDA) return {};  // a scan before any frame header
    at += 2 + length;
  }
  return {};
}

ImageHeader Bmp(const Bytes& b) {
  if (b.size() < 34) return {};
  const auto height = static_cast<std::int32_t>(b.LittleEndian(22, 4));
  std::string kind = "info header ";
  kind += std::to_string(b.LittleEndian(14, 4));
  kind += " bits ";
  kind += std::to_string(b.LittleEndian(28, 2));
  kind += " compression ";
  kind += std::to_string(b.LittleEndian(30, 4));
  return {"BMP", static_cast<int>(b.LittleEndian(18, 4)), height < 0 ? -height : height, kind};
}

}  // namespace

ImageHeader ParseImageHeader(std::string_view bytes) {
  const Bytes b(bytes);
  if (b.size() >= 8 && bytes.substr(0, 8) == std::string_view("\x89PNG\r\n\x1a\n", 8)) return Png(b);
  if (b.size() >= 4 && b.at(0) == 0xFF && b.at(1) == 0xD8) return Jpeg(b);
  if (b.size() >= 2 && bytes.substr(0, 2) == "BM") return Bmp(b);
  return {};
}

ImageHeader ReadImageHeader(std::u16string_view path) {
  const auto bytes = ReadWholeFile(path);
  return bytes ? ParseImageHeader(*bytes) : ImageHeader{};
}

}  // namespace quencfg::testing
