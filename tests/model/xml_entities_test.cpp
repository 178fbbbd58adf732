// The named character references against the HTML 4.01 entity sets plus apos: every
// name with its code point, so that a wrong or missing row fails.
#include "quencfg/model/xml_entities.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "quencfg/framework/text.h"

namespace quencfg {
namespace {

struct NamedEntity {
  std::u16string_view name;
  char32_t codePoint;
};

// As the three HTML 4.01 entity sets declare them (Latin-1, symbols, special), then apos.
constexpr NamedEntity kHtml401Entities[] = {
    // Latin-1
    {u"nbsp", 0xA0}, {u"iexcl", 0xA1}, {u"cent", 0xA2}, {u"pound", 0xA3},
    {u"curren", 0xA4}, {u"yen", 0xA5}, {u"brvbar", 0xA6}, {u"sect", 0xA7},
    {u"uml", 0xA8}, {u"copy", 0xA9}, {u"ordf", 0xAA}, {u"laquo", 0xAB},
    {u"not", 0xAC}, {u"shy", 0xAD}, {u"reg", 0xAE}, {u"macr", 0xAF},
    {u"deg", 0xB0}, {u"plusmn", 0xB1}, {u"sup2", 0xB2}, {u"sup3", 0xB3},
    {u"acute", 0xB4}, {u"micro", 0xB5}, {u"para", 0xB6}, {u"middot", 0xB7},
    {u"cedil", 0xB8}, {u"sup1", 0xB9}, {u"ordm", 0xBA}, {u"raquo", 0xBB},
    {u"frac14", 0xBC}, {u"frac12", 0xBD}, {u"frac34", 0xBE}, {u"iquest", 0xBF},
    {u"Agrave", 0xC0}, {u"Aacute", 0xC1}, {u"Acirc", 0xC2}, {u"Atilde", 0xC3},
    {u"Auml", 0xC4}, {u"Aring", 0xC5}, {u"AElig", 0xC6}, {u"Ccedil", 0xC7},
    {u"Egrave", 0xC8}, {u"Eacute", 0xC9}, {u"Ecirc", 0xCA}, {u"Euml", 0xCB},
    {u"Igrave", 0xCC}, {u"Iacute", 0xCD}, {u"Icirc", 0xCE}, {u"Iuml", 0xCF},
    {u"ETH", 0xD0}, {u"Ntilde", 0xD1}, {u"Ograve", 0xD2}, {u"Oacute", 0xD3},
    {u"Ocirc", 0xD4}, {u"Otilde", 0xD5}, {u"Ouml", 0xD6}, {u"times", 0xD7},
    {u"Oslash", 0xD8}, {u"Ugrave", 0xD9}, {u"Uacute", 0xDA}, {u"Ucirc", 0xDB},
    {u"Uuml", 0xDC}, {u"Yacute", 0xDD}, {u"THORN", 0xDE}, {u"szlig", 0xDF},
    {u"agrave", 0xE0}, {u"aacute", 0xE1}, {u"acirc", 0xE2}, {u"atilde", 0xE3},
    {u"auml", 0xE4}, {u"aring", 0xE5}, {u"aelig", 0xE6}, {u"ccedil", 0xE7},
    {u"egrave", 0xE8}, {u"eacute", 0xE9}, {u"ecirc", 0xEA}, {u"euml", 0xEB},
    {u"igrave", 0xEC}, {u"iacute", 0xED}, {u"icirc", 0xEE}, {u"iuml", 0xEF},
    {u"eth", 0xF0}, {u"ntilde", 0xF1}, {u"ograve", 0xF2}, {u"oacute", 0xF3},
    {u"ocirc", 0xF4}, {u"otilde", 0xF5}, {u"ouml", 0xF6}, {u"divide", 0xF7},
    {u"oslash", 0xF8}, {u"ugrave", 0xF9}, {u"uacute", 0xFA}, {u"ucirc", 0xFB},
    {u"uuml", 0xFC}, {u"yacute", 0xFD}, {u"thorn", 0xFE}, {u"yuml", 0xFF},
    // Symbols: Latin, Greek, punctuation, letter-like, arrows, mathematics, technical, shapes
    {u"fnof", 0x192},
    {u"Alpha", 0x391}, {u"Beta", 0x392}, {u"Gamma", 0x393}, {u"Delta", 0x394},
    {u"Epsilon", 0x395}, {u"Zeta", 0x396}, {u"Eta", 0x397}, {u"Theta", 0x398},
    {u"Iota", 0x399}, {u"Kappa", 0x39A}, {u"Lambda", 0x39B}, {u"Mu", 0x39C},
    {u"Nu", 0x39D}, {u"Xi", 0x39E}, {u"Omicron", 0x39F}, {u"Pi", 0x3A0},
    {u"Rho", 0x3A1}, {u"Sigma", 0x3A3}, {u"Tau", 0x3A4}, {u"Upsilon", 0x3A5},
    {u"Phi", 0x3A6}, {u"Chi", 0x3A7}, {u"Psi", 0x3A8}, {u"Omega", 0x3A9},
    {u"alpha", 0x3B1}, {u"beta", 0x3B2}, {u"gamma", 0x3B3}, {u"delta", 0x3B4},
    {u"epsilon", 0x3B5}, {u"zeta", 0x3B6}, {u"eta", 0x3B7}, {u"theta", 0x3B8},
    {u"iota", 0x3B9}, {u"kappa", 0x3BA}, {u"lambda", 0x3BB}, {u"mu", 0x3BC},
    {u"nu", 0x3BD}, {u"xi", 0x3BE}, {u"omicron", 0x3BF}, {u"pi", 0x3C0},
    {u"rho", 0x3C1}, {u"sigmaf", 0x3C2}, {u"sigma", 0x3C3}, {u"tau", 0x3C4},
    {u"upsilon", 0x3C5}, {u"phi", 0x3C6}, {u"chi", 0x3C7}, {u"psi", 0x3C8},
    {u"omega", 0x3C9}, {u"thetasym", 0x3D1}, {u"upsih", 0x3D2}, {u"piv", 0x3D6},
    {u"bull", 0x2022}, {u"hellip", 0x2026}, {u"prime", 0x2032}, {u"Prime", 0x2033},
    {u"oline", 0x203E}, {u"frasl", 0x2044},
    {u"weierp", 0x2118}, {u"image", 0x2111}, {u"real", 0x211C}, {u"trade", 0x2122},
    {u"alefsym", 0x2135},
    {u"larr", 0x2190}, {u"uarr", 0x2191}, {u"rarr", 0x2192}, {u"darr", 0x2193},
    {u"harr", 0x2194}, {u"crarr", 0x21B5}, {u"lArr", 0x21D0}, {u"uArr", 0x21D1},
    {u"rArr", 0x21D2}, {u"dArr", 0x21D3}, {u"hArr", 0x21D4},
    {u"forall", 0x2200}, {u"part", 0x2202}, {u"exist", 0x2203}, {u"empty", 0x2205},
    {u"nabla", 0x2207}, {u"isin", 0x2208}, {u"notin", 0x2209}, {u"ni", 0x220B},
    {u"prod", 0x220F}, {u"sum", 0x2211}, {u"minus", 0x2212}, {u"lowast", 0x2217},
    {u"radic", 0x221A}, {u"prop", 0x221D}, {u"infin", 0x221E}, {u"ang", 0x2220},
    {u"and", 0x2227}, {u"or", 0x2228}, {u"cap", 0x2229}, {u"cup", 0x222A},
    {u"int", 0x222B}, {u"there4", 0x2234}, {u"sim", 0x223C}, {u"cong", 0x2245},
    {u"asymp", 0x2248}, {u"ne", 0x2260}, {u"equiv", 0x2261}, {u"le", 0x2264},
    {u"ge", 0x2265}, {u"sub", 0x2282}, {u"sup", 0x2283}, {u"nsub", 0x2284},
    {u"sube", 0x2286}, {u"supe", 0x2287}, {u"oplus", 0x2295}, {u"otimes", 0x2297},
    {u"perp", 0x22A5}, {u"sdot", 0x22C5},
    {u"lceil", 0x2308}, {u"rceil", 0x2309}, {u"lfloor", 0x230A}, {u"rfloor", 0x230B},
    {u"lang", 0x2329}, {u"rang", 0x232A},
    {u"loz", 0x25CA}, {u"spades", 0x2660}, {u"clubs", 0x2663}, {u"hearts", 0x2665},
    {u"diams", 0x2666},
    // Special: markup-significant, Latin Extended, spacing modifiers, punctuation
    {u"quot", 0x22}, {u"amp", 0x26}, {u"lt", 0x3C}, {u"gt", 0x3E},
    {u"OElig", 0x152}, {u"oelig", 0x153}, {u"Scaron", 0x160}, {u"scaron", 0x161},
    {u"Yuml", 0x178}, {u"circ", 0x2C6}, {u"tilde", 0x2DC},
    {u"ensp", 0x2002}, {u"emsp", 0x2003}, {u"thinsp", 0x2009}, {u"zwnj", 0x200C},
    {u"zwj", 0x200D}, {u"lrm", 0x200E}, {u"rlm", 0x200F}, {u"ndash", 0x2013},
    {u"mdash", 0x2014}, {u"lsquo", 0x2018}, {u"rsquo", 0x2019}, {u"sbquo", 0x201A},
    {u"ldquo", 0x201C}, {u"rdquo", 0x201D}, {u"bdquo", 0x201E}, {u"dagger", 0x2020},
    {u"Dagger", 0x2021}, {u"permil", 0x2030}, {u"lsaquo", 0x2039}, {u"rsaquo", 0x203A},
    {u"euro", 0x20AC},
    // Beyond HTML 4.01
    {u"apos", 0x27},
};

std::string Narrow(std::u16string_view text) { return Utf16ToUtf8(text); }

// "&name;"
std::u16string Reference(std::u16string_view name) {
  std::u16string reference(u"&");
  reference.append(name);
  reference.push_back(u';');
  return reference;
}

std::u16string Decoded(std::u16string_view text) {
  std::u16string out;
  AppendDecodedEntities(out, text);
  return out;
}

TEST(NamedEntities, TheTableHoldsExactlyTheHtml401NamesAndApos) {
  std::set<std::u16string_view> names;
  for (const NamedEntity& entity : kHtml401Entities) names.insert(entity.name);
  ASSERT_EQ(names.size(), std::size(kHtml401Entities)) << "a name is listed twice here";
  EXPECT_EQ(std::size(kHtml401Entities), 253u);
  EXPECT_EQ(EntityNameCount(), std::size(kHtml401Entities));
}

TEST(NamedEntities, EveryNameGivesItsCodePoint) {
  for (const NamedEntity& entity : kHtml401Entities) {
    EXPECT_EQ(static_cast<std::uint32_t>(LookupEntityName(entity.name)), static_cast<std::uint32_t>(entity.codePoint))
        << Narrow(entity.name);
  }
}

TEST(NamedEntities, EveryReferenceInTextDecodesToItsCharacter) {
  for (const NamedEntity& entity : kHtml401Entities) {
    std::u16string expected = u"<";
    AppendUtf16CodePoint(expected, entity.codePoint);
    expected += u">";
    std::u16string text(u"<");
    text.append(Reference(entity.name));
    text.push_back(u'>');
    EXPECT_EQ(Decoded(text), expected) << Narrow(entity.name);
  }
}

TEST(NamedEntities, OtherSpellingsAndLaterNamesAreNotReferences) {
  // Case counts, and names that only later HTML versions added are not known.
  for (const std::u16string_view name : {u"AMP", u"Amp", u"NBSP", u"Euro", u"ALPHA", u"eTH", u"Tab", u"NewLine",
                                         u"lbrace", u"hyphen", u"dash", u"bullet", u"check", u"nbsp "}) {
    EXPECT_EQ(static_cast<std::uint32_t>(LookupEntityName(name)), 0u) << Narrow(name);
    const std::u16string reference = Reference(name);
    EXPECT_EQ(Decoded(reference), reference) << Narrow(name);
  }
}

}  // namespace
}  // namespace quencfg
