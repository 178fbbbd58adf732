#pragma once
// Start at sign-in: the current user's Run value named "Korvane" starts the program
// with the tray switch, so that it starts hidden and only shows its tray icon. The
// installer writes the same value; the settings menu sets or removes it.
#include <string>
#include <string_view>

namespace quencfg {

inline constexpr char16_t kRunKeyPath[] = u"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr char16_t kRunValueName[] = u"Korvane";
inline constexpr char16_t kTraySwitch[] = u"/tray";

// The Run value's command for the executable at `exePath`: the path in quotes (it may
// hold spaces, as "Program Files" does), then the tray switch.
[[nodiscard]] std::u16string SignInCommand(std::u16string_view exePath);

// Whether the arguments of a start (the command line after the program's name, as
// wWinMain receives it) ask for a hidden start: one argument is the tray switch, in
// any case, also in quotes or with "-" for "/".
[[nodiscard]] bool StartsInTray(std::u16string_view arguments);

// The installer's choice: whether it installs the Run value. STARTATSIGNIN "0" says
// no and any other given value yes; without one, a new install says yes and an upgrade
// keeps what the user has (the value present or not).
[[nodiscard]] bool InstallsSignInStart(std::u16string_view startAtSignIn, bool upgrading, bool runValuePresent);

}  // namespace quencfg
