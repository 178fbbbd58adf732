#include "support/source_tree.h"

#include "quencfg/framework/paths.h"
#include "quencfg/framework/text.h"

namespace quencfg::testing {

std::u16string SourceTreePath(std::u16string_view backslashed) {
#ifdef _WIN32
  // A wide string literal on Windows (Wine maps / to Z:).
  std::u16string root;
  for (const wchar_t* p = KORVANE_TEST_SOURCE_DIR; *p != 0; ++p) root += static_cast<char16_t>(*p);
#else
  const std::u16string root = Utf8ToUtf16(KORVANE_TEST_SOURCE_DIR);
#endif
  return root + NativeRelativePath(backslashed);
}

}  // namespace quencfg::testing
