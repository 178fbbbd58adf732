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

}  // namespace quencfg
