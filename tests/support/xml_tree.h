#pragma once
// The element tree of a document walked in document order, one line per element, so
// that an edited document can be compared with its text parsed from scratch (record
// numbers differ after insertions, the tree must not). Header-only: the fuzz targets
// use it too.
#include <string>
#include <vector>

#include "quencfg/framework/text.h"
#include "quencfg/model/xml_document.h"

namespace quencfg::testing {

inline std::string DescribeTree(const XmlDocument& doc) {
  std::string out;
  std::vector<ElementNumber> pending{doc.Record(0).firstChild};
  while (!pending.empty()) {
    const ElementNumber n = pending.back();
    pending.pop_back();
    if (n == 0) continue;
    const ElementRecord& r = doc.Record(n);
    out += Utf16ToUtf8(doc.ElementName(n)) + " s" + std::to_string(r.start) + " l" + std::to_string(r.length) +
           " st" + std::to_string(r.StartTagLength()) + " et" + std::to_string(r.EndTagLength()) + " f" +
           std::to_string(r.flags) + " parent " + Utf16ToUtf8(doc.ElementName(r.parent)) + "\n";
    pending.push_back(r.nextSibling);
    pending.push_back(r.firstChild);
  }
  return out;
}

// Checks the index against the text: every element inside its parent, siblings in
// order and apart, tags where the records say. Returns what is wrong, or "".
inline std::string CheckIndex(const XmlDocument& doc) {
  const std::u16string& text = doc.Text();
  if (doc.Record(0).start != 0 || doc.Record(0).length != text.size()) return "record 0 does not span the text";
  for (ElementNumber n = 0; n <= doc.ElementCount(); ++n) {
    const ElementRecord& r = doc.Record(n);
    const std::string at = "element " + std::to_string(n) + ": ";
    if (n != 0) {
      if (std::size_t{r.start} + r.length > text.size()) return at + "runs past the text";
      if (text[r.start] != u'<') return at + "does not start with <";
      if (std::size_t{r.StartTagLength()} + r.EndTagLength() > r.length) return at + "tags longer than element";
      if (text[r.start + r.StartTagLength() - 1] != u'>') return at + "start tag does not end with >";
      if (r.EndTagLength() != 0 && text.compare(r.start + r.length - r.EndTagLength(), 2, u"</") != 0) {
        return at + "end tag does not start with </";
      }
    }
    std::size_t previousEnd = n == 0 ? 0 : std::size_t{r.start} + r.StartTagLength();
    ElementNumber last = 0;
    for (ElementNumber c = r.firstChild; c != 0; c = doc.Record(c).nextSibling) {
      const ElementRecord& child = doc.Record(c);
      if (child.parent != n) return at + "child " + std::to_string(c) + " has another parent";
      if (child.start < previousEnd) return at + "child " + std::to_string(c) + " overlaps";
      if (last != 0 && child.previousSibling != last) return at + "broken previous link";
      previousEnd = std::size_t{child.start} + child.length;
      last = c;
    }
    if (n != 0 && last != 0 && previousEnd > std::size_t{r.start} + r.length - r.EndTagLength()) {
      return at + "children run past the end tag";
    }
    if (r.firstChild != 0 && doc.Record(r.firstChild).previousSibling != last) return at + "broken last link";
  }
  return {};
}

inline std::string DescribeReparsedTree(const XmlDocument& doc) {
  XmlDocument fresh;
  fresh.SetText(doc.Text());
  return DescribeTree(fresh);
}

}  // namespace quencfg::testing
