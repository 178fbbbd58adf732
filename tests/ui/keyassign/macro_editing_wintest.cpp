// Editing a recorded macro on the real key assignment dialog, as a user does it: real
// clicks and keys through the X server (xdotool), the real hook for the captured key,
// OK writing the macro file, and the keyboard double receiving the edited macro.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "../skin/control_host_win.h"
#include "key_dialog_owner_loop_win.h"
#include "device/fake_hid.h"
#include "device/full_write.h"
#include "device/keyboard_model.h"
#include "quencfg/device/device_sync.h"
#include "quencfg/framework/files.h"
#include "quencfg/framework/text.h"
#include "quencfg/model/macro_library.h"
#include "quencfg/model/settings_file.h"
#include "quencfg/ui/keyassign/key_assignment_dlg_win.h"
#include "quencfg/ui/skin/list_rows.h"
#include "quencfg/ui/skin/skin_documents.h"
#include "quencfg/ui/skin/skin_resource_ids.h"
#include "support/data_folder_scope.h"
#include "support/fake_pause_clock.h"
#include "support/gdiplus_session_win.h"
#include "support/macro_file_text.h"
#include "support/screenshot_win.h"
#include "support/process_win.h"
#include "support/shipped_skin_win.h"

namespace quencfg {
namespace {

constexpr std::uint8_t kA = 0x04, kB = 0x05;

MacroEvent Down(int delay, std::uint8_t map) { return MakeMacroEvent(true, delay, map); }
MacroEvent Up(int delay, std::uint8_t map) { return MakeMacroEvent(false, delay, map); }

MacroFile MacroOf(std::u16string_view name, int repeat, const std::vector<MacroEvent>& events) {
  MacroFile macro;
  std::memset(&macro, 0, sizeof macro);
  macro.Repeat = static_cast<std::uint16_t>(repeat);
  CopyToField(macro.MacroName, name);
  for (std::size_t i = 0; i < events.size(); ++i) macro.events[i] = events[i];
  return macro;
}

void StoreMacro(std::u16string_view name, int repeat, const std::vector<MacroEvent>& events) {
  WriteMacro(MacroOf(name, repeat, events), name);
}

int StoredRepeat(std::u16string_view name) {
  MacroFile macro;
  std::memset(&macro, 0, sizeof macro);
  ReadMacro(macro, name);
  return macro.Repeat;
}

KeySlot MacroSlot(std::u16string_view name) {
  KeySlot slot{};
  slot.byBtnFuncType = BTNFUNC_MACRO;
  CopyToField(slot.MacroName, name);
  return slot;
}

// The warning the page shows next is answered with OK or Cancel once its modal loop runs.
CMacroPage* g_page = nullptr;
bool g_answerOk = false;
int g_warnings = 0;
void CALLBACK AnswerWarning(HWND, UINT, UINT_PTR id, DWORD) {
  CWarnDlg* warning = g_page != nullptr ? g_page->warning() : nullptr;
  if (warning == nullptr || warning->hwnd() == nullptr) return;
  ::KillTimer(nullptr, id);
  ++g_warnings;
  HWND button = g_answerOk ? warning->okButton().hwnd() : warning->cancelButton().hwnd();
  ::PostMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  ::PostMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
}

class MacroEditing : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(skin_.loaded());
    PrepareDataFolder();
    ASSERT_TRUE(host_.Make(900, 560, 0, 0));
    ASSERT_TRUE(dialog_.CreateHidden(host_.hwnd()));
  }
  void TearDown() override {
    g_page = nullptr;
    StringDocument().Load(testing::StagedAppFolder() + u"Languages\\EN\\Strings.xml");
  }
  void OpenFor(KeySlot& slot) {
    ::ShowWindow(dialog_.hwnd(), SW_SHOWNA);
    dialog_.SetSlot(slot);
    dialog_.SetMacroOnly(false);
    dialog_.ShowAssignment();
    ASSERT_EQ(dialog_.page(), kPageMacro);
  }
  CMacroPage& Page() { return dialog_.macroPage(); }
  MacroPageControls& Controls() { return Page().controls(); }
  HWND List() { return Controls().eventList.hwnd(); }
  int Selected() { return static_cast<int>(::SendMessageW(List(), LB_GETCURSEL, 0, 0)); }
  std::vector<MacroEvent> Events() {
    const MacroBuffer& buffer = Page().buffer();
    return std::vector<MacroEvent>(buffer.events.begin(), buffer.events.begin() + buffer.eventCount);
  }
  void Press(CPngListBtn& button) {
    ::SendMessageW(dialog_.hwnd(), WM_COMMAND, MAKEWPARAM(1001, BN_CLICKED), reinterpret_cast<LPARAM>(button.hwnd()));
  }
  // The main window's loop: the dialog's key filter first.
  template <typename Done>
  void PumpUntil(Done done, DWORD milliseconds) {
    loop_.PumpUntil(done, milliseconds);
  }
  void PumpFor(DWORD milliseconds) { loop_.PumpFor(milliseconds); }
  bool BringDialogToFront() { return loop_.BringDialogToFront(); }
  // A real click at (x, y) of `window`'s client area.
  void ClickAt(HWND window, int x, int y) {
    POINT at{x, y};
    ::ClientToScreen(window, &at);
    const std::wstring where = std::to_wstring(at.x) + L" " + std::to_wstring(at.y);
    ASSERT_TRUE(testing::StartXdotool(L"mousemove " + where + L" click 1"));
    PumpFor(400);
  }
  void ClickOn(HWND control) {
    RECT client{};
    ::GetClientRect(control, &client);
    ClickAt(control, client.right / 2, client.bottom / 2);
  }
  void ClickRow(int row) { ClickAt(List(), 60, row * kListRowHeight + kListRowHeight / 2); }
  void Keys(const std::wstring& keys) {
    ASSERT_TRUE(testing::StartXdotool(L"key --delay 60 " + keys));
    PumpFor(300 + 80 * static_cast<DWORD>(keys.size() / 4 + 1));
  }
  // Answers the next warning; the count of warnings shown comes back through `g_warnings`.
  UINT_PTR AnswerNextWarning(bool ok) {
    g_page = &Page();
    g_answerOk = ok;
    g_warnings = 0;
    return ::SetTimer(nullptr, 0, 40, &AnswerWarning);
  }

  testing::ShippedSkin skin_;
  testing::GdiplusSession gdiplus_;
  testing::DataFolderScope data_;
  testing::ControlHost host_;
  CKeyAssignmentDlg dialog_;
  testing::KeyDialogOwnerLoop loop_{dialog_};
};

// Edit a delay, insert a key pair captured from a real key press, delete a pair and
// take it back with Ctrl+Z, OK: the file holds exactly the expected events, and the
// full write sends them to the keyboard.
TEST_F(MacroEditing, EditsTypedAndClickedReachTheFileAndTheKeyboard) {
  StoreMacro(u"Combo", 3, {Down(1, kA), Up(150, kA)});
  KeySlot slot = MacroSlot(u"Combo");
  OpenFor(slot);
  EXPECT_EQ(Page().CapacityText(), u"2 / 80");
  ASSERT_TRUE(BringDialogToFront());
  if (!testing::StartXdotool(L"key shift")) GTEST_SKIP() << "xdotool cannot be started";
  PumpFor(400);

  // The delay of the release: select it, type over the delay field, Enter.
  ClickRow(1);
  ASSERT_EQ(Selected(), 1);
  EXPECT_EQ(Controls().delayField.Text(), u"150") << "the field shows the selected event's delay";
  ClickOn(Controls().delayField.hwnd());
  Keys(L"End BackSpace BackSpace BackSpace 3 0 0 Return");
  EXPECT_EQ(Events(), (std::vector<MacroEvent>{Down(1, kA), Up(300, kA)}));

  // Insert key: the next key pressed comes as a press and a release after the selection.
  ClickOn(Controls().insertKey.hwnd());
  ASSERT_TRUE(Page().IsCapturingKey());
  ASSERT_TRUE(dialog_.hookOn()) << "KBHook.dll is not staged";
  EXPECT_EQ(Page().noticeKey(), u"STATUS_PRESS_KEY");
  Keys(L"b");
  PumpUntil([this] { return !Page().IsCapturingKey(); }, 3000);
  EXPECT_FALSE(dialog_.hookOn());
  const std::vector<MacroEvent> edited = {Down(1, kA), Up(300, kA), Down(20, kB), Up(20, kB)};
  EXPECT_EQ(Events(), edited);
  EXPECT_EQ(Selected(), 2);
  EXPECT_EQ(Page().CapacityText(), u"4 / 80");
  EXPECT_EQ(Controls().delayField.Text(), u"20") << "the field follows the selection to the inserted press";

  // Delete the A release: its press goes with it; Ctrl+Z on the list brings both back.
  ClickRow(1);
  ClickOn(Controls().deleteEvent.hwnd());
  EXPECT_EQ(Events(), (std::vector<MacroEvent>{Down(20, kB), Up(20, kB)}));
  EXPECT_EQ(Page().noticeKey(), u"STATUS_PAIR_DELETED");
  ClickRow(0);
  Keys(L"ctrl+z");
  EXPECT_EQ(Events(), edited);
  EXPECT_EQ(Page().noticeKey(), u"STATUS_UNDONE");

  ClickOn(dialog_.okButton().hwnd());
  EXPECT_FALSE(::IsWindowVisible(dialog_.hwnd()));
  EXPECT_EQ(ReadWholeFile(MacroPath(u"Combo")).value_or(""),
            testing::Utf16FileBytes(testing::MacroFileText(MacroOf(u"Combo", 3, edited))));

  // The full write carries the edited macro for the key's cell.
  auto profile = std::make_unique<ProfileData>();
  std::memset(profile.get(), 0, sizeof *profile);
  profile->keys[0] = slot;
  testing::FakePauseClock clock;
  testing::FakeHidMachine machine{clock};
  CUSBDriver driver{machine.Api(), clock};
  driver.SetLogSink(nullptr);
  machine.AddKeyboard();
  ASSERT_TRUE(driver.OpenDevice(kKorvaneVendorId, kKorvaneProductId));
  testing::RunFullWrite(driver, *profile, LibraryMacroSource(), false, false);
  testing::KeyboardModel keyboard(testing::KeyboardCollectionIds());
  keyboard.Replay(machine.Features());
  EXPECT_TRUE(keyboard.errors.empty());
  ASSERT_EQ(keyboard.macros.count(21), 1u);
  const MacroBlock& block = keyboard.macros.at(21);
  EXPECT_EQ(block[0], 0);
  EXPECT_EQ(block[1], 3);
  for (std::size_t i = 0; i < kMacroEventCount; ++i) {
    const MacroEvent expected = i < edited.size() ? edited[i] : MacroEvent{};
    EXPECT_EQ(block[2 + 3 * i], expected.attributeH) << i;
    EXPECT_EQ(block[3 + 3 * i], expected.attributeL) << i;
    EXPECT_EQ(block[4 + 3 * i], expected.map) << i;
  }
}

// Space, Enter and Escape are swallowed for the buttons only: a name is typed as it reads.
TEST_F(MacroEditing, ASpaceIsTypedIntoTheNameField) {
  KeySlot slot = MacroSlot(u"Macro 1");
  OpenFor(slot);
  ASSERT_TRUE(BringDialogToFront());
  if (!testing::StartXdotool(L"key shift")) GTEST_SKIP() << "xdotool cannot be started";
  PumpFor(400);
  ClickOn(Controls().nameField.hwnd());
  Keys(L"End BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace");
  ASSERT_EQ(Controls().nameField.Text(), u"");
  ASSERT_TRUE(testing::StartXdotool(L"type --delay 60 \"Combo 2\""));
  PumpUntil([this] { return Controls().nameField.Text().size() >= 7; }, 4000);
  PumpFor(200);
  EXPECT_EQ(Controls().nameField.Text(), u"Combo 2");
  Keys(L"Escape Return");
  EXPECT_TRUE(::IsWindowVisible(dialog_.hwnd())) << "Escape and Enter in a field close nothing";
  EXPECT_EQ(Controls().nameField.Text(), u"Combo 2");

  ClickOn(dialog_.okButton().hwnd());
  EXPECT_TRUE(PathExists(MacroPath(u"Combo 2")));
  EXPECT_FALSE(PathExists(MacroPath(u"Macro 1")));
  EXPECT_EQ(FieldText(slot.MacroName), u"Combo 2");
}

// Choosing another macro, a new one or deleting one with edits not saved asks first; a
// name OK would not take is said so and the dialog stays open.
TEST_F(MacroEditing, UnsavedEditsAreNotLostWithoutAskingAndRefusedNamesAreSaid) {
  StoreMacro(u"one", 1, {Down(1, kA), Up(40, kA)});
  StoreMacro(u"two", 1, {});
  KeySlot slot = MacroSlot(u"one");
  OpenFor(slot);
  CMacroPage& page = Page();
  const std::size_t names = page.editor().macroNames().size();

  // Unchanged: New asks nothing.
  UINT_PTR timer = AnswerNextWarning(false);
  Press(Controls().macroNew);
  ::KillTimer(nullptr, timer);
  EXPECT_EQ(g_warnings, 0);
  EXPECT_EQ(page.editor().macroNames().size(), names + 1);
  CopyToField(slot.MacroName, u"one");
  OpenFor(slot);
  ASSERT_EQ(Controls().nameField.Text(), u"one");

  struct Case {
    const char* what;
    CPngListBtn MacroPageControls::*button;
  };
  const Case cases[] = {{"new", &MacroPageControls::macroNew}, {"delete", &MacroPageControls::macroDelete}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ::SendMessageW(List(), LB_SETCURSEL, 1, 0);
    Controls().delayField.SetText(u"77");
    Press(Controls().setDelay);
    ASSERT_EQ(Events()[1], Up(77, kA));
    timer = AnswerNextWarning(false);
    Press(Controls().*c.button);
    ::KillTimer(nullptr, timer);
    EXPECT_EQ(g_warnings, 1) << "asked";
    EXPECT_EQ(Controls().nameField.Text(), u"one") << "Cancel keeps the macro and its edits";
    EXPECT_EQ(Events()[1], Up(77, kA));
    EXPECT_TRUE(PathExists(MacroPath(u"one")));
    Press(Controls().undo);
    EXPECT_EQ(Events()[1], Up(40, kA));
  }

  // A menu pick with edits, answered OK: the other macro comes, the edits go.
  Controls().repeatField.SetText(u"9");
  Press(Controls().macroMenu);
  ASSERT_NE(page.macroMenu(), nullptr);
  const auto& list = page.editor().macroNames();
  const int two = static_cast<int>(std::find(list.begin(), list.end(), u"two") - list.begin());
  timer = AnswerNextWarning(true);
  ::SendMessageW(dialog_.hwnd(), kMacroMenuPickMessage, 0, MAKELPARAM(0, two));
  ::KillTimer(nullptr, timer);
  EXPECT_EQ(g_warnings, 1);
  EXPECT_EQ(Controls().nameField.Text(), u"two");
  EXPECT_EQ(StoredRepeat(u"one"), 1) << "nothing was saved";

  // A name in use, then one no file can have: OK says so and keeps the dialog open.
  for (const char16_t* name : {u"one", u"a:b"}) {
    Controls().nameField.SetText(name);
    timer = AnswerNextWarning(true);
    Press(dialog_.okButton());
    ::KillTimer(nullptr, timer);
    EXPECT_EQ(g_warnings, 1) << Utf16ToUtf8(name);
    EXPECT_TRUE(::IsWindowVisible(dialog_.hwnd())) << Utf16ToUtf8(name);
    EXPECT_TRUE(PathExists(MacroPath(u"two")));
  }
  Controls().nameField.SetText(u"two renamed");
  Press(dialog_.okButton());
  EXPECT_FALSE(::IsWindowVisible(dialog_.hwnd()));
  EXPECT_TRUE(PathExists(MacroPath(u"two renamed")));
}

TEST_F(MacroEditing, PictureButtonsHaveTipsInTheCurrentLanguage) {
  KeySlot slot = MacroSlot(u"Macro 1");
  OpenFor(slot);
  const TooltipSet& tips = Controls().tooltips;
  EXPECT_EQ(tips.Text(Controls().macroMenu.hwnd()), u"Choose a macro");
  EXPECT_EQ(tips.Text(Controls().macroNew.hwnd()), u"New macro");
  EXPECT_EQ(tips.Text(Controls().macroDelete.hwnd()), u"Delete this macro");
  EXPECT_EQ(tips.Text(Controls().up.hwnd()), u"Move the selected event up");
  EXPECT_EQ(tips.Text(Controls().down.hwnd()), u"Move the selected event down");
  EXPECT_EQ(tips.Text(Controls().recordDelay.hwnd()), u"Fixed delay (20 ms)");
  for (const char16_t* language : {u"CS", u"ES"}) {
    StringDocument().Load(testing::StagedAppFolder() + u"Languages\\" + language + u"\\Strings.xml");
    dialog_.Relayout();
    const std::u16string expected = StringDocument().Lookup(u"MACRO_STRING", u"TIP_MACRONEW");
    EXPECT_FALSE(expected.empty());
    EXPECT_NE(expected, u"New macro");
    EXPECT_EQ(tips.Text(Controls().macroNew.hwnd()), expected) << Utf16ToUtf8(language);
  }
}

// Mouse rows carry a press or release picture as key rows do, and a stopped recording
// leaves its last event in view.
TEST_F(MacroEditing, MouseRowsHaveMarksAndTheLastRecordedEventIsInView) {
  for (int id : {IDB_LIST_BUTTON_PRESS, IDB_LIST_BUTTON_RELEASE, IDB_LIST_KEY_PRESS, IDB_LIST_KEY_RELEASE}) {
    EXPECT_NE(::FindResourceW(nullptr, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(2)), nullptr) << id;  // RT_BITMAP
  }
  KeySlot slot = MacroSlot(u"Macro 1");
  OpenFor(slot);
  Press(Controls().record);
  for (int i = 0; i < 30; ++i) {
    ::SendMessageW(dialog_.hwnd(), UM_HOOKEVENT, 'A' + i % 20, 0);
    ::SendMessageW(dialog_.hwnd(), UM_HOOKEVENT, 'A' + i % 20, 0x80);
  }
  ::SendMessageW(dialog_.hwnd(), UM_HOOKEVENT, WM_RBUTTONDOWN, 0);
  ::SendMessageW(dialog_.hwnd(), UM_HOOKEVENT, WM_RBUTTONUP, 0x80);
  ::SendMessageW(dialog_.hwnd(), UM_HOOKEVENT, WM_LBUTTONDOWN, 0);  // the click on Stop
  ::SendMessageW(dialog_.hwnd(), UM_HOOKEVENT, WM_LBUTTONUP, 0x80);
  Press(Controls().record);
  ASSERT_EQ(Page().buffer().eventCount, 62);
  EXPECT_EQ(Page().CapacityText(), u"62 / 80");
  const int rows = Controls().eventList.RowCount();
  RECT client{};
  ::GetClientRect(List(), &client);
  const auto top = static_cast<int>(::SendMessageW(List(), LB_GETTOPINDEX, 0, 0));
  EXPECT_LT(rows - 1, top + client.bottom / kListRowHeight) << "the last row is in view";
  EXPECT_EQ(::SendMessageW(List(), LB_GETITEMDATA, 60, 0), IDB_LIST_BUTTON_PRESS);
  EXPECT_EQ(::SendMessageW(List(), LB_GETITEMDATA, 61, 0), IDB_LIST_BUTTON_RELEASE);
  // The recording is one step to undo.
  Press(Controls().undo);
  EXPECT_EQ(Page().buffer().eventCount, 0);
  EXPECT_EQ(Controls().eventList.RowCount(), 0);
}

// Change key takes the next key for a press and its release; Insert key in a macro
// without room for two events shows the limit warning instead; a key still awaited
// when the dialog hides is awaited no more.
TEST_F(MacroEditing, KeyCaptureChangesPairsStopsAtTheLimitAndEndsWithTheDialog) {
  std::vector<MacroEvent> full;
  for (int i = 0; i < 79; ++i) full.push_back(i % 2 == 0 ? Down(10, kA) : Up(10, kA));
  StoreMacro(u"nearly full", 1, full);
  KeySlot slot = MacroSlot(u"nearly full");
  OpenFor(slot);
  ::SendMessageW(List(), LB_SETCURSEL, 1, 0);  // the release of the first A
  Press(Controls().changeKey);
  ASSERT_TRUE(Page().IsCapturingKey());
  EXPECT_TRUE(dialog_.hookOn());
  MSG typed{List(), WM_KEYDOWN, 'C', 0, 0, {}};
  EXPECT_TRUE(dialog_.PreTranslateMessage(typed)) << "the awaited key is for the hook only";
  ::SendMessageW(dialog_.hwnd(), UM_HOOKEVENT, 'C', 0);
  EXPECT_FALSE(Page().IsCapturingKey());
  EXPECT_FALSE(dialog_.hookOn());
  EXPECT_EQ(Events()[0], Down(10, 0x06));
  EXPECT_EQ(Events()[1], Up(10, 0x06));
  EXPECT_EQ(Events()[2], Down(10, kA));
  EXPECT_EQ(Page().noticeKey(), u"STATUS_PAIR_CHANGED");
  Press(Controls().down);
  EXPECT_EQ(Page().noticeKey(), u"") << "a notice tells of the latest command only";
  Press(Controls().up);

  const UINT_PTR timer = AnswerNextWarning(true);
  Press(Controls().insertKey);
  ::KillTimer(nullptr, timer);
  EXPECT_EQ(g_warnings, 1) << "the limit warning";
  EXPECT_FALSE(Page().IsCapturingKey());
  EXPECT_EQ(Page().buffer().eventCount, 79);

  Press(Controls().undo);
  Press(Controls().changeKey);
  ASSERT_TRUE(Page().IsCapturingKey());
  ::ShowWindow(dialog_.hwnd(), SW_HIDE);
  EXPECT_FALSE(Page().IsCapturingKey());
  EXPECT_FALSE(dialog_.hookOn());
  OpenFor(slot);
  EXPECT_FALSE(dialog_.PreTranslateMessage(typed)) << "keys reach the dialog again";
  EXPECT_FALSE(Controls().changeKey.selected());
}

// Insert pause takes the length in its own field, never the selected event's delay (a
// plain click used to add the 1 ms of the first press). How a pause is stored stays:
// it is added to the delay of the event after the selection. Enter in the field
// inserts too, and Ctrl+A selects all in every field of the page, as in Windows fields.
TEST_F(MacroEditing, InsertPauseTakesItsOwnLengthAndCtrlASelectsAllInTheFields) {
  StoreMacro(u"Combo", 3, {Down(1, kA), Up(150, kA), Down(40, kB), Up(60, kB)});
  KeySlot slot = MacroSlot(u"Combo");
  OpenFor(slot);
  ASSERT_TRUE(BringDialogToFront());
  if (!testing::StartXdotool(L"key shift")) GTEST_SKIP() << "xdotool cannot be started";
  PumpFor(400);

  ClickRow(0);
  ASSERT_EQ(Controls().delayField.Text(), u"1");
  ClickOn(Controls().insertPause.hwnd());
  EXPECT_EQ(Events(), (std::vector<MacroEvent>{Down(1, kA), Up(250, kA), Down(40, kB), Up(60, kB)}))
      << "the pause field's 100 ms went to the next event";
  EXPECT_EQ(Page().noticeKey(), u"STATUS_PAUSE_ADDED");

  ClickOn(Controls().pauseField.hwnd());
  Keys(L"End ctrl+a 3 0 0 Return");
  EXPECT_EQ(Controls().pauseField.Text(), u"300") << "Ctrl+A selected the length, the digits replaced it";
  EXPECT_EQ(Events(), (std::vector<MacroEvent>{Down(1, kA), Up(250, kA), Down(340, kB), Up(60, kB)}))
      << "Enter inserted after the selected row";

  for (CClrEdit* field : {&Controls().nameField, &Controls().repeatField, &Controls().delayField,
                          &Controls().pauseField}) {
    const std::u16string text = field->Text();
    ClickOn(field->hwnd());
    Keys(L"End ctrl+a");
    DWORD start = 1, end = 0;
    ::SendMessageW(field->hwnd(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u) << Utf16ToUtf8(text);
    EXPECT_EQ(end, text.size()) << Utf16ToUtf8(text);
    EXPECT_EQ(field->Text(), text) << "Ctrl+A types nothing";
  }
}

// The page in each language with a notice showing, saved for a look by eye.
TEST_F(MacroEditing, ScreenshotsInEachLanguage) {
  StoreMacro(u"Combo", 2,
             {Down(1, 0xE0), Down(40, kA), Up(90, kA), Up(30, 0xE0), Down(300, 0xB7),
              Up(120, 0xB7), Down(60, kB), Up(80, kB)});
  KeySlot slot = MacroSlot(u"Combo");
  OpenFor(slot);
  for (const char16_t* language : {u"EN", u"CS", u"ES"}) {
    StringDocument().Load(testing::StagedAppFolder() + u"Languages\\" + language + u"\\Strings.xml");
    dialog_.Relayout();
    ::SendMessageW(List(), LB_SETCURSEL, 3, 0);
    Controls().pauseField.SetText(u"250");
    Press(Controls().insertPause);  // the pause goes to the next event, and the page says so
    EXPECT_EQ(Page().noticeKey(), u"STATUS_PAUSE_ADDED");
    ::SetCursorPos(1279, 1023);
    ::SetWindowPos(dialog_.hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
    ::RedrawWindow(dialog_.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    PumpFor(200);
    const SkinBitmap shot = testing::CaptureClientArea(dialog_.hwnd());
    EXPECT_TRUE(testing::SavePng(shot.get(), testing::ScreenshotFolder() + u"macro_editor_" + language + u".png"));
    Press(Controls().undo);
  }
}

}  // namespace
}  // namespace quencfg
