#include "quencfg/app/app_icon_win.h"

#include "quencfg/ui/skin/skin_resource_ids.h"

namespace quencfg {

HICON ApplicationIcon() {
  HICON icon = ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_KORVANE));
  return icon != nullptr ? icon : ::LoadIconW(nullptr, IDI_APPLICATION);
}

}  // namespace quencfg
