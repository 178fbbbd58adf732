#include "quencfg/framework/text.h"

namespace quencfg {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }


}  // namespace

void AppendUtf16CodePoint(std::u16string& out, char32_t cp) {
  if (cp < 0x10000) {
    out.push_back(static_cast<char16_t>(cp));
  } else {
    cp -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
  }
}

void AppendUtf8CodePoint(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

char32_t DecodeUtf8Sequence(const unsigned char* s, std::size_t n, std::size_t& i) noexcept {
  const unsigned char lead = s[i++];
  if (lead < 0x80) return lead;
  int extra = 0;
  char32_t cp = 0;
  char32_t minimum = 0;
  if ((lead & 0xE0) == 0xC0) {
    extra = 1, cp = lead & 0x1F, minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2, cp = lead & 0x0F, minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3, cp = lead & 0x07, minimum = 0x10000;
  } else {
    return kReplacement;
  }
  for (int k = 0; k < extra; ++k) {
    if (i >= n || (s[i] & 0xC0) != 0x80) return kReplacement;
    cp = (cp << 6) | (s[i++] & 0x3F);
  }
  if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return kReplacement;
  return cp;
}


std::string Utf16ToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
      AppendUtf8CodePoint(out, 0x10000 + ((char32_t(c) - 0xD800) << 10) + (char32_t(text[i + 1]) - 0xDC00));
      ++i;
    } else if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
      AppendUtf8CodePoint(out, kReplacement);
    } else {
      AppendUtf8CodePoint(out, c);
    }
  }
  return out;
}

std::u16string Utf8ToUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  for (std::size_t i = 0; i < text.size();) AppendUtf16CodePoint(out, DecodeUtf8Sequence(bytes, text.size(), i));
  return out;
}

std::u16string AsciiToUtf16(std::string_view ascii) {
  return std::u16string(ascii.begin(), ascii.end());
}

bool EndsWithIgnoringAsciiCase(std::u16string_view text, std::u16string_view suffix) noexcept {
  if (suffix.size() > text.size()) return false;
  auto lower = [](char16_t c) { return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c; };
  const auto tail = text.substr(text.size() - suffix.size());
  for (std::size_t i = 0; i < suffix.size(); ++i) {
    if (lower(tail[i]) != lower(suffix[i])) return false;
  }
  return true;
}

std::size_t FieldLength(const char16_t* field, std::size_t capacity) noexcept {
  std::size_t n = 0;
  while (n < capacity && field[n] != 0) ++n;
  return n;
}

bool CopyToField(char16_t* field, std::size_t capacity, std::u16string_view text) noexcept {
  if (capacity == 0) return text.empty();
  std::size_t n = text.size() < capacity - 1 ? text.size() : capacity - 1;
  const bool cut = n < text.size();
  if (cut && n > 0 && IsHighSurrogate(text[n - 1])) --n;
  for (std::size_t i = 0; i < n; ++i) field[i] = text[i];
  for (std::size_t i = n; i < capacity; ++i) field[i] = 0;
  return !cut;
}

}  // namespace quencfg
