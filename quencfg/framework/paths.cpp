#include "quencfg/framework/paths.h"

namespace quencfg {

std::u16string NativeRelativePath(std::u16string_view backslashed) {
  std::u16string result(backslashed);
  for (char16_t& c : result) {
    if (c == u'\\') c = kPathSeparator;
  }
  return result;
}

std::u16string_view FileNameOfPath(std::u16string_view path) noexcept {
  const std::size_t cut = path.find_last_of(u"\\/:");
  return cut == std::u16string_view::npos ? path : path.substr(cut + 1);
}

}  // namespace quencfg
