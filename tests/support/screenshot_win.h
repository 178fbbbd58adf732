#pragma once
// Saving what a Windows test shows: a bitmap as PNG (GDI+ must be started) into
// build/screenshots/ of the source tree.
#include <windows.h>

#include <string>

namespace quencfg::testing {

// The folder, created when missing, ending with a backslash.
std::u16string ScreenshotFolder();

bool SavePng(HBITMAP bitmap, const std::u16string& path);

// Copies the whole screen (the virtual display) into a bitmap and saves it.
bool SaveScreen(const std::u16string& fileName);

}  // namespace quencfg::testing
