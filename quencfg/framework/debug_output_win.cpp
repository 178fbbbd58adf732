#include <windows.h>

#include <string>

#include "quencfg/framework/debug_output.h"
#include "quencfg/framework/wide_win.h"

namespace quencfg {

void PlatformDebugOutput(std::u16string_view text) { ::OutputDebugStringW(ToWide(text).c_str()); }

}  // namespace quencfg
