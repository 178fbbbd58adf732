#include "quencfg/framework/paths.h"

#include <initializer_list>

#include "quencfg/framework/text.h"

namespace quencfg {
namespace {

bool SameIgnoringAsciiCase(std::u16string_view text, std::u16string_view other) noexcept {
  return text.size() == other.size() && EndsWithIgnoringAsciiCase(text, other);
}

// The port digits Windows accepts: 1 to 9 and the Latin-1 superscripts one to three.
bool IsPortDigit(char16_t c) noexcept {
  return (c >= u'1' && c <= u'9') || c == u'\u00B9' || c == u'\u00B2' || c == u'\u00B3';
}

}  // namespace

std::u16string NativeRelativePath(std::u16string_view backslashed) {
  std::u16string result(backslashed);
  for (char16_t& c : result) {
    if (c == u'\\') c = kPathSeparator;
  }
  return result;
}

bool StartsWithScheme(std::u16string_view text) noexcept {
  const auto isLetter = [](char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); };
  const auto isSchemeCharacter = [&isLetter](char16_t c) {
    return isLetter(c) || (c >= u'0' && c <= u'9') || c == u'+' || c == u'-' || c == u'.';
  };
  if (text.empty() || !isLetter(text.front())) return false;
  std::size_t i = 1;
  while (i < text.size() && isSchemeCharacter(text[i])) ++i;
  return i >= 2 && i < text.size() && text[i] == u':';
}

std::u16string_view FileNameOfPath(std::u16string_view path) noexcept {
  const std::size_t cut = path.find_last_of(u"\\/:");
  return cut == std::u16string_view::npos ? path : path.substr(cut + 1);
}

bool IsDeviceFileName(std::u16string_view fileName) noexcept {
  // Windows looks only at the part before the first dot, without trailing blanks.
  std::u16string_view base = fileName.substr(0, fileName.find(u'.'));
  while (!base.empty() && base.back() == u' ') base.remove_suffix(1);
  for (std::u16string_view device : {u"CON", u"PRN", u"AUX", u"NUL"}) {
    if (SameIgnoringAsciiCase(base, device)) return true;
  }
  if (base.size() != 4 || !IsPortDigit(base[3])) return false;
  const std::u16string_view port = base.substr(0, 3);
  return SameIgnoringAsciiCase(port, u"COM") || SameIgnoringAsciiCase(port, u"LPT");
}

}  // namespace quencfg
