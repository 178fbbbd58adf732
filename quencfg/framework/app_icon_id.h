#pragma once

// The icon resource of the executable: the window and tray icon. Read by the resource
// compiler too, so it holds only the number.
#define IDI_KORVANE 220
