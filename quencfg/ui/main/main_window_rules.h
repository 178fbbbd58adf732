#pragma once
// The main window's decisions that need no window: which keys are marked, where a
// drag may start, what an apply asks the device thread for, what a failed save says,
// how an imported file's path is split, and what the settings menu's commands mean.
#include <cstdint>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>

#include "quencfg/framework/files.h"
#include "quencfg/framework/messages.h"

namespace quencfg {

// A key button is shown selected when its slot sends a key, starts a program or
// plays a macro; the factory function, a disabled key and unknown values are not.
[[nodiscard]] bool SlotShowsAssignment(std::int32_t buttonFunction) noexcept;

// The top strip of the window, (0, 0) to (1200, 48) with right and bottom excluded,
// acts as its caption bar; at another DPI the strip's edges are scaled like the skin's.
[[nodiscard]] bool InDragStrip(int x, int y, int dpi = 96) noexcept;

// The lighting flag of an apply: 1 when the lighting panel is visible or an import is
// pending (which the apply consumes), else 0. The device thread adds the lighting
// anyway when the keyboard is not known to hold the applied profile's.
[[nodiscard]] int TakeApplyWriteKind(bool lightingVisible, bool& importPending) noexcept;

// The warning of a save that failed, from the strings of section WARN_STRING that
// `text` gives by key, each on a line of its own: the file's name, why it could not be
// saved, and that the keyboard was not changed.
using WarningText = std::u16string (*)(std::u16string_view key);
[[nodiscard]] std::u16string SaveFailureMessage(std::u16string_view path, FileWriteStatus status,
                                                WarningText text);

// The settings menu's command numbers.
inline constexpr int kImportCommand = 10001;
inline constexpr int kExportCommand = 10002;
inline constexpr int kStartWithWindowsCommand = 10003;  // checked while start at sign-in is on
inline constexpr int kHelpCommand = 10004;              // the manual, as F1 opens it

// The language a menu command number selects: 101, 106, 108, and 110 and 111, which
// no menu item sends but which are accepted all the same.
[[nodiscard]] std::optional<std::uint8_t> MenuCommandLanguage(int command) noexcept;

// The settings menu's rows in order: strings section and key, and command number.
struct SettingsMenuItem {
  std::u16string_view section;
  std::u16string_view key;
  int command;
};
inline constexpr SettingsMenuItem kSettingsMenuItems[] = {
    {u"MAIN", u"IMPORT", kImportCommand},  {u"MAIN", u"EXPORT", kExportCommand},
    {u"LANGUAGE", u"ENGLISH", 101},        {u"LANGUAGE", u"CHINESE", 106},
    {u"LANGUAGE", u"ES", 108},         {u"MAIN", u"STARTWITHWINDOWS", kStartWithWindowsCommand},
    {u"MAIN", u"HELP", kHelpCommand},
};
inline constexpr int kSettingsMenuRows = static_cast<int>(std::size(kSettingsMenuItems));

// The file name the export suggests: the profile's own name, "Profile 2.profile".
[[nodiscard]] std::u16string ExportFileName(int profileIndex);

// Whether the settings menu's row of `command` carries a check mark: the language in
// use, and start at sign-in while it is on.
[[nodiscard]] bool SettingsMenuItemChecked(int command, std::uint8_t language, bool signInStart) noexcept;

// The key in the strings' FEEDBACK section of what the drag strip says about the keyboard.
[[nodiscard]] std::u16string_view KeyboardStatusKey(KeyboardState state) noexcept;

}  // namespace quencfg
