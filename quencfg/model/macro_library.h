#pragma once
// The macro library: one XML file per macro in DataFolder + "Macros\", shared by all
// profiles and referred to by name.
#include <string>
#include <string_view>
#include <vector>

#include "quencfg/model/macro_file.h"

namespace quencfg {

// DataFolder + "Macros\" + name + ".macro".
std::u16string MacroPath(std::u16string_view name);

// A name the library can use as a file name in its folder: not empty, no path
// separators or other characters a file name cannot hold, not "." or "..", and not a
// device name such as "CON" or "com1.txt" (a write there would reach no file).
// Names from elsewhere (an imported profile) never reach outside the folder.
bool IsUsableMacroName(std::u16string_view name);

// Replaces `names` with the base names of the folder's ".macro" files, in the order
// the file system lists them. False when nothing matched.
bool ListMacros(std::vector<std::u16string>& names);

// The first of prefix + "1", prefix + "2", ... that is not in `names` (exact comparison).
std::u16string NextMacroName(std::u16string_view prefix, const std::vector<std::u16string>& names);

// Reads the macro file into the record (which the caller zero-fills first); a missing
// or unreadable file leaves the record as it was. A file that was read is written back
// unchanged.
void ReadMacro(MacroFile& macro, std::u16string_view name);

// Writes the record; a missing or ill-formed file is replaced by a new one. Nothing is
// written when the Macros folder does not exist.
void WriteMacro(const MacroFile& macro, std::u16string_view name);

void DeleteMacro(std::u16string_view name);

// Whether two names reach one macro file: where the file system ignores case, "Macro 1"
// and "macro 1" are one macro.
bool IsSameMacroFile(std::u16string_view a, std::u16string_view b);

// Gives the file of macro `from` the name `to`, never over another macro's file; also
// a new spelling of the same name. The text inside the file is the caller's to write.
bool RenameMacro(std::u16string_view from, std::u16string_view to);

}  // namespace quencfg
