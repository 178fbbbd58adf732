#pragma once
// The progress window and its bar are displays, not controls: they swallow the user's
// keys and clicks and every system command that would move, size or close them.
#include <windows.h>

#include "quencfg/framework/window_win.h"

namespace quencfg {

inline bool IsIgnoredInput(UINT message) noexcept {
  return IsKeyboardMessage(message) ||
         (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
         (message >= WM_NCMOUSEMOVE && message <= WM_NCMBUTTONDBLCLK) || message == WM_SYSCOMMAND ||
         message == WM_CLOSE;
}

}  // namespace quencfg
