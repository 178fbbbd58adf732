#pragma once
// The launch page's program picker: the common open-file dialog, started in the
// programs folder. A shortcut is returned as the shortcut file itself.
#include <windows.h>

#include <string>

namespace quencfg {

// The full path the user chose; empty when the dialog was cancelled or failed.
std::u16string ChooseProgramFile(HWND owner);

}  // namespace quencfg
