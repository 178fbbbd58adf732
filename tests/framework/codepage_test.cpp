// The code-page seam against known bytes: for each code page, bytes whose characters
// differ in a near code page, so that converting with the neighbour instead (strict
// Shift-JIS for 932, GB2312 for 936, ISO-8859-1 for 1252, ...) fails here. Runs on
// both seams: iconv natively, the platform's conversion under Wine.
#include "quencfg/framework/codepage.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

namespace quencfg {
namespace {

// Bytes that decode to a character which has a preferred form elsewhere in the code
// page (a duplicate row) are checked one way only.
enum class Direction { kBoth, kDecodeOnly };

struct KnownBytes {
  std::uint32_t codePage;
  std::string_view bytes;
  std::u16string_view text;
  const char* nearCodePageGives;  // why these bytes: what the neighbour makes of them
  Direction direction = Direction::kBoth;
};

constexpr KnownBytes kKnownBytes[] = {
    // Japanese: 932 keeps ASCII and adds the NEC and IBM rows that strict Shift-JIS lacks.
    {932, "\x5C\x7E", u"\\~", "strict Shift-JIS: U+00A5 U+203E"},
    {932, "\x81\x60\x81\x61\x81\x7C", u"\uFF5E\u2225\uFF0D", "strict Shift-JIS: U+301C U+2016 U+2212"},
    {932, "\x81\x91\x81\xCA", u"\uFFE0\uFFE2", "strict Shift-JIS: U+00A2 U+00AC"},
    {932, "\x87\x40\x87\x54", u"\u2460\u2160", "strict Shift-JIS: no characters (NEC row 13)"},
    {932, "\xFA\x40\xFA\x5C", u"\u2170\u7E8A", "strict Shift-JIS: no characters (IBM extension rows)"},
    {932, "\x87\x90\xED\x40", u"\u2252\u7E8A", "strict Shift-JIS: no characters (NEC duplicates)",
     Direction::kDecodeOnly},
    {932, "\x82\xA0\x88\x9F", u"\u3042\u4E9C", "EUC-JP: no characters"},
    // Chinese and Korean: the Windows extensions of the national standards.
    {936, "\x80", u"\u20AC", "GB2312: no character"},
    {936, "\x81\x40", u"\u4E02", "GB2312: no character"},
    {936, "\xA1\xA4\xA1\xAA", u"\u00B7\u2014", "GB2312: U+30FB U+2015"},
    {936, "\xB0\xA1", u"\u554A", "Big5 and 949: other characters"},
    {949, "\x81\x41", u"\uAC02", "EUC-KR: no character"},
    {949, "\xB0\xA1", u"\uAC00", "GB2312: U+554A"},
    {950, "\xA1\x45", u"\u2027", "Big5: U+2022"},
    {950, "\xA1\xC2\xA1\xE3", u"\u00AF\uFF5E", "Big5: U+203E U+223C"},
    {950, "\xA3\xE1", u"\u20AC", "Big5: no character"},
    {950, "\xF9\xF9", u"\u2550", "Big5: no character (a duplicate of 0xA2 0xA4)", Direction::kDecodeOnly},
    {1361, "\x88\x61\xB0\xA1", u"\uAC00\uC330", "949: U+B28F U+AC00"},
    // Windows 8-bit code pages.
    {874, "\x80\xA1", u"\u20AC\u0E01", "TIS-620: no character, U+0E01"},
    {1250, "\x8A\xA1\xB9", u"\u0160\u02C7\u0105", "ISO-8859-2: U+008A U+0104 U+0161"},
    {1251, "\xC0\xA8", u"\u0410\u0401", "ISO-8859-5: U+0420 U+00A8; 866: U+2514 U+0438"},
    {1252, "\x80\x93", u"\u20AC\u201C", "ISO-8859-1: U+0080 U+0093"},
    {1253, "\x80\xA2\xB6", u"\u20AC\u0386\u00B6", "ISO-8859-7: U+0080, a quotation mark, U+0386"},
    {1254, "\xD0\xFD", u"\u011E\u0131", "1252: U+00D0 U+00FD"},
    {1255, "\x80\xA4\xD0", u"\u20AC\u20AA\u05C0", "ISO-8859-8: U+0080 U+00A4, no character"},
    {1256, "\x81\xC7\xE0", u"\u067E\u0627\u00E0", "ISO-8859-6: U+0081 U+0627 U+0640"},
    {1257, "\x80\xA8\xC0", u"\u20AC\u00D8\u0104", "ISO-8859-4: U+0080 U+00A8 U+0100"},
    {1258, "\xC3\xDD\xF0", u"\u0102\u01AF\u0111", "1252: U+00C3 U+00DD U+00F0"},
    // ISO 8859 and KOI8.
    {28591, "\x80\xA4", u"\u0080\u00A4", "1252: U+20AC; ISO-8859-15: U+20AC"},
    {28592, "\xA1\xB1", u"\u0104\u0105", "1250: U+02C7 U+00B1"},
    {28593, "\xA1", u"\u0126", "ISO-8859-1: U+00A1"},
    {28594, "\xA2", u"\u0138", "ISO-8859-2: U+02D8"},
    {28595, "\xB0\xC0", u"\u0410\u0420", "1251: U+00B0 U+0410"},
    {28596, "\xC7\xE0", u"\u0627\u0640", "1256: U+0627 U+00E0"},
    {28597, "\xB6\xC1", u"\u0386\u0391", "1253: U+00B6 U+0391"},
    {28598, "\xA4\xE0", u"\u00A4\u05D0", "1255: U+20AA U+05D0"},
    {28599, "\x80\xD0", u"\u0080\u011E", "1254: U+20AC U+011E; ISO-8859-1: U+0080 U+00D0"},
    {28605, "\xA4\xBC", u"\u20AC\u0152", "ISO-8859-1: U+00A4 U+00BC"},
    {20866, "\xA4\xA6\xAD\xC0", u"\u2553\u2555\u255C\u044E", "21866: U+0454 U+0456 U+0491 U+044E"},
    {21866, "\xA4\xA6\xAD\xC0", u"\u0454\u0456\u0491\u044E", "20866: U+2553 U+2555 U+255C U+044E"},
    {708, "\xAC\xC1\xE0", u"\u060C\u0621\u0640", "1256: U+00AC U+0621 U+00E0"},
    // DOS code pages.
    {437, "\x9B\xD5", u"\u00A2\u2552", "850: U+00F8 U+0131"},
    {737, "\x80\xEA", u"\u0391\u0386", "437: U+00C7 U+03A9"},
    {775, "\x80\xE0", u"\u0106\u00D3", "850: U+00C7 U+00D3"},
    {850, "\x9B\xD5", u"\u00F8\u0131", "437: U+00A2 U+2552"},
    {852, "\x85\xA5", u"\u016F\u0105", "850: U+00E0 U+00D1"},
    {857, "\x8D\x98", u"\u0131\u0130", "850: U+00EC U+00FF"},
    {861, "\x8B", u"\u00D0", "850: U+00EF"},
    {862, "\x80", u"\u05D0", "437: U+00C7"},
    {866, "\x80\xF0", u"\u0410\u0401", "437: U+00C7 U+2261"},
    {869, "\x86\xA4", u"\u0386\u0391", "737: U+0397 U+03BD"},
    // EBCDIC.
    {37, "\x4A\x5A\x9F\xC1", u"\u00A2!\u00A4A", "500: U+005B U+005D; 1140: U+20AC at 0x9F"},
    {875, "\x41\xB1", u"\u0391\u03AC", "37: U+00A0 U+00A3"},
    {1026, "\x4A\x5A\x7B\x7C", u"\u00C7\u011E\u00D6\u015E", "37: U+00A2 U+0021 U+0023 U+0040"},
    // Apple code pages.
    {10000, "\x80\xA5\xDB", u"\u00C4\u2022\u20AC", "1252: U+20AC U+00A5 U+00DB"},
    {10007, "\x80\xDF", u"\u0410\u044F", "10000: U+00C4 U+FB02"},
    {10029, "\x81", u"\u0100", "10000: U+00C5"},
    {10079, "\xDE\xDF", u"\u00DE\u00FE", "10000: U+FB01 U+FB02"},
    // Unicode forms through the code-page seam.
    {65000, "+AOkgrA-", u"\u00E9\u20AC", "UTF-8: the text as written"},
    {65001, "\xC3\xA9\xE2\x82\xAC", u"\u00E9\u20AC", "1252: U+00C3 U+00A9 U+00E2 U+201A U+00AC"},
};

std::string Hex(std::string_view bytes) {
  std::string out;
  for (const char byte : bytes) {
    char digits[4];
    std::snprintf(digits, sizeof digits, "%02X ", static_cast<unsigned char>(byte));
    out += digits;
  }
  return out;
}

std::string CodePoints(std::u16string_view text) {
  std::string out;
  for (const char16_t unit : text) {
    char digits[8];
    std::snprintf(digits, sizeof digits, "U+%04X ", static_cast<unsigned>(unit));
    out += digits;
  }
  return out;
}

TEST(CodePageSeam, KnownBytesGiveTheCodePagesOwnCharacters) {
  for (const KnownBytes& row : kKnownBytes) {
    SCOPED_TRACE(::testing::Message() << "code page " << row.codePage << ", bytes " << Hex(row.bytes)
                                      << "(the near code page: " << row.nearCodePageGives << ")");
    const std::optional<std::u16string> text = DecodeCodePage(row.codePage, row.bytes);
    if (!text) {
      ADD_FAILURE() << "the code page is not supported";
      continue;
    }
    EXPECT_EQ(CodePoints(*text), CodePoints(row.text));
  }
}

TEST(CodePageSeam, TheCharactersEncodeBackToTheSameBytes) {
  for (const KnownBytes& row : kKnownBytes) {
    if (row.direction == Direction::kDecodeOnly) continue;
    SCOPED_TRACE(::testing::Message() << "code page " << row.codePage << ", text " << CodePoints(row.text));
    const std::optional<EncodedText> encoded = EncodeCodePage(row.codePage, row.text);
    if (!encoded) {
      ADD_FAILURE() << "the code page is not supported";
      continue;
    }
    EXPECT_EQ(Hex(encoded->bytes), Hex(row.bytes));
    EXPECT_FALSE(encoded->lost);
  }
}

}  // namespace
}  // namespace quencfg
