// Importing a profile on the real main window: the review of program and macro keys
// appears over it, the user's answer reaches the profile shown and, after an apply, the
// keyboard; a file that cannot be imported changes nothing and says so.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "device/fake_hid.h"
#include "device/full_write_from_files.h"
#include "device/keyboard_model.h"
#include "quencfg/device/device_blocks.h"
#include "quencfg/device/device_sync.h"
#include "quencfg/device/key_cells.h"
#include "quencfg/framework/files.h"
#include "quencfg/framework/text.h"
#include "quencfg/model/number_text.h"
#include "quencfg/model/settings_file.h"
#include "quencfg/ui/main/import_review_dlg_win.h"
#include "quencfg/ui/main/quencfg_dlg_win.h"
#include "quencfg/ui/skin/skin_documents.h"
#include "quencfg/ui/skin/skin_language.h"
#include "quencfg/ui/skin/warn_dlg_win.h"
#include "support/data_folder_scope.h"
#include "support/fake_pause_clock.h"
#include "support/gdiplus_session_win.h"
#include "support/screenshot_win.h"
#include "support/shipped_skin_win.h"
#include "support/system_dialog_win.h"
#include "support/temp_folder.h"
#include "ui/skin/control_host_win.h"

namespace quencfg {
namespace {

using Command = CQuencfgDlg::Command;
using testing::Click;
using testing::KeyboardModel;
using testing::PumpMessages;

// What the test saw of a modal window it answered.
struct SeenReview {
  HWND owner = nullptr;
  RECT rect{};
  bool visible = false;
  std::vector<ReviewLine> lines;
  bool scrolls = false;
};

// Runs `act` on the first window of class T open on this thread, once, shortly after
// the step that opens it has started its modal loop.
template <typename T>
class ModalAnswer {
 public:
  explicit ModalAnswer(std::function<void(T&)> act) {
    current_ = this;
    act_ = std::move(act);
    timer_ = ::SetTimer(nullptr, 0, 30, &Fire);
  }
  ~ModalAnswer() {
    ::KillTimer(nullptr, timer_);
    current_ = nullptr;
  }
  ModalAnswer(const ModalAnswer&) = delete;
  ModalAnswer& operator=(const ModalAnswer&) = delete;
  [[nodiscard]] bool answered() const { return answered_; }

 private:
  static void CALLBACK Fire(HWND, UINT, UINT_PTR, DWORD) {
    if (current_ == nullptr || current_->answered_) return;
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND candidate, LPARAM) -> BOOL {
          auto* window = dynamic_cast<T*>(Window::FromHandle(candidate));
          if (window == nullptr || !::IsWindowVisible(candidate)) return TRUE;
          current_->answered_ = true;
          ::KillTimer(nullptr, current_->timer_);
          current_->act_(*window);
          return FALSE;
        },
        0);
  }
  static inline ModalAnswer* current_ = nullptr;
  std::function<void(T&)> act_;
  UINT_PTR timer_ = 0;
  bool answered_ = false;
};

std::string ProfileFileBytes(const std::u16string& body) {
  return testing::Utf16FileBytes(u"<?xml version=\"1.0\" encoding=\"utf-16\"?>\r\n<root>\r\n<ButtonSet>\r\n" + body +
                                 u"</ButtonSet>\r\n</root>\r\n");
}

std::u16string Button(int slot, std::int32_t function, std::u16string_view launch = {},
                      std::u16string_view macro = {}, int keyNumber = 0) {
  const std::u16string name = u"Button_" + FormatDecimal(slot);
  std::u16string text = u"<" + name + u"><byBtnFuncType>" + FormatDecimal(function) + u"</byBtnFuncType>";
  text += u"<launch>" + std::u16string(launch) + u"</launch><MacroName>" + std::u16string(macro) + u"</MacroName>";
  text += u"<repeatTime>0</repeatTime><byKeyNumber>" + FormatDecimal(keyNumber) + u"</byKeyNumber>";
  return text + u"</" + name + u">\r\n";
}

constexpr int kProgramSlot = 2;  // key "2"
constexpr int kUrlSlot = 5;
constexpr int kMacroSlot = 9;
constexpr int kKeySlot = 4;

class ImportReview : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(skin_.loaded());
    PrepareDataFolder();
    machine_.AddKeyboard();
    driver_.SetLogSink(nullptr);
    ASSERT_GE(driver_.OpenDevice(kKorvaneVendorId, kKorvaneProductId), 0);
    window_ = std::make_unique<CQuencfgDlg>();
    ASSERT_TRUE(window_->Open());
    window_->ChangeLanguage(101);  // the texts below are checked in English
    ::ShowWindow(window_->hwnd(), SW_SHOW);
    PumpMessages();
  }
  void TearDown() override {
    window_.reset();
    StringDocument().Load(StringsFilePath(101));
  }

  std::u16string WriteImportFile(std::u16string_view name, const std::string& bytes) {
    const std::u16string path = folder_ / name;
    EXPECT_TRUE(ReplaceFileContents(path, bytes));
    return path;
  }
  std::u16string ProgramsAndMacroFile() {
    return WriteImportFile(u"shared.profile",
                           ProfileFileBytes(Button(kProgramSlot, BTNFUNC_LAUNCH, u"C:\\Games\\Launcher\\run.exe") +
                                            Button(kKeySlot, BTNFUNC_KEY, {}, {}, 0x2C) +
                                            Button(kUrlSlot, BTNFUNC_LAUNCH, u"https://example.com/tool") +
                                            Button(kMacroSlot, BTNFUNC_MACRO, {}, u"Not mine")));
  }
  SeenReview Observe(CImportReviewDlg& review) {
    PumpMessages();
    SeenReview seen;
    seen.owner = ::GetWindow(review.hwnd(), GW_OWNER);
    ::GetWindowRect(review.hwnd(), &seen.rect);
    seen.visible = ::IsWindowVisible(review.hwnd()) != FALSE;
    seen.lines = review.list().lines();
    seen.scrolls = review.list().scrolls();
    return seen;
  }
  void Press(Command command) {
    ::SendMessageW(window_->hwnd(), WM_COMMAND, MAKEWPARAM(CQuencfgDlg::kButtonId, BN_CLICKED),
                   reinterpret_cast<LPARAM>(window_->commandButton(command).hwnd()));
  }
  // What the device thread writes after the apply's post, from the files the apply saved.
  KeyboardModel KeyboardAfterApply() {
    Press(Command::Apply);
    return testing::KeyboardAfterFullWriteFromFiles(driver_, machine_);
  }

  testing::ShippedSkin skin_;
  testing::GdiplusSession gdiplus_;
  testing::DataFolderScope data_;
  testing::TempFolder folder_;
  testing::FakePauseClock clock_;
  testing::FakeHidMachine machine_{clock_};
  CUSBDriver driver_{machine_.Api(), clock_};
  std::unique_ptr<CQuencfgDlg> window_;
};

TEST_F(ImportReview, AppearsOverTheMainWindowAndKeptKeysReachTheProfileAndTheKeyboard) {
  const std::u16string path = ProgramsAndMacroFile();
  const std::optional<std::string> before = ReadWholeFile(path);
  SeenReview seen;
  {
    ModalAnswer<CImportReviewDlg> answer([&](CImportReviewDlg& review) {
      seen = Observe(review);
      Click(review.keepButton().hwnd());
    });
    window_->ImportProfileFrom(path);
    ASSERT_TRUE(answer.answered()) << "the file starts programs: the review must be shown";
  }
  EXPECT_EQ(seen.owner, window_->hwnd());
  EXPECT_TRUE(seen.visible);
  RECT main{};
  ::GetWindowRect(window_->hwnd(), &main);
  EXPECT_GE(seen.rect.left, main.left);
  EXPECT_LE(seen.rect.right, main.right);
  EXPECT_GE(seen.rect.top, main.top);
  EXPECT_LE(seen.rect.bottom, main.bottom);
  ASSERT_EQ(seen.lines.size(), 3u);
  EXPECT_EQ(seen.lines[0].detail, u"C:\\Games\\Launcher\\run.exe");
  EXPECT_NE(seen.lines[0].heading.find(u"Key 2 "), std::u16string::npos) << Utf16ToUtf8(seen.lines[0].heading);
  EXPECT_EQ(seen.lines[1].detail, u"https://example.com/tool");
  EXPECT_NE(seen.lines[1].heading.find(u"URL"), std::u16string::npos) << Utf16ToUtf8(seen.lines[1].heading);
  EXPECT_EQ(seen.lines[2].detail, u"Not mine");
  EXPECT_EQ(ReadWholeFile(path), before) << "the chosen file is not rewritten";

  const ProfileData& shown = window_->currentProfile();
  EXPECT_EQ(shown.keys[kProgramSlot].byBtnFuncType, BTNFUNC_LAUNCH);
  EXPECT_EQ(FieldText(shown.keys[kProgramSlot].launch), u"C:\\Games\\Launcher\\run.exe");
  EXPECT_EQ(shown.keys[kMacroSlot].byBtnFuncType, BTNFUNC_MACRO);
  EXPECT_TRUE(window_->keyButton(kProgramSlot).selected());
  EXPECT_TRUE(window_->keyButton(kMacroSlot).selected());
  EXPECT_TRUE(window_->importPending());

  const KeyboardModel keyboard = KeyboardAfterApply();
  EXPECT_EQ(keyboard.errors, std::vector<std::string>{});
  ASSERT_TRUE(keyboard.keyMap.has_value());
  EXPECT_EQ((*keyboard.keyMap)[SlotCell(kProgramSlot)], kKeycodeLaunch);
  EXPECT_EQ((*keyboard.keyMap)[SlotCell(kUrlSlot)], kKeycodeLaunch);
  EXPECT_EQ((*keyboard.keyMap)[SlotCell(kMacroSlot)], kKeycodeMacro);
  EXPECT_EQ((*keyboard.keyMap)[SlotCell(kKeySlot)], 0x2C);
}

struct LeaveOutCase {
  const char* name;
  std::function<void(CImportReviewDlg&)> answer;
};

// The keyboard starts on "without them": Enter or Space pressed at once never keeps.
TEST_F(ImportReview, ImportingWithoutThemUnassignsTheListedKeysOnly) {
  const LeaveOutCase cases[] = {
      {"clicked", [](CImportReviewDlg& review) { Click(review.leaveOutButton().hwnd()); }},
      {"enter", [](CImportReviewDlg& review) { ::PostMessageW(review.hwnd(), WM_KEYDOWN, VK_RETURN, 0); }},
      {"space", [](CImportReviewDlg& review) { ::PostMessageW(review.hwnd(), WM_KEYDOWN, VK_SPACE, 0); }},
  };
  const std::u16string path = ProgramsAndMacroFile();
  const KeyMapBlock defaults = BuildKeyMap(*std::make_unique<ProfileData>());
  for (const LeaveOutCase& c : cases) {
    SCOPED_TRACE(c.name);
    {
      ModalAnswer<CImportReviewDlg> answer(c.answer);
      window_->ImportProfileFrom(path);
      ASSERT_TRUE(answer.answered());
    }
    const ProfileData& shown = window_->currentProfile();
    for (int slot : {kProgramSlot, kUrlSlot, kMacroSlot}) {
      EXPECT_EQ(shown.keys[slot].byBtnFuncType, BTNFUNC_DEFAULT) << "slot " << slot;
      EXPECT_FALSE(window_->keyButton(slot).selected()) << "slot " << slot;
    }
    EXPECT_EQ(shown.keys[kKeySlot].byBtnFuncType, BTNFUNC_KEY) << "keys without programs or macros are imported";

    const KeyboardModel keyboard = KeyboardAfterApply();
    ASSERT_TRUE(keyboard.keyMap.has_value());
    for (int slot : {kProgramSlot, kUrlSlot, kMacroSlot}) {
      EXPECT_EQ((*keyboard.keyMap)[SlotCell(slot)], defaults[SlotCell(slot)]) << "slot " << slot;
    }
    EXPECT_EQ((*keyboard.keyMap)[SlotCell(kKeySlot)], 0x2C);
  }
}

// Cancel, closing the review or Escape: nothing is imported. The profile shown, the
// files and the next apply are those of before.
TEST_F(ImportReview, CancellingImportsNothing) {
  const LeaveOutCase cases[] = {
      {"cancel", [](CImportReviewDlg& review) { Click(review.cancelButton().hwnd()); }},
      {"closed", [](CImportReviewDlg& review) { ::PostMessageW(review.hwnd(), WM_CLOSE, 0, 0); }},
      {"escape", [](CImportReviewDlg& review) { ::PostMessageW(review.hwnd(), WM_KEYDOWN, VK_ESCAPE, 0); }},
  };
  const std::u16string path = ProgramsAndMacroFile();
  window_->currentProfile().keys[kKeySlot].byBtnFuncType = BTNFUNC_KEY;
  window_->currentProfile().keys[kKeySlot].byKeyNumber = 0x10;
  window_->RefreshKeyMarks();
  const auto before = std::make_unique<ProfileData>(window_->currentProfile());
  const std::u16string profileFile = ProfilePath(ProfileName(0), u"");
  const std::optional<std::string> fileBefore = ReadWholeFile(profileFile);
  const std::optional<std::string> settingsBefore = ReadWholeFile(SettingsFilePath());
  for (const LeaveOutCase& c : cases) {
    SCOPED_TRACE(c.name);
    {
      ModalAnswer<CImportReviewDlg> answer(c.answer);
      window_->ImportProfileFrom(path);
      ASSERT_TRUE(answer.answered());
    }
    EXPECT_EQ(std::memcmp(&window_->currentProfile(), before.get(), sizeof *before), 0) << "the profile shown is kept";
    EXPECT_FALSE(window_->importPending()) << "nothing imported: no lighting to write";
    EXPECT_FALSE(window_->keyButton(kProgramSlot).selected());
    EXPECT_TRUE(window_->keyButton(kKeySlot).selected()) << "the key of before keeps its mark";
    EXPECT_EQ(ReadWholeFile(profileFile), fileBefore) << "no file is written";
    EXPECT_EQ(ReadWholeFile(SettingsFilePath()), settingsBefore);
  }
}

// The review's buttons take the keyboard: the focus starts on "without them" and shows
// on it; Tab, Shift+Tab and the arrows move it; Enter presses the focused button. An
// unplugged keyboard meanwhile changes nothing of the review.
// Notes which window has the keyboard focus each time its message comes, so that keys
// posted before it have gone through the review's own modal loop.
class FocusRecorder : public Window {
 public:
  static constexpr UINT kNote = WM_APP + 7;
  bool Make() {
    WindowCreateParams params;
    params.className = L"KorvaneTestFocusRecorder";
    params.style = WS_POPUP;
    return Create(params);
  }
  std::vector<HWND> seen;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == kNote) {
      seen.push_back(::GetFocus());
      return 0;
    }
    return DefaultHandling(message, wParam, lParam);
  }
};

TEST_F(ImportReview, TheKeyboardFocusShowsOnAButtonAndMovesWithTabAndArrows) {
  const std::u16string path = ProgramsAndMacroFile();
  FocusRecorder recorder;
  ASSERT_TRUE(recorder.Make());
  std::vector<std::string> focus;
  bool ringShown = false;
  bool ringOnlyOnFocus = false;
  HWND keep = nullptr, without = nullptr, cancel = nullptr;
  {
    ModalAnswer<CImportReviewDlg> answer([&](CImportReviewDlg& review) {
      PumpMessages();
      keep = review.keepButton().hwnd();
      without = review.leaveOutButton().hwnd();
      cancel = review.cancelButton().hwnd();
      const auto ringAt = [](CPngListBtn& button) {
        const testing::Drawing drawing(button.hwnd());
        return drawing.At(4, drawing.height() / 2) == RGB(255, 255, 255);
      };
      ringShown = ringAt(review.leaveOutButton());
      ringOnlyOnFocus = !ringAt(review.keepButton()) && !ringAt(review.cancelButton());
      // The keyboard is unplugged meanwhile; keys go where real ones go, to the focus.
      ::PostMessageW(window_->hwnd(), UM_KEYBOARDSTATE, static_cast<WPARAM>(KeyboardState::Absent), 0);
      ::PostMessageW(recorder.hwnd(), FocusRecorder::kNote, 0, 0);
      for (const WPARAM key : {WPARAM{VK_TAB}, WPARAM{VK_RIGHT}, WPARAM{VK_LEFT}, WPARAM{VK_RIGHT}, WPARAM{VK_RETURN}}) {
        ::PostMessageW(::GetFocus(), WM_KEYDOWN, key, 0);
        ::PostMessageW(recorder.hwnd(), FocusRecorder::kNote, 0, 0);
      }
    });
    window_->ImportProfileFrom(path);
    ASSERT_TRUE(answer.answered());
  }
  for (HWND seen : recorder.seen) {
    focus.push_back(seen == keep ? "keep" : seen == without ? "without" : seen == cancel ? "cancel" : "elsewhere");
  }
  // The note after Enter waits: the review ended with it, on Keep.
  EXPECT_EQ(focus, (std::vector<std::string>{"without", "cancel", "keep", "cancel", "keep"}));
  EXPECT_TRUE(ringShown) << "the focused button draws a ring";
  EXPECT_TRUE(ringOnlyOnFocus);
  EXPECT_EQ(window_->currentProfile().keys[kProgramSlot].byBtnFuncType, BTNFUNC_LAUNCH) << "Enter on Keep kept them";
}

// The open-file dialog of an import belongs to the main window and opens over it.
TEST_F(ImportReview, TheFileDialogOpensOverTheMainWindow) {
  struct Seen {
    HWND owner = nullptr;
    RECT rect{};
    bool found = false;
  };
  static Seen seen;
  seen = Seen{};
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR id, DWORD) {
    HWND dialog = testing::ShownSystemDialog();
    if (dialog == nullptr) return;
    seen.found = true;
    seen.owner = ::GetWindow(dialog, GW_OWNER);
    ::GetWindowRect(dialog, &seen.rect);
    ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    ::KillTimer(nullptr, id);
  });
  const auto before = std::make_unique<ProfileData>(window_->currentProfile());
  window_->ImportProfile();
  ::KillTimer(nullptr, timer);
  ASSERT_TRUE(seen.found) << "no file dialog was seen";
  EXPECT_EQ(seen.owner, window_->hwnd());
  RECT main{};
  ::GetWindowRect(window_->hwnd(), &main);
  const POINT centre{(seen.rect.left + seen.rect.right) / 2, (seen.rect.top + seen.rect.bottom) / 2};
  EXPECT_TRUE(::PtInRect(&main, centre)) << "at " << seen.rect.left << "," << seen.rect.top;
  EXPECT_EQ(std::memcmp(&window_->currentProfile(), before.get(), sizeof *before), 0) << "cancelled: nothing imported";
}

TEST_F(ImportReview, RefusedPathsAreNamedAndNeverStored) {
  const std::u16string tooLong = u"C:\\Tools\\" + std::u16string(300, u'x') + u".exe";
  const std::u16string path =
      WriteImportFile(u"refused.profile", ProfileFileBytes(Button(kProgramSlot, BTNFUNC_LAUNCH, tooLong) +
                                                           Button(kUrlSlot, BTNFUNC_LAUNCH, u"C:\\a.exe&#10;b.exe")));
  SeenReview seen;
  {
    ModalAnswer<CImportReviewDlg> answer([&](CImportReviewDlg& review) {
      seen = Observe(review);
      Click(review.keepButton().hwnd());
    });
    window_->ImportProfileFrom(path);
    ASSERT_TRUE(answer.answered());
  }
  ASSERT_EQ(seen.lines.size(), 2u);
  EXPECT_EQ(seen.lines[0].detail, tooLong) << "shown whole";
  EXPECT_NE(seen.lines[0].heading.find(u"refused"), std::u16string::npos);
  EXPECT_NE(seen.lines[1].heading.find(u"refused"), std::u16string::npos);
  for (int slot : {kProgramSlot, kUrlSlot}) {
    EXPECT_EQ(window_->currentProfile().keys[slot].byBtnFuncType, BTNFUNC_DEFAULT) << "kept, yet refused";
    EXPECT_TRUE(FieldText(window_->currentProfile().keys[slot].launch).empty());
  }
}

TEST_F(ImportReview, AProfileWithoutProgramsOrUnknownMacrosImportsWithoutAReview) {
  // Another extension, no byte-order mark: read as chosen, left as it was.
  std::string bytes = ProfileFileBytes(Button(kKeySlot, BTNFUNC_KEY, {}, {}, 0x2C)).substr(2);
  const std::u16string path = WriteImportFile(u"gaming.xml", bytes);
  WriteImportFile(u"gaming.profile", ProfileFileBytes(Button(kKeySlot, BTNFUNC_KEY, {}, {}, 0x1E)));
  {
    ModalAnswer<CImportReviewDlg> answer(
        [](CImportReviewDlg& review) { ::PostMessageW(review.hwnd(), WM_CLOSE, 0, 0); });
    window_->ImportProfileFrom(path);
    PumpMessages();
    EXPECT_FALSE(answer.answered()) << "nothing to review";
  }
  EXPECT_EQ(window_->currentProfile().keys[kKeySlot].byKeyNumber, 0x2C) << "the chosen file, not its .profile twin";
  EXPECT_TRUE(window_->importPending());
  EXPECT_EQ(ReadWholeFile(path), std::optional<std::string>(bytes)) << "a file without a mark is not rewritten";
}

struct FailedImportCase {
  const char* name;
  std::optional<std::string> bytes;  // none: no such file
  int warning;
};

TEST_F(ImportReview, AFileThatCannotBeImportedChangesNothingAndSaysSo) {
  const FailedImportCase cases[] = {
      {"missing", std::nullopt, kImportUnreadableWarning},
      {"damaged", testing::Utf16FileBytes(u"<root><ButtonSet><Button_2><byBtnFuncType>467"), kImportDamagedWarning},
      {"no profile", testing::Utf16FileBytes(u"<root><Setting><Profile>1</Profile></Setting></root>"),
       kImportNoProfileWarning},
  };
  window_->currentProfile().keys[kKeySlot].byBtnFuncType = BTNFUNC_KEY;
  window_->currentProfile().keys[kKeySlot].byKeyNumber = 0x1E;
  const auto before = std::make_unique<ProfileData>(window_->currentProfile());
  for (const FailedImportCase& c : cases) {
    SCOPED_TRACE(c.name);
    const std::u16string path = folder_ / (Utf8ToUtf16(c.name) + u".profile");
    if (c.bytes) {
      ASSERT_TRUE(ReplaceFileContents(path, *c.bytes));
    }
    int shownWarning = -1;
    {
      ModalAnswer<CWarnDlg> answer([&](CWarnDlg& warning) {
        shownWarning = warning.warningType();
        Click(warning.okButton().hwnd());
      });
      window_->ImportProfileFrom(path);
      ASSERT_TRUE(answer.answered()) << "the user is told";
    }
    EXPECT_EQ(shownWarning, c.warning);
    EXPECT_FALSE(WarningMessageKey(shownWarning).empty());
    EXPECT_EQ(std::memcmp(&window_->currentProfile(), before.get(), sizeof(ProfileData)), 0);
    EXPECT_FALSE(window_->importPending());
    if (c.bytes) {
      EXPECT_EQ(ReadWholeFile(path), c.bytes);
    }
  }
}

// Screenshots for the eye (build/screenshots/import_review_<code>.png): a long list with
// every kind of note, in each shipped language; and the warning for a damaged file.
TEST_F(ImportReview, ScreenshotsInEachLanguage) {
  const std::u16string longPath =
      u"C:\\Users\\Player\\AppData\\Local\\Programs\\Some Very Long Vendor Name\\Tools And Utilities\\"
      u"Version 12.4.7\\bin\\x64\\release\\launcher_with_a_remarkably_long_name_for_testing.exe";
  const std::u16string path = WriteImportFile(
      u"everything.profile",
      ProfileFileBytes(Button(1, BTNFUNC_LAUNCH, u"C:\\Program Files\\Tool\\tool.exe") +
                       Button(2, BTNFUNC_LAUNCH, longPath) + Button(3, BTNFUNC_LAUNCH, u"https://example.com/run") +
                       Button(4, BTNFUNC_LAUNCH, u"\\\\fileserver\\share\\game.exe") +
                       Button(5, BTNFUNC_LAUNCH, u"tools\\start.bat") + Button(6, BTNFUNC_MACRO, {}, u"Combo 7") +
                       Button(7, BTNFUNC_LAUNCH, u"C:\\" + std::u16string(280, u'z') + u".exe") +
                       Button(8, BTNFUNC_LAUNCH, u"C:\\a.exe&#9;--flag") + Button(9, BTNFUNC_LAUNCH, u"   ")));
  const std::u16string damaged = WriteImportFile(u"damaged.profile", testing::Utf16FileBytes(u"<root><ButtonSet>"));
  const struct {
    std::uint8_t language;
    const char16_t* code;
  } languages[] = {{101, u"EN"}, {106, u"CS"}, {108, u"ES"}};
  for (const auto& language : languages) {
    SCOPED_TRACE(Utf16ToUtf8(language.code));
    window_->ChangeLanguage(language.language);
    PumpMessages();
    bool scrolls = false;
    {
      ModalAnswer<CImportReviewDlg> answer([&](CImportReviewDlg& review) {
        PumpMessages();
        ::RedrawWindow(review.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        PumpMessages();
        scrolls = review.list().scrolls() && review.list().scrollBarShown();
        EXPECT_TRUE(testing::SaveScreen(u"import_review_" + std::u16string(language.code) + u".png"));
        // Scrolled to the end, so that the last entries are seen too.
        ::SendMessageW(review.list().hwnd(), WM_VSCROLL, SB_BOTTOM, 0);
        PumpMessages();
        ::RedrawWindow(review.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        PumpMessages();
        EXPECT_GT(review.list().scrollPosition(), 0);
        EXPECT_TRUE(testing::SaveScreen(u"import_review_" + std::u16string(language.code) + u"_end.png"));
        Click(review.cancelButton().hwnd());
      });
      window_->ImportProfileFrom(path);
      ASSERT_TRUE(answer.answered());
    }
    EXPECT_TRUE(scrolls) << "nine keys with long paths do not fit: the list scrolls and shows its bar";

    ModalAnswer<CWarnDlg> told([&](CWarnDlg& warning) {
      PumpMessages();
      ::RedrawWindow(warning.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
      PumpMessages();
      EXPECT_TRUE(testing::SaveScreen(u"import_failed_" + std::u16string(language.code) + u".png"));
      Click(warning.okButton().hwnd());
    });
    window_->ImportProfileFrom(damaged);
    ASSERT_TRUE(told.answered());
  }
}

}  // namespace
}  // namespace quencfg
