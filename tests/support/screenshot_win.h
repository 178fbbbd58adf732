#pragma once
// Saving what a Windows test shows: a bitmap as PNG (GDI+ must be started) into
// build/screenshots/ of the source tree; and reading back what the screen shows.
#include <windows.h>

#include <string>

#include "quencfg/ui/skin/skin_bitmap_win.h"
#include "quencfg/ui/skin/state_images_win.h"

namespace quencfg::testing {

// The folder, created when missing, ending with a backslash.
std::u16string ScreenshotFolder();

bool SavePng(HBITMAP bitmap, const std::u16string& path);

// Copies the whole screen (the virtual display) into a bitmap and saves it.
bool SaveScreen(const std::u16string& fileName);

// What the screen shows of `window`'s client area right now, with everything the
// window's children draw over it: a 32-bit bitmap of top-down rows.
SkinBitmap CaptureClientArea(HWND window);

}  // namespace quencfg::testing
