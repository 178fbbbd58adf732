#pragma once
// What KBHook.dll delivers and how it is called: shared by the component, the
// program's loader and the tests.
#include <windows.h>

namespace quencfg::kbhook {

// Posted to the installed window for every key and mouse-button press and release.
// wParam: the virtual-key code, or the mouse message number (WM_LBUTTONDOWN ...).
// lParam: kExtendedFlag for an extended key, kReleaseFlag for a release.
inline constexpr UINT kHookEventMessage = WM_USER + 10;
inline constexpr LPARAM kExtendedFlag = 0x01;
inline constexpr LPARAM kReleaseFlag = 0x80;

// The exported entry points, undecorated, C calling convention.
inline constexpr char kInstallHookName[] = "installhook";
inline constexpr char kEnableHookName[] = "enablehook";
inline constexpr char kRemoveHookName[] = "removehook";
using InstallHookFunction = int(__cdecl*)(HWND window);
using EnableHookFunction = int(__cdecl*)(int enable);
using RemoveHookFunction = int(__cdecl*)();

inline constexpr wchar_t kComponentFileName[] = L"KBHook.dll";

}  // namespace quencfg::kbhook
