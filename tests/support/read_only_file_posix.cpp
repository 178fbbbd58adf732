#include <sys/stat.h>

#include "quencfg/framework/text.h"
#include "support/read_only_file.h"

namespace quencfg::testing {

bool MarkReadOnly(std::u16string_view path, bool readOnly) {
  const std::string native = Utf16ToUtf8(path);
  struct stat info {};
  if (::stat(native.c_str(), &info) != 0) return false;
  const mode_t writable = S_IWUSR | S_IWGRP | S_IWOTH;
  const mode_t mode = readOnly ? (info.st_mode & ~writable) : (info.st_mode | S_IWUSR);
  return ::chmod(native.c_str(), mode & 07777) == 0;
}

}  // namespace quencfg::testing
