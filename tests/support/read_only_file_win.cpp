#include <windows.h>

#include "quencfg/framework/wide_win.h"
#include "support/read_only_file.h"

namespace quencfg::testing {

bool MarkReadOnly(std::u16string_view path, bool readOnly) {
  const std::wstring wide = ToWide(path);
  const DWORD attributes = ::GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  const DWORD marked =
      readOnly ? (attributes | FILE_ATTRIBUTE_READONLY) : (attributes & ~DWORD{FILE_ATTRIBUTE_READONLY});
  return ::SetFileAttributesW(wide.c_str(), marked) != 0;
}

}  // namespace quencfg::testing
