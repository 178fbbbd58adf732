// The real program under Wine: single instance, folders, and the log of a run.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "quencfg/app/quencfg_app_win.h"
#include "quencfg/framework/clock.h"
#include "quencfg/framework/files.h"
#include "quencfg/framework/folders.h"
#include "quencfg/framework/handle_win.h"
#include "quencfg/framework/messages.h"
#include "quencfg/framework/text.h"
#include "quencfg/framework/wide_win.h"
#include "quencfg/framework/writelog.h"
#include "support/foreign_window_win.h"
#include "support/process_win.h"

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
