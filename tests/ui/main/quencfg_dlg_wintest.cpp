// The main window on a real window under the shipped skin, with a data folder of its
// own and a stand-in device window that records what the main window posts to it.
#include "quencfg/ui/main/quencfg_dlg_win.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <cstring>
#include <iterator>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "quencfg/framework/files.h"
#include "quencfg/framework/handle_win.h"
#include "quencfg/framework/folders.h"
#include "quencfg/framework/messages.h"
#include "quencfg/framework/sign_in_start.h"
#include "quencfg/framework/sign_in_start_win.h"
#include "quencfg/framework/text.h"
#include "quencfg/framework/wide_win.h"
#include "quencfg/model/number_text.h"
#include "quencfg/model/profile_file.h"
#include "quencfg/model/settings_file.h"
#include "quencfg/ui/main/main_window_rules.h"
#include "quencfg/ui/skin/skin_documents.h"
#include "quencfg/ui/skin/skin_language.h"
#include "quencfg/ui/skin/warn_dlg_win.h"
#include "support/data_folder_scope.h"
#include "support/failing_file_writer.h"
#include "support/foreign_window_win.h"
#include "support/gdiplus_session_win.h"
#include "support/other_program_win.h"
#include "support/process_win.h"
#include "support/read_only_file.h"
#include "support/run_value_scope_win.h"
#include "support/screenshot_win.h"
#include "support/shipped_skin_win.h"
#include "support/system_dialog_win.h"
#include "support/temp_folder.h"
#include "ui/lighting/lighting_panel_host_win.h"
#include "ui/skin/control_host_win.h"
#include "ui/skin/warn_answer_win.h"

namespace quencfg {
namespace {

using Command = CQuencfgDlg::Command;

struct DeviceSync {
  WPARAM lighting;
  LPARAM reset;
  bool operator==(const DeviceSync&) const = default;
};

// The device thread's window as the main window finds it: by its class and title.
class DeviceWindowSpy : public Window {
 public:
  bool Make() {
    WindowCreateParams params;
    params.className = AsWide(kDeviceWindowClass);
    params.title = AsWide(kDeviceWindowTitle);
    params.style = WS_POPUP;
    params.width = 10;
    params.height = 10;
    return Create(params);
  }
  std::vector<DeviceSync> syncs;
  int keepRunning = 0;  // asked to bring the tray icon back

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == UM_DEVICESYNC) syncs.push_back({wParam, lParam});
    if (message == UM_KEEPRUNNING) ++keepRunning;
    return DefaultHandling(message, wParam, lParam);
  }
};

// Whether a window was told to end: the cancel command that ends the main window's
// modal run, seen before the window handles it.
class EndSpy {
 public:
  explicit EndSpy(HWND window) : window_(window) {
    ::SetWindowSubclass(window_, &Record, kSpyId, reinterpret_cast<DWORD_PTR>(&ended_));
  }
  ~EndSpy() { ::RemoveWindowSubclass(window_, &Record, kSpyId); }
  EndSpy(const EndSpy&) = delete;
  EndSpy& operator=(const EndSpy&) = delete;
  [[nodiscard]] bool TakeEnded() { return std::exchange(ended_, false); }

 private:
  static constexpr UINT_PTR kSpyId = 0x454E;
  static LRESULT CALLBACK Record(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR ended) {
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL && lParam == 0) *reinterpret_cast<bool*>(ended) = true;
    return ::DefSubclassProc(window, message, wParam, lParam);
  }
  HWND window_;
  bool ended_ = false;
};

void Press(HWND parent, HWND button) {
  ::SendMessageW(parent, WM_COMMAND, MAKEWPARAM(CQuencfgDlg::kButtonId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
}

std::string FileBytes(const std::u16string& path) {
  return ReadWholeFile(path).value_or("<missing>");
}

class MainWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(skin_.loaded());
    PrepareDataFolder();
    (void)testing::TakeAskedWarnings();  // those of earlier tests
    ASSERT_TRUE(device_.Make());
  }
  void TearDown() override {
    StringDocument().Load(StringsFilePath(101));
  }

  CQuencfgDlg& Open() {
    window_ = std::make_unique<CQuencfgDlg>();
    EXPECT_TRUE(window_->Open());
    testing::PumpMessages();
    return *window_;
  }
  void Press(Command command) { quencfg::Press(window_->hwnd(), window_->commandButton(command).hwnd()); }
  // The marks of edits not applied on the three profile buttons.
  std::vector<bool> ProfileBadges() {
    return {window_->commandButton(Command::Profile1).badgeShown(),
            window_->commandButton(Command::Profile2).badgeShown(),
            window_->commandButton(Command::Profile3).badgeShown()};
  }
  std::vector<bool> ProfileMarks() {
    return {window_->commandButton(Command::Profile1).selected(), window_->commandButton(Command::Profile2).selected(),
            window_->commandButton(Command::Profile3).selected()};
  }
  std::vector<DeviceSync> TakeSyncs() {
    testing::PumpMessages();
    return std::exchange(device_.syncs, {});
  }
  int DisabledKeyCount() {
    int count = 0;
    for (int i = 0; i < KEY_COUNT; ++i) count += ::IsWindowEnabled(window_->keyButton(i).hwnd()) ? 0 : 1;
    return count;
  }

  testing::ShippedSkin skin_;
  testing::GdiplusSession gdiplus_;
  testing::DataFolderScope data_;
  DeviceWindowSpy device_;
  std::unique_ptr<CQuencfgDlg> window_;
};

TEST_F(MainWindow, OpensAsTheBorderlessKorvaneWindowSizedByItsBackground) {
  CQuencfgDlg& window = Open();
  wchar_t title[32] = {};
  ::GetWindowTextW(window.hwnd(), title, 32);
  EXPECT_STREQ(title, L"Korvane");
  RECT client{};
  ::GetClientRect(window.hwnd(), &client);
  EXPECT_EQ(client.right, 1200);
  EXPECT_EQ(client.bottom, 672);
  const LONG_PTR style = ::GetWindowLongPtrW(window.hwnd(), GWL_STYLE);
  EXPECT_EQ(style & WS_CAPTION, 0);
  EXPECT_NE(style & WS_MINIMIZEBOX, 0);
  EXPECT_NE(style & WS_SYSMENU, 0);
  EXPECT_NE(::GetWindowLongPtrW(window.hwnd(), GWL_EXSTYLE) & WS_EX_APPWINDOW, 0);
  EXPECT_EQ(::GetDlgCtrlID(window.keyButton(0).hwnd()), CQuencfgDlg::kButtonId);
  EXPECT_EQ(::GetDlgCtrlID(window.commandButton(Command::Reset).hwnd()), CQuencfgDlg::kButtonId);
  EXPECT_EQ(DisabledKeyCount(), 2) << "LWIN and FN cannot be reassigned";
  EXPECT_EQ(ProfileMarks(), (std::vector<bool>{true, false, false}));
}

TEST_F(MainWindow, ProfileButtonSelectsExactlyItselfAndRemarksTheKeys) {
  CQuencfgDlg& window = Open();
  window.settings().profiles[1].keys[5].byBtnFuncType = BTNFUNC_MACRO;
  window.settings().profiles[1].keys[6].byBtnFuncType = BTNFUNC_DISABLE;
  window.settings().profiles[1].keys[7].byBtnFuncType = 466;
  window.settings().profiles[1].keys[8].byBtnFuncType = BTNFUNC_LAUNCH;
  window.settings().profiles[1].keys[9].byBtnFuncType = BTNFUNC_KEY;

  Press(Command::Profile2);
  EXPECT_EQ(window.settings().Profile, 1);
  EXPECT_EQ(ProfileMarks(), (std::vector<bool>{false, true, false}));
  const bool expected[] = {true, false, false, true, true};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(window.keyButton(5 + i).selected(), expected[i]) << "key " << 5 + i;

  Press(Command::Profile1);
  EXPECT_EQ(ProfileMarks(), (std::vector<bool>{true, false, false}));
  EXPECT_FALSE(window.keyButton(5).selected());
  EXPECT_TRUE(TakeSyncs().empty()) << "selecting a profile tells the device nothing";
}

TEST_F(MainWindow, ApplySavesAndAsksForLightingOnlyWhenThePanelShowsOrAfterAnImport) {
  CQuencfgDlg& window = Open();
  Press(Command::Profile3);
  window.settings().profiles[2].keys[3].byBtnFuncType = BTNFUNC_KEY;
  window.settings().profiles[2].keys[3].byKeyNumber = 0x2C;

  Press(Command::Apply);
  EXPECT_EQ(TakeSyncs(), (std::vector<DeviceSync>{{0, 0}}));
  auto stored = std::make_unique<SettingsBlock>();
  ClearSettings(*stored);
  ReadSettings(*stored);
  EXPECT_EQ(stored->Profile, 2);
  ReadProfile(stored->profiles[2], ProfileName(2), u"");
  EXPECT_EQ(stored->profiles[2].keys[3].byKeyNumber, 0x2C);

  Press(Command::Backlight);
  EXPECT_TRUE(window.lightingVisible());
  Press(Command::Apply);
  Press(Command::Backlight);
  EXPECT_FALSE(window.lightingVisible());
  Press(Command::Apply);
  EXPECT_EQ(TakeSyncs(), (std::vector<DeviceSync>{{1, 0}, {0, 0}}));

  testing::TempFolder folder;
  ASSERT_TRUE(WriteProfile(window.currentProfile(), u"shared", folder.path()));
  window.ImportProfileFrom(ProfilePath(u"shared", folder.path()));
  EXPECT_TRUE(window.importPending());
  Press(Command::Apply);
  Press(Command::Apply);
  EXPECT_EQ(TakeSyncs(), (std::vector<DeviceSync>{{1, 0}, {0, 0}}));
  EXPECT_FALSE(window.importPending());
}

// What the user sees of a failed save, in English: the file's name, then why, then
// that the keyboard was not changed.
std::u16string SaveFailedText(std::u16string_view fileName, std::u16string_view why) {
  return std::u16string(fileName) + u"\n" + std::u16string(why) +
         u"\nThe keyboard was not changed; your edits are kept.";
}

// An apply whose files cannot be saved says so, names the file and asks nothing of the
// device thread: the keyboard keeps what it had, the profile keeps its mark. OK stays
// on the window. Once the file can be saved, the same apply goes through.
TEST_F(MainWindow, AnApplyWhoseFileCannotBeSavedIsToldAndSendsNothing) {
  testing::FailingFileWriter files;
  window_ = std::make_unique<CQuencfgDlg>(std::function<void()>{}, std::function<void()>{}, files);
  ASSERT_TRUE(window_->Open());
  CQuencfgDlg& window = *window_;
  ::ShowWindow(window.hwnd(), SW_SHOW);
  window.ChangeLanguage(101);  // the data folder starts in Spanish
  Press(Command::Profile2);
  window.currentProfile().keys[3].byBtnFuncType = BTNFUNC_DISABLE;
  window.RefreshKeyMarks();
  ASSERT_TRUE(window.commandButton(Command::Profile2).badgeShown());
  const std::u16string profileFile = ProfilePath(ProfileName(1), u"");
  const struct {
    const char* name;
    std::u16string path;
    FileWriteStatus status;
    Command command;
    std::u16string said;
  } cases[] = {
      {"read-only settings file", SettingsFilePath(), FileWriteStatus::kReadOnly, Command::Apply,
       SaveFailedText(u"config.xml", u"Could not save: the file is read-only or protected.")},
      {"profile in use", profileFile, FileWriteStatus::kInUse, Command::Apply,
       SaveFailedText(u"Profile 2.profile", u"Could not save: another program is using the file.")},
      {"full disk", profileFile, FileWriteStatus::kDiskFull, Command::Ok,
       SaveFailedText(u"Profile 2.profile", u"Could not save: the disk is full.")},
      {"anything else", profileFile, FileWriteStatus::kFailed, Command::Apply,
       SaveFailedText(u"Profile 2.profile", u"Could not save the file.")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    files.Heal();
    files.Fail(c.path, c.status);
    const std::string settingsBefore = FileBytes(SettingsFilePath());
    const std::string profileBefore = FileBytes(profileFile);
    testing::AnswerNextWarning(true);
    Press(c.command);
    const std::vector<testing::AskedWarning> asked = testing::TakeAskedWarnings();
    ASSERT_EQ(asked.size(), 1u) << "the user is told";
    EXPECT_EQ(asked[0].type, kSaveFailedWarning);
    EXPECT_EQ(asked[0].message, c.said);
    EXPECT_TRUE(TakeSyncs().empty()) << "nothing is asked of the device thread";
    EXPECT_TRUE(window.commandButton(Command::Profile2).badgeShown()) << "the edits are still not applied";
    EXPECT_EQ(FileBytes(profileFile), profileBefore);
    if (c.path != SettingsFilePath()) continue;
    EXPECT_EQ(FileBytes(SettingsFilePath()), settingsBefore);
  }
  EXPECT_TRUE(::IsWindowVisible(window.hwnd())) << "OK whose apply failed leaves the window open";

  files.Heal();
  Press(Command::Apply);
  EXPECT_TRUE(testing::TakeAskedWarnings().empty());
  EXPECT_EQ(TakeSyncs(), (std::vector<DeviceSync>{{0, 0}}));
  EXPECT_FALSE(window.commandButton(Command::Profile2).badgeShown());
}

// The same with the real files under Wine: a profile file marked read-only, and one
// that another program holds open without sharing it.
TEST_F(MainWindow, RealFilesThatCannotBeReplacedAreToldAndSendNothing) {
  CQuencfgDlg& window = Open();
  window.ChangeLanguage(101);
  const std::u16string profileFile = ProfilePath(ProfileName(0), u"");
  window.currentProfile().keys[3].byBtnFuncType = BTNFUNC_DISABLE;
  window.RefreshKeyMarks();
  const std::string before = FileBytes(profileFile);

  ASSERT_TRUE(testing::MarkReadOnly(profileFile, true));
  testing::AnswerNextWarning(true);
  Press(Command::Apply);
  ASSERT_TRUE(testing::MarkReadOnly(profileFile, false));
  std::vector<testing::AskedWarning> asked = testing::TakeAskedWarnings();
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].message,
            SaveFailedText(u"Profile 1.profile", u"Could not save: the file is read-only or protected."));
  EXPECT_TRUE(TakeSyncs().empty());
  EXPECT_EQ(FileBytes(profileFile), before);
  EXPECT_TRUE(window.commandButton(Command::Profile1).badgeShown());
  EXPECT_FALSE(PathExists(profileFile + u".tmp")) << "nothing is left behind";

  {
    UniqueFileHandle held(::CreateFileW(AsWide(profileFile), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(held);
    testing::AnswerNextWarning(true);
    Press(Command::Apply);
  }
  asked = testing::TakeAskedWarnings();
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].message,
            SaveFailedText(u"Profile 1.profile", u"Could not save: another program is using the file."));
  EXPECT_TRUE(TakeSyncs().empty());
  EXPECT_EQ(FileBytes(profileFile), before);

  Press(Command::Apply);
  EXPECT_TRUE(testing::TakeAskedWarnings().empty());
  EXPECT_EQ(TakeSyncs().size(), 1u);
  EXPECT_FALSE(window.commandButton(Command::Profile1).badgeShown());
}

// Closing the window (the tray's exit, Alt+F4) ends it at once while every profile is
// applied; with edits not applied, the user chooses: apply and quit, quit without
// applying, or stay. Staying shows the window and brings the tray icon back.
TEST_F(MainWindow, ClosingWithEditsNotAppliedAsksFirst) {
  CQuencfgDlg& window = Open();
  window.ChangeLanguage(101);
  EndSpy end(window.hwnd());
  ::SendMessageW(window.hwnd(), WM_CLOSE, 0, reinterpret_cast<LPARAM>(device_.hwnd()));
  EXPECT_TRUE(end.TakeEnded()) << "nothing to ask: ended at once";
  EXPECT_TRUE(testing::TakeAskedWarnings().empty());

  // Edits of profiles 1 and 2; the window is hidden to the tray.
  window.currentProfile().keys[12].byBtnFuncType = BTNFUNC_DISABLE;
  Press(Command::Profile2);
  window.currentProfile().lighting.byLightEffect = 10;
  window.RefreshKeyMarks();
  ASSERT_EQ(ProfileBadges(), (std::vector<bool>{true, true, false}));
  Press(Command::Exit);
  ASSERT_FALSE(::IsWindowVisible(window.hwnd()));
  const std::string profile1Before = FileBytes(ProfilePath(ProfileName(0), u""));
  const std::string profile2Before = FileBytes(ProfilePath(ProfileName(1), u""));

  testing::AnswerNextWarningWith(IDCANCEL);  // stay
  ::SendMessageW(window.hwnd(), WM_CLOSE, 0, reinterpret_cast<LPARAM>(device_.hwnd()));
  std::vector<testing::AskedWarning> asked = testing::TakeAskedWarnings();
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].type, kQuitWithUnappliedEditsWarning);
  EXPECT_EQ(asked[0].message, u"Some profiles have edits that were not applied (marked with a dot). "
                              u"Apply them before quitting?");
  EXPECT_FALSE(end.TakeEnded()) << "the user stays";
  EXPECT_TRUE(::IsWindowVisible(window.hwnd())) << "with the marked profiles in view";
  testing::PumpMessages();
  EXPECT_EQ(device_.keepRunning, 1) << "the tray icon comes back";
  EXPECT_EQ(ProfileBadges(), (std::vector<bool>{true, true, false}));

  testing::AnswerNextWarningWith(IDNO);  // quit without applying
  ::PostMessageW(window.hwnd(), WM_SYSKEYDOWN, VK_F4, 0x20000000);  // Alt+F4
  testing::PumpMessages();
  EXPECT_EQ(testing::TakeAskedWarnings().size(), 1u);
  EXPECT_TRUE(end.TakeEnded());
  EXPECT_TRUE(TakeSyncs().empty());
  EXPECT_EQ(FileBytes(ProfilePath(ProfileName(0), u"")), profile1Before) << "nothing was saved";
  EXPECT_EQ(FileBytes(ProfilePath(ProfileName(1), u"")), profile2Before);
}

// Apply and quit keeps every edit: the profiles that are not current are saved, the
// current one is applied; a save that fails is told and the program stays.
TEST_F(MainWindow, ApplyAndQuitSavesEveryEditedProfileAndAppliesTheCurrentOne) {
  testing::FailingFileWriter files;
  window_ = std::make_unique<CQuencfgDlg>(std::function<void()>{}, std::function<void()>{}, files);
  ASSERT_TRUE(window_->Open());
  CQuencfgDlg& window = *window_;
  window.ChangeLanguage(101);
  EndSpy end(window.hwnd());
  window.settings().profiles[0].keys[3].byBtnFuncType = BTNFUNC_DISABLE;
  Press(Command::Profile3);
  window.currentProfile().keys[4].byBtnFuncType = BTNFUNC_DISABLE;
  window.RefreshKeyMarks();

  files.Fail(ProfilePath(ProfileName(0), u""), FileWriteStatus::kDiskFull);
  testing::AnswerNextWarningWith(IDYES);
  testing::AnswerNextWarningWith(IDOK);  // the save that failed
  ::SendMessageW(window.hwnd(), WM_CLOSE, 0, 0);
  std::vector<testing::AskedWarning> asked = testing::TakeAskedWarnings();
  ASSERT_EQ(asked.size(), 2u);
  EXPECT_EQ(asked[1].type, kSaveFailedWarning);
  EXPECT_FALSE(end.TakeEnded()) << "an edit would be lost: the program stays";
  EXPECT_TRUE(TakeSyncs().empty());
  EXPECT_EQ(ProfileBadges(), (std::vector<bool>{true, false, true}));

  files.Heal();
  testing::AnswerNextWarningWith(IDYES);
  ::SendMessageW(window.hwnd(), WM_CLOSE, 0, 0);
  EXPECT_EQ(testing::TakeAskedWarnings().size(), 1u);
  EXPECT_TRUE(end.TakeEnded());
  EXPECT_EQ(TakeSyncs(), (std::vector<DeviceSync>{{0, 0}})) << "the current profile goes to the keyboard";
  auto stored = std::make_unique<SettingsBlock>();
  ClearSettings(*stored);
  ReadSettings(*stored);
  EXPECT_EQ(stored->Profile, 2);
  for (int index : {0, 2}) ReadProfile(stored->profiles[index], ProfileName(index), u"");
  EXPECT_EQ(stored->profiles[0].keys[3].byBtnFuncType, BTNFUNC_DISABLE);
  EXPECT_EQ(stored->profiles[2].keys[4].byBtnFuncType, BTNFUNC_DISABLE);
}

// When Windows shuts down or the user signs out, nothing holds it up: no question,
// nothing saved, the window ends.
TEST_F(MainWindow, TheEndOfTheSessionIsNeverHeldUp) {
  CQuencfgDlg& window = Open();
  EndSpy end(window.hwnd());
  window.currentProfile().keys[3].byBtnFuncType = BTNFUNC_DISABLE;
  window.RefreshKeyMarks();
  const std::string before = FileBytes(ProfilePath(ProfileName(0), u""));
  EXPECT_EQ(::SendMessageW(window.hwnd(), WM_QUERYENDSESSION, 0, 0), TRUE);
  EXPECT_FALSE(end.TakeEnded()) << "the query alone ends nothing";
  ::SendMessageW(window.hwnd(), WM_ENDSESSION, FALSE, 0);
  EXPECT_FALSE(end.TakeEnded()) << "the session goes on";
  ::SendMessageW(window.hwnd(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
  EXPECT_TRUE(end.TakeEnded());
  EXPECT_TRUE(window.sessionEnding());
  ::SendMessageW(window.hwnd(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(end.TakeEnded()) << "a close after it asks nothing either";
  EXPECT_TRUE(testing::TakeAskedWarnings().empty());
  EXPECT_TRUE(TakeSyncs().empty());
  EXPECT_EQ(FileBytes(ProfilePath(ProfileName(0), u"")), before);
}

// Screenshots for the eye (build/screenshots/warn-*.png): the failed save and the
// question on quitting, in each language.
TEST_F(MainWindow, ScreenshotsOfTheSaveAndQuitWarningsInEachLanguage) {
  testing::FailingFileWriter files;
  window_ = std::make_unique<CQuencfgDlg>(std::function<void()>{}, std::function<void()>{}, files);
  ASSERT_TRUE(window_->Open());
  CQuencfgDlg& window = *window_;
  ::SetWindowPos(window.hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
  window.currentProfile().keys[3].byBtnFuncType = BTNFUNC_DISABLE;
  window.RefreshKeyMarks();
  files.Fail(ProfilePath(ProfileName(0), u""), FileWriteStatus::kReadOnly);
  for (const auto& [language, suffix] : {std::pair{101, u"EN"}, std::pair{106, u"CS"}, std::pair{108, u"ES"}}) {
    window.ChangeLanguage(static_cast<std::uint8_t>(language));
    ::RedrawWindow(window.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    testing::AnswerNextWarningWith(IDOK, u"warn-save-failed-" + std::u16string(suffix) + u".png");
    Press(Command::Apply);
    testing::AnswerNextWarningWith(IDCANCEL, u"warn-quit-" + std::u16string(suffix) + u".png");
    ::SendMessageW(window.hwnd(), WM_CLOSE, 0, 0);
    EXPECT_EQ(testing::TakeAskedWarnings().size(), 2u);
  }
  EXPECT_TRUE(TakeSyncs().empty());
}

TEST_F(MainWindow, BacklightButtonShowsTheLightingPanelInPlaceOfTheKeys) {
  CQuencfgDlg& window = Open();
  ::ShowWindow(window.hwnd(), SW_SHOW);
  CLightingDlg& panel = window.lightingPanel();
  ASSERT_NE(panel.hwnd(), nullptr);
  EXPECT_FALSE(::IsWindowVisible(panel.hwnd())) << "created hidden";
  EXPECT_TRUE(panel.shapedByMask()) << "the shipped mask shapes the panel";
  window.settings().profiles[1].lighting.byLightEffect = 5;
  window.settings().profiles[2].lighting.byLightEffect = 19;

  Press(Command::Backlight);
  EXPECT_TRUE(window.commandButton(Command::Backlight).selected());
  EXPECT_TRUE(::IsWindowVisible(panel.hwnd()));
  EXPECT_FALSE(::IsWindowVisible(window.keyButton(0).hwnd()));
  EXPECT_FALSE(::IsWindowVisible(window.keyButton(110).hwnd()));
  EXPECT_EQ(panel.currentEffect(), window.settings().profiles[0].lighting.byLightEffect);

  Press(Command::Profile2);
  EXPECT_EQ(panel.currentEffect(), 5) << "a profile switch hands the visible panel the new profile";
  window.settings().profiles[2].lighting.byLightEffect = 19;
  Press(Command::Profile3);
  EXPECT_EQ(panel.currentEffect(), 19);
  EXPECT_TRUE(::IsWindowVisible(panel.keyButton(0).hwnd())) << "the per-key effect shows the key colors";

  Press(Command::Backlight);
  EXPECT_FALSE(window.commandButton(Command::Backlight).selected());
  EXPECT_FALSE(::IsWindowVisible(panel.hwnd()));
  EXPECT_TRUE(::IsWindowVisible(window.keyButton(0).hwnd()));
}

TEST_F(MainWindow, OkAppliesAndHidesCancelOnlyHides) {
  CQuencfgDlg& window = Open();
  ::ShowWindow(window.hwnd(), SW_SHOW);
  Press(Command::Ok);
  EXPECT_FALSE(::IsWindowVisible(window.hwnd()));
  EXPECT_EQ(TakeSyncs().size(), 1u);

  ::SendMessageW(window.hwnd(), UM_SHOWMAIN, 0, 0);
  EXPECT_TRUE(::IsWindowVisible(window.hwnd()));
  Press(Command::Profile2);
  const std::string settingsBefore = FileBytes(SettingsFilePath());
  Press(Command::Cancel);
  EXPECT_FALSE(::IsWindowVisible(window.hwnd()));
  EXPECT_EQ(window.settings().Profile, 1) << "nothing is reverted";
  EXPECT_EQ(FileBytes(SettingsFilePath()), settingsBefore) << "nor saved";
  EXPECT_TRUE(TakeSyncs().empty());
}

// A window of another program titled "Korvane_Hid" gets neither the keyboard state
// query nor the requests.
TEST_F(MainWindow, ApplyPassesOverWindowsOfOtherProgramsWithTheDeviceWindowsTitle) {
  testing::ForeignWindow other(kDeviceWindowTitle);
  ASSERT_EQ(::FindWindowW(nullptr, AsWide(kDeviceWindowTitle)), other.hwnd()) << "found first by its title alone";
  Open();
  Press(Command::Apply);
  EXPECT_EQ(TakeSyncs(), (std::vector<DeviceSync>{{0, 0}}));
  EXPECT_TRUE(other.received.empty());
}

TEST_F(MainWindow, ApplyWithoutADeviceWindowStillSaves) {
  CQuencfgDlg& window = Open();
  device_.Destroy();
  window.currentProfile().keys[0].byBtnFuncType = BTNFUNC_KEY;
  Press(Command::Apply);
  ProfileData stored{};
  ReadProfile(stored, ProfileName(0), u"");
  EXPECT_EQ(stored.keys[0].byBtnFuncType, BTNFUNC_KEY);
}

TEST_F(MainWindow, ResetAfterConfirmationRestoresTheFactoryProfileAndNamesItInTheSettingsFile) {
  for (const bool confirm : {false, true}) {
    SCOPED_TRACE(confirm ? "OK" : "Cancel");
    CQuencfgDlg& window = Open();
    Press(Command::Profile2);
    window.currentProfile().keys[10].byBtnFuncType = BTNFUNC_LAUNCH;
    window.currentProfile().lighting.byLightEffect = 7;
    window.RefreshKeyMarks();
    const std::string settingsBefore = FileBytes(SettingsFilePath());
    const std::string profileBefore = FileBytes(ProfilePath(ProfileName(1), u""));

    testing::AnswerNextWarning(confirm);
    Press(Command::Reset);

    if (confirm) {
      // The device thread writes the profile the settings file names: the one reset.
      auto storedSettings = std::make_unique<SettingsBlock>();
      ClearSettings(*storedSettings);
      ReadSettings(*storedSettings);
      EXPECT_EQ(storedSettings->Profile, 1);
      EXPECT_EQ(storedSettings->Language, window.settings().Language);
      ProfileData factory{};
      NormalizeProfile(factory, true, 1);
      EXPECT_EQ(window.currentProfile().keys[10].byBtnFuncType, BTNFUNC_DEFAULT);
      EXPECT_EQ(window.currentProfile().lighting.byLightEffect, factory.lighting.byLightEffect);
      EXPECT_FALSE(window.keyButton(10).selected());
      EXPECT_EQ(TakeSyncs(), (std::vector<DeviceSync>{{0, 1}}));
      ProfileData stored{};
      ReadProfile(stored, ProfileName(1), u"");
      EXPECT_EQ(stored.lighting.byLightEffect, factory.lighting.byLightEffect);
    } else {
      EXPECT_EQ(FileBytes(SettingsFilePath()), settingsBefore);
      EXPECT_EQ(window.currentProfile().keys[10].byBtnFuncType, BTNFUNC_LAUNCH);
      EXPECT_TRUE(window.keyButton(10).selected());
      EXPECT_EQ(FileBytes(ProfilePath(ProfileName(1), u"")), profileBefore);
      EXPECT_TRUE(TakeSyncs().empty());
    }
  }
}

TEST_F(MainWindow, ImportTakesTheFirstProfilesFactoryLightingForOutOfRangeValues) {
  CQuencfgDlg& window = Open();
  Press(Command::Profile3);
  ProfileData imported{};
  NormalizeProfile(imported, true, 2);
  imported.lighting.byLightColor = 0x1000000;
  imported.lighting.byLightEffect = 200;
  imported.keys[4].byBtnFuncType = BTNFUNC_KEY;
  imported.keys[4].byKeyNumber = 0x05;
  testing::TempFolder folder;
  ASSERT_TRUE(WriteProfile(imported, u"from a friend", folder.path()));

  window.ImportProfileFrom(ProfilePath(u"from a friend", folder.path()));
  ProfileData first{};
  NormalizeProfile(first, true, 0);
  EXPECT_EQ(window.currentProfile().lighting.byLightColor, 0xFFFFFFu);
  EXPECT_EQ(window.currentProfile().lighting.byLightEffect, first.lighting.byLightEffect);
  EXPECT_EQ(window.currentProfile().keys[4].byKeyNumber, 0x05);
  EXPECT_TRUE(window.keyButton(4).selected());
  EXPECT_TRUE(TakeSyncs().empty()) << "nothing is sent before the next apply";

  testing::AnswerNextWarning(true);  // the import says the file could not be read
  window.ImportProfileFrom(folder.path() + u"missing.profile");
  EXPECT_EQ(window.currentProfile().keys[4].byKeyNumber, 0x05) << "a missing file changes nothing";
}

TEST_F(MainWindow, ExportCopiesTheSavedProfileAndWritesAnUnsavedOneFromMemory) {
  CQuencfgDlg& window = Open();
  testing::TempFolder target;

  // Profile 3 was never written by anybody: its file is missing.
  Press(Command::Profile3);
  ASSERT_TRUE(DeleteFileAt(ProfilePath(ProfileName(2), u"")));
  window.currentProfile().keys[1].byBtnFuncType = BTNFUNC_KEY;
  window.currentProfile().keys[1].byKeyNumber = 0x1E;
  const std::u16string unsavedExport = target.path() + u"unsaved.profile";
  ASSERT_TRUE(window.ExportProfileTo(unsavedExport));
  ProfileData exported{};
  ReadProfile(exported, u"unsaved", target.path());
  EXPECT_EQ(exported.keys[1].byKeyNumber, 0x1E) << "never applied: what the user sees is exported";

  // An applied profile is exported as last saved, not with the edits since.
  Press(Command::Apply);
  window.currentProfile().keys[1].byKeyNumber = 0x1F;
  const std::u16string savedExport = target.path() + u"saved.profile";
  ASSERT_TRUE(window.ExportProfileTo(savedExport));
  EXPECT_EQ(FileBytes(savedExport), FileBytes(ProfilePath(ProfileName(2), u"")));

  EXPECT_FALSE(window.ExportProfileTo(target.path() + u"no such folder\\x.profile"));
}

// An export that cannot be written is said in the warning dialog, in the user's
// language, with OK alone; one that is written says nothing.
TEST_F(MainWindow, AFailedExportIsSaidInTheWarningDialog) {
  CQuencfgDlg& window = Open();
  window.ChangeLanguage(108);
  testing::TempFolder target;
  const int asked = testing::WarningsAnswered();
  testing::AnswerNextWarning(true);
  window.ExportProfileAs(target.path() + u"no such folder\\x.profile");
  EXPECT_EQ(testing::WarningsAnswered(), asked + 1);
  EXPECT_EQ(testing::LatestAnsweredWarningType(), kExportFailedWarning);
  EXPECT_FALSE(WarningAsks(kExportFailedWarning));
  EXPECT_NE(StringDocument().Lookup(u"WARN_STRING", u"EXPORT_FAILED").find(u"perfil"), std::u16string::npos);

  testing::AnswerNextWarning(true);
  window.ExportProfileAs(target.path() + u"written.profile");
  testing::PumpMessages();
  EXPECT_EQ(testing::WarningsAnswered(), asked + 1);
  EXPECT_TRUE(IsRegularFile(target.path() + u"written.profile"));
}

TEST_F(MainWindow, LanguageChangeRecaptionsTheSameButtonsAndSavesTheLanguage) {
  CQuencfgDlg& window = Open();
  std::vector<HWND> before;
  for (int i = 0; i < KEY_COUNT; ++i) before.push_back(window.keyButton(i).hwnd());
  for (int i = 0; i < CQuencfgDlg::kCommandCount; ++i) before.push_back(window.commandButton(Command(i)).hwnd());

  for (const std::uint8_t language : {std::uint8_t{106}, std::uint8_t{108}, std::uint8_t{101}, std::uint8_t{101}}) {
    SCOPED_TRACE(language);
    window.ChangeLanguage(language);
    SharedSkinDocument expected;
    expected.Load(StringsFilePath(language));
    EXPECT_EQ(window.commandButton(Command::Apply).caption(), expected.Lookup(u"MAIN", u"APPLY"));
    EXPECT_EQ(window.commandButton(Command::Profile2).caption(), expected.Lookup(u"MAIN", u"PROFILE") + u"2");
    EXPECT_EQ(SkinFontName(), expected.Lookup(u"GLOBAL", u"FONT"));
    auto stored = std::make_unique<SettingsBlock>();
    ClearSettings(*stored);
    ReadSettings(*stored);
    EXPECT_EQ(stored->Language, language);

    std::vector<HWND> after;
    for (int i = 0; i < KEY_COUNT; ++i) after.push_back(window.keyButton(i).hwnd());
    for (int i = 0; i < CQuencfgDlg::kCommandCount; ++i) after.push_back(window.commandButton(Command(i)).hwnd());
    EXPECT_EQ(after, before);
    EXPECT_EQ(DisabledKeyCount(), 2);
  }
}

// A settings file from elsewhere may name a language whose strings are not shipped
// (102 German, 110 Russian ...): the main window then speaks English, and its settings
// menu still names the languages it can switch to.
TEST_F(MainWindow, ALanguageWithoutItsStringsFileShowsTheEnglishTexts) {
  SharedSkinDocument english;
  english.Load(StringsFilePath(101));
  ASSERT_FALSE(english.Lookup(u"MAIN", u"APPLY").empty());
  for (const std::uint8_t language : {std::uint8_t{102}, std::uint8_t{110}}) {
    SCOPED_TRACE(language);
    auto stored = std::make_unique<SettingsBlock>();
    ClearSettings(*stored);
    stored->Language = language;
    WriteSettings(*stored);

    CQuencfgDlg& window = Open();
    EXPECT_EQ(window.settings().Language, language) << "the setting itself stays";
    EXPECT_EQ(window.commandButton(Command::Apply).caption(), english.Lookup(u"MAIN", u"APPLY"));
    EXPECT_EQ(window.commandButton(Command::Profile2).caption(), english.Lookup(u"MAIN", u"PROFILE") + u"2");
    EXPECT_EQ(SkinFontName(), english.Lookup(u"GLOBAL", u"FONT"));
    Press(Command::Setting);
    ASSERT_NE(window.settingsMenu(), nullptr);
    const std::vector<BMPMENUINFO>& items = window.settingsMenu()->items();
    ASSERT_EQ(items.size(), std::size(kSettingsMenuItems));
    for (std::size_t i = 0; i < items.size(); ++i) {
      const std::u16string expected = english.Lookup(kSettingsMenuItems[i].section, kSettingsMenuItems[i].key);
      EXPECT_FALSE(expected.empty());
      EXPECT_EQ(FieldText(items[i].itemText), expected) << i;
    }
    window_.reset();
  }
}

TEST_F(MainWindow, SettingsMenuOffersImportExportAndLanguagesAndClosesOnAnyCommand) {
  CQuencfgDlg& window = Open();
  Press(Command::Setting);
  ASSERT_NE(window.settingsMenu(), nullptr);
  std::vector<std::int32_t> ids;
  for (const BMPMENUINFO& item : window.settingsMenu()->items()) ids.push_back(item.itemId);
  EXPECT_EQ(ids, (std::vector<std::int32_t>{10001, 10002, 101, 106, 108, 10003, 10004}));
  RECT button{}, menu{};
  ::GetWindowRect(window.commandButton(Command::Setting).hwnd(), &button);
  ::GetWindowRect(window.settingsMenu()->hwnd(), &menu);
  EXPECT_EQ(menu.left, button.left);
  EXPECT_EQ(menu.top, button.bottom);

  Press(Command::Profile2);
  EXPECT_EQ(window.settingsMenu(), nullptr) << "any command closes the menu";

  Press(Command::Setting);
  ::SendMessageW(window.hwnd(), kMenuPickCommand, 0, MAKELPARAM(0, 106));
  EXPECT_EQ(window.settingsMenu(), nullptr);
  EXPECT_EQ(window.settings().Language, 106);

  Press(Command::Setting);
  Press(Command::Setting);
  EXPECT_NE(window.settingsMenu(), nullptr) << "a second click opens a new menu";
  ::SendMessageW(window.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(600, 400));
  EXPECT_EQ(window.settingsMenu(), nullptr) << "a click on the surface closes it";
}

TEST_F(MainWindow, StartWithWindowsItemIsCheckedWhileTheRunValueExistsAndTogglesIt) {
  testing::RunValueScope runValue;  // no value at first
  CQuencfgDlg& window = Open();
  constexpr int kStartWithWindowsRow = 5;
  const std::u16string text = LookupString(StringDocument(), u"MAIN", u"STARTWITHWINDOWS");
  ASSERT_FALSE(text.empty());
  Press(Command::Setting);
  ASSERT_NE(window.settingsMenu(), nullptr);
  EXPECT_EQ(window.settingsMenu()->row(kStartWithWindowsRow).caption(), text);
  EXPECT_FALSE(window.settingsMenu()->row(kStartWithWindowsRow).checked());
  EXPECT_FALSE(::IsWindowVisible(window.settingsMenu()->scrollBar().hwnd())) << "every item has its row";

  testing::Click(window.settingsMenu()->row(kStartWithWindowsRow).hwnd());
  testing::PumpMessages();
  EXPECT_EQ(window.settingsMenu(), nullptr) << "a pick closes the menu";
  wchar_t module[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, module, MAX_PATH);
  EXPECT_EQ(testing::RunValue(), std::optional(SignInCommand(ToU16(module))));

  Press(Command::Setting);
  EXPECT_EQ(window.settingsMenu()->row(kStartWithWindowsRow).caption(), text) << "the mark is drawn, not typed";
  EXPECT_TRUE(window.settingsMenu()->row(kStartWithWindowsRow).checked());
  testing::Click(window.settingsMenu()->row(kStartWithWindowsRow).hwnd());
  testing::PumpMessages();
  EXPECT_EQ(testing::RunValue(), std::nullopt);
  Press(Command::Setting);
  EXPECT_EQ(window.settingsMenu()->row(kStartWithWindowsRow).caption(), text);
}

TEST_F(MainWindow, ScreenshotsOfTheSettingsMenuInEachLanguage) {
  testing::RunValueScope runValue;
  ASSERT_TRUE(EnableSignInStart(u"C:\\Program Files\\Korvane\\Korvane.exe"));
  CQuencfgDlg& window = Open();
  ::SetWindowPos(window.hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
  for (const auto& [language, name] : {std::pair{101, u"settings-menu-EN.png"}, std::pair{106, u"settings-menu-CS.png"},
                                       std::pair{108, u"settings-menu-ES.png"}}) {
    window.ChangeLanguage(static_cast<std::uint8_t>(language));
    Press(Command::Setting);
    ASSERT_NE(window.settingsMenu(), nullptr);
    ::RedrawWindow(window.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    testing::PumpMessages();
    EXPECT_TRUE(testing::SaveScreen(name));
  }
}

TEST_F(MainWindow, TheSettingsMenuHasAHelpItemThatOpensTheManualAsF1Does) {
  int helps = 0;
  window_ = std::make_unique<CQuencfgDlg>([&helps] { ++helps; });
  ASSERT_TRUE(window_->Open());
  testing::PumpMessages();
  CQuencfgDlg& window = *window_;
  ::SendMessageW(window.hwnd(), WM_HELP, 0, 0);  // F1, as Windows turns it into a help request
  EXPECT_EQ(helps, 1);
  for (const std::uint8_t language : {101, 106, 108}) {
    window.ChangeLanguage(language);
    Press(Command::Setting);
    ASSERT_NE(window.settingsMenu(), nullptr);
    const CBtnMenu& menu = *window.settingsMenu();
    ASSERT_EQ(menu.items().size(), 7u);
    EXPECT_EQ(menu.items().back().itemId, kHelpCommand);
    const std::u16string help = LookupString(StringDocument(), u"MAIN", u"HELP");
    EXPECT_FALSE(help.empty()) << language;
    EXPECT_EQ(FieldText(menu.items().back().itemText), help);
    EXPECT_EQ(window.settingsMenu()->visibleRows(), 7) << "every item in view";
    EXPECT_FALSE(::IsWindowVisible(window.settingsMenu()->scrollBar().hwnd()));
  }
  testing::Click(window.settingsMenu()->row(6).hwnd());
  testing::PumpMessages();
  EXPECT_EQ(helps, 2);
  EXPECT_EQ(window.settingsMenu(), nullptr);
}

// What the save dialog of an export suggests as the file name, read once it shows; then
// it is cancelled.
std::wstring g_suggestedName;
void CALLBACK ReadTheSuggestedNameAndCancel(HWND, UINT, UINT_PTR id, DWORD) {
  HWND dialog = testing::ShownSystemDialog();
  if (dialog == nullptr) return;  // not shown yet
  ::KillTimer(nullptr, id);
  wchar_t text[MAX_PATH] = {};
  for (const int field : {0x47C, 0x480}) {  // the name's combo box, or its edit in the older dialog
    if (text[0] == 0) ::GetDlgItemTextW(dialog, field, text, MAX_PATH);
  }
  g_suggestedName = text;
  ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
}

TEST_F(MainWindow, TheExportSuggestsTheProfilesName) {
  CQuencfgDlg& window = Open();
  for (const int profile : {1, 2}) {
    SCOPED_TRACE(profile);
    window.SelectProfile(profile);
    g_suggestedName.clear();
    ::SetTimer(nullptr, 0, 100, &ReadTheSuggestedNameAndCancel);
    ::SendMessageW(window.hwnd(), kMenuPickCommand, 0, MAKELPARAM(0, kExportCommand));
    EXPECT_EQ(g_suggestedName, AsWide(ExportFileName(profile)));
  }
  EXPECT_EQ(ExportFileName(1), u"Profile 2.profile");
}

// The settings and effects menus under real clicks and keys (xdotool), in front of another
// program: they close as the menus of Windows programs close.
TEST_F(MainWindow, MenusCloseAsWindowsMenusDoUnderRealClicksAndKeys) {
  testing::OtherProgram notepad;
  ASSERT_TRUE(notepad.Open()) << "notepad did not start";
  CQuencfgDlg& window = Open();
  ::ShowWindow(window.hwnd(), SW_SHOW);
  const auto pumpUntil = [](const auto& done) {
    for (const DWORD start = ::GetTickCount(); !done() && ::GetTickCount() - start < 5000;) {
      testing::PumpMessages();
      ::Sleep(5);
    }
    return done();
  };
  ::SetForegroundWindow(window.hwnd());
  ASSERT_TRUE(pumpUntil([&window] { return ::GetForegroundWindow() == window.hwnd(); }));
  if (!testing::StartXdotool(L"key shift")) GTEST_SKIP() << "xdotool cannot be started";
  ::Sleep(300);
  testing::PumpMessages();
  const auto clickAt = [](POINT screen) {
    return testing::StartXdotool(L"mousemove " + std::to_wstring(screen.x) + L" " + std::to_wstring(screen.y) +
                                 L" click 1");
  };
  const auto click = [&clickAt](HWND control) {
    RECT rect{};
    ::GetWindowRect(control, &rect);
    return clickAt(POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
  };
  // Waits so long that a menu a click would reopen has come back.
  const auto settle = [] {
    for (const DWORD start = ::GetTickCount(); ::GetTickCount() - start < 400;) {
      testing::PumpMessages();
      ::Sleep(5);
    }
  };
  CLightingDlg& panel = window.lightingPanel();
  Press(Command::Backlight);
  const auto effectsOpen = [&panel] { return panel.effectsMenu() != nullptr; };
  const auto settingsOpen = [&window] { return window.settingsMenu() != nullptr; };
  const auto noMenu = [&] { return !effectsOpen() && !settingsOpen(); };
  HWND settingButton = window.commandButton(Command::Setting).hwnd();

  // Apply with the effects menu open: the apply runs, and no menu remains.
  ASSERT_TRUE(click(panel.effectButton().hwnd()));
  ASSERT_TRUE(pumpUntil(effectsOpen));
  ASSERT_TRUE(click(window.commandButton(Command::Apply).hwnd()));
  ASSERT_TRUE(pumpUntil([this] { return !device_.syncs.empty(); })) << "the apply ran";
  EXPECT_TRUE(noMenu());

  // The settings button with the effects menu open: the settings menu alone.
  ASSERT_TRUE(click(panel.effectButton().hwnd()));
  ASSERT_TRUE(pumpUntil(effectsOpen));
  ASSERT_TRUE(click(settingButton));
  ASSERT_TRUE(pumpUntil(settingsOpen));
  EXPECT_FALSE(effectsOpen()) << "one menu at a time";

  // Escape closes it.
  ASSERT_TRUE(testing::StartXdotool(L"key Escape"));
  ASSERT_TRUE(pumpUntil(noMenu)) << "Escape";

  // A second click on the settings button closes its menu.
  ASSERT_TRUE(click(settingButton));
  ASSERT_TRUE(pumpUntil(settingsOpen));
  ASSERT_TRUE(click(settingButton));
  ASSERT_TRUE(pumpUntil(noMenu)) << "the second click";
  settle();
  EXPECT_TRUE(noMenu()) << "and does not open it again";

  // A click on the lighting panel closes the effects menu, and a second click on the
  // effect button too.
  const std::uint8_t effect = window.currentProfile().lighting.byLightEffect;
  ASSERT_TRUE(click(panel.effectButton().hwnd()));
  ASSERT_TRUE(pumpUntil(effectsOpen));
  POINT onPanel{600, 300};
  ::ClientToScreen(panel.hwnd(), &onPanel);
  ASSERT_TRUE(clickAt(onPanel));
  ASSERT_TRUE(pumpUntil(noMenu)) << "a click on the panel";
  ASSERT_TRUE(click(panel.effectButton().hwnd()));
  ASSERT_TRUE(pumpUntil(effectsOpen));
  ASSERT_TRUE(click(panel.effectButton().hwnd()));
  ASSERT_TRUE(pumpUntil(noMenu)) << "the second click on the effect button";
  settle();
  EXPECT_TRUE(noMenu());
  EXPECT_EQ(window.currentProfile().lighting.byLightEffect, effect) << "no effect was picked on the way";

  // A click into another program closes it.
  ASSERT_TRUE(click(panel.effectButton().hwnd()));
  ASSERT_TRUE(pumpUntil(effectsOpen));
  ASSERT_TRUE(testing::StartXdotool(L"mousemove " + notepad.TextAreaPoint() + L" click 1"));
  ASSERT_TRUE(pumpUntil(noMenu)) << "a click into another program";
  // The pointer leaves the other program's place, where the next test's may open.
  ASSERT_TRUE(testing::StartXdotool(L"mousemove 1 1"));
  settle();
}

TEST_F(MainWindow, DragStartsOnlyInsideTheTopStripAndNeverWithTheKeyDialogOpen) {
  CQuencfgDlg& window = Open();
  const struct {
    int x, y;
    bool subWindowOpen;
    bool drags;
  } cases[] = {{1199, 47, false, true}, {1200, 10, false, false}, {10, 48, false, false},
               {0, 0, false, true},     {1199, 47, true, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.x << "," << c.y << (c.subWindowOpen ? " with the dialog open" : ""));
    ::ShowWindow(window.keyAssignment().hwnd(), c.subWindowOpen ? SW_SHOWNA : SW_HIDE);
    ::SendMessageW(window.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(c.x, c.y));
    MSG posted{};
    // Taken off the queue before the system's move loop could run.
    const bool drags = ::PeekMessageW(&posted, window.hwnd(), WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_REMOVE) != 0;
    EXPECT_EQ(drags, c.drags);
    if (drags) {
      EXPECT_EQ(posted.wParam, static_cast<WPARAM>(HTCAPTION));
    }
  }
}

TEST_F(MainWindow, KeyChangedBeforeAnyKeyWasOpenedTouchesNothing) {
  CQuencfgDlg& window = Open();
  window.currentProfile().keys[0].byBtnFuncType = BTNFUNC_KEY;
  EXPECT_EQ(::SendMessageW(window.hwnd(), UM_KEYCHANGED, 0, 0), 1);
  EXPECT_FALSE(window.keyButton(0).selected()) << "no key was opened";

  quencfg::Press(window.hwnd(), window.keyButton(0).hwnd());
  EXPECT_EQ(window.editedKeyIndex(), 0);
  ::SendMessageW(window.hwnd(), UM_KEYCHANGED, 0, 0);
  EXPECT_TRUE(window.keyButton(0).selected());
}

TEST_F(MainWindow, AKeyOpensTheAssignmentDialogOverTheWindowAndItsOkMarksTheKey) {
  CQuencfgDlg& window = Open();
  CKeyAssignmentDlg& dialog = window.keyAssignment();
  ASSERT_NE(dialog.hwnd(), nullptr);
  EXPECT_FALSE(::IsWindowVisible(dialog.hwnd())) << "created hidden";
  EXPECT_EQ(::GetWindow(dialog.hwnd(), GW_OWNER), window.hwnd());

  quencfg::Press(window.hwnd(), window.keyButton(12).hwnd());
  EXPECT_TRUE(::IsWindowVisible(dialog.hwnd()));
  EXPECT_TRUE(window.keyAssignmentOpen());
  EXPECT_EQ(window.editedKeyIndex(), 12);
  RECT main{}, placed{};
  ::GetWindowRect(window.hwnd(), &main);
  ::GetWindowRect(dialog.hwnd(), &placed);
  EXPECT_EQ(placed.left, main.left + 270);
  EXPECT_EQ(placed.top, main.top + 39);

  ::SendMessageW(dialog.hwnd(), UM_HOOKEVENT, 0x41, 0);  // A pressed anywhere
  quencfg::Press(dialog.hwnd(), dialog.okButton().hwnd());
  testing::PumpMessages();
  EXPECT_FALSE(window.keyAssignmentOpen());
  EXPECT_EQ(window.currentProfile().keys[12].byBtnFuncType, BTNFUNC_KEY);
  EXPECT_EQ(window.currentProfile().keys[12].byKeyNumber, 0x04);
  EXPECT_TRUE(window.keyButton(12).selected()) << "the key changed notice re-marked it";
  EXPECT_TRUE(TakeSyncs().empty()) << "nothing reaches the keyboard before an apply";
}

TEST_F(MainWindow, MacroButtonOpensTheDialogAsMacroEditor) {
  CQuencfgDlg& window = Open();
  Press(Command::Macro);
  EXPECT_TRUE(window.keyAssignmentOpen());
  EXPECT_TRUE(window.keyAssignment().macroOnly());
  EXPECT_TRUE(::IsWindowVisible(window.keyAssignment().hwnd()));
}

TEST_F(MainWindow, WhileTheKeyDialogIsOpenTheWindowsButtonsWaitAndTheEditLandsInItsProfile) {
  CQuencfgDlg& window = Open();
  ::ShowWindow(window.hwnd(), SW_SHOW);
  CKeyAssignmentDlg& dialog = window.keyAssignment();
  testing::Click(window.keyButton(12).hwnd());
  ASSERT_TRUE(::IsWindowVisible(dialog.hwnd()));

  for (const Command command : {Command::Profile2, Command::Apply, Command::Backlight, Command::Macro, Command::Setting,
                                Command::Minimise, Command::Exit, Command::Cancel, Command::Ok}) {
    SCOPED_TRACE(static_cast<int>(command));
    testing::Click(window.commandButton(command).hwnd());
    testing::PumpMessages();
    EXPECT_TRUE(::IsWindowVisible(window.hwnd()) && !::IsIconic(window.hwnd()));
    EXPECT_TRUE(::IsWindowVisible(dialog.hwnd()));
  }
  testing::Click(window.keyButton(30).hwnd());
  EXPECT_EQ(window.settings().Profile, 0);
  EXPECT_EQ(ProfileMarks(), (std::vector<bool>{true, false, false}));
  EXPECT_EQ(window.editedKeyIndex(), 12);
  EXPECT_FALSE(dialog.macroOnly());
  EXPECT_FALSE(window.lightingVisible());
  EXPECT_EQ(window.settingsMenu(), nullptr);
  EXPECT_TRUE(TakeSyncs().empty());

  ::SendMessageW(dialog.hwnd(), UM_HOOKEVENT, 'B', 0);  // B pressed anywhere
  testing::Click(dialog.okButton().hwnd());
  testing::PumpMessages();
  testing::Click(window.commandButton(Command::Apply).hwnd());
  EXPECT_EQ(TakeSyncs(), (std::vector<DeviceSync>{{0, 0}}));
  EXPECT_EQ(window.settings().Profile, 0) << "profile 1 is still current";
  EXPECT_EQ(window.settings().profiles[1].keys[12].byBtnFuncType, BTNFUNC_DEFAULT);
  auto stored = std::make_unique<SettingsBlock>();
  ClearSettings(*stored);
  ReadSettings(*stored);
  EXPECT_EQ(stored->Profile, 0);
  ReadProfile(stored->profiles[0], ProfileName(0), u"");
  EXPECT_EQ(stored->profiles[0].keys[12].byBtnFuncType, BTNFUNC_KEY) << "profile 1 holds the edit";
  EXPECT_EQ(stored->profiles[0].keys[12].byKeyNumber, 0x05);
}

// Pumps the thread's messages until `done` or five seconds; returns `done`.
template <typename Done>
bool PumpUntil(const Done& done, DWORD milliseconds = 5000) {
  for (const DWORD start = ::GetTickCount(); !done() && ::GetTickCount() - start < milliseconds;) {
    testing::PumpMessages();
    ::Sleep(5);
  }
  return done();
}

void PumpFor(DWORD milliseconds) {
  PumpUntil([] { return false; }, milliseconds);
}

std::wstring ScreenCentre(HWND window) {
  RECT rect{};
  ::GetWindowRect(window, &rect);
  return std::to_wstring((rect.left + rect.right) / 2) + L" " + std::to_wstring((rect.top + rect.bottom) / 2);
}

// While the key dialog is open the window is disabled, as the owner of a modal dialog
// is: its buttons look disabled and do not light up under the mouse, and a real click
// on Apply flashes the dialog and changes nothing, whether a key is being captured or a
// macro recorded. Closed, the window and its buttons are back.
TEST_F(MainWindow, WithTheKeyDialogOpenTheWindowLooksDisabledAndAClickFlashesTheDialog) {
  CQuencfgDlg& window = Open();
  ::ShowWindow(window.hwnd(), SW_SHOW);
  ::SetForegroundWindow(window.hwnd());
  ASSERT_TRUE(PumpUntil([&window] { return ::GetForegroundWindow() == window.hwnd(); }));
  if (!testing::StartXdotool(L"key shift")) GTEST_SKIP() << "xdotool cannot be started";
  PumpFor(300);
  CKeyAssignmentDlg& dialog = window.keyAssignment();
  CPngListBtn& apply = window.commandButton(Command::Apply);
  for (const bool recording : {false, true}) {
    SCOPED_TRACE(recording ? "recording a macro" : "capturing a single key");
    const std::string settingsBefore = FileBytes(SettingsFilePath());
    const std::string profileBefore = FileBytes(ProfilePath(ProfileName(0), u""));
    testing::Click(window.keyButton(12).hwnd());
    ASSERT_TRUE(PumpUntil([&dialog] { return ::GetForegroundWindow() == dialog.hwnd(); }));
    if (recording) {
      testing::Click(dialog.pageButton(kPageMacro).hwnd());
      testing::Click(dialog.macroPage().controls().record.hwnd());
      ASSERT_TRUE(dialog.macroPage().IsRecording());
    }
    EXPECT_FALSE(::IsWindowEnabled(window.hwnd()));
    EXPECT_EQ(apply.CurrentLook().state, kStateDisabled);
    EXPECT_EQ(window.keyButton(30).CurrentLook().state, kStateDisabled);
    EXPECT_EQ(window.commandButton(Command::Profile1).CurrentLook().state, kStateDisabled);

    const int flashes = dialog.flashCount();
    ASSERT_TRUE(testing::StartXdotool(L"mousemove " + ScreenCentre(apply.hwnd())));
    PumpFor(400);
    EXPECT_FALSE(apply.hovering()) << "a button that cannot act does not light up";
    ASSERT_TRUE(testing::StartXdotool(L"click 1"));
    EXPECT_TRUE(PumpUntil([&] { return dialog.flashCount() > flashes; }, 3000)) << "the click flashes the dialog";
    PumpFor(200);
    EXPECT_TRUE(::IsWindowVisible(dialog.hwnd()));
    EXPECT_EQ(::GetForegroundWindow(), dialog.hwnd());
    EXPECT_EQ(dialog.macroPage().IsRecording(), recording) << "the recording goes on";
    EXPECT_TRUE(TakeSyncs().empty()) << "the click applied nothing";
    EXPECT_EQ(FileBytes(SettingsFilePath()), settingsBefore);
    EXPECT_EQ(FileBytes(ProfilePath(ProfileName(0), u"")), profileBefore);
    if (!recording) {
      // The window behind the dialog, as the screen shows it while the frame blinks.
      for (const auto& [language, code] : {std::pair{101, u"EN"}, std::pair{106, u"CS"}, std::pair{108, u"ES"}}) {
        window.ChangeLanguage(static_cast<std::uint8_t>(language));
        ::RedrawWindow(window.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        ::RedrawWindow(dialog.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        dialog.Flash();
        EXPECT_TRUE(dialog.flashing());
        EXPECT_TRUE(testing::SaveScreen(u"key-dialog-owner-disabled-" + std::u16string(code) + u".png"));
        PumpFor(700);
      }
      window.ChangeLanguage(101);
    }

    dialog.Dismiss();
    EXPECT_TRUE(::IsWindowEnabled(window.hwnd())) << "closed, the window acts again";
    EXPECT_NE(apply.CurrentLook().state, kStateDisabled);
    EXPECT_NE(window.keyButton(30).CurrentLook().state, kStateDisabled);
  }
}

// A question open over the key dialog (its macro's edits, asked by Cancel): a real click
// on the window flashes the question, which waits for the answer; answered, the dialog
// goes on as asked and the window still waits for it.
struct QuestionClick {
  HWND apply = nullptr;
  int flashesBefore = -1;
  int flashesAfter = -1;
};
QuestionClick g_questionClick{};

void CALLBACK ClickTheWindowWhileTheQuestionWaits(HWND, UINT, UINT_PTR id, DWORD) {
  ::EnumThreadWindows(
      ::GetCurrentThreadId(),
      [](HWND candidate, LPARAM timer) -> BOOL {
        auto* question = dynamic_cast<CWarnDlg*>(Window::FromHandle(candidate));
        if (question == nullptr || !::IsWindowVisible(candidate)) return TRUE;
        ::KillTimer(nullptr, static_cast<UINT_PTR>(timer));
        g_questionClick.flashesBefore = question->flashCount();
        if (testing::StartXdotool(L"mousemove " + ScreenCentre(g_questionClick.apply) + L" click 1")) {
          PumpUntil([question] { return question->flashCount() > g_questionClick.flashesBefore; }, 3000);
        }
        g_questionClick.flashesAfter = question->flashCount();
        testing::Click(question->cancelButton().hwnd());
        return FALSE;
      },
      static_cast<LPARAM>(id));
}

TEST_F(MainWindow, AClickOnTheWindowFlashesTheQuestionShownOverTheKeyDialog) {
  CQuencfgDlg& window = Open();
  ::ShowWindow(window.hwnd(), SW_SHOW);
  ::SetForegroundWindow(window.hwnd());
  ASSERT_TRUE(PumpUntil([&window] { return ::GetForegroundWindow() == window.hwnd(); }));
  if (!testing::StartXdotool(L"key shift")) GTEST_SKIP() << "xdotool cannot be started";
  PumpFor(300);
  CKeyAssignmentDlg& dialog = window.keyAssignment();
  testing::Click(window.keyButton(12).hwnd());
  testing::Click(dialog.pageButton(kPageMacro).hwnd());
  dialog.macroPage().controls().repeatField.SetText(u"7");  // an edit not saved

  g_questionClick = QuestionClick{window.commandButton(Command::Apply).hwnd()};
  ::SetTimer(nullptr, 0, 100, &ClickTheWindowWhileTheQuestionWaits);
  testing::Click(dialog.cancelButton().hwnd());
  EXPECT_GE(g_questionClick.flashesBefore, 0) << "the question was asked";
  EXPECT_GT(g_questionClick.flashesAfter, g_questionClick.flashesBefore) << "the click flashed the question";
  EXPECT_EQ(dialog.flashCount(), 0) << "not the dialog the question stands over";
  EXPECT_TRUE(::IsWindowVisible(dialog.hwnd())) << "the question's Cancel keeps the dialog open";
  EXPECT_EQ(dialog.macroPage().controls().repeatField.Text(), u"7");
  EXPECT_FALSE(::IsWindowEnabled(window.hwnd())) << "the window still waits for the dialog";
  EXPECT_TRUE(TakeSyncs().empty());
  dialog.Dismiss();
  EXPECT_TRUE(::IsWindowEnabled(window.hwnd()));
}

// The macro editor shows only what edits macros: no page tabs, no reset. Nothing in it
// leads to the single-key or launch page, not even deleting the macro or a reset sent
// anyway, whatever the key opened before it did.
TEST_F(MainWindow, TheMacroEditorShowsOnlyWhatEditsMacrosAndReachesNoOtherPage) {
  CQuencfgDlg& window = Open();
  ::ShowWindow(window.hwnd(), SW_SHOW);
  KeySlot& launchKey = window.currentProfile().keys[5];
  launchKey.byBtnFuncType = BTNFUNC_LAUNCH;
  CopyToField(launchKey.launch, u"C:\\Tools\\app.exe");
  const KeySlot keyBefore = launchKey;
  CKeyAssignmentDlg& dialog = window.keyAssignment();
  quencfg::Press(window.hwnd(), window.keyButton(5).hwnd());
  ASSERT_EQ(dialog.page(), kPageLaunch);
  quencfg::Press(dialog.hwnd(), dialog.cancelButton().hwnd());

  Press(Command::Macro);
  ASSERT_TRUE(dialog.macroOnly());
  const auto onlyMacros = [&dialog] {
    for (const AssignmentPage page : {kPageSingleKey, kPageMacro, kPageLaunch}) {
      EXPECT_FALSE(::IsWindowVisible(dialog.pageButton(page).hwnd())) << "page tab " << page;
    }
    EXPECT_FALSE(::IsWindowVisible(dialog.resetButton().hwnd()));
    EXPECT_EQ(dialog.page(), kPageMacro);
    EXPECT_FALSE(dialog.hookOn()) << "no key is awaited";
  };
  onlyMacros();
  quencfg::Press(dialog.hwnd(), dialog.resetButton().hwnd());
  onlyMacros();
  for (const AssignmentPage page : {kPageSingleKey, kPageLaunch}) {
    quencfg::Press(dialog.hwnd(), dialog.pageButton(page).hwnd());
    onlyMacros();
  }
  MacroPageControls& controls = dialog.macroPage().controls();
  quencfg::Press(dialog.hwnd(), controls.macroNew.hwnd());
  quencfg::Press(dialog.hwnd(), controls.macroDelete.hwnd());
  onlyMacros();

  for (const std::uint8_t language : {std::uint8_t{101}, std::uint8_t{106}, std::uint8_t{108}}) {
    window.ChangeLanguage(language);
    ::RedrawWindow(dialog.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    testing::PumpMessages();
    const std::u16string code = language == 101 ? u"EN" : language == 106 ? u"CS" : u"ES";
    EXPECT_TRUE(testing::SavePng(testing::CaptureClientArea(dialog.hwnd()).get(),
                                 testing::ScreenshotFolder() + u"macro-editor-alone-" + code + u".png"));
  }
  quencfg::Press(dialog.hwnd(), dialog.okButton().hwnd());
  EXPECT_FALSE(window.keyAssignmentOpen());
  EXPECT_EQ(std::memcmp(&window.currentProfile().keys[5], &keyBefore, sizeof keyBefore), 0) << "no key changed";
}

// With a key's dialog open, the user clicks into another program (notepad), types "b"
// there, comes back with a click on OK and applies: the key keeps its function, in
// memory and in the profile file the keyboard is written from.
TEST_F(MainWindow, AKeyTypedIntoAnotherProgramIsNotAssigned) {
  testing::OtherProgram notepad;
  ASSERT_TRUE(notepad.Open()) << "notepad did not start";
  CQuencfgDlg& window = Open();
  ::ShowWindow(window.hwnd(), SW_SHOW);
  const auto pumpUntil = [](const auto& done) {
    for (const DWORD start = ::GetTickCount(); !done() && ::GetTickCount() - start < 5000;) {
      testing::PumpMessages();
      ::Sleep(5);
    }
    return done();
  };
  ::SetForegroundWindow(window.hwnd());
  ASSERT_TRUE(pumpUntil([&window] { return ::GetForegroundWindow() == window.hwnd(); }));
  if (!testing::StartXdotool(L"key shift")) GTEST_SKIP() << "xdotool cannot be started";
  ::Sleep(300);
  testing::PumpMessages();
  CKeyAssignmentDlg& dialog = window.keyAssignment();
  testing::Click(window.keyButton(12).hwnd());
  ASSERT_TRUE(pumpUntil([&dialog] { return ::GetForegroundWindow() == dialog.hwnd(); }));
  ASSERT_TRUE(dialog.hookOn()) << "KBHook.dll is not staged";

  ASSERT_TRUE(testing::StartXdotool(L"mousemove " + notepad.TextAreaPoint() + L" click 1"));
  ASSERT_TRUE(pumpUntil([&notepad] { return ::GetForegroundWindow() == notepad.window(); }));
  ASSERT_TRUE(testing::StartXdotool(L"key --delay 80 b"));
  ASSERT_TRUE(pumpUntil([&notepad] { return notepad.Text() == L"b"; })) << "the key went to notepad";
  RECT ok{};
  ::GetWindowRect(dialog.okButton().hwnd(), &ok);
  const std::wstring okCentre =
      std::to_wstring((ok.left + ok.right) / 2) + L" " + std::to_wstring((ok.top + ok.bottom) / 2);
  ASSERT_TRUE(testing::StartXdotool(L"mousemove " + okCentre + L" click 1"));
  ASSERT_TRUE(pumpUntil([&window] { return !window.keyAssignmentOpen(); })) << "the click reached OK";
  Press(Command::Apply);

  EXPECT_EQ(window.currentProfile().keys[12].byBtnFuncType, BTNFUNC_DEFAULT);
  auto stored = std::make_unique<SettingsBlock>();
  ClearSettings(*stored);
  ReadProfile(stored->profiles[0], ProfileName(0), u"");
  EXPECT_EQ(stored->profiles[0].keys[12].byBtnFuncType, BTNFUNC_DEFAULT) << "the key typed into notepad was assigned";
}

TEST_F(MainWindow, HidingTheWindowClosesTheKeyDialogAsCancelWithItsHookAndRecording) {
  for (const bool recording : {false, true}) {
    SCOPED_TRACE(recording ? "recording a macro" : "capturing a single key");
    CQuencfgDlg& window = Open();
    ::ShowWindow(window.hwnd(), SW_SHOW);
    CKeyAssignmentDlg& dialog = window.keyAssignment();
    const KeySlot before = window.currentProfile().keys[12];
    testing::Click(window.keyButton(12).hwnd());
    ::SendMessageW(dialog.hwnd(), UM_HOOKEVENT, 'B', 0);
    if (recording) {
      testing::Click(dialog.pageButton(kPageMacro).hwnd());
      testing::Click(dialog.macroPage().controls().record.hwnd());
      ASSERT_TRUE(dialog.macroPage().IsRecording());
    }
    ASSERT_TRUE(dialog.hookOn());

    // Its own exit, cancel and OK buttons wait while the dialog is open; any other hide.
    ::ShowWindow(window.hwnd(), SW_HIDE);
    EXPECT_FALSE(::IsWindowVisible(dialog.hwnd()));
    EXPECT_FALSE(dialog.hookOn()) << "no hook listens to the keys typed into other programs";
    EXPECT_FALSE(dialog.macroPage().IsRecording());
    EXPECT_TRUE(::IsWindowEnabled(dialog.okButton().hwnd())) << "the next opening is whole";
    EXPECT_FALSE(window.keyAssignmentOpen());
    const KeySlot& after = window.currentProfile().keys[12];
    EXPECT_EQ(after.byBtnFuncType, before.byBtnFuncType) << "dropped as by Cancel";
    EXPECT_EQ(after.byKeyNumber, before.byKeyNumber);
  }
}

// The tray menu's exit closes the window while the key dialog listens for a key.
struct TrayExitScript {
  CQuencfgDlg* window;
  bool listeningBeforeExit = false;
};
TrayExitScript g_trayExit{};

void CALLBACK OpenAKeyThenExitFromTheTray(HWND, UINT, UINT_PTR id, DWORD) {
  ::KillTimer(nullptr, id);
  CQuencfgDlg& window = *g_trayExit.window;
  testing::Click(window.keyButton(12).hwnd());
  CKeyAssignmentDlg& dialog = window.keyAssignment();
  g_trayExit.listeningBeforeExit = ::IsWindowVisible(dialog.hwnd()) && dialog.hookOn();
  ::PostMessageW(window.hwnd(), WM_CLOSE, 0, 0);  // as the device thread posts it
}

TEST_F(MainWindow, ExitFromTheTrayClosesTheKeyDialogAndItsHook) {
  window_ = std::make_unique<CQuencfgDlg>();
  g_trayExit = TrayExitScript{window_.get()};
  ::SetTimer(nullptr, 0, 100, &OpenAKeyThenExitFromTheTray);
  EXPECT_EQ(window_->DoModal(), IDCANCEL);
  EXPECT_TRUE(g_trayExit.listeningBeforeExit);
  EXPECT_FALSE(::IsWindowVisible(window_->keyAssignment().hwnd()));
  EXPECT_FALSE(window_->keyAssignment().hookOn());
  EXPECT_FALSE(window_->keyAssignmentOpen());
}

TEST_F(MainWindow, TheEffectsMenuClosesWhenThePanelOrTheWindowHides) {
  for (const Command command : {Command::Cancel, Command::Ok, Command::Exit, Command::Backlight}) {
    SCOPED_TRACE(static_cast<int>(command));
    CQuencfgDlg& window = Open();
    ::ShowWindow(window.hwnd(), SW_SHOW);
    CLightingDlg& panel = window.lightingPanel();
    Press(Command::Backlight);
    testing::Click(panel.effectButton().hwnd());
    ASSERT_NE(panel.effectsMenu(), nullptr);
    const HWND menu = panel.effectsMenu()->hwnd();
    ASSERT_TRUE(::IsWindowVisible(menu));

    testing::Click(window.commandButton(command).hwnd());
    EXPECT_FALSE(::IsWindowVisible(panel.hwnd()));
    EXPECT_EQ(panel.effectsMenu(), nullptr);
    EXPECT_FALSE(::IsWindow(menu)) << "no menu is left on the desktop to pick from";
  }
}

// Enter and Escape in the modal loop: posted to the window and to a focused button,
// followed by a close that ends the run once they have been handled.
struct KeyScript {
  CQuencfgDlg* window;
  bool visibleAfterKeys = false;
  int editedKeyAfterKeys = -2;
};
KeyScript g_keyScript{};

void CALLBACK PressEnterAndEscape(HWND, UINT, UINT_PTR id, DWORD) {
  ::KillTimer(nullptr, id);
  CQuencfgDlg& window = *g_keyScript.window;
  HWND button = window.keyButton(20).hwnd();
  ::SetFocus(button);
  for (HWND target : {window.hwnd(), button}) {
    for (const WPARAM key : {WPARAM{VK_RETURN}, WPARAM{VK_ESCAPE}}) {
      ::PostMessageW(target, WM_KEYDOWN, key, 0);
      ::PostMessageW(target, WM_CHAR, key == VK_RETURN ? L'\r' : 0x1B, 0);
      ::PostMessageW(target, WM_KEYUP, key, 0xC0000000);
    }
  }
  ::SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR next, DWORD) {
    ::KillTimer(nullptr, next);
    g_keyScript.visibleAfterKeys = ::IsWindowVisible(g_keyScript.window->hwnd()) != 0;
    g_keyScript.editedKeyAfterKeys = g_keyScript.window->editedKeyIndex();
    ::PostMessageW(g_keyScript.window->hwnd(), WM_CLOSE, 0, 0);
  });
}

TEST_F(MainWindow, EnterAndEscapeNeitherCloseItNorPressAButtonAndCloseEndsTheRun) {
  window_ = std::make_unique<CQuencfgDlg>();
  g_keyScript = KeyScript{window_.get()};
  ::SetTimer(nullptr, 0, 100, &PressEnterAndEscape);
  EXPECT_EQ(window_->DoModal(), IDCANCEL);
  EXPECT_TRUE(g_keyScript.visibleAfterKeys);
  EXPECT_EQ(g_keyScript.editedKeyAfterKeys, -1);
  EXPECT_TRUE(TakeSyncs().empty());
}

// A point of a child window, in its parent's client coordinates.
POINT InParent(HWND parent, HWND child, int x, int y) {
  POINT point{x, y};
  ::MapWindowPoints(child, parent, &point, 1);
  return point;
}

TEST_F(MainWindow, ScreenshotsInEachLanguageAndWithAssignedKeys) {
  CQuencfgDlg& window = Open();
  for (const int key : {2, 3, 4, 17, 30, 31, 58}) window.currentProfile().keys[key].byBtnFuncType = BTNFUNC_KEY;
  window.currentProfile().keys[45].byBtnFuncType = BTNFUNC_MACRO;
  window.currentProfile().keys[46].byBtnFuncType = BTNFUNC_LAUNCH;
  window.RefreshKeyMarks();
  ::SetCursorPos(1279, 1023);  // no button under the pointer
  ::SetWindowPos(window.hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
  for (const auto& [language, name] : {std::pair{101, u"main-EN.png"}, std::pair{106, u"main-CS.png"},
                                       std::pair{108, u"main-ES.png"}}) {
    SCOPED_TRACE(language);
    window.ChangeLanguage(static_cast<std::uint8_t>(language));
    ::RedrawWindow(window.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    testing::PumpMessages();
    EXPECT_TRUE(testing::SaveScreen(name));

    const SkinBitmap shot = testing::CaptureClientArea(window.hwnd());
    // The lower-left part of a key cap, away from its legend.
    const auto keyCap = [&](int slot) {
      HWND key = window.keyButton(slot).hwnd();
      RECT cap{};
      ::GetClientRect(key, &cap);
      const POINT at = InParent(window.hwnd(), key, 12, cap.bottom - 14);
      return testing::PixelOf(shot, at.x, at.y);
    };
    const COLORREF normal = keyCap(18), assigned = keyCap(17), disabled = keyCap(54);  // R, E, left Windows key
    EXPECT_GT(int{GetRValue(assigned)}, GetRValue(normal) + 30) << "an assigned key is tinted with the accent";
    EXPECT_LT(GetRValue(disabled) + GetGValue(disabled), GetRValue(normal) + GetGValue(normal))
        << "a disabled key is darker";
    // The selected profile's button is filled with the accent, the others are dark.
    const auto profileCorner = [&](Command command) {
      HWND button = window.commandButton(command).hwnd();
      RECT client{};
      ::GetClientRect(button, &client);
      const POINT at = InParent(window.hwnd(), button, 6, client.bottom - 6);
      return testing::PixelOf(shot, at.x, at.y);
    };
    EXPECT_GT(int{GetRValue(profileCorner(Command::Profile1))}, 150);
    EXPECT_LT(int{GetRValue(profileCorner(Command::Profile3))}, 60);
  }
}

TEST_F(MainWindow, AProfileWithEditsNotAppliedIsMarkedUntilItsApplyOrReset) {
  CQuencfgDlg& window = Open();
  const auto marks = [&] {
    return std::vector<bool>{window.commandButton(Command::Profile1).badgeShown(),
                             window.commandButton(Command::Profile2).badgeShown(),
                             window.commandButton(Command::Profile3).badgeShown()};
  };
  EXPECT_EQ(marks(), (std::vector<bool>{false, false, false})) << "as loaded";

  // An edit through the key dialog marks profile 1.
  quencfg::Press(window.hwnd(), window.keyButton(12).hwnd());
  ::SendMessageW(window.keyAssignment().hwnd(), UM_HOOKEVENT, 0x41, 0);
  quencfg::Press(window.keyAssignment().hwnd(), window.keyAssignment().okButton().hwnd());
  testing::PumpMessages();
  EXPECT_EQ(marks(), (std::vector<bool>{true, false, false}));
  EXPECT_FALSE(window.TooltipOf(window.commandButton(Command::Profile1).hwnd()).empty()) << "the mark explains itself";

  // Switching keeps each profile's mark; a lighting edit marks profile 2.
  Press(Command::Profile2);
  Press(Command::Backlight);
  testing::PickEffectFromMenu(window.lightingPanel(), 16);
  testing::PumpMessages();
  Press(Command::Backlight);
  EXPECT_EQ(marks(), (std::vector<bool>{true, true, false}));
  Press(Command::Profile1);
  EXPECT_EQ(marks(), (std::vector<bool>{true, true, false}));

  // Apply saves profile 1 only; a language change saves no profile.
  Press(Command::Apply);
  EXPECT_EQ(marks(), (std::vector<bool>{false, true, false}));
  window.ChangeLanguage(108);
  EXPECT_EQ(marks(), (std::vector<bool>{false, true, false}));
  Press(Command::Profile2);
  testing::AnswerNextWarning(true);
  Press(Command::Reset);
  EXPECT_EQ(marks(), (std::vector<bool>{false, false, false})) << "a reset saves its profile";

  // An edit undone by hand is no edit.
  const std::int32_t before = window.currentProfile().keys[3].byBtnFuncType;
  window.currentProfile().keys[3].byBtnFuncType = BTNFUNC_DISABLE;
  window.RefreshKeyMarks();
  EXPECT_TRUE(marks()[1]);
  window.currentProfile().keys[3].byBtnFuncType = before;
  window.RefreshKeyMarks();
  EXPECT_FALSE(marks()[1]);
}

TEST_F(MainWindow, TheMarkIsDrawnOnTheDarkAndOnTheSelectedProfileButton) {
  CQuencfgDlg& window = Open();
  for (int p = 0; p < PROFILE_COUNT; ++p) window.settings().profiles[p].keys[0].byBtnFuncType = BTNFUNC_DISABLE;
  window.RefreshKeyMarks();
  for (const Command command : {Command::Profile1, Command::Profile2}) {  // selected, not selected
    CPngListBtn& button = window.commandButton(command);
    const testing::Drawing drawing(button.hwnd());
    RECT client{};
    ::GetClientRect(button.hwnd(), &client);
    // The middle of the dot: the accent, brighter in red than the button around it.
    const COLORREF dot = drawing.At(client.right - 12 - 7, client.bottom / 2);
    EXPECT_GT(int{GetRValue(dot)}, 180);
    EXPECT_LT(int{GetGValue(dot)}, 90);
    const COLORREF ring = drawing.At(client.right - 12 - 1, client.bottom / 2);
    EXPECT_GT(int{GetGValue(ring)}, 120) << "the white ring shows on the accent of a selected button";
  }
}

TEST_F(MainWindow, EachKeySaysWhatItDoesInItsTooltip) {
  CQuencfgDlg& window = Open();
  window.ChangeLanguage(101);  // the data folder starts in Spanish
  ProfileData& profile = window.currentProfile();
  profile.keys[15].byBtnFuncType = BTNFUNC_KEY;  // Q sends Z
  profile.keys[15].byKeyNumber = 0x1D;
  profile.keys[16].byBtnFuncType = BTNFUNC_MACRO;
  CopyToField(profile.keys[16].MacroName, u"Combo 2");
  profile.keys[17].byBtnFuncType = BTNFUNC_LAUNCH;
  CopyToField(profile.keys[17].launch, u"C:\\Tools\\notes.exe");
  profile.keys[18].byBtnFuncType = BTNFUNC_DISABLE;
  profile.keys[20].byBtnFuncType = BTNFUNC_LAUNCH;  // as an imported profile may bind it
  CopyToField(profile.keys[20].launch, u"https://example.com/");
  window.RefreshKeyMarks();
  const struct {
    int slot;
    std::u16string en, es;
  } cases[] = {
      {15, u"Z", u"Z"},
      {16, u"Macro: Combo 2", u"Macro: Combo 2"},
      {17, u"notes.exe", u"notes.exe"},
      {18, u"Disabled", u"Desactivada"},
      {19, u"Default: T", u"Predeterminada: T"},
      {20, u"https://example.com/", u"https://example.com/"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(window.TooltipOf(window.keyButton(c.slot).hwnd()), c.en) << "slot " << c.slot;
  }
  window.ChangeLanguage(108);
  for (const auto& c : cases) {
    EXPECT_EQ(window.TooltipOf(window.keyButton(c.slot).hwnd()), c.es) << "slot " << c.slot;
  }
  EXPECT_TRUE(window.keyButton(15).selected()) << "the mark of an assigned key stays";
}

TEST_F(MainWindow, IconButtonsHaveTooltipsInTheCurrentLanguage) {
  CQuencfgDlg& window = Open();
  window.ChangeLanguage(101);  // the data folder starts in Spanish
  const struct {
    Command command;
    std::u16string en, cs;
  } cases[] = {
      {Command::Setting, u"Settings", u"\u8BBE\u7F6E"},
      {Command::Minimise, u"Minimise", u"\u6700\u5C0F\u5316"},
      {Command::Exit, u"Close to the tray", u"\u5173\u95ED\u5230\u6258\u76D8"},
      {Command::Backlight, u"Lighting", u"\u706F\u5149"},
      {Command::Reset, u"Reset this profile", u"\u91CD\u7F6E\u6B64\u914D\u7F6E\u6587\u4EF6"},
      {Command::Apply, u"", u""},
  };
  for (const auto& c : cases) EXPECT_EQ(window.TooltipOf(window.commandButton(c.command).hwnd()), c.en);
  window.ChangeLanguage(106);
  for (const auto& c : cases) EXPECT_EQ(window.TooltipOf(window.commandButton(c.command).hwnd()), c.cs);
}

TEST_F(MainWindow, TheSettingsMenuChecksTheLanguageInUse) {
  CQuencfgDlg& window = Open();
  for (const auto& [language, checkedRow] : {std::pair{101, 2}, std::pair{106, 3}, std::pair{108, 4}}) {
    window.ChangeLanguage(static_cast<std::uint8_t>(language));
    Press(Command::Setting);
    ASSERT_NE(window.settingsMenu(), nullptr);
    const auto& items = window.settingsMenu()->items();
    for (int row = 0; row < 5; ++row) {
      EXPECT_EQ(items[static_cast<std::size_t>(row)].itemChecked, row == checkedRow) << language << " row " << row;
    }
    Press(Command::Setting);
  }
}

TEST_F(MainWindow, APressDraggedOffAButtonBeforeTheReleaseDoesNothing) {
  CQuencfgDlg& window = Open();
  HWND profile3 = window.commandButton(Command::Profile3).hwnd();
  testing::SendMouse(profile3, WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
  testing::SendMouse(profile3, WM_MOUSEMOVE, -30, 5, MK_LBUTTON);
  testing::SendMouse(profile3, WM_LBUTTONUP, -30, 5);
  ::ReleaseCapture();
  EXPECT_EQ(window.settings().Profile, 0) << "no profile changed";
  EXPECT_EQ(ProfileMarks(), (std::vector<bool>{true, false, false}));

  quencfg::Press(window.hwnd(), window.keyButton(12).hwnd());
  ::SendMessageW(window.keyAssignment().hwnd(), UM_HOOKEVENT, 0x41, 0);
  HWND ok = window.keyAssignment().okButton().hwnd();
  testing::SendMouse(ok, WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
  testing::SendMouse(ok, WM_LBUTTONUP, 5, -20);
  ::ReleaseCapture();
  testing::PumpMessages();
  EXPECT_TRUE(window.keyAssignmentOpen()) << "OK was not pressed";
  EXPECT_NE(window.currentProfile().keys[12].byBtnFuncType, BTNFUNC_KEY);
  testing::Click(ok);
  testing::PumpMessages();
  EXPECT_FALSE(window.keyAssignmentOpen());
}

TEST_F(MainWindow, TheDragStripShowsTheKeyboardStateTheDeviceThreadPosts) {
  CQuencfgDlg& window = Open();
  window.ChangeLanguage(101);  // the data folder starts in Spanish
  EXPECT_EQ(window.keyboardState(), KeyboardState::Absent);
  EXPECT_EQ(window.KeyboardStatusText(), u"No keyboard connected");
  const struct {
    KeyboardState state;
    std::u16string text;
  } cases[] = {{KeyboardState::Connected, u"Keyboard connected"},
               {KeyboardState::Writing, u"Writing to the keyboard\u2026"},
               {KeyboardState::ChangesWaiting, u"Saved; the keyboard gets it when plugged in"},
               {KeyboardState::Absent, u"No keyboard connected"}};
  for (const auto& c : cases) {
    ::SendMessageW(window.hwnd(), UM_KEYBOARDSTATE, static_cast<WPARAM>(c.state), 0);
    EXPECT_EQ(window.KeyboardStatusText(), c.text);
  }
  ::SendMessageW(window.hwnd(), UM_KEYBOARDSTATE, 7, 0);  // no state: ignored
  EXPECT_EQ(window.keyboardState(), KeyboardState::Absent);
  window.ChangeLanguage(108);
  EXPECT_EQ(window.KeyboardStatusText(), u"Ning\u00FAn teclado conectado");
}

// A second start or the tray brings the window back whatever its state: restored when
// minimised, shown when hidden, and in front of another program's window.
TEST_F(MainWindow, ShowMainBringsTheWindowBackWhateverItsState) {
  CQuencfgDlg& window = Open();
  testing::ForeignWindow other(u"Another program");
  ASSERT_TRUE(other.IsCreated());
  struct Case {
    const char* name;
    std::vector<int> shows;  // how the window was left
  };
  const Case cases[] = {{"minimised", {SW_MINIMIZE}},
                        {"hidden", {SW_HIDE}},
                        {"minimised, then hidden", {SW_MINIMIZE, SW_HIDE}},
                        {"behind another program", {}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ::ShowWindow(window.hwnd(), SW_SHOW);
    for (const int show : c.shows) ::ShowWindow(window.hwnd(), show);
    ::ShowWindow(other.hwnd(), SW_SHOW);
    ::SetForegroundWindow(other.hwnd());
    testing::PumpMessages();
    ::PostMessageW(window.hwnd(), UM_SHOWMAIN, 0, 0);
    testing::PumpMessages();
    EXPECT_FALSE(::IsIconic(window.hwnd()));
    EXPECT_TRUE(::IsWindowVisible(window.hwnd()));
    EXPECT_EQ(::GetForegroundWindow(), window.hwnd()) << "in front";
  }
}

// The close button hides the window under the pointer: no move tells the button that
// the pointer left. Shown again with the pointer elsewhere (on another program, or where
// no window is), it draws as normal and holds no capture, and so does every skinned
// button that lost the pointer that way.
TEST_F(MainWindow, TheCloseButtonLooksNormalWhenTheWindowComesBack) {
  CQuencfgDlg& window = Open();
  ::SetWindowPos(window.hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
  if (!testing::StartXdotool(L"key shift")) GTEST_SKIP() << "xdotool cannot be started";
  const auto pumpUntil = [](const auto& done) {
    for (const DWORD start = ::GetTickCount(); !done() && ::GetTickCount() - start < 5000;) {
      testing::PumpMessages();
      ::Sleep(5);
    }
    return done();
  };
  testing::OtherProgram notepad;
  ASSERT_TRUE(notepad.Open());
  CPngListBtn& close = window.commandButton(Command::Exit);
  const struct {
    const char* name;
    std::wstring elsewhere;  // where the pointer goes while the window is hidden
  } cases[] = {{"onto another program", notepad.TextAreaPoint()},
               {"where no window is", L"2 " + std::to_wstring(::GetSystemMetrics(SM_CYSCREEN) - 2)}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ::ShowWindow(window.hwnd(), SW_SHOW);
    ::SetForegroundWindow(window.hwnd());
    testing::PumpMessages();
    RECT place{};
    ::GetWindowRect(close.hwnd(), &place);
    const std::wstring centre = std::to_wstring((place.left + place.right) / 2) + L" " +
                                std::to_wstring((place.top + place.bottom) / 2);
    ASSERT_TRUE(testing::StartXdotool(L"mousemove " + centre));
    ASSERT_TRUE(pumpUntil([&] { return close.hovering(); })) << "the pointer is on the close button";
    ASSERT_TRUE(testing::StartXdotool(L"click 1"));
    ASSERT_TRUE(pumpUntil([&] { return !::IsWindowVisible(window.hwnd()); })) << "the click hid the window";
    ASSERT_TRUE(testing::StartXdotool(L"mousemove " + c.elsewhere));
    ::Sleep(500);
    testing::PumpMessages();
    // Asked back, as the tray icon or a second start does.
    ::PostMessageW(window.hwnd(), UM_SHOWMAIN, 0, 0);
    ASSERT_TRUE(pumpUntil([&] { return ::IsWindowVisible(window.hwnd()); }));
    ::UpdateWindow(close.hwnd());
    testing::PumpMessages();
    EXPECT_FALSE(close.hovering());
    EXPECT_EQ(close.CurrentLook().state, kStateNormal) << "drawn as normal, not hovered";
    EXPECT_NE(::GetCapture(), close.hwnd()) << "the button holds no capture of before";
  }
  testing::GdiplusSession gdiplus;
  EXPECT_TRUE(testing::SaveScreen(u"close-button-after-show.png"));
  ::SetWindowPos(window.hwnd(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
}

TEST_F(MainWindow, TheKeyDialogNamesTheKeyItEditsButNotAsMacroEditor) {
  CQuencfgDlg& window = Open();
  window.ChangeLanguage(101);  // the data folder starts in Spanish
  quencfg::Press(window.hwnd(), window.keyButton(17).hwnd());  // E
  EXPECT_EQ(window.keyAssignment().EditedKeyLabel(), u"Key: E");
  EXPECT_EQ(window.keyAssignment().tooltips().Text(window.keyAssignment().resetButton().hwnd()),
            u"Give this key back its default function");
  window.keyAssignment().Dismiss();
  Press(Command::Macro);
  EXPECT_EQ(window.keyAssignment().EditedKeyLabel(), u"");
}

// A tooltip that stays up after the pointer was moved away programmatically.
void HidePoppedTooltips() {
  ::EnumThreadWindows(
      ::GetCurrentThreadId(),
      [](HWND window, LPARAM) {
        wchar_t name[32] = {};
        ::GetClassNameW(window, name, 32);
        if (::lstrcmpiW(name, L"tooltips_class32") == 0) ::SendMessageW(window, TTM_POP, 0, 0);
        return TRUE;
      },
      0);
}

// Screenshots for the eye (build/screenshots/feedback-*.png): the main window with a
// profile holding unapplied edits, the keyboard connected and a key's tooltip; the
// lighting panel under effects 2, 16 and 19 with the effects menu open; the key dialog.
TEST_F(MainWindow, ScreenshotsOfTheFeedbackInEachLanguage) {
  CQuencfgDlg& window = Open();
  ProfileData& profile = window.currentProfile();
  profile.keys[17].byBtnFuncType = BTNFUNC_MACRO;
  CopyToField(profile.keys[17].MacroName, u"Combo 2");
  profile.keys[18].byBtnFuncType = BTNFUNC_KEY;
  profile.keys[18].byKeyNumber = 0x1D;
  window.settings().profiles[1].keys[0].byBtnFuncType = BTNFUNC_DISABLE;
  profile.lighting.byLightColor = 0x3A17E8;
  for (int slot = 0; slot < 63; slot += 2) profile.lighting.keyColors.coLightRGB[slot] = 0x00A5FF;
  ::SetWindowPos(window.hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
  ::SendMessageW(window.hwnd(), UM_KEYBOARDSTATE, static_cast<WPARAM>(KeyboardState::Connected), 0);
  const auto redraw = [&] {
    ::RedrawWindow(window.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    testing::PumpMessages();
  };
  const auto rest = [](DWORD ms) {  // lets a tooltip appear; nothing is asserted on time
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < ms) {
      testing::PumpMessages();
      ::Sleep(20);
    }
  };
  for (const auto& [language, suffix] : {std::pair{101, u"EN"}, std::pair{106, u"CS"}, std::pair{108, u"ES"}}) {
    const std::u16string tail = std::u16string(u"-") + suffix + u".png";
    window.ChangeLanguage(static_cast<std::uint8_t>(language));
    window.RefreshKeyMarks();
    RECT key{};
    ::GetWindowRect(window.keyButton(17).hwnd(), &key);
    ::SetCursorPos(key.left + 20, key.top + 20);
    redraw();
    rest(1500);
    EXPECT_TRUE(testing::SaveScreen(u"feedback-main" + tail));

    ::SetCursorPos(1279, 1023);
    HidePoppedTooltips();
    Press(Command::Backlight);
    for (const int effect : {1, 2, 16, 19}) {
      window.currentProfile().lighting.byLightEffect = static_cast<std::uint8_t>(effect);
      window.lightingPanel().RefreshLighting();
      redraw();
      EXPECT_TRUE(testing::SaveScreen(u"feedback-lighting-" + FormatDecimal(effect) + tail));
    }
    window.lightingPanel().SelectEffect(16);
    testing::Click(window.lightingPanel().effectButton().hwnd());
    testing::PumpMessages();
    if (window.lightingPanel().effectsMenu() != nullptr) {
      ::RedrawWindow(window.lightingPanel().effectsMenu()->hwnd(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
      testing::PumpMessages();
      EXPECT_TRUE(testing::SaveScreen(u"feedback-effects-menu" + tail));
      window.lightingPanel().CloseEffectsMenu();
    }
    Press(Command::Backlight);
    Press(Command::Setting);
    redraw();
    EXPECT_TRUE(testing::SaveScreen(u"feedback-settings-menu" + tail));
    Press(Command::Setting);
    Press(Command::Setting);

    quencfg::Press(window.hwnd(), window.keyButton(17).hwnd());
    ::RedrawWindow(window.keyAssignment().hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    redraw();
    EXPECT_TRUE(testing::SaveScreen(u"feedback-key-dialog" + tail));
    window.keyAssignment().Dismiss();
    testing::PumpMessages();
  }
}

}  // namespace
}  // namespace quencfg
