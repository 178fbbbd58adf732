#pragma once
// ControlTooltips: one tooltip window that names the controls of a window, for
// buttons that show only a picture. The tooltip follows the mouse over each control
// by itself (the tool subclasses the control); setting a text again replaces it, so a
// change of language only sets the texts once more.
#include <windows.h>

#include <string>
#include <string_view>

#include "quencfg/framework/handle_win.h"

namespace quencfg {

class ControlTooltips {
 public:
  // Gives `control` the tip `text`; an empty text takes the tip away.
  void Set(HWND control, std::u16string_view text);
  // The tip `control` shows now; empty when it has none.
  [[nodiscard]] std::u16string TextOf(HWND control) const;
  [[nodiscard]] HWND hwnd() const noexcept { return tooltip_.get(); }

 private:
  bool MakeWindow(HWND owner);

  UniqueWindow tooltip_;
};

}  // namespace quencfg
