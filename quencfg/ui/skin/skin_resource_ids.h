#pragma once

#include "quencfg/framework/app_icon_id.h"

// Resource numbers of the executable that the skinned windows rely on.
#define IDB_SCROLLBAR_GRID 215    // 9 x 3 cells of the skinned scroll bars
#define IDB_LIST_KEY_PRESS 4024   // macro list row image: key pressed
#define IDB_LIST_KEY_RELEASE 4025 // macro list row image: key released
#define IDB_LIST_BUTTON_PRESS 4021   // macro list row image: mouse button pressed
#define IDB_LIST_BUTTON_RELEASE 4020 // macro list row image: mouse button released

// The same bitmaps drawn for 144 DPI (number + 10000) and 192 DPI (number + 20000).
// Plain numbers, as the resource compiler reads them.
#define IDB_SCROLLBAR_GRID_150 10215
#define IDB_LIST_KEY_PRESS_150 14024
#define IDB_LIST_KEY_RELEASE_150 14025
#define IDB_LIST_BUTTON_PRESS_150 14021
#define IDB_LIST_BUTTON_RELEASE_150 14020
#define IDB_SCROLLBAR_GRID_200 20215
#define IDB_LIST_KEY_PRESS_200 24024
#define IDB_LIST_KEY_RELEASE_200 24025
#define IDB_LIST_BUTTON_PRESS_200 24021
#define IDB_LIST_BUTTON_RELEASE_200 24020
