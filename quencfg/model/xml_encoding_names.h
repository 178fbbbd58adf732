#pragma once
// Encoding names as they appear in XML declarations and html meta tags, turned into
// Windows code page numbers (254 names for 116 code pages).
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace quencfg {

// Windows' number for UTF-32LE; the XML layer converts it itself.
inline constexpr std::uint32_t kUtf32CodePage = 12000;
inline constexpr std::uint32_t kUtf8CodePage = 65001;
inline constexpr std::uint32_t kUtf16LeCodePage = 1200;
inline constexpr std::uint32_t kUtf16BeCodePage = 1201;

// The code page of an encoding name, ASCII letters compared without case: "" gives the
// system's default code page (0), a name starting with "UTF-32" gives kUtf32CodePage,
// a name of 100 or more units or one not in the table gives nothing.
[[nodiscard]] std::optional<std::uint32_t> CodePageOfEncodingName(std::u16string_view name);

// Number of names in the table.
[[nodiscard]] std::size_t EncodingNameCount() noexcept;

}  // namespace quencfg
