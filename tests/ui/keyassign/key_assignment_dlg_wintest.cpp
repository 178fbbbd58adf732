// The key assignment dialog on real windows: pages, single-key capture from hook
// events, the program step, reset, OK and Cancel, keys before dispatch, re-layout.
#include "quencfg/ui/keyassign/key_assignment_dlg_win.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "../skin/control_host_win.h"
#include "key_dialog_owner_loop_win.h"
#include "quencfg/framework/gdi_win.h"
#include "quencfg/framework/messages.h"
#include "quencfg/framework/text.h"
#include "quencfg/model/macro_library.h"
#include "quencfg/model/settings_file.h"
#include "quencfg/ui/keyassign/key_name_document.h"
#include "quencfg/ui/skin/skin_documents.h"
#include "support/data_folder_scope.h"
#include "support/gdiplus_session_win.h"
#include "support/other_program_win.h"
#include "support/process_win.h"
#include "support/screenshot_win.h"
#include "support/shipped_skin_win.h"
#include "ui/skin/warn_answer_win.h"

namespace quencfg {
namespace {

constexpr LPARAM kExtended = 0x01;
constexpr LPARAM kRelease = 0x80;

KeySlot SlotOf(std::int32_t function, std::uint8_t keyCode = 0, std::u16string_view launch = {}) {
  KeySlot slot{};
  slot.byBtnFuncType = function;
  slot.byKeyNumber = keyCode;
  CopyToField(slot.launch, launch);
  CopyToField(slot.MacroName, u"Macro 1");
  slot.repeatTime = 1;
  return slot;
}

bool SameBytes(const KeySlot& a, const KeySlot& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

bool Visible(HWND window) { return ::IsWindowVisible(window) != FALSE; }

class KeyAssignmentDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(skin_.loaded());
    PrepareDataFolder();  // the macro page works on the data folder's macro library
    ASSERT_TRUE(host_.Make(900, 560, 0, 0));
    ASSERT_TRUE(dialog_.CreateHidden(host_.hwnd()));
    EXPECT_FALSE(Visible(dialog_.hwnd())) << "created hidden";
  }

  // Opens the dialog for `slot` as the main window does for a key.
  void OpenFor(KeySlot& slot) {
    ::ShowWindow(dialog_.hwnd(), SW_SHOWNA);
    dialog_.SetSlot(slot);
    dialog_.SetMacroOnly(false);
    dialog_.ShowAssignment();
  }
  void Press(CPngListBtn& button) {
    ::SendMessageW(dialog_.hwnd(), WM_COMMAND, MAKEWPARAM(1001, BN_CLICKED), reinterpret_cast<LPARAM>(button.hwnd()));
  }
  void HookEvent(WPARAM what, LPARAM flags) { ::SendMessageW(dialog_.hwnd(), UM_HOOKEVENT, what, flags); }
  std::size_t KeyChangedPosts() {
    testing::PumpMessages();
    return host_.Of(UM_KEYCHANGED).size();
  }
  // Dispatches what arrives as the main window's modal loop does, the dialog's key
  // filter first, until `done` or the time is up.
  template <typename Done>
  void PumpAsTheOwnerUntil(Done done, DWORD milliseconds) {
    loop_.PumpUntil(done, milliseconds);
  }
  void PumpAsTheOwnerFor(DWORD milliseconds) { loop_.PumpFor(milliseconds); }
  bool BringDialogToFront() { return loop_.BringDialogToFront(); }
  // A click through the X server at the middle of `control`, as the user clicks.
  void RealClick(HWND control) {
    RECT place{};
    ::GetWindowRect(control, &place);
    const std::wstring at = std::to_wstring((place.left + place.right) / 2) + L" " +
                            std::to_wstring((place.top + place.bottom) / 2);
    ASSERT_TRUE(testing::StartXdotool(L"mousemove " + at + L" click 1"));
  }

  int altF4Seen_ = 0;

  testing::ShippedSkin skin_;
  testing::GdiplusSession gdiplus_;
  testing::DataFolderScope data_;
  testing::ControlHost host_;
  CKeyAssignmentDlg dialog_;
  testing::KeyDialogOwnerLoop loop_{dialog_, [this](const MSG& message) {
                                      if (dialog_.IsFor(message) && message.message == WM_SYSKEYDOWN &&
                                          message.wParam == VK_F4)
                                        ++altF4Seen_;
                                    }};
};

TEST_F(KeyAssignmentDialog, OpensEachFunctionOnItsPage) {
  struct Case {
    KeySlot slot;
    AssignmentPage page;
    std::u16string keyCaption, programCaption;
  } cases[] = {
      {SlotOf(BTNFUNC_KEY, 0x04), kPageSingleKey, u"A", u""},
      {SlotOf(BTNFUNC_KEY, 0x28), kPageSingleKey, KeyNameForVirtualKey(0x0D), u""},
      {SlotOf(BTNFUNC_LAUNCH, 0x04, u"C:\\Tools\\app.exe"), kPageLaunch, u"", u"app.exe"},
      {SlotOf(BTNFUNC_MACRO, 0x04, u"C:\\Tools\\app.exe"), kPageMacro, u"", u""},
      {SlotOf(BTNFUNC_DEFAULT, 0x04, u"C:\\Tools\\app.exe"), kPageSingleKey, u"", u""},
      {SlotOf(BTNFUNC_DISABLE), kPageSingleKey, u"", u""},
  };
  EXPECT_EQ(KeyNameForVirtualKey(0x0D), u"Enter");
  for (Case& c : cases) {
    SCOPED_TRACE(c.slot.byBtnFuncType);
    const KeySlot before = c.slot;
    OpenFor(c.slot);
    EXPECT_EQ(dialog_.page(), c.page);
    EXPECT_EQ(Utf16ToUtf8(dialog_.keyDisplay().caption()), Utf16ToUtf8(c.keyCaption));
    EXPECT_EQ(Utf16ToUtf8(dialog_.programButton().caption()), Utf16ToUtf8(c.programCaption));
    EXPECT_EQ(Visible(dialog_.keyDisplay().hwnd()), c.page == kPageSingleKey);
    EXPECT_EQ(Visible(dialog_.programButton().hwnd()), c.page == kPageLaunch);
    EXPECT_EQ(dialog_.hookOn(), c.page == kPageSingleKey) << "the hook listens on the single-key page only";
    EXPECT_EQ(dialog_.workingSlot().byBtnFuncType, before.byBtnFuncType) << "opening changes nothing";
    for (int p = kPageSingleKey; p <= kPageLaunch; ++p) {
      EXPECT_TRUE(Visible(dialog_.pageButton(static_cast<AssignmentPage>(p)).hwnd()));
      EXPECT_EQ(dialog_.pageButton(static_cast<AssignmentPage>(p)).selected(), p == c.page);
    }
  }
}

TEST_F(KeyAssignmentDialog, HookEventsAssignKeysOnTheSingleKeyPage) {
  struct Case {
    const char* what;
    WPARAM virtualKey;
    LPARAM flags;
    bool assigns;
    std::uint8_t code;
  } cases[] = {
      {"Enter", VK_RETURN, 0, true, 0x28},
      {"keypad Enter", VK_RETURN, kExtended, true, 0x28},
      {"A", 'A', 0, true, 0x04},
      {"Escape", VK_ESCAPE, 0, true, 0x29},
      {"release", VK_RETURN, kRelease, false, 0},
      {"media key", VK_VOLUME_UP, 0, false, 0},
      {"play/pause", VK_MEDIA_PLAY_PAUSE, 0, false, 0},
      {"left mouse button", WM_LBUTTONDOWN, 0, false, 0},
      {"right mouse button", WM_RBUTTONDOWN, 0, false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    KeySlot slot = SlotOf(BTNFUNC_DEFAULT, 0x3A);  // a stored F1 that the page does not take up
    OpenFor(slot);
    HookEvent(c.virtualKey, c.flags);
    EXPECT_EQ(dialog_.workingSlot().byBtnFuncType, c.assigns ? BTNFUNC_KEY : BTNFUNC_DEFAULT);
    EXPECT_EQ(dialog_.workingSlot().byKeyNumber, c.assigns ? c.code : 0x3A);
    const std::u16string caption = c.assigns ? KeyNameForVirtualKey(static_cast<std::uint32_t>(c.virtualKey)) : u"";
    EXPECT_EQ(Utf16ToUtf8(dialog_.keyDisplay().caption()), Utf16ToUtf8(caption));
  }
}

TEST_F(KeyAssignmentDialog, HoldingAKeyAssignsItOnceAndOtherPagesIgnoreKeys) {
  KeySlot slot = SlotOf(BTNFUNC_KEY, 0x04);
  OpenFor(slot);
  HookEvent('B', 0);
  HookEvent('B', kRelease);
  EXPECT_EQ(dialog_.workingSlot().byKeyNumber, 0x05);
  Press(dialog_.pageButton(kPageLaunch));
  HookEvent('C', 0);
  EXPECT_EQ(dialog_.workingSlot().byKeyNumber, 0x05) << "not captured on the launch page";
  Press(dialog_.pageButton(kPageSingleKey));
  EXPECT_EQ(Utf16ToUtf8(dialog_.keyDisplay().caption()), "B");
  // Events still queued after the dialog was hidden change nothing.
  Press(dialog_.cancelButton());
  HookEvent('D', 0);
  EXPECT_EQ(dialog_.workingSlot().byKeyNumber, 0x05);
}

TEST_F(KeyAssignmentDialog, CancelAfterEditsLeavesTheSlotAndPostsNothing) {
  KeySlot slot = SlotOf(BTNFUNC_KEY, 0x04, u"C:\\old.exe");
  const KeySlot before = slot;
  OpenFor(slot);
  HookEvent(VK_RETURN, 0);
  Press(dialog_.pageButton(kPageLaunch));
  dialog_.ApplyChosenProgram(u"C:\\Tools\\new.exe");
  Press(dialog_.pageButton(kPageMacro));
  Press(dialog_.resetButton());
  Press(dialog_.cancelButton());
  EXPECT_TRUE(SameBytes(slot, before));
  EXPECT_EQ(KeyChangedPosts(), 0u);
  EXPECT_FALSE(Visible(dialog_.hwnd()));
  EXPECT_FALSE(dialog_.hookOn()) << "no hook while hidden";
  EXPECT_TRUE(::IsWindow(dialog_.hwnd()));
}

TEST_F(KeyAssignmentDialog, OkWritesTheSlotBackAndTellsTheOwner) {
  KeySlot unchanged = SlotOf(BTNFUNC_KEY, 0x04);
  const KeySlot before = unchanged;
  OpenFor(unchanged);
  Press(dialog_.okButton());
  EXPECT_TRUE(SameBytes(unchanged, before));
  ASSERT_EQ(KeyChangedPosts(), 1u);
  EXPECT_EQ(host_.Of(UM_KEYCHANGED)[0].wParam, 0u);
  EXPECT_EQ(host_.Of(UM_KEYCHANGED)[0].lParam, 0);
  EXPECT_FALSE(Visible(dialog_.hwnd()));

  host_.Clear();
  KeySlot edited = SlotOf(BTNFUNC_DEFAULT);
  OpenFor(edited);
  HookEvent(VK_RETURN, kExtended);
  HookEvent(WM_LBUTTONDOWN, 0);  // the click on OK itself, as the hook reports it
  testing::Click(dialog_.okButton().hwnd(), 20, 20);  // a real click this time
  EXPECT_EQ(edited.byBtnFuncType, BTNFUNC_KEY);
  EXPECT_EQ(edited.byKeyNumber, 0x28);
  EXPECT_EQ(KeyChangedPosts(), 1u);
}

TEST_F(KeyAssignmentDialog, ResetThenOkStoresTheFactoryFunction) {
  KeySlot slot = SlotOf(BTNFUNC_LAUNCH, 0x2B, u"C:\\Tools\\app.exe");
  OpenFor(slot);
  Press(dialog_.resetButton());
  EXPECT_EQ(dialog_.page(), kPageSingleKey);
  EXPECT_TRUE(dialog_.hookOn());
  EXPECT_EQ(dialog_.keyDisplay().caption(), u"");
  EXPECT_EQ(dialog_.programButton().caption(), u"");
  Press(dialog_.okButton());
  EXPECT_EQ(slot.byBtnFuncType, BTNFUNC_DEFAULT);
  EXPECT_EQ(slot.byKeyNumber, 0x2B);
  EXPECT_EQ(FieldText(slot.launch), u"C:\\Tools\\app.exe");

  // Opened again and confirmed without a choice, the key stays reset although it
  // still stores a key code.
  OpenFor(slot);
  Press(dialog_.okButton());
  EXPECT_EQ(slot.byBtnFuncType, BTNFUNC_DEFAULT);
}

TEST_F(KeyAssignmentDialog, MacroPageRecordsTheKeysMacroAndOkSavesIt) {
  KeySlot slot = SlotOf(BTNFUNC_KEY, 0x04);
  OpenFor(slot);
  Press(dialog_.pageButton(kPageMacro));
  CMacroPage& page = dialog_.macroPage();
  EXPECT_TRUE(Visible(page.controls().eventList.hwnd()));
  EXPECT_FALSE(dialog_.hookOn()) << "the macro page listens only while recording";
  EXPECT_EQ(dialog_.workingSlot().byBtnFuncType, BTNFUNC_MACRO);
  EXPECT_EQ(FieldText(dialog_.workingSlot().MacroName), u"Macro 1");

  Press(page.controls().record);
  EXPECT_TRUE(page.IsRecording());
  EXPECT_TRUE(dialog_.hookOn());
  EXPECT_FALSE(::IsWindowEnabled(dialog_.okButton().hwnd())) << "OK waits for the end of the recording";
  MSG typed{dialog_.hwnd(), WM_KEYDOWN, 'B', 0, 0, {}};
  EXPECT_TRUE(dialog_.PreTranslateMessage(typed)) << "keys typed while recording are only recorded";
  HookEvent('A', 0);
  HookEvent('A', kRelease);
  Press(page.controls().record);
  EXPECT_FALSE(page.IsRecording());
  EXPECT_FALSE(dialog_.hookOn());

  Press(dialog_.okButton());
  EXPECT_EQ(slot.byBtnFuncType, BTNFUNC_MACRO);
  EXPECT_EQ(FieldText(slot.MacroName), u"Macro 1");
  MacroFile saved{};
  ReadMacro(saved, u"Macro 1");
  EXPECT_EQ(saved.events[0].map, 0x04);
  EXPECT_EQ(saved.events[0].attributeH & 0x80, 0x80) << "a press";
  EXPECT_EQ(saved.events[1].map, 0x04);
  EXPECT_EQ(saved.events[1].attributeH & 0x80, 0) << "then a release";
  EXPECT_EQ(KeyChangedPosts(), 1u);
}

TEST_F(KeyAssignmentDialog, LaunchPage) {
  KeySlot slot = SlotOf(BTNFUNC_KEY, 0x04);
  OpenFor(slot);
  Press(dialog_.pageButton(kPageLaunch));
  EXPECT_EQ(dialog_.page(), kPageLaunch);
  EXPECT_EQ(dialog_.workingSlot().byBtnFuncType, BTNFUNC_KEY) << "no program yet";
  EXPECT_FALSE(dialog_.hookOn());
  dialog_.ApplyChosenProgram(u"");  // the picker was cancelled
  EXPECT_EQ(dialog_.workingSlot().byBtnFuncType, BTNFUNC_KEY);
  dialog_.ApplyChosenProgram(u"C:\\Program Files\\Tool\\tool.lnk");
  EXPECT_EQ(dialog_.workingSlot().byBtnFuncType, BTNFUNC_LAUNCH);
  EXPECT_EQ(dialog_.programButton().caption(), u"tool.lnk");
  // Back on the single-key page the stored key is taken up again and shown.
  Press(dialog_.pageButton(kPageSingleKey));
  EXPECT_EQ(dialog_.workingSlot().byBtnFuncType, BTNFUNC_KEY);
  EXPECT_EQ(dialog_.keyDisplay().caption(), u"A");
  Press(dialog_.pageButton(kPageLaunch));
  Press(dialog_.okButton());
  EXPECT_EQ(slot.byBtnFuncType, BTNFUNC_LAUNCH);
  EXPECT_EQ(FieldText(slot.launch), u"C:\\Program Files\\Tool\\tool.lnk");
  EXPECT_EQ(slot.byKeyNumber, 0x04);
}

// The macro editor shows only what edits macros: no page tab (not even a lone one) and
// no reset, which would lead to the single-key page.
TEST_F(KeyAssignmentDialog, MacroOnlyModeHidesThePageButtonsAndResetAndTouchesNoSlot) {
  KeySlot slot = SlotOf(BTNFUNC_KEY, 0x04);
  const KeySlot before = slot;
  OpenFor(slot);
  ::ShowWindow(dialog_.hwnd(), SW_SHOWNA);
  dialog_.SetMacroOnly(true);
  EXPECT_TRUE(dialog_.macroOnly());
  EXPECT_EQ(dialog_.page(), kPageMacro);
  EXPECT_FALSE(Visible(dialog_.pageButton(kPageSingleKey).hwnd()));
  EXPECT_FALSE(Visible(dialog_.pageButton(kPageLaunch).hwnd()));
  EXPECT_FALSE(Visible(dialog_.pageButton(kPageMacro).hwnd()));
  EXPECT_FALSE(Visible(dialog_.resetButton().hwnd()));
  EXPECT_FALSE(Visible(dialog_.keyDisplay().hwnd()));
  Press(dialog_.okButton());
  EXPECT_FALSE(Visible(dialog_.hwnd()));
  EXPECT_TRUE(SameBytes(slot, before));
  EXPECT_EQ(KeyChangedPosts(), 0u);

  OpenFor(slot);  // a key again
  EXPECT_TRUE(Visible(dialog_.pageButton(kPageSingleKey).hwnd()));
  EXPECT_TRUE(Visible(dialog_.pageButton(kPageMacro).hwnd()));
  EXPECT_TRUE(Visible(dialog_.pageButton(kPageLaunch).hwnd()));
  EXPECT_TRUE(Visible(dialog_.resetButton().hwnd()));
}

TEST_F(KeyAssignmentDialog, EnterEscapeAndSpaceNeverReachTheButtons) {
  KeySlot slot = SlotOf(BTNFUNC_KEY, 0x04);
  OpenFor(slot);
  const HWND targets[] = {dialog_.hwnd(), dialog_.okButton().hwnd(), dialog_.cancelButton().hwnd()};
  for (HWND target : targets) {
    for (WPARAM key : {VK_RETURN, VK_ESCAPE, VK_SPACE}) {
      MSG down{target, WM_KEYDOWN, key, 0, 0, {}};
      EXPECT_TRUE(dialog_.PreTranslateMessage(down)) << key;
      MSG up{target, WM_KEYUP, key, static_cast<LPARAM>(0xC0000000), 0, {}};
      EXPECT_FALSE(dialog_.PreTranslateMessage(up)) << key;
    }
    MSG letter{target, WM_KEYDOWN, 'A', 0, 0, {}};
    EXPECT_FALSE(dialog_.PreTranslateMessage(letter));
  }
  MSG elsewhere{host_.hwnd(), WM_KEYDOWN, VK_RETURN, 0, 0, {}};
  EXPECT_FALSE(dialog_.PreTranslateMessage(elsewhere)) << "other windows keep their keys";
}

TEST_F(KeyAssignmentDialog, ClosedBySystemItIsHiddenNotDestroyed) {
  KeySlot slot = SlotOf(BTNFUNC_KEY, 0x04);
  const KeySlot before = slot;
  OpenFor(slot);
  HookEvent('B', 0);
  ::SendMessageW(dialog_.hwnd(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(::IsWindow(dialog_.hwnd()));
  EXPECT_FALSE(Visible(dialog_.hwnd()));
  EXPECT_TRUE(SameBytes(slot, before));
  EXPECT_EQ(KeyChangedPosts(), 0u);
}

void SendKeys(const std::vector<std::pair<WORD, bool>>& keys) {
  std::vector<INPUT> inputs;
  for (const auto& [virtualKey, release] : keys) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = static_cast<WORD>(::MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = release ? KEYEVENTF_KEYUP : 0;
    inputs.push_back(input);
  }
  ASSERT_EQ(::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)), inputs.size());
}

// While a key is captured or a macro recorded, Alt+F4, F10 and Alt reach the dialog
// and do nothing there: it stays open, and a recording runs on.
TEST_F(KeyAssignmentDialog, SystemKeysNeverActOnTheDialogWhileItCapturesKeys) {
  for (const bool recording : {false, true}) {
    SCOPED_TRACE(recording ? "recording" : "capturing a single key");
    KeySlot slot = SlotOf(recording ? BTNFUNC_MACRO : BTNFUNC_KEY, 0x04);
    OpenFor(slot);
    ASSERT_TRUE(BringDialogToFront());
    if (recording) {
      Press(dialog_.macroPage().controls().record);  // the event list takes the focus
      ASSERT_TRUE(dialog_.macroPage().IsRecording());
    } else {
      ::SetFocus(dialog_.hwnd());
    }
    altF4Seen_ = 0;
    SendKeys({{VK_MENU, false}, {VK_F4, false}, {VK_F4, true}, {VK_MENU, true}, {VK_F10, false}, {VK_F10, true},
              {VK_MENU, false}, {VK_MENU, true}});
    PumpAsTheOwnerUntil([this] { return altF4Seen_ > 0; }, 5000);
    PumpAsTheOwnerFor(300);
    ASSERT_EQ(altF4Seen_, 1) << "Alt+F4 reached the dialog";
    EXPECT_TRUE(Visible(dialog_.hwnd()));
    EXPECT_EQ(dialog_.macroPage().IsRecording(), recording);
    EXPECT_EQ(dialog_.page(), recording ? kPageMacro : kPageSingleKey);
    if (recording) Press(dialog_.macroPage().controls().record);
    if (recording) testing::AnswerNextWarning(true);  // the keys recorded are dropped
    Press(dialog_.cancelButton());
    EXPECT_FALSE(Visible(dialog_.hwnd()));
  }
}

// However the dialog goes out of sight, a recording does not outlive it: the next
// opening shows the record button idle and OK enabled, and no hook listens meanwhile.
TEST_F(KeyAssignmentDialog, ARecordingEndsWhenTheDialogHidesOrOpensAgain) {
  struct Case {
    const char* what;
    void (*hide)(HWND dialog);
    bool noticedAtOnce;  // a hide the dialog is told of
    bool asMacroEditor;  // opened again by the main window's macro button
  };
  const Case cases[] = {
      {"closed by the system", [](HWND d) { ::SendMessageW(d, WM_CLOSE, 0, 0); }, true, false},
      {"hidden by its owner", [](HWND d) { ::ShowWindow(d, SW_HIDE); }, true, false},
      {"hidden without a notice, opened as the macro editor",
       [](HWND d) {
         ::SetWindowPos(d, nullptr, 0, 0, 0, 0,
                        SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
       },
       false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    KeySlot slot = SlotOf(BTNFUNC_MACRO);
    OpenFor(slot);
    CMacroPage& page = dialog_.macroPage();
    Press(page.controls().record);
    ASSERT_TRUE(page.IsRecording());
    ASSERT_TRUE(dialog_.hookOn());
    c.hide(dialog_.hwnd());
    EXPECT_FALSE(Visible(dialog_.hwnd()));
    if (c.noticedAtOnce) {
      EXPECT_FALSE(page.IsRecording());
      EXPECT_FALSE(dialog_.hookOn()) << "no hook while hidden";
    }
    if (c.asMacroEditor) {
      dialog_.SetMacroOnly(true);
      ::ShowWindow(dialog_.hwnd(), SW_SHOWNA);
    } else {
      OpenFor(slot);
    }
    EXPECT_FALSE(page.IsRecording());
    EXPECT_FALSE(dialog_.hookOn());
    EXPECT_EQ(page.controls().record.caption(), u"Record");
    EXPECT_FALSE(page.controls().record.selected());
    EXPECT_TRUE(::IsWindowEnabled(dialog_.okButton().hwnd()));
    EXPECT_TRUE(::IsWindowEnabled(dialog_.cancelButton().hwnd()));
    EXPECT_TRUE(::IsWindowEnabled(page.controls().nameField.hwnd()));
    Press(dialog_.cancelButton());
    EXPECT_FALSE(Visible(dialog_.hwnd())) << "Cancel works again";
  }
}

// As a user does it: the real hook, "ab" typed through the X server and a real click
// on STOP. The saved macro holds the four key events and nothing of the click.
TEST_F(KeyAssignmentDialog, TypedKeysAndARealClickOnStopSaveOnlyTheKeys) {
  KeySlot slot = SlotOf(BTNFUNC_MACRO);
  OpenFor(slot);
  CMacroPage& page = dialog_.macroPage();
  Press(page.controls().clear);
  ASSERT_TRUE(BringDialogToFront());
  // Shift first, while no hook listens: the X server may hand the first key of a new
  // focus to Wine late.
  if (!testing::StartXdotool(L"key shift")) GTEST_SKIP() << "xdotool cannot be started";
  PumpAsTheOwnerFor(400);
  Press(page.controls().record);
  ASSERT_TRUE(dialog_.hookOn()) << "KBHook.dll is not staged";
  PumpAsTheOwnerFor(300);

  ASSERT_TRUE(testing::StartXdotool(L"key --delay 80 a b"));
  PumpAsTheOwnerUntil([&page] { return page.buffer().eventCount >= 4; }, 5000);
  PumpAsTheOwnerFor(200);
  ASSERT_EQ(page.buffer().eventCount, 4);

  RECT record{};
  ::GetWindowRect(page.controls().record.hwnd(), &record);
  const std::wstring at = std::to_wstring((record.left + record.right) / 2) + L" " +
                          std::to_wstring((record.top + record.bottom) / 2);
  ASSERT_TRUE(testing::StartXdotool(L"mousemove " + at + L" click 1"));
  PumpAsTheOwnerUntil([&page] { return !page.IsRecording(); }, 5000);
  PumpAsTheOwnerFor(300);  // whatever the hook still had on its way
  ASSERT_FALSE(page.IsRecording()) << "the click reached STOP";
  EXPECT_EQ(page.controls().eventList.RowCount(), 4);

  Press(dialog_.okButton());
  MacroFile saved{};
  ReadMacro(saved, u"Macro 1");
  const std::pair<std::uint8_t, bool> expected[] = {{0x04, true}, {0x04, false}, {0x05, true}, {0x05, false}};
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    EXPECT_EQ(saved.events[i].map, expected[i].first) << i;
    EXPECT_EQ(IsPress(saved.events[i]), expected[i].second) << i;
  }
  EXPECT_TRUE(IsEndOfEvents(saved.events[4])) << "the macro ends with the keys";
}

// The hook sees what the user types into every program. With the dialog open, the
// user clicks into another program (notepad) and types "b" there: the key is notepad's,
// the dialog takes nothing, and OK leaves the key as it was. Back in front, the dialog
// captures again.
TEST_F(KeyAssignmentDialog, KeysTypedIntoAnotherProgramAreNotCaptured) {
  testing::OtherProgram notepad;
  ASSERT_TRUE(notepad.Open()) << "notepad did not start";
  KeySlot slot = SlotOf(BTNFUNC_KEY, 0x04);
  const KeySlot before = slot;
  OpenFor(slot);
  ASSERT_TRUE(BringDialogToFront());
  if (!testing::StartXdotool(L"key shift")) GTEST_SKIP() << "xdotool cannot be started";
  PumpAsTheOwnerFor(400);
  OpenFor(slot);  // opened again: Shift, pressed only to wake the X server's keyboard, is forgotten
  ASSERT_TRUE(dialog_.hookOn()) << "KBHook.dll is not staged";

  ASSERT_TRUE(testing::StartXdotool(L"mousemove " + notepad.TextAreaPoint() + L" click 1"));
  PumpAsTheOwnerUntil([&notepad] { return ::GetForegroundWindow() == notepad.window(); }, 5000);
  ASSERT_EQ(::GetForegroundWindow(), notepad.window()) << "the click did not bring notepad to the front";
  ASSERT_TRUE(testing::StartXdotool(L"key --delay 80 b"));
  PumpAsTheOwnerUntil([&notepad] { return notepad.Text() == L"b"; }, 5000);
  PumpAsTheOwnerFor(300);  // whatever the hook still had on its way
  ASSERT_EQ(notepad.Text(), L"b") << "the key went to notepad";
  EXPECT_EQ(dialog_.workingSlot().byKeyNumber, 0x04);
  EXPECT_EQ(Utf16ToUtf8(dialog_.keyDisplay().caption()), "A");
  EXPECT_FALSE(dialog_.hookOn()) << "no hook listens while another program is in front";

  ASSERT_TRUE(BringDialogToFront());
  PumpAsTheOwnerFor(200);
  EXPECT_TRUE(dialog_.hookOn()) << "back in front, the dialog listens again";
  Press(dialog_.okButton());
  EXPECT_TRUE(SameBytes(slot, before)) << "OK wrote the key typed into notepad";

  OpenFor(slot);
  ASSERT_TRUE(BringDialogToFront());
  ASSERT_TRUE(testing::StartXdotool(L"key --delay 80 c"));
  PumpAsTheOwnerUntil([this] { return dialog_.workingSlot().byKeyNumber == 0x06; }, 5000);
  EXPECT_EQ(dialog_.workingSlot().byKeyNumber, 0x06) << "a key typed in the dialog is captured";
  EXPECT_EQ(notepad.Text(), L"b");
  Press(dialog_.cancelButton());
}

// A recording stops as Stop would when the user leaves the program, by a click into
// another program or by minimising it: the keys typed elsewhere are not recorded, nor
// the click that left, and the run is one step to undo.
TEST_F(KeyAssignmentDialog, ARecordingStopsWhenTheProgramLeavesTheFront) {
  testing::OtherProgram notepad;
  ASSERT_TRUE(notepad.Open()) << "notepad did not start";
  for (const bool minimise : {false, true}) {
    SCOPED_TRACE(minimise ? "the owner minimised" : "a click into another program");
    KeySlot slot = SlotOf(BTNFUNC_MACRO);
    OpenFor(slot);
    CMacroPage& page = dialog_.macroPage();
    Press(page.controls().clear);
    ASSERT_TRUE(BringDialogToFront());
    if (!testing::StartXdotool(L"key shift")) GTEST_SKIP() << "xdotool cannot be started";
    PumpAsTheOwnerFor(400);
    Press(page.controls().record);
    ASSERT_TRUE(dialog_.hookOn()) << "KBHook.dll is not staged";
    PumpAsTheOwnerFor(300);
    ASSERT_TRUE(testing::StartXdotool(L"key --delay 80 a"));
    PumpAsTheOwnerUntil([&page] { return page.buffer().eventCount >= 2; }, 5000);
    PumpAsTheOwnerFor(200);
    ASSERT_EQ(page.buffer().eventCount, 2);

    if (minimise) {
      ::SendMessageW(host_.hwnd(), WM_SYSCOMMAND, SC_MINIMIZE, 0);  // as the task bar does
    } else {
      ASSERT_TRUE(testing::StartXdotool(L"mousemove " + notepad.TextAreaPoint() + L" click 1"));
    }
    PumpAsTheOwnerUntil([&page] { return !page.IsRecording(); }, 5000);
    EXPECT_FALSE(page.IsRecording());
    EXPECT_FALSE(dialog_.hookOn());
    if (!minimise) {
      ASSERT_TRUE(testing::StartXdotool(L"key --delay 80 x"));
      PumpAsTheOwnerUntil([&notepad] { return notepad.Text().find(L'x') != std::wstring::npos; }, 5000);
    }
    PumpAsTheOwnerFor(300);
    EXPECT_EQ(page.buffer().eventCount, 2) << "nothing of the other program, nor the click that left";
    EXPECT_EQ(page.controls().eventList.RowCount(), 2);

    if (minimise) {
      ::SendMessageW(host_.hwnd(), WM_SYSCOMMAND, SC_RESTORE, 0);
      PumpAsTheOwnerFor(200);
      EXPECT_TRUE(Visible(dialog_.hwnd())) << "the dialog comes back with its owner";
    }
    EXPECT_EQ(page.controls().record.caption(), u"Record");
    EXPECT_TRUE(::IsWindowEnabled(dialog_.okButton().hwnd()));
    EXPECT_EQ(page.editor().events().undoSteps(), 1) << "the run is one step, as after Stop";
    testing::AnswerNextWarning(true);
    Press(dialog_.cancelButton());
    EXPECT_FALSE(Visible(dialog_.hwnd()));
  }
}

// Minimised with its owner, the dialog lets the hook go; restored, it captures again.
TEST_F(KeyAssignmentDialog, SingleKeyCaptureResumesWhenTheOwnerIsRestored) {
  KeySlot slot = SlotOf(BTNFUNC_KEY, 0x04);
  OpenFor(slot);
  ASSERT_TRUE(BringDialogToFront());
  ASSERT_TRUE(dialog_.hookOn());
  ::SendMessageW(host_.hwnd(), WM_SYSCOMMAND, SC_MINIMIZE, 0);  // as the task bar does
  PumpAsTheOwnerFor(200);
  EXPECT_FALSE(Visible(dialog_.hwnd()));
  EXPECT_FALSE(dialog_.hookOn()) << "no hook while minimised";
  ::SendMessageW(host_.hwnd(), WM_SYSCOMMAND, SC_RESTORE, 0);
  ASSERT_TRUE(BringDialogToFront());
  EXPECT_TRUE(Visible(dialog_.hwnd()));
  EXPECT_TRUE(dialog_.hookOn()) << "restored, the dialog listens again";
  HookEvent('B', 0);
  EXPECT_EQ(dialog_.workingSlot().byKeyNumber, 0x05);
  Press(dialog_.cancelButton());
}

// Six events recorded and not saved, then something that would drop them: the same
// question as New and Delete ask comes first. Cancel keeps all six on the macro page;
// OK lets the step go on. Without unsaved edits nothing is asked.
TEST_F(KeyAssignmentDialog, LeavingUnsavedMacroEditsAsksFirst) {
  struct Case {
    const char* what;
    std::function<void()> act;
    bool closes;
    AssignmentPage pageAfter;
  };
  const Case cases[] = {
      {"single-key page", [this] { Press(dialog_.pageButton(kPageSingleKey)); }, false, kPageSingleKey},
      {"launch page", [this] { Press(dialog_.pageButton(kPageLaunch)); }, false, kPageLaunch},
      {"reset", [this] { Press(dialog_.resetButton()); }, false, kPageSingleKey},
      {"Cancel", [this] { Press(dialog_.cancelButton()); }, true, kPageMacro},
      {"closed by the system", [this] { ::SendMessageW(dialog_.hwnd(), WM_CLOSE, 0, 0); }, true, kPageMacro},
  };

  for (const Case& c : cases) {
    for (const bool discard : {false, true}) {
      SCOPED_TRACE(std::string(c.what) + (discard ? ", discarded" : ", kept"));
      KeySlot slot = SlotOf(BTNFUNC_MACRO);
      OpenFor(slot);
      CMacroPage& page = dialog_.macroPage();
      Press(page.controls().record);
      for (const WPARAM key : {'A', 'B', 'C'}) {
        HookEvent(key, 0);
        HookEvent(key, kRelease);
      }
      Press(page.controls().record);
      ASSERT_EQ(page.buffer().eventCount, 6);

      const int asked = testing::WarningsAnswered();
      testing::AnswerNextWarning(discard);
      c.act();
      testing::PumpMessages();
      EXPECT_EQ(testing::WarningsAnswered(), asked + 1) << "no question came";
      EXPECT_EQ(testing::LatestAnsweredWarningType(), kDiscardMacroEditsWarning);
      if (!discard) {
        EXPECT_TRUE(Visible(dialog_.hwnd()));
        EXPECT_EQ(dialog_.page(), kPageMacro);
        EXPECT_EQ(page.buffer().eventCount, 6);
        EXPECT_EQ(page.controls().eventList.RowCount(), 6);
        EXPECT_TRUE(Visible(page.controls().eventList.hwnd()));
      } else {
        EXPECT_EQ(Visible(dialog_.hwnd()), !c.closes);
        if (!c.closes) {
          EXPECT_EQ(dialog_.page(), c.pageAfter);
        }
      }
      MacroFile saved{};
      ReadMacro(saved, u"Macro 1");
      EXPECT_TRUE(IsEndOfEvents(saved.events[0])) << "nothing was saved";
      if (Visible(dialog_.hwnd())) {
        testing::AnswerNextWarning(true);
        Press(dialog_.cancelButton());
        PumpAsTheOwnerFor(100);  // an answer that no question took is given up here
      }
      ASSERT_FALSE(Visible(dialog_.hwnd()));
    }
  }

  // Nothing unsaved: the pages change and Cancel closes without a question. The macro
  // page's own button keeps the macro being edited.
  KeySlot slot = SlotOf(BTNFUNC_MACRO);
  OpenFor(slot);
  const int asked = testing::WarningsAnswered();
  HookEvent('A', 0);
  Press(dialog_.pageButton(kPageSingleKey));
  Press(dialog_.pageButton(kPageMacro));
  Press(dialog_.macroPage().controls().record);
  HookEvent('D', 0);
  HookEvent('D', kRelease);
  Press(dialog_.macroPage().controls().record);
  Press(dialog_.pageButton(kPageMacro));
  EXPECT_EQ(dialog_.macroPage().buffer().eventCount, 2) << "the macro page's button loaded the macro again";
  Press(dialog_.macroPage().controls().deleteEvent);
  ::SendMessageW(dialog_.macroPage().controls().eventList.hwnd(), LB_SETCURSEL, 0, 0);
  Press(dialog_.macroPage().controls().deleteEvent);  // the pair goes: the macro is as saved
  ASSERT_EQ(dialog_.macroPage().buffer().eventCount, 0);
  Press(dialog_.cancelButton());
  testing::PumpMessages();
  EXPECT_FALSE(Visible(dialog_.hwnd()));
  EXPECT_EQ(testing::WarningsAnswered(), asked) << "a question without anything to lose";
}

// The macro library's buttons during a recording: the run ends first, as Stop ends
// it, so that neither the click on the library's button nor the one answering its
// question joins a macro, and the macro then loaded starts a fresh undo history.
TEST_F(KeyAssignmentDialog, LibraryButtonsEndARecordingFirst) {
  enum class Action { kNew, kDelete, kMenu };
  const struct {
    const char* what;
    Action action;
  } cases[] = {{"New", Action::kNew}, {"Delete", Action::kDelete}, {"a pick from the macro menu", Action::kMenu}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    for (const char16_t* name : {u"Macro 1", u"Macro 2"}) DeleteMacro(name);
    MacroFile other{};
    CopyToField(other.MacroName, u"Macro 2");
    other.Repeat = 1;
    other.events[0] = MakeMacroEvent(true, 1, 0x1B);  // X pressed
    other.events[1] = MakeMacroEvent(false, 20, 0x1B);
    WriteMacro(other, u"Macro 2");
    MacroFile first{};
    CopyToField(first.MacroName, u"Macro 1");
    first.Repeat = 1;
    WriteMacro(first, u"Macro 1");

    KeySlot slot = SlotOf(BTNFUNC_MACRO);
    OpenFor(slot);
    CMacroPage& page = dialog_.macroPage();
    ASSERT_EQ(FieldText(dialog_.workingSlot().MacroName), u"Macro 1");
    ASSERT_TRUE(BringDialogToFront());
    if (!testing::StartXdotool(L"key shift")) GTEST_SKIP() << "xdotool cannot be started";
    PumpAsTheOwnerFor(400);
    Press(page.controls().record);
    ASSERT_TRUE(dialog_.hookOn()) << "KBHook.dll is not staged";
    PumpAsTheOwnerFor(300);
    ASSERT_TRUE(testing::StartXdotool(L"key --delay 80 a"));
    PumpAsTheOwnerUntil([&page] { return page.buffer().eventCount >= 2; }, 5000);
    PumpAsTheOwnerFor(200);
    ASSERT_EQ(page.buffer().eventCount, 2);

    const int asked = testing::WarningsAnswered();
    testing::AnswerNextWarningWithARealClick(true);  // the recorded "a" goes
    CPngListBtn& button = c.action == Action::kNew      ? page.controls().macroNew
                          : c.action == Action::kDelete ? page.controls().macroDelete
                                                        : page.controls().macroMenu;
    RealClick(button.hwnd());
    if (c.action == Action::kMenu) {
      PumpAsTheOwnerUntil([&page] { return page.macroMenu() != nullptr; }, 5000);
      ASSERT_NE(page.macroMenu(), nullptr);
      EXPECT_FALSE(page.IsRecording()) << "the menu opened with the recorder still running";
      const auto& names = page.editor().macroNames();
      const auto second = std::find(names.begin(), names.end(), u"Macro 2") - names.begin();
      ::PostMessageW(dialog_.hwnd(), kMenuPickCommand, 0, MAKELPARAM(0, second));
    }
    PumpAsTheOwnerUntil([&] { return testing::WarningsAnswered() > asked && !page.IsRecording(); }, 5000);
    PumpAsTheOwnerFor(500);  // the answering click and whatever the hook still had on its way
    EXPECT_EQ(testing::WarningsAnswered(), asked + 1);
    EXPECT_FALSE(page.IsRecording());
    EXPECT_FALSE(dialog_.hookOn());
    EXPECT_EQ(page.controls().record.caption(), u"Record");
    const std::u16string shown = page.controls().nameField.Text();
    EXPECT_EQ(Utf16ToUtf8(shown), c.action == Action::kNew ? "Macro 3" : "Macro 2");
    const int expectedEvents = c.action == Action::kNew ? 0 : 2;
    EXPECT_EQ(page.buffer().eventCount, expectedEvents) << "a click joined the macro";
    EXPECT_EQ(page.controls().eventList.RowCount(), expectedEvents);

    Press(page.controls().undo);
    EXPECT_EQ(page.buffer().eventCount, expectedEvents) << "undo put back events of the macro edited before";
    EXPECT_EQ(page.noticeKey(), u"STATUS_NOTHING_TO_UNDO");
    Press(dialog_.cancelButton());
    ASSERT_FALSE(Visible(dialog_.hwnd())) << "a question came for an unchanged macro";
    DeleteMacro(u"Macro 3");
  }
}

// Warnings that say what happened. Insert key with no room for a press and its
// release says the macro is full (nothing records, so nothing "has stopped"), with OK
// alone. A name that only changes the case of the macro's own name is no other
// macro's: OK takes it, and the one file takes the new spelling with its events.
TEST_F(KeyAssignmentDialog, WarningsSayWhatHappened) {
  for (const int stored : {80, 79}) {
    SCOPED_TRACE(stored);
    MacroFile full{};
    CopyToField(full.MacroName, u"Macro 1");
    full.Repeat = 1;
    for (int i = 0; i < stored; ++i) full.events[i] = MakeMacroEvent(i % 2 == 0, 20, 0x04);
    WriteMacro(full, u"Macro 1");
    KeySlot slot = SlotOf(BTNFUNC_MACRO);
    OpenFor(slot);
    CMacroPage& page = dialog_.macroPage();
    ASSERT_EQ(page.buffer().eventCount, stored);
    const int asked = testing::WarningsAnswered();
    testing::AnswerNextWarning(true);
    Press(page.controls().insertKey);
    EXPECT_EQ(testing::WarningsAnswered(), asked + 1);
    EXPECT_EQ(testing::LatestAnsweredWarningType(), kMacroFullWarning);
    EXPECT_FALSE(WarningAsks(kMacroFullWarning)) << "it informs: OK alone";
    EXPECT_FALSE(page.IsCapturingKey());
    EXPECT_EQ(page.buffer().eventCount, stored);
    Press(dialog_.cancelButton());
  }
  EXPECT_EQ(Utf16ToUtf8(StringDocument().Lookup(u"WARN_STRING", WarningMessageKey(kMacroFullWarning))).find("stopped"),
            std::string::npos);

  MacroFile named{};
  CopyToField(named.MacroName, u"Macro 1");
  named.Repeat = 3;
  named.events[0] = MakeMacroEvent(true, 1, 0x05);
  named.events[1] = MakeMacroEvent(false, 40, 0x05);
  WriteMacro(named, u"Macro 1");
  KeySlot slot = SlotOf(BTNFUNC_MACRO);
  OpenFor(slot);
  CMacroPage& page = dialog_.macroPage();
  page.controls().nameField.SetText(u"macro 1");
  const int asked = testing::WarningsAnswered();
  testing::AnswerNextWarning(true);
  Press(dialog_.okButton());
  testing::PumpMessages();
  EXPECT_EQ(testing::WarningsAnswered(), asked) << "refused as another macro's name";
  EXPECT_FALSE(Visible(dialog_.hwnd()));
  std::vector<std::u16string> names;
  ListMacros(names);
  EXPECT_EQ(names, std::vector<std::u16string>{u"macro 1"}) << "one file, spelt anew";
  MacroFile saved{};
  ReadMacro(saved, u"macro 1");
  EXPECT_EQ(FieldText(saved.MacroName), u"macro 1");
  EXPECT_EQ(saved.Repeat, 3);
  EXPECT_EQ(saved.events[0], named.events[0]);
  EXPECT_EQ(saved.events[1], named.events[1]);
  EXPECT_EQ(FieldText(slot.MacroName), u"macro 1") << "the key plays the renamed macro";

  // Another macro's name, in any case, is still refused: nothing is lost.
  MacroFile other{};
  CopyToField(other.MacroName, u"Other");
  WriteMacro(other, u"Other");
  OpenFor(slot);
  page.controls().nameField.SetText(u"OTHER");
  testing::AnswerNextWarning(true);
  Press(dialog_.okButton());
  EXPECT_EQ(testing::LatestAnsweredWarningType(), kMacroNameInUseWarning);
  EXPECT_TRUE(Visible(dialog_.hwnd()));
  testing::AnswerNextWarning(true);  // the name typed goes
  Press(dialog_.cancelButton());
  EXPECT_FALSE(Visible(dialog_.hwnd()));
}

// A key bound to a web address (as an imported profile may bind it) shows the address
// as stored on the launch page, whole in the program button's tooltip, and OK without a
// change keeps it.
TEST_F(KeyAssignmentDialog, AWebAddressShowsAsStoredAndStays) {
  for (const char16_t* target : {u"https://example.com/", u"https://example.com/docs/page?id=7"}) {
    SCOPED_TRACE(Utf16ToUtf8(target));
    KeySlot slot = SlotOf(BTNFUNC_LAUNCH, 0, target);
    const KeySlot before = slot;
    OpenFor(slot);
    EXPECT_EQ(dialog_.page(), kPageLaunch);
    EXPECT_EQ(Utf16ToUtf8(dialog_.programButton().caption()), Utf16ToUtf8(target));
    EXPECT_EQ(Utf16ToUtf8(dialog_.tooltips().Text(dialog_.programButton().hwnd())), Utf16ToUtf8(target));
    Press(dialog_.okButton());
    EXPECT_TRUE(SameBytes(slot, before));
  }
  KeySlot program = SlotOf(BTNFUNC_LAUNCH, 0, u"C:\\Tools\\app.exe");
  OpenFor(program);
  EXPECT_EQ(dialog_.programButton().caption(), u"app.exe");
  EXPECT_EQ(dialog_.tooltips().Text(dialog_.programButton().hwnd()), u"C:\\Tools\\app.exe");
  Press(dialog_.cancelButton());
}

TEST_F(KeyAssignmentDialog, ComesFromTheSkinAndKeepsItsControlsAfterALanguageChange) {
  RECT window{};
  ::GetWindowRect(dialog_.hwnd(), &window);
  EXPECT_EQ(window.right - window.left, 900);
  EXPECT_EQ(window.bottom - window.top, 560);
  RECT ok{};
  ::GetWindowRect(dialog_.okButton().hwnd(), &ok);
  EXPECT_EQ(ok.left - window.left, 636);
  EXPECT_EQ(ok.right - ok.left, 120);
  EXPECT_EQ(dialog_.okButton().caption(), u"OK");
  EXPECT_EQ(dialog_.resetButton().caption(), u"");
  ASSERT_TRUE(dialog_.layoutDone());

  KeySlot slot = SlotOf(BTNFUNC_KEY, 0x04);
  OpenFor(slot);
  const HWND before[] = {dialog_.okButton().hwnd(), dialog_.cancelButton().hwnd(),
                         dialog_.pageButton(kPageSingleKey).hwnd(), dialog_.keyDisplay().hwnd()};
  StringDocument().Load(testing::StagedAppFolder() + u"Languages\\CS\\Strings.xml");
  dialog_.Relayout();
  const HWND after[] = {dialog_.okButton().hwnd(), dialog_.cancelButton().hwnd(),
                        dialog_.pageButton(kPageSingleKey).hwnd(), dialog_.keyDisplay().hwnd()};
  for (std::size_t i = 0; i < std::size(before); ++i) EXPECT_EQ(after[i], before[i]);
  EXPECT_EQ(dialog_.okButton().caption(), StringDocument().Lookup(u"MAIN", u"OK"));
  EXPECT_NE(dialog_.okButton().caption(), u"OK");
  EXPECT_EQ(dialog_.keyDisplay().caption(), u"A") << "the assignment shown stays";
  EXPECT_TRUE(Visible(dialog_.keyDisplay().hwnd()));
  EXPECT_FALSE(Visible(dialog_.programButton().hwnd()));
}

// Keys without a character carry the names the language's keyboards print: Spanish ones
// their own, Simplified Chinese ones the English names of the key name file.
TEST_F(KeyAssignmentDialog, KeysWithoutACharacterAreNamedInTheLanguageOfItsKeyboards) {
  struct Case {
    const char16_t* language;
    std::uint8_t code;
    const char* name;
  } cases[] = {
      {u"ES", 0x28, "Intro"},     {u"ES", 0x4C, "Supr"},         {u"ES", 0x4A, "Inicio"},
      {u"ES", 0x4D, "Fin"},       {u"ES", 0x4B, "Re P\xc3\xa1g"}, {u"ES", 0x4E, "Av P\xc3\xa1g"},
      {u"ES", 0x47, "Bloq Despl"}, {u"ES", 0x39, "Bloq May\xc3\xbas"}, {u"ES", 0x04, "A"},
      {u"ES", 0x3A, "F1"},        {u"CS", 0x28, "Enter"},        {u"CS", 0x4C, "Delete"},
      {u"EN", 0x28, "Enter"},     {u"EN", 0x39, "Caps Lock"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Utf16ToUtf8(c.language));
    StringDocument().Load(testing::StagedAppFolder() + u"Languages\\" + c.language + u"\\Strings.xml");
    KeySlot slot = SlotOf(BTNFUNC_KEY, c.code);
    OpenFor(slot);
    EXPECT_EQ(Utf16ToUtf8(dialog_.keyDisplay().caption()), c.name) << std::hex << "code " << int(c.code);
  }
  // Print Screen, whose position Wine maps to another key, by its VK.
  StringDocument().Load(testing::StagedAppFolder() + u"Languages\\ES\\Strings.xml");
  EXPECT_EQ(Utf16ToUtf8(KeyNameForVirtualKey(VK_SNAPSHOT)), "Impr Pant");
  StringDocument().Load(testing::StagedAppFolder() + u"Languages\\EN\\Strings.xml");
  EXPECT_EQ(Utf16ToUtf8(KeyNameForVirtualKey(VK_SNAPSHOT)), "Print Screen");
}

// What the dialog shows on screen, saved for a look by eye and read back.
class KeyAssignmentScreenshots : public KeyAssignmentDialog {
 protected:
  SkinBitmap Shoot(const char16_t* name) {
    ::SetCursorPos(1279, 1023);  // no button under the pointer: every button in its normal look
    ::SetWindowPos(dialog_.hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
    ::RedrawWindow(dialog_.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    for (int i = 0; i < 10; ++i) {
      testing::PumpMessages();
      ::Sleep(20);
    }
    SkinBitmap shot = testing::CaptureClientArea(dialog_.hwnd());
    EXPECT_TRUE(testing::SavePng(shot.get(), testing::ScreenshotFolder() + name));
    return shot;
  }
};

// Where a child window's client area starts in its dialog's client area.
POINT OffsetIn(HWND dialog, HWND child) {
  POINT origin{0, 0};
  ::MapWindowPoints(child, dialog, &origin, 1);
  return origin;
}

TEST_F(KeyAssignmentScreenshots, Pages) {
  KeySlot key = SlotOf(BTNFUNC_KEY, 0x28);
  OpenFor(key);
  const SkinBitmap single = Shoot(u"keyassign_single_key.png");
  // The key display is a light cap, so that its black caption reads.
  const POINT display = OffsetIn(dialog_.hwnd(), dialog_.keyDisplay().hwnd());
  const COLORREF cap = testing::PixelOf(single, display.x + 30, display.y + 20);
  EXPECT_GT(GetRValue(cap) + GetGValue(cap) + GetBValue(cap), 600) << std::hex << cap;

  KeySlot launch = SlotOf(BTNFUNC_LAUNCH, 0, u"C:\\Tools\\app.exe");
  OpenFor(launch);
  Shoot(u"keyassign_launch.png");
  KeySlot address = SlotOf(BTNFUNC_LAUNCH, 0, u"https://example.com/docs/page?id=7");
  OpenFor(address);
  Shoot(u"keyassign_launch_address.png");
  KeySlot macro = SlotOf(BTNFUNC_MACRO);
  OpenFor(macro);
  Shoot(u"keyassign_macro.png");
}

TEST_F(KeyAssignmentScreenshots, KeyNamesByLanguage) {
  const struct {
    const char16_t* language;
    const char16_t* shot;
    const char* name;
  } cases[] = {{u"ES", u"keyassign_single_key_es.png", "Re P\xc3\xa1g"},
               {u"CS", u"keyassign_single_key_cs.png", "Page Up"}};
  for (const auto& c : cases) {
    StringDocument().Load(testing::StagedAppFolder() + u"Languages\\" + c.language + u"\\Strings.xml");
    dialog_.Relayout();
    KeySlot key = SlotOf(BTNFUNC_KEY, 0x4B);  // Page Up
    OpenFor(key);
    Shoot(c.shot);
    EXPECT_EQ(Utf16ToUtf8(dialog_.keyDisplay().caption()), c.name);
  }
  StringDocument().Load(testing::StagedAppFolder() + u"Languages\\EN\\Strings.xml");
}

// Under a German keyboard (a suite of its own, run on a display with the German key map):
// the dialog shows German names, and the ISO key beside left Shift assigns and records as
// the keyboard's non-US backslash key.
class GermanKeyAssignment : public KeyAssignmentScreenshots {
 protected:
  void SetUp() override {
    const char* keymap = std::getenv("KORVANE_TEST_KEYMAP");
    if (keymap == nullptr || std::string(keymap) != "de") GTEST_SKIP() << "runs on the German key map display";
    KeyAssignmentScreenshots::SetUp();
  }
};

TEST_F(GermanKeyAssignment, ShowsGermanNamesAndTakesTheIsoKey) {
  const struct {
    std::uint8_t code;
    const char* name;
  } shown[] = {{0x2D, "\xc3\x9f"}, {0x2F, "\xc3\x9c"}, {0x33, "\xc3\x96"}, {0x34, "\xc3\x84"},
               {0x1C, "Z"}, {0x1D, "Y"}, {0x64, "<"}, {0x28, "Enter"}};
  for (const auto& c : shown) {
    KeySlot slot = SlotOf(BTNFUNC_KEY, c.code);
    OpenFor(slot);
    EXPECT_EQ(Utf16ToUtf8(dialog_.keyDisplay().caption()), c.name) << std::hex << "code " << int(c.code);
  }
  KeySlot sharpS = SlotOf(BTNFUNC_KEY, 0x2D);
  OpenFor(sharpS);
  Shoot(u"keyassign_single_key_de.png");

  KeySlot slot = SlotOf(BTNFUNC_DEFAULT);
  OpenFor(slot);
  HookEvent(VK_OEM_102, 0);
  EXPECT_EQ(dialog_.workingSlot().byBtnFuncType, BTNFUNC_KEY);
  EXPECT_EQ(dialog_.workingSlot().byKeyNumber, 0x64);
  EXPECT_EQ(Utf16ToUtf8(dialog_.keyDisplay().caption()), "<");
  HookEvent(VK_OEM_102, kRelease);

  Press(dialog_.pageButton(kPageMacro));
  CMacroPage& page = dialog_.macroPage();
  Press(page.controls().record);
  HookEvent(VK_OEM_102, 0);
  HookEvent(VK_OEM_102, kRelease);
  Press(page.controls().record);
  Shoot(u"keyassign_macro_iso_de.png");
  Press(dialog_.okButton());
  MacroFile saved{};
  ReadMacro(saved, u"Macro 1");
  EXPECT_EQ(saved.events[0].map, 0x64);
  EXPECT_EQ(saved.events[1].map, 0x64);
}

}  // namespace
}  // namespace quencfg
