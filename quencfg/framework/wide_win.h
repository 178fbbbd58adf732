#pragma once
// The core's UTF-16 text seen as the platform's wide strings (both 16-bit here).
#include <string>
#include <string_view>

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wide characters are UTF-16 units");

namespace quencfg {

inline const wchar_t* AsWide(const char16_t* text) { return reinterpret_cast<const wchar_t*>(text); }
inline wchar_t* AsWide(char16_t* text) { return reinterpret_cast<wchar_t*>(text); }
inline const wchar_t* AsWide(const std::u16string& text) { return AsWide(text.c_str()); }
inline const char16_t* AsU16(const wchar_t* text) { return reinterpret_cast<const char16_t*>(text); }
inline char16_t* AsU16(wchar_t* text) { return reinterpret_cast<char16_t*>(text); }
inline std::u16string ToU16(std::wstring_view text) {
  return std::u16string(reinterpret_cast<const char16_t*>(text.data()), text.size());
}
inline std::wstring ToWide(std::u16string_view text) {
  return std::wstring(reinterpret_cast<const wchar_t*>(text.data()), text.size());
}

}  // namespace quencfg
