// Any bytes given to XmlDocument::LoadFile: decoding, parsing, navigating every element
// and reading its text must stay in bounds and leave a consistent index.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "quencfg/framework/files.h"
#include "quencfg/framework/text.h"
#include "quencfg/model/xml_document.h"
#include "support/xml_tree.h"

namespace {

using quencfg::XmlDocument;

const std::u16string& InputPath() {
  static const std::u16string path =
      quencfg::AsciiToUtf16("/tmp/xml_load_fuzz_" + std::to_string(::getpid()) + ".xml");
  return path;
}

void Check(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "xml_load_fuzz: %s\n", what);
    std::abort();
  }
}

// Walks the whole tree with the navigation calls, depth first.
void WalkAll(XmlDocument& doc) {
  doc.ResetPosition();
  int steps = 0;
  while (steps++ < 100000) {
    if (doc.FindChildElement()) {
      (void)doc.GetChildText();
      Check(doc.EnterElement(), "enter after a found child");
      continue;
    }
    if (doc.FindElement()) continue;
    if (!doc.LeaveElement()) break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // A plain write (no flush to disk) keeps the run fast; LoadFile reads it like any file.
  std::FILE* file = std::fopen(quencfg::Utf16ToUtf8(InputPath()).c_str(), "wb");
  if (file == nullptr) return 0;
  const bool written = std::fwrite(data, 1, size, file) == size;
  if (std::fclose(file) != 0 || !written) return 0;
  XmlDocument doc;
  const bool wellFormed = doc.LoadFile(InputPath());
  Check(wellFormed == doc.IsWellFormed() || doc.Text().empty(), "result and well-formedness disagree");
  const std::string problem = quencfg::testing::CheckIndex(doc);
  if (!problem.empty()) {
    std::fprintf(stderr, "xml_load_fuzz: %s\n", problem.c_str());
    std::abort();
  }
  for (quencfg::ElementNumber n = 0; n <= doc.ElementCount() + 1; ++n) (void)doc.GetElementText(n);
  WalkAll(doc);
  if (wellFormed) {
    // Well-formed text parses to the same tree again.
    Check(quencfg::testing::DescribeTree(doc) == quencfg::testing::DescribeReparsedTree(doc), "reparse differs");
  }
  return 0;
}
