#include "quencfg/framework/app_icon_win.h"

#include "quencfg/framework/app_icon_id.h"

namespace quencfg {

HICON ApplicationIcon() {
  HICON icon = ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_KORVANE));
  return icon != nullptr ? icon : ::LoadIconW(nullptr, IDI_APPLICATION);
}

}  // namespace quencfg
