#pragma once
// Window messages of the system's own, shared between its threads and windows.
#include <cstdint>

namespace quencfg {

inline constexpr unsigned kWmUser = 0x0400;

inline constexpr unsigned UM_SHOWMAIN = 0x6000;
inline constexpr unsigned UM_EXITAPP = 0x6001;
inline constexpr unsigned UM_DEVICESYNC = kWmUser + 250;
inline constexpr unsigned UM_DEVICEEVENT = kWmUser + 251;
inline constexpr unsigned UM_TRAYNOTIFY = kWmUser + 200;
inline constexpr unsigned UM_PROGRESSOPEN = 0x5401;
inline constexpr unsigned UM_PROGRESSCLOSE = 0x5402;
inline constexpr unsigned UM_PROGRESSPOS = 0x5403;
inline constexpr unsigned UM_KEYCHANGED = kWmUser + 513;  // key assignment dialog -> main window
inline constexpr unsigned UM_HOOKEVENT = kWmUser + 10;    // hook component -> key assignment dialog
// What a hook message carries in lParam: bit 0 an extended key, bit 7 a release.
inline constexpr std::uint32_t kHookExtendedFlag = 0x01;
inline constexpr std::uint32_t kHookReleaseFlag = 0x80;
inline constexpr std::uint32_t kMenuPickCommand = 0x10001;
// The keyboard's state as the device thread sees it: posted to the main window when it
// changes (wParam a KeyboardState), and once more when the main window asks for it.
inline constexpr unsigned UM_KEYBOARDSTATE = kWmUser + 252;       // device thread -> main window
inline constexpr unsigned UM_KEYBOARDSTATEQUERY = kWmUser + 253;  // main window -> device thread
// ChangesWaiting: no keyboard, and the last apply's saved files have not reached one;
// they are written when the keyboard is plugged in.
enum class KeyboardState : unsigned { Absent = 0, Connected = 1, Writing = 2, ChangesWaiting = 3 };
inline constexpr unsigned UM_PROFILEEDITED = kWmUser + 254;  // lighting panel -> main window, after an edit
// Main window -> device thread: asked on exit, the user chose to stay, so the tray icon
// that the exit took away comes back.
inline constexpr unsigned UM_KEEPRUNNING = kWmUser + 255;
// Main window -> device thread: the user chose another language; the tray icon's
// tooltip is read again from the strings.
inline constexpr unsigned UM_LANGUAGECHANGED = kWmUser + 256;

// Names by which the windows and instances find each other. A window is known by its
// registered class and its title together: other programs' windows may carry the same
// title (an Explorer window open on a folder called Korvane).
inline constexpr char16_t kMainWindowTitle[] = u"Korvane";
inline constexpr char16_t kMainWindowClass[] = u"KorvaneMainWindow";
inline constexpr char16_t kMutexName[] = u"Korvane";
inline constexpr char16_t kDeviceWindowTitle[] = u"Korvane_Hid";
inline constexpr char16_t kDeviceWindowClass[] = u"KorvaneDeviceWindow";
// The executable whose windows those are, for finding them from another program.
inline constexpr char16_t kProgramFileName[] = u"Korvane.exe";

struct ProgramWindowName {
  const char16_t* className;
  const char16_t* title;
};
inline constexpr ProgramWindowName kMainWindowName{kMainWindowClass, kMainWindowTitle};
inline constexpr ProgramWindowName kDeviceWindowName{kDeviceWindowClass, kDeviceWindowTitle};

}  // namespace quencfg
