// Encoding detection and conversion of XML files, and the two name tables.
#include <gtest/gtest.h>

#include <string>

#include "quencfg/framework/codepage.h"
#include "quencfg/framework/files.h"
#include "quencfg/framework/text.h"
#include "quencfg/model/xml_document.h"
#include "quencfg/model/xml_encoding_names.h"
#include "quencfg/model/xml_entities.h"
#include "quencfg/model/xml_file_codec.h"
#include "support/temp_folder.h"

namespace quencfg {
namespace {

using testing::TempFolder;

std::string Narrow(std::u16string_view text) { return Utf16ToUtf8(text); }

bool Contains(std::u16string_view text, std::u16string_view part) { return text.find(part) != text.npos; }

TEST(XmlEncodingNames, KnownNamesUtf32AndUnknownNames) {
  EXPECT_EQ(EncodingNameCount(), 254u);
  const std::pair<std::u16string_view, std::uint32_t> rows[] = {
      {u"utf-8", 65001}, {u"UTF-8", 65001}, {u"utf-16", 1200}, {u"unicode", 1200}, {u"unicodefffe", 1201},
      {u"utf-7", 65000}, {u"us-ascii", 20127}, {u"ascii", 20127}, {u"iso-8859-1", 28591}, {u"Latin1", 28591},
      {u"windows-1252", 1252}, {u"Shift_JIS", 932}, {u"gb2312", 936}, {u"euc-kr", 949}, {u"big5", 950},
      {u"koi8-r", 20866}, {u"ibm437", 437}, {u"_iso-2022-jp$sio", 50222},
      {u"extended_unix_code_packed_format_for_japanese", 51932}, {u"x-ebcdic-cyrillicserbianbulgarian", 21025},
      {u"", kDefaultCodePage}, {u"UTF-32", kUtf32CodePage}, {u"UTF-32BE", kUtf32CodePage},
  };
  for (const auto& [name, codePage] : rows) {
    EXPECT_EQ(CodePageOfEncodingName(name), std::optional<std::uint32_t>(codePage)) << Narrow(name);
  }
  for (const std::u16string_view unknown : {u"utf-16le", u"UTF-16BE", u"utf-32", u"nonsense", u"utf-8 "}) {
    EXPECT_FALSE(CodePageOfEncodingName(unknown).has_value()) << Narrow(unknown);
  }
  EXPECT_FALSE(CodePageOfEncodingName(std::u16string(100, u'a')).has_value());
}

TEST(XmlEntityNames, HtmlTableWithApos) {
  EXPECT_EQ(EntityNameCount(), 253u);
  EXPECT_EQ(LookupEntityName(u"nbsp"), 160u);
  EXPECT_EQ(LookupEntityName(u"yuml"), 255u);
  EXPECT_EQ(LookupEntityName(u"Yuml"), 376u);
  EXPECT_EQ(LookupEntityName(u"alefsym"), 8501u);
  EXPECT_EQ(LookupEntityName(u"diams"), 9830u);
  EXPECT_EQ(LookupEntityName(u"apos"), 39u);
  EXPECT_EQ(LookupEntityName(u"AMP"), 0u);
  EXPECT_EQ(EncodeEntities(u"a<b&c>\"'"), u"a&lt;b&amp;c&gt;\"'");
}

struct DecodeCase {
  const char* what;
  std::string bytes;
  std::u16string_view text;
  std::uint32_t flags;
  std::u16string_view diagnosticPart;
};

TEST(XmlFileDecoding, MarksDeclarationsDetectionAndZeroUnits) {
  const DecodeCase cases[] = {
      {"UTF-16LE without mark, ASCII", std::string("<\0a\0/\0>\0", 8), u"<a/>", 0, u"(4 nulls removed) "},
      {"declared windows-1252", "<?xml version='1.0' encoding='windows-1252'?><a>\xe9</a>",
       u"<?xml version='1.0' encoding='windows-1252'?><a>\u00e9</a>", 0, u"windows-1252 length 53 "},
      {"declared, unquoted", "<?xml encoding=ISO-8859-1?><a>\xe9</a>", u"<?xml encoding=ISO-8859-1?><a>\u00e9</a>",
       0, u"ISO-8859-1 "},
      {"html meta", "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=koi8-r\"></head>"
                    "<body>\xf0</body></html>",
       u"<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=koi8-r\"></head>"
       u"<body>\u041f</body></html>",
       0, u"koi8-r "},
      {"UTF-8 detected", "a\xc3\xa9<b/>", u"a\u00e9<b/>", 0, u"ANSI length 7 (used UTF-8 detection) to 6 wide chars "},
      {"not UTF-8: default code page", "a\xe9<b/>", u"a\u00e9<b/>", 0, u"(used UTF-8 detection) "},
      {"UTF-8 mark", "\xEF\xBB\xBF<a>\xc3\xa9</a>", u"<a>\u00e9</a>", XmlDocument::BOM_UTF8, u"UTF-8 BOM +length 9 "},
      {"zero bytes in UTF-8", std::string("<a>\0x\0</a>", 10), u"<a>x</a>", 0, u"(2 nulls removed) "},
      {"zero units in UTF-16", std::string("\xFF\xFE<\0\0\0a\0/\0>\0", 12), u"<a/>", XmlDocument::BOM_UTF16LE,
       u"(1 nulls removed) "},
      {"odd byte after UTF-16 units", std::string("\xFF\xFE<\0a\0/\0>\0!", 11), u"<a/>", XmlDocument::BOM_UTF16LE,
       u"UTF-16LE BOM +length 4 "},
      {"UTF-32 without mark", std::string("<\0\0\0a\0\0\0/\0\0\0>\0\0\0\x00\xF6\x01\x00", 20), u"<a/>\U0001F600", 0,
       u"UTF-32 "},
      {"empty after mark", "\xFF\xFE", u"", XmlDocument::BOM_UTF16LE, u"0 length "},
  };
  for (const DecodeCase& c : cases) {
    const DecodedXmlFile decoded = DecodeXmlFile(c.bytes);
    EXPECT_TRUE(decoded.ok) << c.what;
    EXPECT_EQ(decoded.text, c.text) << c.what;
    EXPECT_EQ(decoded.flags, c.flags) << c.what;
    EXPECT_TRUE(Contains(decoded.diagnostic, c.diagnosticPart)) << c.what << ": " << Narrow(decoded.diagnostic);
  }
}

TEST(XmlFileDecoding, Utf8TestFollowsLeadBits) {
  EXPECT_TRUE(LooksLikeUtf8("plain"));
  EXPECT_TRUE(LooksLikeUtf8("\xc3\xa9\xe2\x82\xac\xf0\x9f\x98\x80"));
  EXPECT_FALSE(LooksLikeUtf8("\xc3"));          // incomplete at the end
  EXPECT_FALSE(LooksLikeUtf8("\xe2\x82x"));     // continuation below 0x80
  EXPECT_FALSE(LooksLikeUtf8("\xf8\x80\x80\x80\x80"));
  EXPECT_TRUE(LooksLikeUtf8(std::string("ok\0\xff", 4)));  // stops at the first zero byte
}

TEST(XmlFileDecoding, DeclaredEncodingScan) {
  const std::pair<std::u16string_view, std::optional<std::u16string_view>> cases[] = {
      {u"<?xml version=\"1.0\" encoding=\"utf-16\"?><a/>", u"utf-16"},
      {u"<?XML encoding='x'?>", u"x"},
      {u"<?xml version=\"1.0\"?><a/>", std::nullopt},
      {u"<!-- c --><?other?><?xml encoding=\"koi8-r\"?>", u"koi8-r"},
      {u"<a/><?xml encoding=\"koi8-r\"?>", std::nullopt},  // the first start tag ends the scan
      {u"<HTML><META http-equiv=content-type content='text/html;charset=big5'>", u"big5"},
      {u"<html><meta name=x><meta http-equiv=\"Content-Type\" content=\"text/html\">", std::nullopt},
      {u"<html><head></head><meta http-equiv=\"Content-Type\" content=\"charset=big5\">", std::nullopt},
      {u"<html>< 1", std::nullopt},
  };
  for (const auto& [text, expected] : cases) {
    const auto found = DeclaredEncoding(text);
    EXPECT_EQ(found.has_value(), expected.has_value()) << Narrow(text);
    if (found && expected) {
      EXPECT_EQ(*found, *expected) << Narrow(text);
    }
  }
}

struct RoundTrip {
  const char* what;
  std::uint32_t flags;
  std::u16string_view text;
  std::string_view startsWith;
};

TEST(XmlFileSaving, EveryEncodingRoundTrips) {
  const RoundTrip cases[] = {
      {"UTF-16LE", XmlDocument::BOM_UTF16LE, u"<a>\u00e9\U0001F600</a>", "\xFF\xFE<\0"},
      {"UTF-16BE", XmlDocument::BOM_UTF16BE, u"<a>\u00e9\U0001F600</a>", std::string_view("\xFE\xFF\0<", 4)},
      {"UTF-8 mark", XmlDocument::BOM_UTF8, u"<a>\u00e9\U0001F600</a>", "\xEF\xBB\xBF<a>\xc3\xa9"},
      {"UTF-8 by first <", 0, u"<a>\u00e9\U0001F600</a>", "<a>\xc3\xa9"},
      {"declared utf-16 without mark", 0, u"<?xml encoding=\"utf-16\"?><a>\u00e9</a>", "<?xml"},
      {"declared windows-1252", 0, u"<?xml encoding=\"windows-1252\"?><a>\u00e9</a>", "<?xml"},
      {"declared iso-8859-5", 0, u"<?xml encoding=\"iso-8859-5\"?><a>\u0416</a>", "<?xml"},
      {"declared shift_jis", 0, u"<?xml encoding=\"shift_jis\"?><a>\u65e5\u672c</a>", "<?xml"},
      {"declared UTF-32", 0, u"<?xml encoding=\"UTF-32\"?><a>\U0001F600</a>", std::string_view("<\0\0\0?", 5)},
  };
  TempFolder dir;
  for (const RoundTrip& c : cases) {
    const auto path = dir / u"r.xml";
    XmlDocument doc;
    doc.SetText(c.text);
    doc.SetFlags(c.flags);
    ASSERT_TRUE(doc.SaveFile(path)) << c.what << ": " << Narrow(doc.Diagnostic());
    const std::string bytes = ReadWholeFile(path).value_or("");
    EXPECT_EQ(bytes.substr(0, c.startsWith.size()), c.startsWith) << c.what;
    XmlDocument loaded;
    EXPECT_TRUE(loaded.LoadFile(path)) << c.what << ": " << Narrow(loaded.Diagnostic());
    EXPECT_EQ(loaded.Text(), c.text) << c.what;
    EXPECT_EQ(loaded.Flags(), c.flags) << c.what;
  }
}

TEST(XmlFileSaving, CharactersTheCodePageLacksAreReported) {
  TempFolder dir;
  XmlDocument doc;
  doc.SetText(u"<?xml encoding=\"iso-8859-1\"?><a>\u0416</a>");
  ASSERT_TRUE(doc.SaveFile(dir / u"lost.xml"));
  EXPECT_TRUE(Contains(doc.Diagnostic(), u"(chars lost in conversion!) ")) << Narrow(doc.Diagnostic());
  EXPECT_EQ(ReadWholeFile(dir / u"lost.xml").value_or(""), "<?xml encoding=\"iso-8859-1\"?><a>?</a>");
  doc.SetText(u"");
  doc.SetFlags(XmlDocument::BOM_UTF16LE);
  ASSERT_TRUE(doc.SaveFile(dir / u"empty.xml"));
  EXPECT_EQ(ReadWholeFile(dir / u"empty.xml").value_or(""), "\xFF\xFE");
  EXPECT_TRUE(Contains(doc.Diagnostic(), u"0 length ")) << Narrow(doc.Diagnostic());
}

TEST(XmlFileLoading, ExamplesOfTheEdgeCases) {
  TempFolder dir;
  const std::pair<std::string, bool> files[] = {
      {"", false}, {"<a/>", true}, {"<a/><b/>", false}, {std::string("\xFF\xFE<\0a\0/\0>\0", 10), true},
  };
  for (const auto& [bytes, wellFormed] : files) {
    ASSERT_TRUE(ReplaceFileContents(dir / u"e.xml", bytes));
    XmlDocument doc;
    EXPECT_EQ(doc.LoadFile(dir / u"e.xml"), wellFormed) << bytes;
  }
  XmlDocument doc;
  ASSERT_TRUE(ReplaceFileContents(dir / u"e.xml", ""));
  EXPECT_FALSE(doc.LoadFile(dir / u"e.xml"));
  EXPECT_TRUE(Contains(doc.Diagnostic(), u"0 length Empty document")) << Narrow(doc.Diagnostic());
}

}  // namespace
}  // namespace quencfg
