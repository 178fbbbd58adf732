#pragma once
// The hook component KBHook.dll, loaded from the program's folder at run time. Without
// it (or without an entry point) switching the hook does nothing: no events arrive.
#include <windows.h>

#include <string_view>

#include "quencfg/framework/handle_win.h"
#include "quencfg/kbhook/kbhook_contract_win.h"

namespace quencfg {

class KbHookComponent {
 public:
  KbHookComponent() = default;
  ~KbHookComponent();  // switches the hook off before the component is unloaded
  KbHookComponent(const KbHookComponent&) = delete;
  KbHookComponent& operator=(const KbHookComponent&) = delete;

  // Loads `folder` (ending with the separator) + "KBHook.dll" and looks up its entry
  // points. False when the file cannot be loaded; a missing entry point stays missing.
  bool Load(std::u16string_view folder);

  [[nodiscard]] bool loaded() const { return module_.valid(); }
  [[nodiscard]] bool hookOn() const { return hookOn_; }

  // On: installhook with the window, then enablehook(1). Off: enablehook(0), then removehook.
  void SetHook(bool on, HWND window);

 private:
  UniqueModule module_;
  kbhook::InstallHookFunction installhook_ = nullptr;
  kbhook::EnableHookFunction enablehook_ = nullptr;
  kbhook::RemoveHookFunction removehook_ = nullptr;
  bool hookOn_ = false;
};

}  // namespace quencfg
