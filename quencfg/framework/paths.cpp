#include "quencfg/framework/paths.h"

namespace quencfg {

std::u16string NativeRelativePath(std::u16string_view backslashed) {
  std::u16string result(backslashed);
  for (char16_t& c : result) {
    if (c == u'\\') c = kPathSeparator;
  }
  return result;
}

}  // namespace quencfg
