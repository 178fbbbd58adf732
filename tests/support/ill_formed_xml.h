#pragma once
// Documents whose end tags make recovery work hard, built from a piece repeated n times:
// stray end tags under a deep stack, one end tag closing many elements, mismatches in
// every pair, elements left open at the end. The parser tests check what each one
// parses to; the benchmark times them against the well-formed document of the same
// shape. Header-only: the benchmarks use it too.
#include <cstddef>
#include <string>
#include <string_view>

namespace quencfg::testing {

inline std::u16string Repeated(std::u16string_view piece, std::size_t n) {
  std::u16string out;
  out.reserve(piece.size() * n);
  for (std::size_t i = 0; i < n; ++i) out += piece;
  return out;
}

// Distinct names of one length: a0000000, a0000001, ...
inline std::u16string NumberedName(char16_t letter, std::size_t i) {
  std::u16string name(8, u'0');
  name[0] = letter;
  for (std::size_t at = 7; at > 0 && i > 0; --at, i /= 10) name[at] = static_cast<char16_t>(u'0' + i % 10);
  return name;
}

struct XmlShape {
  const char* name;
  std::u16string (*make)(std::size_t n);
};

inline constexpr XmlShape kWellFormedShape = {
    "well_formed", [](std::size_t n) { return u"<r>" + Repeated(u"<a></a>", n) + u"</r>"; }};

inline constexpr XmlShape kIllFormedShapes[] = {
    // n open elements, then n end tags that match none of them.
    {"stray_end_tags", [](std::size_t n) { return u"<r>" + Repeated(u"<a>", n) + Repeated(u"</b>", n) + u"</r>"; }},
    // The stack grows by one between stray end tags.
    {"interleaved_stray_end_tags", [](std::size_t n) { return u"<r>" + Repeated(u"<a></b>", n) + u"</r>"; }},
    // Open elements and stray end tags all with names of their own.
    {"stray_end_tags_distinct_names",
     [](std::size_t n) {
       std::u16string text = u"<r>";
       for (std::size_t i = 0; i < n; ++i) text.append(u"<").append(NumberedName(u'a', i)).append(u">");
       for (std::size_t i = 0; i < n; ++i) text.append(u"</").append(NumberedName(u'b', i)).append(u">");
       return text + u"</r>";
     }},
    // An element closed, then its name ends again with nothing of that name open.
    {"end_tags_of_closed_names", [](std::size_t n) { return u"<r>" + Repeated(u"<a></x></a></a>", n) + u"</r>"; }},
    // One end tag closes n nested elements, whose children all move up.
    {"one_end_tag_closes_all", [](std::size_t n) { return u"<r>" + Repeated(u"<a><c/>", n) + u"</r>"; }},
    // In every pair the inner element is left open by the outer one's end tag.
    {"mismatched_pairs", [](std::size_t n) { return u"<r>" + Repeated(u"<a><b></a>", n) + u"</r>"; }},
    // n nested elements still open at the end of the text.
    {"unclosed_at_end", [](std::size_t n) { return u"<r>" + Repeated(u"<a>x", n); }},
};

}  // namespace quencfg::testing
