#include <cerrno>
#include <cstring>

#include "quencfg/framework/system_error.h"
#include "quencfg/framework/text.h"

namespace quencfg {

std::u16string LastSystemErrorMessage() { return SystemErrorMessage(static_cast<std::uint32_t>(errno)); }

std::u16string SystemErrorMessage(std::uint32_t error) {
  return Utf8ToUtf16(std::strerror(static_cast<int>(error)));
}

}  // namespace quencfg
