#pragma once
// The system's own dialogs (message boxes, file dialogs) run modal loops of their own:
// a test's timer finds the one shown and answers it.
#include <windows.h>

namespace quencfg::testing {

// The visible system dialog (class #32770) of the calling thread, or null.
HWND ShownSystemDialog();

}  // namespace quencfg::testing
