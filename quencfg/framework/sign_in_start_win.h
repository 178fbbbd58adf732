#pragma once
// The Run value of start at sign-in in the current user's registry: the only registry
// value the program reads or writes.
#include <string_view>

namespace quencfg {

// Whether the value exists, whatever program it names.
[[nodiscard]] bool SignInStartEnabled();
// Writes the value with the command that starts `exePath` hidden.
bool EnableSignInStart(std::u16string_view exePath);
// Removes the value; true also when there was none.
bool DisableSignInStart();
// The settings menu's item: removes the value when there is one, else writes it for
// the running executable.
bool ToggleSignInStart();

}  // namespace quencfg
