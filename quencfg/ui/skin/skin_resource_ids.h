#pragma once

#include "quencfg/framework/app_icon_id.h"

// Resource numbers of the executable that the skinned windows rely on.
#define IDB_SCROLLBAR_GRID 215    // 9 x 3 cells of the skinned scroll bars
#define IDB_LIST_KEY_PRESS 4024   // macro list row image: key pressed
#define IDB_LIST_KEY_RELEASE 4025 // macro list row image: key released
#define IDB_LIST_BUTTON_PRESS 4021   // macro list row image: mouse button pressed
#define IDB_LIST_BUTTON_RELEASE 4020 // macro list row image: mouse button released
