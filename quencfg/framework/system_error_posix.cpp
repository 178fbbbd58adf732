#include <cerrno>
#include <cstring>

#include "quencfg/framework/system_error.h"
#include "quencfg/framework/text.h"

namespace quencfg {

std::u16string LastSystemErrorMessage() { return Utf8ToUtf16(std::strerror(errno)); }

}  // namespace quencfg
