#pragma once
// The program's icon, shown by the main window and the tray.
#include <windows.h>

namespace quencfg {

// The icon resource of the executable; one without it (a test program) gets the
// platform's default application icon instead of none.
HICON ApplicationIcon();

}  // namespace quencfg
