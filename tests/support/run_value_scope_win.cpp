#include "support/run_value_scope_win.h"

#include <windows.h>

#include "quencfg/framework/sign_in_start.h"
#include "quencfg/framework/sign_in_start_win.h"
#include "quencfg/framework/wide_win.h"

namespace quencfg::testing {

std::optional<std::u16string> RunValue() {
  wchar_t value[1024] = {};
  DWORD bytes = sizeof value;
  if (::RegGetValueW(HKEY_CURRENT_USER, AsWide(kRunKeyPath), AsWide(kRunValueName), RRF_RT_REG_SZ, nullptr, value,
                     &bytes) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  return ToU16(value);
}

RunValueScope::RunValueScope() : saved_(RunValue()) { DisableSignInStart(); }

RunValueScope::~RunValueScope() {
  DisableSignInStart();
  if (!saved_) return;
  const auto bytes = static_cast<DWORD>((saved_->size() + 1) * sizeof(char16_t));
  ::RegSetKeyValueW(HKEY_CURRENT_USER, AsWide(kRunKeyPath), AsWide(kRunValueName), REG_SZ, AsWide(*saved_), bytes);
}

}  // namespace quencfg::testing
