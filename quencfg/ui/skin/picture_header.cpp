#include "quencfg/ui/skin/picture_header.h"

#include <cstdint>

namespace quencfg {
namespace {

std::uint32_t Byte(std::string_view bytes, std::size_t at) noexcept { return static_cast<std::uint8_t>(bytes[at]); }

std::uint32_t BigEndian16(std::string_view bytes, std::size_t at) noexcept {
  return (Byte(bytes, at) << 8) | Byte(bytes, at + 1);
}

std::uint32_t BigEndian32(std::string_view bytes, std::size_t at) noexcept {
  return (BigEndian16(bytes, at) << 16) | BigEndian16(bytes, at + 2);
}

std::uint32_t LittleEndian16(std::string_view bytes, std::size_t at) noexcept {
  return Byte(bytes, at) | (Byte(bytes, at + 1) << 8);
}

std::uint32_t LittleEndian32(std::string_view bytes, std::size_t at) noexcept {
  return LittleEndian16(bytes, at) | (LittleEndian16(bytes, at + 2) << 16);
}

std::optional<PixelSize> Positive(std::int64_t width, std::int64_t height) noexcept {
  constexpr std::int64_t kLargest = 1 << 20;
  if (width <= 0 || height <= 0 || width > kLargest || height > kLargest) return std::nullopt;
  return PixelSize{static_cast<int>(width), static_cast<int>(height)};
}

std::optional<PixelSize> PngSize(std::string_view bytes) noexcept {
  // The signature, then the IHDR chunk: length, type, width, height.
  if (bytes.size() < 24 || bytes.substr(12, 4) != "IHDR") return std::nullopt;
  return Positive(BigEndian32(bytes, 16), BigEndian32(bytes, 20));
}

std::optional<PixelSize> BmpSize(std::string_view bytes) noexcept {
  if (bytes.size() < 26) return std::nullopt;
  const std::uint32_t headerSize = LittleEndian32(bytes, 14);
  if (headerSize == 12) return Positive(LittleEndian16(bytes, 18), LittleEndian16(bytes, 20));
  const auto height = static_cast<std::int32_t>(LittleEndian32(bytes, 22));  // negative: top-down rows
  return Positive(static_cast<std::int32_t>(LittleEndian32(bytes, 18)), height < 0 ? -std::int64_t{height} : height);
}

std::optional<PixelSize> GifSize(std::string_view bytes) noexcept {
  if (bytes.size() < 10) return std::nullopt;
  return Positive(LittleEndian16(bytes, 6), LittleEndian16(bytes, 8));
}

bool IsStartOfFrame(std::uint32_t marker) noexcept {
  // SOF0 to SOF15, except DHT (C4), JPG (C8) and DAC (CC).
  return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

std::optional<PixelSize> JpegSize(std::string_view bytes) noexcept {
  std::size_t at = 2;
  while (at + 4 <= bytes.size()) {
    if (Byte(bytes, at) != 0xFF) return std::nullopt;
    const std::uint32_t marker = Byte(bytes, at + 1);
    if (marker == 0xFF) {  // fill byte
      ++at;
      continue;
    }
    if (marker == 0xD8 || (marker >= 0xD0 && marker <= 0xD7) || marker == 0x01) {  // no length
      at += 2;
      continue;
    }
    if (marker == 0xD9 || marker == 0xDA) return std::nullopt;  // the image data before any frame
    const std::uint32_t length = BigEndian16(bytes, at + 2);
    if (length < 2) return std::nullopt;
    if (IsStartOfFrame(marker)) {
      if (at + 9 > bytes.size()) return std::nullopt;
      return Positive(BigEndian16(bytes, at + 7), BigEndian16(bytes, at + 5));
    }
    at += 2 + length;
  }
  return std::nullopt;
}

}  // namespace

std::optional<PixelSize> PictureHeaderSize(std::string_view bytes) noexcept {
  if (bytes.substr(0, 8) == std::string_view("\x89PNG\r\n\x1a\n", 8)) return PngSize(bytes);
  if (bytes.substr(0, 2) == "BM") return BmpSize(bytes);
  if (bytes.substr(0, 6) == "GIF87a" || bytes.substr(0, 6) == "GIF89a") return GifSize(bytes);
  if (bytes.substr(0, 2) == "\xFF\xD8") return JpegSize(bytes);
  return std::nullopt;
}

}  // namespace quencfg
