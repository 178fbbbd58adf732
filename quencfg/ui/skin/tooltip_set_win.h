#pragma once
// One tooltip control for many child windows of one owner: each window is a tool
// whose text can be set, changed and read back. The control is created on first use
// and destroyed with the set.
#include <windows.h>

#include <string>
#include <string_view>

#include "quencfg/framework/handle_win.h"

namespace quencfg {

class TooltipSet {
 public:
  // `tool` (a child of `owner`) shows `text` when the pointer rests on it; an empty
  // text takes its tooltip away.
  void Set(HWND owner, HWND tool, std::u16string_view text);
  // The text `tool` shows; empty when it has none.
  [[nodiscard]] std::u16string Text(HWND tool) const;
  [[nodiscard]] HWND hwnd() const noexcept { return window_.get(); }
  void Destroy() noexcept { window_.reset(); }

 private:
  bool EnsureCreated(HWND owner);

  UniqueWindow window_;
};

}  // namespace quencfg
