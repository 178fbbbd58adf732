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

inline std::string DescribeReparsedTree(const XmlDocument& doc) {
  XmlDocument fresh;
  fresh.SetText(doc.Text());
  return DescribeTree(fresh);
}

}  // namespace quencfg::testing
