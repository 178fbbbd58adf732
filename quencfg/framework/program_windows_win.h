#pragma once
// Finding the program's own top-level windows: by registered class and title together,
// never by title alone, and checked for the process they belong to before anything is
// sent to them. A window of another program that carries the same title (an Explorer
// window open on a folder called Korvane) or even the same class name is passed over.
#include <windows.h>

#include <string_view>

#include "quencfg/framework/messages.h"

namespace quencfg {

// The window of that class and title made by this process, or null. For the windows
// the program's threads send to each other, and for everything that closes a window.
[[nodiscard]] HWND FindOwnWindow(const ProgramWindowName& name) noexcept;

// The window of that class and title made by a process other than this one whose
// executable has the file name `programFile` (compared without case), or null: another
// instance of the program, seen from a second start or from the installer.
[[nodiscard]] HWND FindProgramWindow(const ProgramWindowName& name, std::u16string_view programFile);

// The file name of the executable that process `processId` runs, empty when it cannot
// be asked.
[[nodiscard]] std::u16string ProcessFileName(DWORD processId);

}  // namespace quencfg
