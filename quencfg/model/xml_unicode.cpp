#include "quencfg/model/xml_unicode.h"

#include <cstdint>

#include "quencfg/framework/text.h"

namespace quencfg {
namespace {

constexpr char16_t kReplacement = 0xFFFD;

bool IsHighSurrogate(char32_t c) noexcept { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char32_t c) noexcept { return c >= 0xDC00 && c <= 0xDFFF; }

void PutUtf16(char16_t*& out, char32_t cp) noexcept {
  if (cp < 0x10000) {
    *out++ = static_cast<char16_t>(cp);
  } else {
    cp -= 0x10000;
    *out++ = static_cast<char16_t>(0xD800 + (cp >> 10));
    *out++ = static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
  }
}


// Walks UTF-16 text as code points; an unpaired surrogate is reported as 0xFFFFFFFF.
template <typename F>
void ForEachCodePoint(std::u16string_view text, F f) {
  const std::size_t n = text.size();
  for (std::size_t i = 0; i < n; ++i) {
    const char32_t c = text[i];
    if (IsHighSurrogate(c) && i + 1 < n && IsLowSurrogate(text[i + 1])) {
      f(0x10000 + ((c - 0xD800) << 10) + (char32_t(text[i + 1]) - 0xDC00));
      ++i;
    } else if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
      f(char32_t(0xFFFFFFFF));
    } else {
      f(c);
    }
  }
}

}  // namespace

void AppendUtf8AsUtf16(std::u16string& out, std::string_view utf8) {
  const auto* s = reinterpret_cast<const unsigned char*>(utf8.data());
  const std::size_t n = utf8.size();
  const std::size_t base = out.size();
  out.resize(base + n);  // never more units than bytes
  char16_t* dst = out.data() + base;
  std::size_t i = 0;
  while (i < n) {
    if (s[i] < 0x80) {
      *dst++ = s[i++];
    } else {
      PutUtf16(dst, DecodeUtf8Sequence(s, n, i));
    }
  }
  out.resize(static_cast<std::size_t>(dst - out.data()));
}

void AppendUtf16AsUtf8(std::string& out, std::u16string_view text, bool& lost) {
  out.reserve(out.size() + text.size());
  ForEachCodePoint(text, [&](char32_t cp) {
    if (cp == 0xFFFFFFFF) {
      out.push_back('?');
      lost = true;
    } else {
      AppendUtf8CodePoint(out, cp);
    }
  });
}

void AppendUtf32LeAsUtf16(std::u16string& out, std::string_view utf32) {
  const auto* s = reinterpret_cast<const unsigned char*>(utf32.data());
  const std::size_t units = utf32.size() / 4;
  const std::size_t base = out.size();
  out.resize(base + units * 2);
  char16_t* dst = out.data() + base;
  for (std::size_t k = 0; k < units; ++k) {
    const unsigned char* b = s + 4 * k;
    const char32_t cp = char32_t(b[0]) | (char32_t(b[1]) << 8) | (char32_t(b[2]) << 16) | (char32_t(b[3]) << 24);
    const bool valid = cp <= 0x10FFFF && !(cp >= 0xD800 && cp <= 0xDFFF);
    PutUtf16(dst, valid ? cp : kReplacement);
  }
  out.resize(static_cast<std::size_t>(dst - out.data()));
}

void AppendUtf16AsUtf32Le(std::string& out, std::u16string_view text, bool& lost) {
  out.reserve(out.size() + text.size() * 4);
  ForEachCodePoint(text, [&](char32_t cp) {
    if (cp == 0xFFFFFFFF) {
      cp = u'?';
      lost = true;
    }
    for (int k = 0; k < 4; ++k) out.push_back(static_cast<char>((cp >> (8 * k)) & 0xFF));
  });
}

}  // namespace quencfg
