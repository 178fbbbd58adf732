// What the parser makes of end tags that do not close the innermost element: the first
// error it reports and the tree it recovers, for small documents that take each path
// of the recovery and for the large shapes the recovery benchmark times.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "quencfg/framework/text.h"
#include "quencfg/model/xml_document.h"
#include "support/ill_formed_xml.h"
#include "support/xml_tree.h"

namespace quencfg {
namespace {

// An element as its name without digits (numbered names then repeat), "*" when it was
// not ended, and its children in parentheses.
std::string OutlineOf(const XmlDocument& doc, ElementNumber n);

// Children of `parent`, runs of one or of a pair repeated written once with a count:
// "a*{3}", "(a* c){2}".
std::string ChildrenOutline(const XmlDocument& doc, ElementNumber parent) {
  std::vector<std::string> items;
  for (ElementNumber c = doc.Record(parent).firstChild; c != 0; c = doc.Record(c).nextSibling) {
    items.push_back(OutlineOf(doc, c));
  }
  auto repeats = [&](std::size_t at, std::size_t period) {
    std::size_t k = 1;
    while (at + (k + 1) * period <= items.size() &&
           std::equal(items.begin() + at, items.begin() + at + period, items.begin() + at + k * period)) {
      ++k;
    }
    return k;
  };
  std::string out;
  for (std::size_t i = 0; i < items.size();) {
    if (!out.empty()) out += ' ';
    const std::size_t singles = repeats(i, 1);
    const std::size_t pairs = i + 2 <= items.size() ? repeats(i, 2) : 1;
    if (pairs >= 2 && 2 * pairs > singles) {
      out += '(' + items[i] + ' ' + items[i + 1] + "){" + std::to_string(pairs) + '}';
      i += 2 * pairs;
    } else {
      out += items[i] + (singles >= 2 ? '{' + std::to_string(singles) + '}' : "");
      i += singles;
    }
  }
  return out;
}

std::string OutlineOf(const XmlDocument& doc, ElementNumber n) {
  std::string out;
  for (const char c : Utf16ToUtf8(doc.ElementName(n))) {
    if (c < '0' || c > '9') out += c;
  }
  const ElementRecord& record = doc.Record(n);
  if ((record.flags & ElementRecord::kNotEnded) != 0) out += '*';
  if (record.firstChild != 0) out += '(' + ChildrenOutline(doc, n) + ')';
  return out;
}

struct RecoveryCase {
  std::u16string_view text;
  std::u16string_view message;
  std::string outline;
};

void ExpectRecovery(const XmlDocument& doc, const RecoveryCase& c, const std::string& what) {
  EXPECT_FALSE(doc.IsWellFormed()) << what;
  EXPECT_EQ(doc.Diagnostic(), c.message) << what;
  EXPECT_EQ(ChildrenOutline(doc, 0), c.outline) << what;
  EXPECT_EQ(testing::CheckIndex(doc), "") << what;
}

TEST(XmlRecovery, EndTagsThatDoNotCloseTheInnermostElement) {
  const RecoveryCase cases[] = {
      // A stray end tag is ignored; the next one of an open name closes it.
      {u"<r><a><b></x></b></a></r>", u"No start tag for end tag 'x' at offset 9", "r(a(b))"},
      // An end tag closing an element further out leaves the ones above it not ended.
      {u"<r><a><b></a></r>", u"End tag 'a' at offset 9 does not match start tag 'b' at offset 6", "r(a(b*))"},
      // The end tag of an element closed that way is stray afterwards.
      {u"<r><a><b></a></b></r>", u"End tag 'a' at offset 9 does not match start tag 'b' at offset 6", "r(a(b*))"},
      // An element closed, then its end tag again: stray, even after strays counted it.
      {u"<r><a></c></a></a></r>", u"No start tag for end tag 'c' at offset 6", "r(a)"},
      // After a stray end tag, an end tag of an element further down still finds it.
      {u"<r><x><a><b></y></a></x></r>", u"No start tag for end tag 'y' at offset 12", "r(x(a(b*)))"},
      // Elements opened after a stray end tag, closed by a mismatch.
      {u"<r><a></x></a><a><b></a></r>", u"No start tag for end tag 'x' at offset 6", "r(a a(b*))"},
      // Two open elements of one name: the inner one is closed first, and once both
      // are, a third end tag of the name is stray.
      {u"<a><a><b></x></a></a></a>", u"No start tag for end tag 'x' at offset 9", "a(a(b*))"},
      // End tags spelled unusually take the same paths.
      {u"<r><a><b></x ></a ></r >", u"No start tag for end tag 'x' at offset 9", "r(a(b*))"},
      // Elements still open at the end are closed not ended, their children moved up.
      {u"<r><a><b><c/>", u"Root element has sibling", "r* a* b* c"},
      {u"<r><a><b/>", u"Root element has sibling", "r* a* b"},
      {u"<a><b/>", u"Root element has sibling", "a* b"},
  };
  for (const RecoveryCase& c : cases) {
    XmlDocument doc;
    doc.SetText(c.text);
    ExpectRecovery(doc, c, Utf16ToUtf8(c.text));
  }
}

// The shapes of the recovery benchmark, small and large: one error message and one tree
// whatever the size, apart from offsets and counts.
TEST(XmlRecovery, LargeShapesRecoverLikeSmallOnes) {
  struct ShapeCase {
    const char* shape;
    std::size_t n;
    RecoveryCase expected;
  };
  const ShapeCase cases[] = {
      {"stray_end_tags", 3, {{}, u"No start tag for end tag 'b' at offset 12", "r(a*{3})"}},
      {"stray_end_tags", 10000, {{}, u"No start tag for end tag 'b' at offset 30003", "r(a*{10000})"}},
      {"interleaved_stray_end_tags", 3, {{}, u"No start tag for end tag 'b' at offset 6", "r(a*{3})"}},
      {"interleaved_stray_end_tags", 10000, {{}, u"No start tag for end tag 'b' at offset 6", "r(a*{10000})"}},
      {"stray_end_tags_distinct_names", 3, {{}, u"No start tag for end tag 'b0000000' at offset 33", "r(a*{3})"}},
      {"stray_end_tags_distinct_names",
       10000,
       {{}, u"No start tag for end tag 'b0000000' at offset 100003", "r(a*{10000})"}},
      {"end_tags_of_closed_names", 3, {{}, u"No start tag for end tag 'x' at offset 6", "r(a{3})"}},
      {"end_tags_of_closed_names", 10000, {{}, u"No start tag for end tag 'x' at offset 6", "r(a{10000})"}},
      {"one_end_tag_closes_all",
       3,
       {{}, u"End tag 'r' at offset 24 does not match start tag 'a' at offset 17", "r((a* c){3})"}},
      {"one_end_tag_closes_all",
       10000,
       {{}, u"End tag 'r' at offset 70003 does not match start tag 'a' at offset 69996", "r((a* c){10000})"}},
      {"mismatched_pairs",
       3,
       {{}, u"End tag 'a' at offset 9 does not match start tag 'b' at offset 6", "r(a(b*){3})"}},
      {"mismatched_pairs",
       10000,
       {{}, u"End tag 'a' at offset 9 does not match start tag 'b' at offset 6", "r(a(b*){10000})"}},
      {"unclosed_at_end", 3, {{}, u"Root element has sibling", "r* a*{3}"}},
      {"unclosed_at_end", 10000, {{}, u"Root element has sibling", "r* a*{10000}"}},
  };
  for (const ShapeCase& c : cases) {
    const testing::XmlShape* shape = nullptr;
    for (const testing::XmlShape& s : testing::kIllFormedShapes) {
      if (std::string(s.name) == c.shape) shape = &s;
    }
    ASSERT_NE(shape, nullptr) << c.shape;
    XmlDocument doc;
    doc.SetText(shape->make(c.n));
    ExpectRecovery(doc, c.expected, std::string(c.shape) + " " + std::to_string(c.n));
  }
}

TEST(XmlRecovery, TheBenchmarksWellFormedPeerIsWellFormed) {
  XmlDocument doc;
  EXPECT_TRUE(doc.SetText(testing::kWellFormedShape.make(10000)));
  EXPECT_EQ(ChildrenOutline(doc, 0), "r(a{10000})");
}

}  // namespace
}  // namespace quencfg
