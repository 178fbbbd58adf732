#include "quencfg/model/xml_file_codec.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "quencfg/framework/codepage.h"
#include "quencfg/framework/text.h"
#include "quencfg/model/xml_document.h"
#include "quencfg/model/xml_encoding_names.h"
#include "quencfg/model/xml_unicode.h"

namespace quencfg {
namespace {

constexpr std::size_t kPrologueBytes = 1024;

std::u16string Number(std::size_t n) { return AsciiToUtf16(std::to_string(n)); }

bool StartsWith(std::string_view bytes, std::string_view prefix) {
  return bytes.substr(0, prefix.size()) == prefix;
}

// Whether any unit of `unitSize` bytes is zero; 16-bit units four at a time.
bool HasZeroUnit(std::string_view bytes, std::size_t unitSize) noexcept {
  if (unitSize == 1) return std::memchr(bytes.data(), 0, bytes.size()) != nullptr;
  const std::size_t units = bytes.size() / 2;
  const char* p = bytes.data();
  std::size_t i = 0;
  for (; i + 4 <= units; i += 4) {
    std::uint64_t word;
    std::memcpy(&word, p + 2 * i, sizeof word);
    if (((word - 0x0001000100010001ull) & ~word & 0x8000800080008000ull) != 0) return true;
  }
  for (; i < units; ++i) {
    if (p[2 * i] == 0 && p[2 * i + 1] == 0) return true;
  }
  return false;
}

// Removes every zero unit of `unitSize` bytes (a partial last unit is dropped);
// returns how many.
std::size_t RemoveZeroUnits(std::string& bytes, std::size_t unitSize) {
  const std::size_t units = bytes.size() / unitSize;
  char* p = bytes.data();
  std::size_t write = 0;
  for (std::size_t read = 0; read < units; ++read) {
    const char* unit = p + read * unitSize;
    const bool zero = unitSize == 1 ? unit[0] == 0 : (unit[0] == 0 && unit[1] == 0);
    if (zero) continue;
    if (write != read) std::memmove(p + write * unitSize, unit, unitSize);
    ++write;
  }
  bytes.resize(write * unitSize);
  return units - write;
}

std::u16string Utf16Units(std::string_view bytes, bool bigEndian) {
  // Copied straight from the bytes (no zero fill first): the bytes start at an even
  // offset of a heap block, so they are aligned for 16-bit units.
  std::u16string text;
  const std::size_t units = bytes.size() / 2;
  if (reinterpret_cast<std::uintptr_t>(bytes.data()) % alignof(char16_t) == 0) {
    text.assign(reinterpret_cast<const char16_t*>(bytes.data()), units);
  } else {
    text.resize(units);
    std::memcpy(text.data(), bytes.data(), units * 2);
  }
  if (bigEndian) {
    for (char16_t& c : text) c = static_cast<char16_t>((c << 8) | (c >> 8));
  }
  return text;
}

// An 8-bit file's bytes in the named encoding; nothing when it cannot be converted.
std::optional<std::u16string> DecodeBytes(std::u16string_view encoding, std::string_view bytes) {
  const std::uint32_t codePage = CodePageOfEncodingName(encoding).value_or(kDefaultCodePage);
  std::u16string text;
  switch (codePage) {
    case kUtf8CodePage:
    case kUtf16LeCodePage:  // a UTF-16 declaration in an 8-bit file: the zero bytes are gone
    case kUtf16BeCodePage:
      AppendUtf8AsUtf16(text, bytes);
      return text;
    case kUtf32CodePage:
      AppendUtf32LeAsUtf16(text, bytes);
      return text;
    default:
      return DecodeCodePage(codePage, bytes);
  }
}

std::optional<EncodedText> EncodeText(std::uint32_t codePage, std::u16string_view text) {
  EncodedText out;
  switch (codePage) {
    case kUtf8CodePage:
    case kUtf16LeCodePage:  // read back as UTF-8 by DecodeBytes: lossless
    case kUtf16BeCodePage:
      AppendUtf16AsUtf8(out.bytes, text, out.lost);
      return out;
    case kUtf32CodePage:
      AppendUtf16AsUtf32Le(out.bytes, text, out.lost);
      return out;
    default:
      return EncodeCodePage(codePage, text);
  }
}

// Whether `bytes` are the UTF-16LE mark followed by the units of `text`.
bool SameUtf16LeBytes(std::u16string_view text, std::string_view bytes) noexcept {
  constexpr std::string_view kMark = "\xFF\xFE";
  if (bytes.size() != kMark.size() + text.size() * 2 || bytes.substr(0, kMark.size()) != kMark) return false;
  return std::memcmp(bytes.data() + kMark.size(), text.data(), text.size() * 2) == 0;
}

}  // namespace

bool LooksLikeUtf8(std::string_view bytes) noexcept {
  const auto* s = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::size_t n = bytes.size();
  for (std::size_t i = 0; i < n && s[i] != 0;) {
    const unsigned char lead = s[i++];
    if (lead < 0x80) continue;
    int extra;
    if ((lead & 0x20) == 0) {
      extra = 1;
    } else if ((lead & 0x10) == 0) {
      extra = 2;
    } else if ((lead & 0x08) == 0) {
      extra = 3;
    } else {
      return false;
    }
    for (; extra > 0; --extra, ++i) {
      if (i >= n || s[i] < 0x80) return false;
    }
  }
  return true;
}

DecodedXmlFile DecodeXmlFile(std::string_view input) {
  DecodedXmlFile result;
  std::u16string encoding;
  std::size_t unitSize = 1;
  std::size_t markSize = 0;
  if (StartsWith(input, "\xEF\xBB\xBF")) {
    encoding = u"UTF-8", result.flags = XmlDocument::BOM_UTF8, markSize = 3;
  } else if (StartsWith(input, "\xFF\xFE")) {
    encoding = u"UTF-16LE", result.flags = XmlDocument::BOM_UTF16LE, markSize = 2, unitSize = 2;
  } else if (StartsWith(input, "\xFE\xFF")) {
    encoding = u"UTF-16BE", result.flags = XmlDocument::BOM_UTF16BE, markSize = 2, unitSize = 2;
  } else if (StartsWith(input, std::string_view("<\0\0\0", 4))) {
    encoding = u"UTF-32";  // what SaveFile writes for a UTF-32 declaration (no mark)
  } else {
    std::u16string prologue;
    AppendUtf8AsUtf16(prologue, input.substr(0, kPrologueBytes));
    if (auto declared = DeclaredEncoding(prologue)) {
      encoding = std::move(*declared);
    } else if (!input.empty() && input[0] == '<') {
      encoding = u"UTF-8";
    }
  }
  const bool utf32 = CodePageOfEncodingName(encoding) == kUtf32CodePage;
  std::string_view bytes = input.substr(markSize);

  result.diagnostic = encoding.empty() ? u"ANSI" : encoding;
  result.diagnostic += markSize > 0 ? u" BOM +" : u" ";
  if (bytes.empty()) {
    result.diagnostic += u"0 length ";
    result.ok = true;
    return result;
  }
  result.diagnostic += u"length " + Number(bytes.size() / unitSize) + u" ";
  // UTF-32 units are full of zero bytes; every other encoding has none of its own.
  std::string withoutZeros;
  if (!utf32 && HasZeroUnit(bytes, unitSize)) {
    withoutZeros.assign(bytes);
    const std::size_t nulls = RemoveZeroUnits(withoutZeros, unitSize);
    result.diagnostic += u"(" + Number(nulls) + u" nulls removed) ";
    bytes = withoutZeros;
  }

  if (unitSize == 2) {
    const bool bigEndian = result.flags == XmlDocument::BOM_UTF16BE;
    if (bigEndian) result.diagnostic += u"endian swap ";
    result.text = Utf16Units(bytes, bigEndian);
    result.ok = true;
    return result;
  }
  if (encoding.empty()) {
    if (LooksLikeUtf8(bytes)) encoding = u"UTF-8";
    result.diagnostic += u"(used UTF-8 detection) ";
  }
  auto text = DecodeBytes(encoding, bytes);
  if (!text) {
    result.diagnostic += u"(cannot convert from " + encoding + u") ";
    return result;
  }
  result.text = std::move(*text);
  result.diagnostic += u"to " + Number(result.text.size()) + u" wide chars ";
  result.ok = true;
  return result;
}

EncodedXmlFile EncodeXmlFile(std::u16string_view text, std::uint32_t flags, const std::string* expected) {
  EncodedXmlFile result;
  const bool utf16le = (flags & XmlDocument::BOM_UTF16LE) != 0;
  const bool utf16be = !utf16le && (flags & XmlDocument::BOM_UTF16BE) != 0;
  const bool utf8Mark = !utf16le && !utf16be && (flags & XmlDocument::BOM_UTF8) != 0;
  std::u16string encoding;
  if (utf16le) {
    encoding = u"UTF-16LE", result.bytes = "\xFF\xFE";
  } else if (utf16be) {
    encoding = u"UTF-16BE", result.bytes = "\xFE\xFF";
  } else if (utf8Mark) {
    encoding = u"UTF-8", result.bytes = "\xEF\xBB\xBF";
  } else if (auto declared = DeclaredEncoding(text)) {
    encoding = std::move(*declared);
  } else if (!text.empty() && text[0] == u'<') {
    encoding = u"UTF-8";
  }
  result.diagnostic = encoding.empty() ? u"ANSI" : encoding;
  result.diagnostic += result.bytes.empty() ? u" " : u" BOM +";
  if (text.empty()) {
    result.diagnostic += u"0 length ";
    result.ok = true;
    result.sameAsExpected = expected != nullptr && *expected == result.bytes;
    return result;
  }
  if (utf16le && expected != nullptr && SameUtf16LeBytes(text, *expected)) {
    result.diagnostic += u"length " + Number(text.size()) + u" ";
    result.ok = true;
    result.sameAsExpected = true;
    return result;
  }
  if (utf16le || utf16be) {
    const std::size_t mark = result.bytes.size();
    result.bytes.resize(mark + text.size() * 2);
    char* out = result.bytes.data() + mark;
    if (utf16le) {
      std::memcpy(out, text.data(), text.size() * 2);
    } else {
      for (std::size_t i = 0; i < text.size(); ++i) {
        out[2 * i] = static_cast<char>(text[i] >> 8);
        out[2 * i + 1] = static_cast<char>(text[i] & 0xFF);
      }
    }
    result.diagnostic += u"length " + Number(text.size()) + u" ";
    result.ok = true;
    result.sameAsExpected = expected != nullptr && *expected == result.bytes;
    return result;
  }
  const std::uint32_t codePage = utf8Mark ? kUtf8CodePage : CodePageOfEncodingName(encoding).value_or(kDefaultCodePage);
  auto encoded = EncodeText(codePage, text);
  if (!encoded) {
    result.diagnostic += u"(cannot convert to " + encoding + u") ";
    return result;
  }
  result.bytes += encoded->bytes;
  result.diagnostic += u"length " + Number(encoded->bytes.size()) + u" from wide length " + Number(text.size()) + u" ";
  if (encoded->lost) result.diagnostic += u"(chars lost in conversion!) ";
  result.ok = true;
  result.sameAsExpected = expected != nullptr && *expected == result.bytes;
  return result;
}

}  // namespace quencfg
