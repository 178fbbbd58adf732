#pragma once
// The code-page seam: conversions between the platform's 8-bit (and multi-byte) code
// pages and UTF-16. MultiByteToWideChar / WideCharToMultiByte on Windows, iconv natively.
// Code page numbers are Windows numbers; 0 is the system's default 8-bit code page.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quencfg {

inline constexpr std::uint32_t kDefaultCodePage = 0;

// `bytes` in `codePage` as UTF-16; undecodable bytes become U+FFFD. Nothing when the
// platform does not support the code page.
[[nodiscard]] std::optional<std::u16string> DecodeCodePage(std::uint32_t codePage, std::string_view bytes);

struct EncodedText {
  std::string bytes;
  bool lost = false;  // some character had no form in the code page and became "?"
};

// `text` in `codePage`. Nothing when the platform does not support the code page.
[[nodiscard]] std::optional<EncodedText> EncodeCodePage(std::uint32_t codePage, std::u16string_view text);

}  // namespace quencfg
