#pragma once
// The progress thread's entry: it owns the progress window, shown over the main window
// from UM_PROGRESSOPEN to UM_PROGRESSCLOSE and moved by UM_PROGRESSPOS.
#include <windows.h>

namespace quencfg {

inline constexpr DWORD kProgressClosePauseMs = 250;

// `parameter` is the ProgressThreadStart that StartProgressThread hands every entry.
DWORD WINAPI ProgressThreadMain(LPVOID parameter);

}  // namespace quencfg
