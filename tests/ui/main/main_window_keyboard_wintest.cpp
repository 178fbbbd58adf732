// From the user's clicks in the main window to the keyboard: the real main window and
// the real device thread meet through the files and the window titled "Korvane_Hid";
// the fake HID machine stands behind the seam and the keyboard model rebuilds what
// the keyboard got.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <dbt.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "device/fake_hid.h"
#include "device/hooked_hid.h"
#include "device/keyboard_model.h"
#include "quencfg/device/device_reports.h"
#include "quencfg/device/hid_wnd_win.h"
#include "quencfg/device/key_cells.h"
#include "quencfg/device/progress_thread_win.h"
#include "quencfg/framework/messages.h"
#include "quencfg/framework/thread_win.h"
#include "quencfg/framework/wide_win.h"
#include "quencfg/model/profile_file.h"
#include "quencfg/model/settings_file.h"
#include "quencfg/ui/lighting/lighting_rules.h"
#include "quencfg/ui/main/quencfg_dlg_win.h"
#include "quencfg/ui/skin/warn_dlg_win.h"
#include "support/data_folder_scope.h"
#include "support/failing_file_writer.h"
#include "support/fake_pause_clock.h"
#include "support/gdiplus_session_win.h"
#include "support/screenshot_win.h"
#include "support/shipped_skin_win.h"
#include "ui/lighting/lighting_panel_host_win.h"
#include "ui/skin/control_host_win.h"
#include "ui/skin/warn_answer_win.h"

namespace quencfg {
namespace {

using Command = CQuencfgDlg::Command;
using testing::KeyboardModel;

constexpr DWORD kWaitMs = 15000;

// Runs `done` until it holds, serving this thread's messages meanwhile.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = kWaitMs) {
  const DWORD start = ::GetTickCount();
  while (!done()) {
    if (::GetTickCount() - start > timeoutMs) return false;
    testing::PumpMessages();
    ::Sleep(5);
  }
  return true;
}

// A progress thread that only counts the writes that came to their end.
std::atomic<int> g_writesDone{0};

DWORD WINAPI CountingProgressThread(LPVOID parameter) {
  SignalQueueReady(parameter);
  MSG message{};
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (message.hwnd == nullptr && message.message == UM_PROGRESSCLOSE) ++g_writesDone;
  }
  return 0;
}

class MainWindowAndKeyboard : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(skin_.loaded());
    ASSERT_EQ(::FindWindowW(nullptr, AsWide(kDeviceWindowTitle)), nullptr) << "a device window is left over";
    (void)testing::TakeAskedWarnings();  // those of earlier tests
    g_writesDone = 0;
    hid_.post = [](NotifyWindow window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
      return ::PostMessageW(reinterpret_cast<HWND>(window), message, wParam, lParam) != FALSE;
    };
    setup_.hidApi = &hid_.Api();
    setup_.clock = &clock_;
    setup_.progressThread = &CountingProgressThread;
    machine_.AddKeyboard();
    thread_ = StartThread(&DeviceThreadMain, &setup_);
    ASSERT_TRUE(thread_.handle);
    // The device thread has prepared the data folder before its window exists.
    ASSERT_TRUE(PumpUntil([] { return ProgressThreadId() != 0 && ::FindWindowW(nullptr, AsWide(kDeviceWindowTitle)) != nullptr; }));
  }

  void TearDown() override {
    window_.reset();
    if (!thread_.handle) return;
    ::PostThreadMessageW(thread_.id, WM_QUIT, 0, 0);
    EXPECT_EQ(::WaitForSingleObject(thread_.handle.get(), kWaitMs), WAIT_OBJECT_0);
  }

  // A profile file as an earlier run left it, before the main window loads it.
  static void EditProfileFile(int index, const std::function<void(ProfileData&)>& edit) {
    auto profile = std::make_unique<ProfileData>();
    ReadProfile(*profile, ProfileName(index), u"");
    edit(*profile);
    WriteProfile(*profile, ProfileName(index), u"");
  }

  CQuencfgDlg& Open(FileWriter& files = PlatformFileWriter()) {
    window_ = std::make_unique<CQuencfgDlg>(std::function<void()>{}, std::function<void()>{}, files);
    EXPECT_TRUE(window_->Open());
    ::ShowWindow(window_->hwnd(), SW_SHOW);
    testing::PumpMessages();
    return *window_;
  }

  void Click(Command command) { testing::Click(window_->commandButton(command).hwnd()); }

  // What the keyboard received from the next write the device thread ends.
  KeyboardModel NextWrite() {
    const int expected = ++writesSeen_;
    EXPECT_TRUE(PumpUntil([expected] { return g_writesDone.load() >= expected; })) << "write " << expected;
    KeyboardModel model(testing::KeyboardCollectionIds());
    model.Replay(machine_.Features());
    machine_.ClearFeatures();
    return model;
  }

  testing::ShippedSkin skin_;
  testing::GdiplusSession gdiplus_;
  testing::DataFolderScope data_;
  testing::FakePauseClock clock_;
  testing::FakeHidMachine machine_{clock_};
  testing::HookedHid hid_{machine_};
  DeviceThreadSetup setup_;
  StartedThread thread_;
  std::unique_ptr<CQuencfgDlg> window_;
  int writesSeen_ = 0;
};

// Records, in order, the keyboard states posted to a window, before it handles them.
class KeyboardStateSpy {
 public:
  KeyboardStateSpy(HWND window, std::vector<KeyboardState>& seen) : window_(window) {
    ::SetWindowSubclass(window_, &Record, kSpyId, reinterpret_cast<DWORD_PTR>(&seen));
  }
  ~KeyboardStateSpy() { ::RemoveWindowSubclass(window_, &Record, kSpyId); }
  KeyboardStateSpy(const KeyboardStateSpy&) = delete;
  KeyboardStateSpy& operator=(const KeyboardStateSpy&) = delete;

 private:
  static constexpr UINT_PTR kSpyId = 0x5350;
  static LRESULT CALLBACK Record(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR seen) {
    if (message == UM_KEYBOARDSTATE) {
      reinterpret_cast<std::vector<KeyboardState>*>(seen)->push_back(static_cast<KeyboardState>(wParam));
    }
    return ::DefSubclassProc(window, message, wParam, lParam);
  }
  HWND window_;
};

TEST_F(MainWindowAndKeyboard, ResetWritesTheProfileTheUserSeesAndReset) {
  // Profile 1, current on disk, is far from the factory state; profile 2 has an edit
  // that its reset takes back.
  EditProfileFile(0, [](ProfileData& p) {
    p.keys[14].byBtnFuncType = BTNFUNC_KEY;
    p.keys[14].byKeyNumber = 0x29;
    p.lighting.byLightEffect = 16;
    p.lighting.byLightBright = 4;
    p.lighting.byLightSpeed = 0;
    p.lighting.byLightColor = 0x00FF00;
  });
  EditProfileFile(1, [](ProfileData& p) {
    p.keys[20].byBtnFuncType = BTNFUNC_KEY;
    p.keys[20].byKeyNumber = 0x1E;
    p.lighting.byLightEffect = 10;
  });
  CQuencfgDlg& window = Open();
  ASSERT_EQ(window.settings().Profile, 0);

  Click(Command::Profile2);
  testing::AnswerNextWarning(true);
  Click(Command::Reset);

  const KeyboardModel model = NextWrite();
  EXPECT_EQ(model.errors, std::vector<std::string>{});
  ASSERT_FALSE(model.steps.empty());
  EXPECT_EQ(model.steps.front(), "reset");
  ASSERT_TRUE(model.keyMap.has_value());
  EXPECT_TRUE(std::equal(DefaultKeyMap.begin(), DefaultKeyMap.end(), model.keyMap->begin()))
      << "profile 2's key map, back to the factory's, and not profile 1's";
  ProfileData factory{};
  NormalizeProfile(factory, true, 1);
  ASSERT_TRUE(model.lighting.has_value());
  EXPECT_EQ(model.lighting->effect, factory.lighting.byLightEffect);
  EXPECT_EQ(model.lighting->brightness, factory.lighting.byLightBright);
  EXPECT_EQ(model.lighting->speed, factory.lighting.byLightSpeed);
  EXPECT_EQ(model.lighting->colorMode,
            LightingColorMode(factory.lighting.byLightEffect, factory.lighting.byLightColorType));
  EXPECT_FALSE(model.effectColor.has_value()) << "profile 1's effect 16 sent its color";
}

TEST_F(MainWindowAndKeyboard, LightingEditedWithThePanelClosedReachesTheKeyboardOnApply) {
  CQuencfgDlg& window = Open();
  ASSERT_NE(window.currentProfile().lighting.byLightEffect, 16);
  Click(Command::Backlight);
  testing::PickEffectFromMenu(window.lightingPanel(), 16);
  Click(Command::Backlight);
  ASSERT_FALSE(window.lightingVisible());

  Click(Command::Apply);
  KeyboardModel model = NextWrite();
  EXPECT_EQ(model.errors, std::vector<std::string>{});
  ASSERT_TRUE(model.lighting.has_value()) << "the edited lighting was sent";
  EXPECT_EQ(model.lighting->effect, 16);
  EXPECT_EQ(model.effectColor, window.currentProfile().lighting.byLightColor);

  // Nothing changed since: the apply stays as short as ever.
  Click(Command::Apply);
  model = NextWrite();
  EXPECT_EQ(model.errors, std::vector<std::string>{});
  EXPECT_TRUE(model.keyMap.has_value());
  EXPECT_FALSE(model.lighting.has_value());
  EXPECT_EQ(model.endsOfUpdate, 1);
}

// The keyboard holds one lighting, whichever profile sent it: an apply after a switch
// to another profile sends that profile's lighting, although nothing of it was edited.
TEST_F(MainWindowAndKeyboard, ApplyAfterAProfileSwitchSendsTheOtherProfilesLighting) {
  EditProfileFile(1, [](ProfileData& p) {
    p.lighting.byLightEffect = 10;
    p.lighting.byLightBright = 1;
  });
  CQuencfgDlg& window = Open();
  Click(Command::Apply);
  KeyboardModel model = NextWrite();
  ASSERT_TRUE(model.lighting.has_value()) << "what the keyboard held before was not known";
  EXPECT_EQ(model.lighting->effect, window.settings().profiles[0].lighting.byLightEffect);

  Click(Command::Profile2);
  const LightingSettings& second = window.settings().profiles[1].lighting;
  ASSERT_NE(second.byLightEffect, window.settings().profiles[0].lighting.byLightEffect);
  Click(Command::Apply);
  model = NextWrite();
  EXPECT_EQ(model.errors, std::vector<std::string>{});
  ASSERT_TRUE(model.lighting.has_value()) << "profile 2's lighting replaces profile 1's on the keyboard";
  EXPECT_EQ(model.lighting->effect, second.byLightEffect);
  EXPECT_EQ(model.lighting->brightness, second.byLightBright);

  Click(Command::Profile1);
  Click(Command::Apply);
  model = NextWrite();
  ASSERT_TRUE(model.lighting.has_value()) << "and back";
  EXPECT_EQ(model.lighting->effect, window.settings().profiles[0].lighting.byLightEffect);
}

// A click where the color field would be, under an effect that shows none, picks
// nothing: when effect 16 then shows the field's red, green and blue, they are the
// profile's color, and that is what the keyboard gets.
TEST_F(MainWindowAndKeyboard, AClickWhereNoColorFieldIsShownPicksNothing) {
  CQuencfgDlg& window = Open();
  window.currentProfile().lighting.byLightColor = 0x204080;
  Click(Command::Backlight);
  CLightingDlg& panel = window.lightingPanel();
  ASSERT_FALSE(ShownControls(panel.currentEffect()).effectColor) << "the factory effect shows no color field";
  const RECT field = panel.customColorRect();
  const POINT at{field.left + 40, field.top + 60};
  ASSERT_GE(testing::Drawing(panel.hwnd()).At(at.x, at.y), 350u) << "a click there would pick, were it shown";
  testing::SendMouse(panel.hwnd(), WM_LBUTTONDOWN, at.x, at.y, MK_LBUTTON);
  testing::SendMouse(panel.hwnd(), WM_LBUTTONUP, at.x, at.y);
  testing::PumpMessages();

  testing::PickEffectFromMenu(panel, 16);
  EXPECT_EQ(window.currentProfile().lighting.byLightColor, 0x204080u);
  EXPECT_EQ(panel.colorField(kComponentRed).Text(), u"128");
  EXPECT_EQ(panel.colorField(kComponentGreen).Text(), u"64");
  EXPECT_EQ(panel.colorField(kComponentBlue).Text(), u"32");
  EXPECT_EQ(panel.swatch().tint().red, 0x80);
  EXPECT_EQ(panel.swatch().tint().blue, 0x20);

  Click(Command::Apply);
  const KeyboardModel model = NextWrite();
  ASSERT_TRUE(model.lighting.has_value());
  EXPECT_EQ(model.lighting->effect, 16);
  EXPECT_EQ(model.effectColor, 0x204080u) << "what the fields show is what the keyboard gets";
}

// A save that fails asks nothing of the device thread: the keyboard is not written with
// the profile of before while the window shows the edited one.
TEST_F(MainWindowAndKeyboard, AnApplyWhoseProfileCannotBeSavedLeavesTheKeyboardAlone) {
  testing::FailingFileWriter files;
  CQuencfgDlg& window = Open(files);
  std::vector<KeyboardState> seen;
  KeyboardStateSpy spy(window.hwnd(), seen);
  Click(Command::Apply);
  NextWrite();
  ASSERT_TRUE(PumpUntil([&] { return seen.size() == 2; })) << "writing, then connected";
  seen.clear();
  Click(Command::Profile2);
  window.currentProfile().keys[14].byBtnFuncType = BTNFUNC_KEY;  // Tab sends 0
  window.currentProfile().keys[14].byKeyNumber = 0x27;
  files.Fail(ProfilePath(ProfileName(1), u""), FileWriteStatus::kInUse);
  testing::AnswerNextWarning(true);
  Click(Command::Apply);
  ASSERT_EQ(testing::TakeAskedWarnings().size(), 1u);
  // The device thread answers in the order it was asked: after this answer, a write
  // asked for before would have begun.
  ::PostMessageW(::FindWindowW(nullptr, AsWide(kDeviceWindowTitle)), UM_KEYBOARDSTATEQUERY, 0, 0);
  ASSERT_TRUE(PumpUntil([&] { return !seen.empty(); }));
  EXPECT_EQ(seen, std::vector<KeyboardState>{KeyboardState::Connected}) << "no write";
  EXPECT_TRUE(machine_.Features().empty()) << "nothing reached the keyboard";

  files.Heal();
  Click(Command::Apply);
  const KeyboardModel model = NextWrite();
  ASSERT_TRUE(model.keyMap.has_value());
  EXPECT_EQ((*model.keyMap)[SlotCell(14)], 0x27) << "profile 2 as the window shows it";
}

// The tray's exit with an edit not applied: the question comes; staying keeps the
// program and its tray icon; apply and quit writes the edit to the keyboard and ends
// the window.
TEST_F(MainWindowAndKeyboard, TheTraysExitAsksAboutEditsNotApplied) {
  CQuencfgDlg& window = Open();
  HWND device = ::FindWindowW(nullptr, AsWide(kDeviceWindowTitle));
  auto* hid = static_cast<CHidWnd*>(Window::FromHandle(device));
  ASSERT_TRUE(PumpUntil([&] { return hid->TrayIconShown(); }));
  window.currentProfile().keys[14].byBtnFuncType = BTNFUNC_KEY;  // Tab sends A
  window.currentProfile().keys[14].byKeyNumber = 0x04;
  window.RefreshKeyMarks();
  ASSERT_TRUE(window.commandButton(Command::Profile1).badgeShown());
  ::ShowWindow(window.hwnd(), SW_HIDE);

  testing::AnswerNextWarningWith(IDCANCEL);
  ::PostMessageW(device, WM_COMMAND, ID_TRAY_EXIT, 0);
  std::vector<testing::AskedWarning> asked;
  ASSERT_TRUE(PumpUntil([&] {
    asked = testing::TakeAskedWarnings();
    return !asked.empty();
  }));
  EXPECT_EQ(asked[0].type, kQuitWithUnappliedEditsWarning);
  EXPECT_TRUE(PumpUntil([&] { return hid->TrayIconShown(); })) << "staying brings the tray icon back";
  EXPECT_TRUE(::IsWindowVisible(window.hwnd()));

  testing::AnswerNextWarningWith(IDYES);
  ::PostMessageW(device, WM_COMMAND, ID_TRAY_EXIT, 0);
  EXPECT_EQ(window.DoModal(), IDCANCEL) << "the window ended";
  const KeyboardModel model = NextWrite();
  EXPECT_EQ(model.errors, std::vector<std::string>{});
  ASSERT_TRUE(model.keyMap.has_value());
  EXPECT_EQ((*model.keyMap)[SlotCell(14)], 0x04) << "Tab sends A";
}

// The arrival and removal of the keyboard as the system tells the device window.
class KeyboardPlug {
 public:
  KeyboardPlug() : record_(offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name) + (kName.size() + 1) * 2) {
    auto* header = reinterpret_cast<DEV_BROADCAST_DEVICEINTERFACE_W*>(record_.data());
    header->dbcc_size = static_cast<DWORD>(record_.size());
    header->dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    std::copy(kName.begin(), kName.end(), header->dbcc_name);
  }
  void Tell(WPARAM event) {
    ::SendMessageW(::FindWindowW(nullptr, AsWide(kDeviceWindowTitle)), WM_DEVICECHANGE, event,
                   reinterpret_cast<LPARAM>(record_.data()));
  }

 private:
  static inline const std::wstring kName =
      L"\\\\?\\USB#VID_258A&PID_0090#5&2c1b3a&0&3#{a5dcbf10-6530-11d2-901f-00c04fb951ed}";
  std::vector<std::uint8_t> record_;
};

// An apply while the keyboard is away saves the files and writes nothing: no progress
// window pretends to write, the drag strip says the keyboard did not get the changes,
// and the keyboard that comes back gets them by itself, the lighting included although
// the panel is closed by then.
TEST_F(MainWindowAndKeyboard, AnApplyWithoutTheKeyboardWaitsForItAndIsWrittenWhenItIsBack) {
  CQuencfgDlg& window = Open();
  Click(Command::Apply);
  NextWrite();
  KeyboardPlug plug;
  machine_.Unplug();
  plug.Tell(DBT_DEVICEREMOVECOMPLETE);
  ASSERT_TRUE(PumpUntil([&] { return window.keyboardState() == KeyboardState::Absent; }));

  Click(Command::Backlight);
  testing::PickEffectFromMenu(window.lightingPanel(), 16);
  Click(Command::Backlight);
  Click(Command::Apply);
  ASSERT_TRUE(PumpUntil([&] { return window.keyboardState() == KeyboardState::ChangesWaiting; }));
  EXPECT_EQ(g_writesDone.load(), 1) << "no progress window for a keyboard that is not there";
  EXPECT_TRUE(machine_.Features().empty());
  const auto onDisk = std::make_unique<ProfileData>();
  ReadProfile(*onDisk, ProfileName(window.settings().Profile), u"");
  EXPECT_EQ(onDisk->lighting.byLightEffect, 16) << "the files are saved";

  struct Language {
    std::uint8_t id;
    const char16_t* code;
    std::u16string text;
  };
  const Language languages[] = {
      {101, u"EN", u"Saved; the keyboard gets it when plugged in"},
      {106, u"CS", u"\u5DF2\u4FDD\u5B58\uFF1B\u952E\u76D8\u672A\u8FDE\u63A5\uFF0C\u63D2\u5165\u540E\u5199\u5165"},
      {108, u"ES", u"Guardado; se enviar\u00E1 al conectar el teclado"},
  };
  ::SetWindowPos(window.hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW);
  for (const Language& language : languages) {
    window.ChangeLanguage(language.id);
    EXPECT_EQ(window.KeyboardStatusText(), language.text);
    ::RedrawWindow(window.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    testing::PumpMessages();
    EXPECT_TRUE(testing::SaveScreen(u"status-changes-waiting-" + std::u16string(language.code) + u".png"));
  }
  window.ChangeLanguage(101);

  std::vector<KeyboardState> seen;
  KeyboardStateSpy spy(window.hwnd(), seen);
  machine_.Replug();
  plug.Tell(DBT_DEVICEARRIVAL);
  KeyboardModel model = NextWrite();
  EXPECT_EQ(model.errors, std::vector<std::string>{});
  EXPECT_EQ(model.endsOfUpdate, 1);
  ASSERT_TRUE(model.lighting.has_value()) << "the lighting the keyboard never got";
  EXPECT_EQ(model.lighting->effect, 16);
  EXPECT_EQ(model.effectColor, window.currentProfile().lighting.byLightColor);
  ASSERT_TRUE(PumpUntil([&] { return window.keyboardState() == KeyboardState::Connected && seen.size() >= 3; }));
  EXPECT_EQ(seen, (std::vector<KeyboardState>{KeyboardState::Connected, KeyboardState::Writing,
                                               KeyboardState::Connected}));
  PumpUntil([] { return false; }, 300);
  EXPECT_EQ(g_writesDone.load(), 2) << "written once";
}

// The drag strip follows the device thread: arrival, removal and a write, each told by
// a message the device thread posts, never asked for in a loop.
TEST_F(MainWindowAndKeyboard, TheStatusFollowsArrivalRemovalAndAWriteThroughTheDeviceThread) {
  CQuencfgDlg& window = Open();
  window.ChangeLanguage(101);
  ASSERT_TRUE(PumpUntil([&] { return window.keyboardState() == KeyboardState::Connected; }))
      << "the device thread found the keyboard before the window existed and says so when asked";
  EXPECT_EQ(window.KeyboardStatusText(), u"Keyboard connected");

  // A write: writing while it runs, connected after. The window records every state
  // it is told of, in order.
  std::vector<KeyboardState> seen;
  KeyboardStateSpy spy(window.hwnd(), seen);
  Click(Command::Apply);
  NextWrite();
  ASSERT_TRUE(PumpUntil([&] { return seen.size() >= 2; }));
  EXPECT_EQ(seen, (std::vector<KeyboardState>{KeyboardState::Writing, KeyboardState::Connected}));
  EXPECT_EQ(window.keyboardState(), KeyboardState::Connected);

  // Removal and arrival, as the system tells the device window.
  HWND device = ::FindWindowW(nullptr, AsWide(kDeviceWindowTitle));
  const std::wstring name = L"\\\\?\\USB#VID_258A&PID_0090#5&2c1b3a&0&3#{a5dcbf10-6530-11d2-901f-00c04fb951ed}";
  std::vector<std::uint8_t> record(offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name) + (name.size() + 1) * 2);
  auto* header = reinterpret_cast<DEV_BROADCAST_DEVICEINTERFACE_W*>(record.data());
  header->dbcc_size = static_cast<DWORD>(record.size());
  header->dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
  std::copy(name.begin(), name.end(), header->dbcc_name);
  machine_.Unplug();
  ::SendMessageW(device, WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE, reinterpret_cast<LPARAM>(record.data()));
  ASSERT_TRUE(PumpUntil([&] { return window.keyboardState() == KeyboardState::Absent; }));
  EXPECT_EQ(window.KeyboardStatusText(), u"No keyboard connected");
  machine_.Replug();
  ::SendMessageW(device, WM_DEVICECHANGE, DBT_DEVICEARRIVAL, reinterpret_cast<LPARAM>(record.data()));
  ASSERT_TRUE(PumpUntil([&] { return window.keyboardState() == KeyboardState::Connected; }));
  EXPECT_EQ(window.KeyboardStatusText(), u"Keyboard connected");
}

}  // namespace
}  // namespace quencfg
