#include <iconv.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <string_view>

#include "quencfg/framework/codepage.h"

namespace quencfg {
namespace {

// iconv's name for a Windows code page, or nullptr when iconv has none.
const char* IconvName(std::uint32_t codePage) {
  switch (codePage) {
    case kDefaultCodePage: return "CP1252";  // the usual Western default
    case 37: return "IBM037";
    case 420: return "IBM420";
    case 708: return "ISO-8859-6";
    case 775: return "CP775";
    case 870: return "IBM870";
    case 875: return "IBM875";
    case 932: return "CP932";
    case 936: return "CP936";
    case 949: return "CP949";
    case 950: return "CP950";
    case 1026: return "IBM1026";
    case 1361: return "JOHAB";
    case 10000: return "MACINTOSH";
    case 10004: return "MACARABIC";
    case 10005: return "MACHEBREW";
    case 10006: return "MACGREEK";
    case 10007: return "MAC-CYRILLIC";
    case 10029: return "MAC-CENTRALEUROPE";
    case 10079: return "MAC-IS";
    case 10081: return "MACTURKISH";
    case 20127: return "ASCII";
    case 20866: return "KOI8-R";
    case 21866: return "KOI8-U";
    case 28591: return "ISO-8859-1";
    case 28592: return "ISO-8859-2";
    case 28593: return "ISO-8859-3";
    case 28594: return "ISO-8859-4";
    case 28595: return "ISO-8859-5";
    case 28596: return "ISO-8859-6";
    case 28597: return "ISO-8859-7";
    case 28598: return "ISO-8859-8";
    case 28599: return "ISO-8859-9";
    case 28605: return "ISO-8859-15";
    case 38598: return "ISO-8859-8";
    case 50220: case 50221: case 50222: return "ISO-2022-JP";
    case 50225: return "ISO-2022-KR";
    case 51932: return "EUC-JP";
    case 51936: return "EUC-CN";
    case 51949: return "EUC-KR";
    case 65000: return "UTF-7";
    case 65001: return "UTF-8";
    default: return nullptr;
  }
}

class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(::iconv_open(to, from)) {}
  ~Converter() {
    if (valid()) ::iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  [[nodiscard]] bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  [[nodiscard]] iconv_t get() const { return cd_; }

 private:
  iconv_t cd_;
};

// Opens a converter for a code page, trying iconv's generic spellings when the table
// has no name for it.
template <typename Open>
bool OpenFor(std::uint32_t codePage, Open open) {
  if (const char* name = IconvName(codePage)) return open(name);
  const std::string number = std::to_string(codePage);
  for (const char* prefix : {"CP", "IBM", "WINDOWS-"}) {
    if (open((prefix + number).c_str())) return true;
  }
  // Windows numbers the EBCDIC pages 20273, 21025, 50930 ...: iconv calls them IBM273 ...
  return codePage > 10000 && open(("IBM" + std::to_string(codePage % 10000)).c_str());
}

// Whether UTF-16LE bytes start with a surrogate pair: one character in four bytes.
bool StartsWithSurrogatePair(std::string_view utf16le) {
  if (utf16le.size() < 4) return false;
  auto unit = [&](std::size_t at) {
    return static_cast<unsigned>(static_cast<unsigned char>(utf16le[at])) |
           (static_cast<unsigned>(static_cast<unsigned char>(utf16le[at + 1])) << 8);
  };
  return unit(0) >= 0xD800 && unit(0) <= 0xDBFF && unit(2) >= 0xDC00 && unit(2) <= 0xDFFF;
}

// Runs the conversion; `onInvalid` is called with the input from the place it cannot
// convert and returns how many input bytes to skip.
template <typename OnInvalid>
void Convert(iconv_t cd, const char* in, std::size_t inSize, std::string& out, OnInvalid onInvalid) {
  char* src = const_cast<char*>(in);
  std::size_t left = inSize;
  std::size_t used = out.size();
  out.resize(used + inSize * 2 + 16);
  while (left > 0) {
    char* dst = out.data() + used;
    std::size_t room = out.size() - used;
    const std::size_t r = ::iconv(cd, &src, &left, &dst, &room);
    used = static_cast<std::size_t>(dst - out.data());
    if (r != static_cast<std::size_t>(-1)) break;
    if (errno == E2BIG) {
      out.resize(out.size() * 2 + 16);
      continue;
    }
    out.resize(used);
    const std::size_t skip = std::min(left, onInvalid(out, std::string_view(src, left), errno == EINVAL));
    used = out.size();
    out.resize(used + left * 2 + 16);
    src += skip;
    left -= skip;
    ::iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  // Flush any shift state (stateful encodings such as ISO-2022).
  for (;;) {
    char* dst = out.data() + used;
    std::size_t room = out.size() - used;
    if (::iconv(cd, nullptr, nullptr, &dst, &room) != static_cast<std::size_t>(-1)) {
      used = static_cast<std::size_t>(dst - out.data());
      break;
    }
    if (errno != E2BIG) break;
    out.resize(out.size() * 2 + 16);
  }
  out.resize(used);
}

}  // namespace

std::optional<std::u16string> DecodeCodePage(std::uint32_t codePage, std::string_view bytes) {
  std::string utf16;
  const bool converted = OpenFor(codePage, [&](const char* name) {
    Converter cd("UTF-16LE", name);
    if (!cd.valid()) return false;
    Convert(cd.get(), bytes.data(), bytes.size(), utf16, [](std::string& out, std::string_view, bool truncated) {
      out.append("\xFD\xFF", 2);  // U+FFFD
      return truncated ? std::size_t(-1) : std::size_t(1);
    });
    return true;
  });
  if (!converted) return std::nullopt;
  std::u16string text(utf16.size() / 2, u'\0');
  std::memcpy(text.data(), utf16.data(), text.size() * 2);
  return text;
}

std::optional<EncodedText> EncodeCodePage(std::uint32_t codePage, std::u16string_view text) {
  EncodedText result;
  const bool converted = OpenFor(codePage, [&](const char* name) {
    Converter cd(name, "UTF-16LE");
    if (!cd.valid()) return false;
    const char* in = reinterpret_cast<const char*>(text.data());
    Convert(cd.get(), in, text.size() * 2, result.bytes, [&](std::string& out, std::string_view rest, bool) {
      out.push_back('?');
      result.lost = true;
      // A character beyond U+FFFF is one character in two units: one "?" for both.
      return StartsWithSurrogatePair(rest) ? std::size_t(4) : std::size_t(2);
    });
    return true;
  });
  if (!converted) return std::nullopt;
  return result;
}

}  // namespace quencfg
