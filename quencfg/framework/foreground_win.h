#pragma once
// Whether the user is working with this program: the window in front, the one that
// takes the keyboard, belongs to this process. A system-wide hook sees what the user
// types into every program; only what is typed while this program is in front is ours.
#include <windows.h>

namespace quencfg {

// True when the foreground window is one of this process's windows (on any of its
// threads); false when another program's window or none is in front.
[[nodiscard]] bool ProgramIsInFront() noexcept;
// True when another program's window is in front. Neither is, for a moment, while the
// foreground passes from one of this program's windows to another.
[[nodiscard]] bool AnotherProgramIsInFront() noexcept;

// Whether `threadId` is a thread of this process; WM_ACTIVATEAPP names the thread whose
// window comes to the front (0: none).
[[nodiscard]] bool IsThreadOfThisProcess(DWORD threadId) noexcept;

// Brings a top-level window of this program back to the user whatever its state:
// restored when minimised, shown when hidden, and put in front. Windows grants the
// foreground only to a program the user is working with or one that the program in
// front allowed (AllowSetForegroundWindow): a second start allows the running one
// before it asks it to come back. A visible dialog that the window owns and last had in
// front goes in front instead. True when the foreground moved.
bool BringWindowBack(HWND window) noexcept;

}  // namespace quencfg
