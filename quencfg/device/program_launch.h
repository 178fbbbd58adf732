#pragma once
// Which program a key event of the keyboard asks for, and how it is started.
#include <cstdint>
#include <string>
#include <string_view>

#include "quencfg/model/settings_block.h"

namespace quencfg {

// The `launch` text of the first slot, in slot order, whose key sits in `cell`, taken
// from the current profile. Empty when the cell has no key of this keyboard (cell 0,
// cells without a key, values beyond a byte) or the slot names no program. The slot's
// function is not examined: the keyboard reports only keys written as launch keys.
std::u16string ProgramOfCell(const SettingsBlock& settings, std::uintptr_t cell);

// What the shell is asked to open, and the folder it starts in (empty: none given).
struct ProgramLaunch {
  std::u16string file;
  std::u16string workingFolder;

  friend bool operator==(const ProgramLaunch&, const ProgramLaunch&) = default;
};

// A program key starts its program as a shortcut would, never depending on the current
// folder of this process. The launch text is a Windows path or an address; quotes
// around it are dropped.
// - An absolute path (C:\Tools\app.exe, \\server\share\app.exe, \Tools\app.exe)
//   starts in its own folder.
// - A relative path with a folder (Tools\app.exe, .\app.exe, ..\app.exe) is taken
//   relative to `baseFolder` (the program's own folder; it ends with a separator) and
//   starts in its own folder.
// - A bare name (notepad.exe) is looked for by the shell in `baseFolder` first, then
//   along its search path; it starts in `baseFolder`.
// - An address with a scheme (https://..., mailto:...) goes to the shell as it is.
ProgramLaunch ResolveProgramLaunch(std::u16string_view program, std::u16string_view baseFolder);

}  // namespace quencfg
