#pragma once
// What KBHook.dll delivers and how it is called: shared by the component, the
// program's loader and the tests.
#include <windows.h>

#include "quencfg/framework/messages.h"

namespace quencfg::kbhook {

// UM_HOOKEVENT is posted to the installed window for every key and mouse-button press
// and release. wParam: the virtual-key code, or the mouse message number
// (WM_LBUTTONDOWN ...). lParam: kHookExtendedFlag for an extended key, kHookReleaseFlag
// for a release.

// The exported entry points, undecorated, C calling convention.
inline constexpr char kInstallHookName[] = "installhook";
inline constexpr char kEnableHookName[] = "enablehook";
inline constexpr char kRemoveHookName[] = "removehook";
using InstallHookFunction = int(__cdecl*)(HWND window);
using EnableHookFunction = int(__cdecl*)(int enable);
using RemoveHookFunction = int(__cdecl*)();

inline constexpr wchar_t kComponentFileName[] = L"KBHook.dll";

}  // namespace quencfg::kbhook
