// The real program under Wine: single instance, folders, and the log of a run.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "quencfg/app/quencfg_app_win.h"
#include "quencfg/device/hid_wnd_win.h"
#include "quencfg/framework/clock.h"
#include "quencfg/framework/files.h"
#include "quencfg/framework/folders.h"
#include "quencfg/framework/handle_win.h"
#include "quencfg/framework/messages.h"
#include "quencfg/framework/text.h"
#include "quencfg/framework/wide_win.h"
#include "quencfg/framework/writelog.h"
#include "support/foreign_window_win.h"
#include "support/gdiplus_session_win.h"
#include "support/process_win.h"
#include "support/screenshot_win.h"

namespace quencfg {
namespace {

using testing::ChildProcess;
using testing::StagedProgram;
using testing::WaitForWindow;

constexpr DWORD kStartTimeout = 20000;

std::u16string ExpectedDataFolder() {
  wchar_t appData[MAX_PATH] = {};
  ::SHGetFolderPathW(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, appData);
  return ToU16(appData) + u"\\Korvane\\";
}

// The message part of each line of today's log ("hh:mm:ss:mmm ::  message").
std::vector<std::string> LogMessages() {
  const auto text = ReadWholeFile(LogFilePath(CurrentLocalTime(), ExpectedDataFolder())).value_or("");
  std::vector<std::string> messages;
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() >= 17) messages.push_back(line.substr(17));
  }
  return messages;
}

void ClearTodaysLog() { DeleteFileAt(LogFilePath(CurrentLocalTime(), ExpectedDataFolder())); }

std::string AppFolderAsLogged() {
  std::wstring exe = StagedProgram();
  return Utf16ToUtf8(ToU16(exe.substr(0, exe.find_last_of(L'\\') + 1)));
}

// Whether `window` is visible within `milliseconds`.
bool BecomesVisible(HWND window, DWORD milliseconds) {
  const DWORD start = ::GetTickCount();
  while (!::IsWindowVisible(window)) {
    if (::GetTickCount() - start > milliseconds) return false;
    ::Sleep(50);
  }
  return true;
}

class ProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(::FindWindowW(nullptr, L"Korvane"), nullptr) << "an instance is already running";
    ClearTodaysLog();
  }
};

TEST_F(ProgramTest, RunLogsItsStepsAndMakesTheDataFolder) {
  ChildProcess first(StagedProgram());
  ASSERT_TRUE(first.started());
  HWND main = WaitForWindow(L"Korvane", first.id(), kStartTimeout);
  ASSERT_NE(main, nullptr);
  EXPECT_NE(WaitForWindow(L"Korvane_Hid", first.id(), kStartTimeout), nullptr) << "the device thread's window";
  EXPECT_TRUE(IsDirectory(ExpectedDataFolder()));
  // The device thread logs its search for the keyboard, in its own time.
  const std::string deviceLine = "INITDEVICE_OpenUSBDriver";
  auto deviceLogged = [&] {
    const auto messages = LogMessages();
    return std::find(messages.begin(), messages.end(), deviceLine) != messages.end();
  };
  for (int i = 0; i < 200 && !deviceLogged(); ++i) ::Sleep(50);

  ::PostMessageW(main, WM_CLOSE, 0, 0);
  DWORD code = 1;
  ASSERT_TRUE(first.WaitForExit(kStartTimeout, &code));
  EXPECT_EQ(code, 0u);

  std::vector<std::string> messages = LogMessages();
  const auto device = std::find(messages.begin(), messages.end(), deviceLine);
  ASSERT_NE(device, messages.end()) << "the device thread started";
  EXPECT_NE(device, messages.begin()) << "after the first line";
  messages.erase(device);
  const std::vector<std::string> expected = {AppFolderAsLogged(), "STEP CreateDlg", "STEP CreateDlg -End",
                                             "Instance End", "STEP-ExitInstance()-End"};
  EXPECT_EQ(messages, expected) << "the user-interface thread's lines, in order";
}

TEST_F(ProgramTest, StartAtSignInRunsWithTheMainWindowHidden) {
  ChildProcess program(StagedProgram(), L"/tray");
  HWND main = WaitForWindow(L"Korvane", program.id(), kStartTimeout);
  ASSERT_NE(main, nullptr) << "the main window exists";
  EXPECT_NE(WaitForWindow(L"Korvane_Hid", program.id(), kStartTimeout), nullptr) << "the device thread runs";
  // Answered from the modal loop, which starts after the window was shown or not.
  ASSERT_NE(::SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, kStartTimeout, nullptr), 0);
  EXPECT_FALSE(::IsWindowVisible(main));
  EXPECT_FALSE(program.WaitForExit(0)) << "the program runs on";

  ::PostMessageW(main, UM_SHOWMAIN, 0, 0);  // as the tray icon's menu does
  ASSERT_NE(::SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, kStartTimeout, nullptr), 0);
  for (int i = 0; i < 100 && !::IsWindowVisible(main); ++i) ::Sleep(50);
  EXPECT_TRUE(::IsWindowVisible(main));
  ::PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_TRUE(program.WaitForExit(kStartTimeout));
}

TEST_F(ProgramTest, SecondStartShowsTheFirstAndEnds) {
  ChildProcess first(StagedProgram());
  HWND main = WaitForWindow(L"Korvane", first.id(), kStartTimeout);
  ASSERT_NE(main, nullptr);
  // The window exists well before the program has finished starting and shows it:
  // hidden only then, nothing but the second instance can show it again.
  ASSERT_TRUE(BecomesVisible(main, kStartTimeout)) << "the first instance shows its window";
  ::ShowWindow(main, SW_HIDE);
  ASSERT_FALSE(::IsWindowVisible(main));

  ChildProcess second(StagedProgram());
  ASSERT_TRUE(second.WaitForExit(kStartTimeout)) << "the second instance ends by itself";
  EXPECT_TRUE(BecomesVisible(main, kStartTimeout)) << "UM_SHOWMAIN reached the first instance";

  ::PostMessageW(main, WM_CLOSE, 0, 0);
  ASSERT_TRUE(first.WaitForExit(kStartTimeout));
  // The second instance wrote nothing: one start-up line only.
  const auto messages = LogMessages();
  EXPECT_EQ(std::count(messages.begin(), messages.end(), AppFolderAsLogged()), 1);
}

// Windows of other programs titled "Korvane" get nothing from a second start: one of
// another class (an Explorer window open on a folder of that name), and one even of the
// main window's class but in a process of another executable.
TEST_F(ProgramTest, SecondStartShowsTheFirstAndNoOtherProgramsWindowOfItsTitle) {
  ChildProcess first(StagedProgram());
  HWND main = WaitForWindow(L"Korvane", first.id(), kStartTimeout);
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(BecomesVisible(main, kStartTimeout));
  ::ShowWindow(main, SW_HIDE);
  testing::ForeignWindow explorer(kMainWindowTitle);
  testing::ForeignWindow sameClass(kMainWindowTitle, AsWide(kMainWindowClass));
  ASSERT_TRUE(explorer.IsCreated() && sameClass.IsCreated());

  ChildProcess second(StagedProgram());
  ASSERT_TRUE(second.WaitForExit(kStartTimeout));
  EXPECT_TRUE(BecomesVisible(main, kStartTimeout)) << "UM_SHOWMAIN reached the first instance";
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
  EXPECT_TRUE(explorer.received.empty());
  EXPECT_TRUE(sameClass.received.empty());

  ::PostMessageW(main, WM_CLOSE, 0, 0);
  ASSERT_TRUE(first.WaitForExit(kStartTimeout));
}

// Polls `done` for up to `milliseconds`, serving this thread's messages meanwhile.
template <typename Done>
bool Eventually(Done done, DWORD milliseconds) {
  const DWORD start = ::GetTickCount();
  while (!done()) {
    if (::GetTickCount() - start > milliseconds) return false;
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
    ::Sleep(20);
  }
  return true;
}

// A second start brings the running one's window back whatever its state, in front of
// the program the user was in: the second instance, started by the user, passes its
// right to the foreground on to the first before it asks it to come back.
TEST_F(ProgramTest, SecondStartBringsTheWindowBackRestoredAndInFront) {
  ChildProcess first(StagedProgram());
  HWND main = WaitForWindow(L"Korvane", first.id(), kStartTimeout);
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(BecomesVisible(main, kStartTimeout));
  testing::ForeignWindow other(u"Another program");  // the program the user is in
  ASSERT_TRUE(other.IsCreated());
  struct Case {
    const char* name;
    std::vector<int> shows;
  };
  const Case cases[] = {{"minimised", {SW_MINIMIZE}},
                        {"hidden", {SW_HIDE}},
                        {"minimised, then hidden", {SW_MINIMIZE, SW_HIDE}},
                        {"behind another program", {}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ::ShowWindow(main, SW_RESTORE);
    for (const int show : c.shows) ::ShowWindow(main, show);
    ::ShowWindow(other.hwnd(), SW_SHOW);
    ::SetForegroundWindow(other.hwnd());
    ASSERT_TRUE(Eventually([&] { return ::GetForegroundWindow() == other.hwnd(); }, 5000));

    ChildProcess second(StagedProgram());
    ASSERT_TRUE(second.WaitForExit(kStartTimeout)) << "the second instance ends by itself";
    EXPECT_TRUE(Eventually([&] { return ::GetForegroundWindow() == main; }, 5000)) << "in front";
    EXPECT_FALSE(::IsIconic(main)) << "restored";
    EXPECT_TRUE(::IsWindowVisible(main));
  }
  ::PostMessageW(main, WM_CLOSE, 0, 0);
  ASSERT_TRUE(first.WaitForExit(kStartTimeout));
}

// Whether the shell holds the icon of the device window `device`: it takes a change
// (here, of nothing) only then.
bool ShellHoldsTrayIcon(HWND device) {
  NOTIFYICONDATAW record{};
  record.cbSize = sizeof record;
  record.hWnd = device;
  record.uID = kTrayIconId;
  return ::Shell_NotifyIconW(NIM_MODIFY, &record) != FALSE;
}

// A click through the X server, as the user clicks: `button` 1 left, 3 right.
bool RealClick(POINT at, int button) {
  return testing::StartXdotool(L"mousemove " + std::to_wstring(at.x) + L" " + std::to_wstring(at.y) +
                               L" click " + std::to_wstring(button));
}

// On a machine without the keyboard: the close button ("close to the tray") hides the
// window and leaves the program running with its tray icon, whose menu says that no
// keyboard is connected and whose Exit ends the program.
TEST_F(ProgramTest, WithoutAKeyboardTheCloseButtonLeavesATrayIconWhoseExitEndsTheProgram) {
  ChildProcess program(StagedProgram());
  HWND main = WaitForWindow(L"Korvane", program.id(), kStartTimeout);
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(BecomesVisible(main, kStartTimeout));
  HWND device = WaitForWindow(L"Korvane_Hid", program.id(), kStartTimeout);
  ASSERT_NE(device, nullptr);
  ASSERT_TRUE(Eventually([&] { return ShellHoldsTrayIcon(device); }, kStartTimeout)) << "an icon without a keyboard";
  if (!testing::StartXdotool(L"key shift")) GTEST_SKIP() << "xdotool cannot be started";

  // The close button, at its place in the skin (96 DPI): the top right corner.
  ::SetForegroundWindow(main);
  POINT closeCentre{1150 + 18, 6 + 18};
  HWND close = ::ChildWindowFromPointEx(main, closeCentre, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
  ASSERT_NE(close, nullptr);
  ASSERT_NE(close, main) << "a button is there";
  ::ClientToScreen(main, &closeCentre);
  ASSERT_TRUE(RealClick(closeCentre, 1));
  ASSERT_TRUE(Eventually([&] { return !::IsWindowVisible(main); }, kStartTimeout)) << "closed to the tray";
  EXPECT_FALSE(program.WaitForExit(300)) << "the program runs on";
  EXPECT_TRUE(ShellHoldsTrayIcon(device)) << "and can be reached from its tray icon";

  // A right click on the icon in Wine's tray window opens the menu.
  HWND tray = ::FindWindowW(nullptr, L"Wine System Tray");
  ASSERT_NE(tray, nullptr) << "Wine's tray window";
  RECT trayPlace{};
  ::GetWindowRect(tray, &trayPlace);
  ASSERT_TRUE(RealClick(POINT{trayPlace.left + 12, trayPlace.bottom - 12}, 3));  // its first icon
  HWND menu = nullptr;
  ASSERT_TRUE(Eventually(
      [&] {
        menu = ::FindWindowW(L"#32768", nullptr);
        return menu != nullptr && ::IsWindowVisible(menu);
      },
      kStartTimeout))
      << "the tray menu opened";
  DWORD menuProcess = 0;
  ::GetWindowThreadProcessId(menu, &menuProcess);
  EXPECT_EQ(menuProcess, program.id());
  ::Sleep(300);
  testing::GdiplusSession gdiplus;
  EXPECT_TRUE(testing::SaveScreen(u"tray-menu-program-no-keyboard.png"));

  // Exit is the menu's last row.
  RECT place{};
  ::GetWindowRect(menu, &place);
  ASSERT_TRUE(RealClick(POINT{(place.left + place.right) / 2, place.bottom - 10}, 1));
  DWORD code = 1;
  EXPECT_TRUE(program.WaitForExit(kStartTimeout, &code)) << "Exit ended the program";
  EXPECT_EQ(code, 0u);
  EXPECT_FALSE(ShellHoldsTrayIcon(device)) << "and its icon";
}

TEST_F(ProgramTest, SecondStartWithoutAWindowEndsQuietly) {
  // Holding the mutex makes this test the "first instance", one with no main window.
  UniqueKernelHandle mutex(::CreateMutexW(nullptr, FALSE, L"Korvane"));
  ASSERT_TRUE(mutex);
  ChildProcess second(StagedProgram());
  ASSERT_TRUE(second.WaitForExit(kStartTimeout));
  EXPECT_EQ(::FindWindowW(nullptr, L"Korvane"), nullptr);
  EXPECT_EQ(::FindWindowW(nullptr, L"Korvane_Hid"), nullptr);
  EXPECT_TRUE(LogMessages().empty()) << "nothing of the start-up ran";
}

}  // namespace
}  // namespace quencfg

namespace quencfg {
namespace {

TEST(Help, PathIsInTheProgramFolderAndShipped) {
  const std::u16string saved = AppFolder();
  ASSERT_TRUE(SetAppFolder(ToU16(KORVANE_TEST_APP_DIR)));
  EXPECT_EQ(HelpFilePath(), ToU16(KORVANE_TEST_APP_DIR) + u"Help\\Help.pdf");
  EXPECT_TRUE(IsRegularFile(HelpFilePath()));
  SetAppFolder(saved);
}

}  // namespace
}  // namespace quencfg
