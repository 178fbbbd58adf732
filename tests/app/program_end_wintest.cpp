// The end of the program, run in this process: the application, the device thread and
// the main window are the real ones; the keyboard double answers behind the HID seam
// and takes its time over each report, as a keyboard does.
#include "quencfg/app/quencfg_app_win.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>

#include "device/fake_hid.h"
#include "device/hooked_hid.h"
#include "device/keyboard_model.h"
#include "quencfg/device/key_cells.h"
#include "quencfg/device/progress_thread_win.h"
#include "quencfg/framework/handle_win.h"
#include "quencfg/framework/messages.h"
#include "quencfg/framework/wide_win.h"
#include "quencfg/model/settings_file.h"
#include "quencfg/ui/main/quencfg_dlg_win.h"
#include "support/data_folder_scope.h"
#include "support/fake_pause_clock.h"
#include "support/shipped_skin_win.h"
#include "ui/skin/warn_answer_win.h"

namespace quencfg {
namespace {

constexpr DWORD kWaitMs = 15000;
constexpr DWORD kReportMs = 40;  // the keyboard double's time for one report
std::atomic<int>* g_reports = nullptr;  // the reports the keyboard double took, for a timer

DWORD WINAPI QuietProgressThread(LPVOID parameter) {
  SignalQueueReady(parameter);
  MSG message{};
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
  }
  return 0;
}

CQuencfgDlg* ShownMainWindow() {
  auto* main = static_cast<CQuencfgDlg*>(Window::FromHandle(::FindWindowW(nullptr, AsWide(kMainWindowTitle))));
  return main != nullptr && ::IsWindowVisible(main->hwnd()) ? main : nullptr;
}

// Tab sends A in the current profile, not applied.
void EditTab(CQuencfgDlg& main) {
  main.currentProfile().keys[14].byBtnFuncType = BTNFUNC_KEY;
  main.currentProfile().keys[14].byKeyNumber = 0x04;
  main.RefreshKeyMarks();
}

class ProgramEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(::FindWindowW(nullptr, AsWide(kMainWindowTitle)), nullptr) << "a main window is left over";
    ASSERT_TRUE(skin_.loaded());
    (void)testing::TakeAskedWarnings();  // those of earlier tests
    PrepareDataFolder();
    machine_.AddKeyboard();
    hid_.onFeature = [this](const std::uint8_t*, std::uint32_t) {
      ++reports_;
      ::Sleep(kReportMs);
    };
    setup_.hidApi = &hid_.Api();
    setup_.clock = &clock_;
    setup_.progressThread = &QuietProgressThread;
  }

  testing::KeyboardModel Keyboard() {
    testing::KeyboardModel model(testing::KeyboardCollectionIds());
    model.Replay(machine_.Features());
    return model;
  }

  testing::ShippedSkin skin_;
  testing::DataFolderScope data_;
  testing::FakePauseClock clock_;
  testing::FakeHidMachine machine_{clock_};
  testing::HookedHid hid_{machine_};
  std::atomic<int> reports_{0};
  DeviceThreadSetup setup_;
};

// Apply and quit: the program ends only once the keyboard has its write, and the device
// thread has ended with it; cut off, the keyboard would be left half written.
TEST_F(ProgramEnd, ApplyAndQuitEndsOnceTheKeyboardIsWritten) {
  CQuencfgApp app(false, setup_);
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 20, [](HWND, UINT, UINT_PTR id, DWORD) {
    CQuencfgDlg* main = ShownMainWindow();
    if (main == nullptr) return;
    ::KillTimer(nullptr, id);
    EditTab(*main);
    testing::AnswerNextWarningWith(IDYES);
    ::PostMessageW(main->hwnd(), WM_CLOSE, 0, 0);
  });
  app.RunInstance();
  ::KillTimer(nullptr, timer);
  const testing::KeyboardModel keyboard = Keyboard();
  EXPECT_EQ(keyboard.errors, std::vector<std::string>{});
  EXPECT_EQ(keyboard.endsOfUpdate, 1) << "the whole write, up to its end";
  ASSERT_TRUE(keyboard.keyMap.has_value());
  EXPECT_EQ((*keyboard.keyMap)[SlotCell(14)], 0x04);
  EXPECT_EQ(::FindWindowW(nullptr, AsWide(kDeviceWindowTitle)), nullptr) << "the device thread ended";
  app.ExitInstance();
}

// Windows ending the session is not held up by a write in progress, nor asked anything.
TEST_F(ProgramEnd, TheEndOfTheSessionDoesNotWaitForTheKeyboard) {
  UniqueKernelHandle release(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
  hid_.onFeature = [this, event = release.get()](const std::uint8_t*, std::uint32_t) {
    if (++reports_ == 1) ::WaitForSingleObject(event, kWaitMs);  // holds the write at its first report
  };
  g_reports = &reports_;
  CQuencfgApp app(false, setup_);
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 20, [](HWND, UINT, UINT_PTR id, DWORD) {
    CQuencfgDlg* main = ShownMainWindow();
    if (main == nullptr) return;
    if (g_reports->load() == 0) {
      // Apply, then an edit that is not applied.
      ::SendMessageW(main->hwnd(), WM_COMMAND, MAKEWPARAM(CQuencfgDlg::kButtonId, BN_CLICKED),
                     reinterpret_cast<LPARAM>(main->commandButton(CQuencfgDlg::Command::Apply).hwnd()));
      EditTab(*main);
      return;
    }
    ::KillTimer(nullptr, id);
    if (::SendMessageW(main->hwnd(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF) != FALSE) {
      ::SendMessageW(main->hwnd(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    }
  });
  app.RunInstance();
  ::KillTimer(nullptr, timer);
  EXPECT_TRUE(testing::TakeAskedWarnings().empty()) << "nothing was asked";
  EXPECT_EQ(Keyboard().endsOfUpdate, 0) << "the program ended while the write was held";
  HWND device = ::FindWindowW(nullptr, AsWide(kDeviceWindowTitle));
  ASSERT_NE(device, nullptr);
  const DWORD id = ::GetWindowThreadProcessId(device, nullptr);
  UniqueKernelHandle thread(::OpenThread(SYNCHRONIZE, FALSE, id));
  ::SetEvent(release.get());
  ASSERT_TRUE(::PostThreadMessageW(id, WM_QUIT, 0, 0));
  EXPECT_EQ(::WaitForSingleObject(thread.get(), kWaitMs), WAIT_OBJECT_0);
  app.ExitInstance();
}

}  // namespace
}  // namespace quencfg
