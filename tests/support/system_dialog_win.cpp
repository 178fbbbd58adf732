#include "support/system_dialog_win.h"

#include <string_view>

namespace quencfg::testing {

HWND ShownSystemDialog() {
  HWND found = nullptr;
  ::EnumThreadWindows(
      ::GetCurrentThreadId(),
      [](HWND candidate, LPARAM result) -> BOOL {
        wchar_t name[16] = {};
        ::GetClassNameW(candidate, name, 16);
        if (std::wstring_view(name) != L"#32770" || !::IsWindowVisible(candidate)) return TRUE;
        *reinterpret_cast<HWND*>(result) = candidate;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

}  // namespace quencfg::testing
