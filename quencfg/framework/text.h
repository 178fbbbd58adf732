#pragma once
// UTF-16 text helpers shared by the core and the Win32 layer.
#include <cstddef>
#include <string>
#include <string_view>

namespace quencfg {

// Appends one code point as UTF-8.
void AppendUtf8CodePoint(std::string& out, char32_t cp);

// Appends one code point as UTF-16 (a surrogate pair above U+FFFF).
void AppendUtf16CodePoint(std::u16string& out, char32_t cp);

// Decodes the UTF-8 sequence starting at s[i] (of n bytes) and advances i past it.
// Overlong forms, surrogates, values past U+10FFFF and cut sequences give U+FFFD.
char32_t DecodeUtf8Sequence(const unsigned char* s, std::size_t n, std::size_t& i) noexcept;

// UTF-16 to UTF-8. Unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

// UTF-8 to UTF-16. Malformed sequences become U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);

// ASCII text as UTF-16 (for literals built at run time, e.g. by snprintf).
std::u16string AsciiToUtf16(std::string_view ascii);

// True when `text` ends with `suffix`, ASCII letters compared without case.
bool EndsWithIgnoringAsciiCase(std::u16string_view text, std::u16string_view suffix) noexcept;

// Length of a 0-terminated UTF-16 string held in a field of `capacity` units;
// a field without a terminator counts as full.
std::size_t FieldLength(const char16_t* field, std::size_t capacity) noexcept;

// Copies text into a fixed field of `capacity` units, cut to capacity - 1 units and
// always 0-terminated; never cuts a surrogate pair in half. Returns false when cut.
bool CopyToField(char16_t* field, std::size_t capacity, std::u16string_view text) noexcept;

template <std::size_t N>
bool CopyToField(char16_t (&field)[N], std::u16string_view text) noexcept {
  return CopyToField(field, N, text);
}

template <std::size_t N>
std::u16string_view FieldText(const char16_t (&field)[N]) noexcept {
  return std::u16string_view(field, FieldLength(field, N));
}

}  // namespace quencfg
