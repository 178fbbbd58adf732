#pragma once
// The Unicode conversions the XML layer does itself (UTF-8 and UTF-32 to and from
// UTF-16), fast on ASCII and never reading outside their input.
#include <cstddef>
#include <string>
#include <string_view>

namespace quencfg {

// Appends the UTF-16 form of UTF-8 bytes; a malformed sequence gives U+FFFD.
void AppendUtf8AsUtf16(std::u16string& out, std::string_view utf8);

// Appends the UTF-8 form of UTF-16 text; an unpaired surrogate gives "?" and sets `lost`.
void AppendUtf16AsUtf8(std::string& out, std::u16string_view text, bool& lost);

// UTF-32LE bytes (a partial last unit is ignored) as UTF-16; invalid values give U+FFFD.
void AppendUtf32LeAsUtf16(std::u16string& out, std::string_view utf32);

// UTF-16 text as UTF-32LE bytes; an unpaired surrogate gives "?" and sets `lost`.
void AppendUtf16AsUtf32Le(std::string& out, std::u16string_view text, bool& lost);

}  // namespace quencfg
