#include "quencfg/ui/keyassign/kbhook_loader_win.h"

#include <string>

#include "quencfg/framework/wide_win.h"

namespace quencfg {
namespace {

template <typename Function>
Function EntryPoint(HMODULE module, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

}  // namespace

KbHookComponent::~KbHookComponent() {
  if (hookOn_) SetHook(false, nullptr);
}

bool KbHookComponent::Load(std::u16string_view folder) {
  if (hookOn_) SetHook(false, nullptr);
  const std::wstring path = ToWide(folder) + kbhook::kComponentFileName;
  module_.reset(::LoadLibraryW(path.c_str()));
  installhook_ = nullptr;
  enablehook_ = nullptr;
  removehook_ = nullptr;
  if (!module_) return false;
  installhook_ = EntryPoint<kbhook::InstallHookFunction>(module_.get(), kbhook::kInstallHookName);
  enablehook_ = EntryPoint<kbhook::EnableHookFunction>(module_.get(), kbhook::kEnableHookName);
  removehook_ = EntryPoint<kbhook::RemoveHookFunction>(module_.get(), kbhook::kRemoveHookName);
  return true;
}

void KbHookComponent::SetHook(bool on, HWND window) {
  if (on) {
    if (installhook_) installhook_(window);
    if (enablehook_) enablehook_(1);
  } else {
    if (enablehook_) enablehook_(0);
    if (removehook_) removehook_();
  }
  hookOn_ = on && module_.valid();
}

}  // namespace quencfg
