#pragma once
// What Windows says about the DPI of a window, for the skin's scale (skin_scale.h).
#include <windows.h>

namespace quencfg {

// The DPI the window is shown at: GetDpiForWindow where the system has it (per-monitor
// aware programs get their monitor's), else the screen's LOGPIXELSY. 96 when neither
// answers.
[[nodiscard]] int WindowDpi(HWND window) noexcept;

// The DPI WM_DPICHANGED announces in its wParam (x and y are the same).
[[nodiscard]] inline int DpiOfDpiChanged(WPARAM wParam) noexcept { return static_cast<int>(HIWORD(wParam)); }

}  // namespace quencfg
