#include <windows.h>

#include "quencfg/framework/system_error.h"
#include "quencfg/framework/wide_win.h"

namespace quencfg {

std::u16string LastSystemErrorMessage() { return SystemErrorMessage(::GetLastError()); }

std::u16string SystemErrorMessage(std::uint32_t error) {
  wchar_t buffer[512] = {};
  const DWORD n = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                                   0, buffer, static_cast<DWORD>(sizeof(buffer) / sizeof(buffer[0])), nullptr);
  if (n == 0) return u"Error " + ToU16(std::to_wstring(error));
  return ToU16(std::wstring_view(buffer, n));
}

}  // namespace quencfg
