#include "quencfg/ui/skin/skin_dpi_win.h"

#include "quencfg/framework/gdi_win.h"
#include "quencfg/ui/skin/skin_scale.h"

namespace quencfg {
namespace {

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);

// Windows 10 1607 and later; looked up so that the program still starts without it.
GetDpiForWindowFunction GetDpiForWindowOfSystem() noexcept {
  HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
  if (user32 == nullptr) return nullptr;
  return reinterpret_cast<GetDpiForWindowFunction>(
      reinterpret_cast<void*>(::GetProcAddress(user32, "GetDpiForWindow")));
}

}  // namespace

int WindowDpi(HWND window) noexcept {
  if (window != nullptr) {
    if (const GetDpiForWindowFunction getDpi = GetDpiForWindowOfSystem()) {
      const UINT dpi = getDpi(window);
      if (dpi > 0) return static_cast<int>(dpi);
    }
  }
  WindowDc screen(nullptr);
  const int dpi = screen.get() != nullptr ? ::GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
  return dpi > 0 ? dpi : kSkinBaseDpi;
}

}  // namespace quencfg
