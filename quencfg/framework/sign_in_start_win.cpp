#include "quencfg/framework/sign_in_start_win.h"

#include <windows.h>

#include <string>

#include "quencfg/framework/sign_in_start.h"
#include "quencfg/framework/wide_win.h"

namespace quencfg {

bool SignInStartEnabled() {
  return ::RegGetValueW(HKEY_CURRENT_USER, AsWide(kRunKeyPath), AsWide(kRunValueName), RRF_RT_REG_SZ, nullptr,
                        nullptr, nullptr) == ERROR_SUCCESS;
}

bool EnableSignInStart(std::u16string_view exePath) {
  const std::u16string command = SignInCommand(exePath);
  const auto bytes = static_cast<DWORD>((command.size() + 1) * sizeof(char16_t));
  return ::RegSetKeyValueW(HKEY_CURRENT_USER, AsWide(kRunKeyPath), AsWide(kRunValueName), REG_SZ,
                           AsWide(command), bytes) == ERROR_SUCCESS;
}

bool DisableSignInStart() {
  const LSTATUS status = ::RegDeleteKeyValueW(HKEY_CURRENT_USER, AsWide(kRunKeyPath), AsWide(kRunValueName));
  return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

bool ToggleSignInStart() {
  if (SignInStartEnabled()) return DisableSignInStart();
  wchar_t module[MAX_PATH] = {};
  const DWORD length = ::GetModuleFileNameW(nullptr, module, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return false;
  return EnableSignInStart(ToU16(module));
}

}  // namespace quencfg
