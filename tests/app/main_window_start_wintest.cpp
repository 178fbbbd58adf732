// A start whose main window the system refuses to make, run in this process: the
// application, the device thread and the main window are the real ones. The refusal is
// the system's own: the main window's class is registered with a procedure that fails
// the window's creation (WM_NCCREATE) a given number of times and hands everything
// else to the window framework.
#include "quencfg/app/quencfg_app_win.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "device/fake_hid.h"
#include "quencfg/device/progress_thread_win.h"
#include "quencfg/framework/clock.h"
#include "quencfg/framework/files.h"
#include "quencfg/framework/folders.h"
#include "quencfg/framework/messages.h"
#include "quencfg/framework/text.h"
#include "quencfg/framework/wide_win.h"
#include "quencfg/framework/writelog.h"
#include "quencfg/model/settings_file.h"
#include "quencfg/ui/skin/skin_documents.h"
#include "quencfg/ui/skin/skin_language.h"
#include "support/data_folder_scope.h"
#include "support/fake_pause_clock.h"
#include "support/gdiplus_session_win.h"
#include "support/screenshot_win.h"
#include "support/shipped_skin_win.h"
#include "support/system_dialog_win.h"
#include "ui/skin/control_host_win.h"

namespace quencfg {
namespace {

constexpr wchar_t kMainWindowClass[] = L"KorvaneMainWindow";

WNDPROC g_frameworkProcedure = nullptr;
int g_refusals = 0;
bool g_mainWindowShown = false;
std::wstring g_messageBoxText;
std::u16string g_screenshot;  // taken of the next message box

LRESULT CALLBACK RefusingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE && g_refusals > 0) {
    --g_refusals;
    return FALSE;
  }
  return ::CallWindowProcW(g_frameworkProcedure, window, message, wParam, lParam);
}

DWORD WINAPI QuietProgressThread(LPVOID parameter) {
  SignalQueueReady(parameter);
  MSG message{};
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
  }
  return 0;
}

// Once the main window shows: note it, and close it.
void CALLBACK CloseOnceShown(HWND, UINT, UINT_PTR, DWORD) {
  HWND main = ::FindWindowW(nullptr, AsWide(kMainWindowTitle));
  if (main == nullptr || !::IsWindowVisible(main) || g_mainWindowShown) return;
  g_mainWindowShown = true;
  ::PostMessageW(main, WM_CLOSE, 0, 0);
}

// Once a system message box shows on this thread: note its text, and answer it.
void CALLBACK AnswerMessageBox(HWND, UINT, UINT_PTR, DWORD) {
  HWND box = testing::ShownSystemDialog();
  if (box == nullptr) return;
  wchar_t text[1024] = {};
  ::GetDlgItemTextW(box, 0xFFFF, text, 1024);  // the message box's text
  g_messageBoxText = text;
  if (!g_screenshot.empty()) testing::SaveScreen(std::exchange(g_screenshot, {}));
  ::PostMessageW(box, WM_COMMAND, IDOK, 0);
}

class MainWindowStart : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(::FindWindowW(nullptr, AsWide(kMainWindowTitle)), nullptr) << "a main window is left over";
    ASSERT_TRUE(skin_.loaded());
    PrepareDataFolder();
    {
      // The framework's procedure, as its windows have it.
      testing::ControlHost any;
      ASSERT_TRUE(any.Make(10, 10));
      g_frameworkProcedure = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(any.hwnd(), GWLP_WNDPROC));
    }
    ::UnregisterClassW(kMainWindowClass, ::GetModuleHandleW(nullptr));  // a class of earlier tests
    WNDCLASSEXW refusing{};
    refusing.cbSize = sizeof refusing;
    refusing.style = CS_DBLCLKS;
    refusing.lpfnWndProc = &RefusingProcedure;
    refusing.hInstance = ::GetModuleHandleW(nullptr);
    refusing.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    refusing.lpszClassName = kMainWindowClass;
    ASSERT_NE(::RegisterClassExW(&refusing), 0);
    setup_.hidApi = &machine_.Api();
    setup_.clock = &clock_;
    setup_.progressThread = &QuietProgressThread;
    g_mainWindowShown = false;
    g_messageBoxText.clear();
  }

  void TearDown() override {
    g_refusals = 0;
    ::UnregisterClassW(kMainWindowClass, ::GetModuleHandleW(nullptr));  // the framework registers its own again
  }

  // The start-up, with `timer` serving the windows it shows; then the device thread is
  // gone, whichever way the start ended.
  void RunInstance(TIMERPROC timer) {
    CQuencfgApp app(false, setup_);
    const UINT_PTR id = ::SetTimer(nullptr, 0, 20, timer);
    app.RunInstance();
    ::KillTimer(nullptr, id);
    app.ExitInstance();
  }

  // The diagnostic log's messages of today, in order.
  static std::vector<std::string> LogMessages() {
    const std::string text = ReadWholeFile(LogFilePath(CurrentLocalTime(), DataFolder())).value_or("");
    std::vector<std::string> messages;
    std::size_t start = 0;
    while (start < text.size()) {
      std::size_t end = text.find('\n', start);
      if (end == std::string::npos) end = text.size();
      std::string line = text.substr(start, end - start);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (line.size() >= 17) messages.push_back(line.substr(17));
      start = end + 1;
    }
    return messages;
  }

  static int CountStartingWith(const std::vector<std::string>& lines, const std::string& head) {
    int count = 0;
    for (const std::string& line : lines) count += line.rfind(head, 0) == 0 ? 1 : 0;
    return count;
  }

  testing::ShippedSkin skin_;
  testing::DataFolderScope data_;
  testing::FakePauseClock clock_;
  testing::FakeHidMachine machine_{clock_};  // without the keyboard
  DeviceThreadSetup setup_;
};

// A window the system refuses once is made again, and the log says what failed.
TEST_F(MainWindowStart, AMainWindowRefusedOnceIsMadeAgain) {
  g_refusals = 1;
  RunInstance(&CloseOnceShown);
  EXPECT_TRUE(g_mainWindowShown) << "the second attempt showed the window";
  EXPECT_TRUE(g_messageBoxText.empty());
  const std::vector<std::string> log = LogMessages();
  EXPECT_EQ(CountStartingWith(log, "STEP CreateDlg failed (attempt 1 of 3): CreateWindowExW, error "), 1);
  EXPECT_EQ(CountStartingWith(log, "STEP CreateDlg failed"), 1);
  EXPECT_EQ(CountStartingWith(log, "STEP CreateDlg -End"), 1);
}

// A window that can never be made is not an end without a word: the user is told, in
// the language of the settings, what failed and where the log is. Screenshots for the
// eye: build/screenshots/start-failed-*.png.
TEST_F(MainWindowStart, AMainWindowThatCannotBeMadeIsToldWithItsReason) {
  testing::GdiplusSession gdiplus;
  for (const auto& [language, suffix] : {std::pair{101, u"EN"}, std::pair{106, u"CS"}, std::pair{108, u"ES"}}) {
    SCOPED_TRACE(language);
    auto settings = std::make_unique<SettingsBlock>();
    ClearSettings(*settings);
    settings->Language = static_cast<std::uint8_t>(language);
    ASSERT_TRUE(WriteSettings(*settings));
    DeleteFileAt(LogFilePath(CurrentLocalTime(), DataFolder()));
    g_refusals = kMainWindowAttempts;
    g_messageBoxText.clear();
    g_screenshot = u"start-failed-" + std::u16string(suffix) + u".png";
    RunInstance(&AnswerMessageBox);
    EXPECT_FALSE(g_mainWindowShown);
    EXPECT_EQ(CountStartingWith(LogMessages(), "STEP CreateDlg failed"), kMainWindowAttempts);
    ASSERT_FALSE(g_messageBoxText.empty()) << "the user was told";
    SharedSkinDocument strings;
    strings.Load(StringsFilePath(settings->Language));
    const std::u16string told = ToU16(g_messageBoxText);
    const std::u16string said = strings.Lookup(u"MAIN", u"START_FAILED");
    ASSERT_FALSE(said.empty());
    EXPECT_EQ(told.rfind(said, 0), 0u) << Utf16ToUtf8(told);
    EXPECT_NE(told.find(u"CreateWindowExW, error "), std::u16string::npos) << Utf16ToUtf8(told);
    EXPECT_NE(told.find(LogFilePath(CurrentLocalTime(), DataFolder())), std::u16string::npos);
  }
  StringDocument().Load(StringsFilePath(101));
}

}  // namespace
}  // namespace quencfg
