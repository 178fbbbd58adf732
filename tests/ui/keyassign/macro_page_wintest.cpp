// The macro page on real windows, hosted by a plain window that stands in for the key
// assignment dialog: hook messages as the hook component posts them, the editor's
// buttons clicked, the macro menu, the library in a temporary data folder, the real
// hook with keys typed through the X server, and a screenshot.
#include "quencfg/ui/keyassign/macro_page_win.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "../skin/control_host_win.h"
#include "quencfg/framework/files.h"
#include "quencfg/framework/gdi_win.h"
#include "quencfg/framework/text.h"
#include "quencfg/framework/wide_win.h"
#include "quencfg/kbhook/kbhook_contract_win.h"
#include "quencfg/model/macro_library.h"
#include "quencfg/ui/keyassign/kbhook_loader_win.h"
#include "quencfg/ui/skin/skin_draw_win.h"
#include "quencfg/ui/skin/skin_bitmap_win.h"
#include "quencfg/ui/skin/skin_picture_win.h"
#include "quencfg/ui/skin/skins_folder_win.h"
#include "quencfg/ui/skin/skin_text_win.h"
#include "support/data_folder_scope.h"
#include "support/gdiplus_session_win.h"
#include "support/screenshot_win.h"
#include "support/shipped_skin_win.h"

namespace quencfg {
namespace {


constexpr WPARAM kVkA = 0x41;
constexpr WPARAM kVkB = 0x42;
constexpr WPARAM kVkReturn = 0x0D;

std::uint32_t g_now = 1000;
std::uint32_t FakeNow() { return g_now; }

struct HostCall {
  std::string what;
  bool on;
  bool operator==(const HostCall&) const = default;
};

// Stands in for the key assignment dialog: paints the background and the page's
// labels, hands the page its messages and records what the page asks of it.
class PageWindow : public Window, public MacroPageHost {
 public:
  PageWindow() : page(*this) { std::memset(&slot, 0, sizeof slot); }
  ~PageWindow() override { Destroy(); }

  bool Make() {
    background = LoadPicture(SkinsFolder() + u"KeyAssign_bg.jpg");
    WindowCreateParams params;
    params.className = L"KorvaneMacroPageHost";
    params.title = L"macro page";
    params.style = WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN;
    params.x = 0;
    params.y = 0;
    params.width = background.empty() ? 900 : background.width;
    params.height = background.empty() ? 560 : background.height;
    if (!Create(params)) return false;
    page.Layout(hwnd(), background, false);
    return true;
  }

  void SetHook(bool on) override {
    calls.push_back({"hook", on});
    if (hook != nullptr) hook->SetHook(on, hwnd());
  }
  void SetOkCancelEnabled(bool enabled) override { calls.push_back({"okcancel", enabled}); }
  void ShowAssignment() override {
    calls.push_back({"assignment", true});
    page.LoadMacroLibrary();
    page.SelectSlotMacro(slot);
  }

  LRESULT Hook(WPARAM w, LPARAM flags) { return ::SendMessageW(hwnd(), UM_HOOKEVENT, w, flags); }

  CMacroPage page;
  KeySlot slot;
  SkinBitmap background;
  std::vector<HostCall> calls;
  KbHookComponent* hook = nullptr;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_COMMAND:
        if (!page.CloseMenuIfOpen()) page.HandleCommand(reinterpret_cast<HWND>(lParam));
        return 0;
      case UM_HOOKEVENT:
        return page.HandleHookEvent(wParam, lParam);
      case kMacroMenuPickMessage:
        page.HandleMenuPick(lParam);
        return 0;
      case WM_TIMER:
        if (page.HandleTimer(wParam)) return 0;
        break;
      case WM_ERASEBKGND:
        return 1;
      case WM_PAINT: {
        PaintDc paint(hwnd());
        BlitBitmap(paint.get(), background, 0, 0);
        page.PaintLabels(paint.get());
        return 0;
      }
      default:
        break;
    }
    return Window::HandleMessage(message, wParam, lParam);
  }
};

void Pump(DWORD milliseconds) {
  const DWORD start = ::GetTickCount();
  do {
    testing::PumpMessages();
    ::Sleep(5);
  } while (::GetTickCount() - start < milliseconds);
}

std::u16string ListRowText(HWND list, int row) {
  wchar_t text[256] = {};
  ::SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(text));
  return AsU16(text);
}

void StoreMacro(std::u16string_view name, int repeat, const std::vector<MacroEvent>& events) {
  MacroFile macro;
  std::memset(&macro, 0, sizeof macro);
  macro.Repeat = static_cast<std::uint16_t>(repeat);
  CopyToField(macro.MacroName, name);
  for (std::size_t i = 0; i < events.size(); ++i) macro.events[i] = events[i];
  WriteMacro(macro, name);
}

MacroFile StoredMacro(std::u16string_view name) {
  MacroFile macro;
  std::memset(&macro, 0, sizeof macro);
  ReadMacro(macro, name);
  return macro;
}

CMacroPage* g_warnedPage = nullptr;
int g_warningsAnswered = 0;

// Answers the limit warning with OK once it runs its modal loop.
void CALLBACK AnswerWarning(HWND, UINT, UINT_PTR id, DWORD) {
  CWarnDlg* warning = g_warnedPage != nullptr ? g_warnedPage->limitWarning() : nullptr;
  if (warning == nullptr || warning->hwnd() == nullptr) return;
  ::KillTimer(nullptr, id);
  ++g_warningsAnswered;
  HWND ok = warning->okButton().hwnd();
  ::PostMessageW(ok, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  ::PostMessageW(ok, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
}

class MacroPage : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(skin_.loaded());
    ASSERT_TRUE(CreateFolder(data_.path() + u"Macros"));
    g_now = 1000;
    window.page.SetTickSource(&FakeNow);
  }
  // Makes the window with the library holding `macros` and the slot naming `slotMacro`.
  void Open(std::u16string_view slotMacro) {
    ASSERT_TRUE(window.Make());
    CopyToField(window.slot.MacroName, slotMacro);
    window.page.LoadMacroLibrary();
    window.page.SelectSlotMacro(window.slot);
    Pump(30);
  }
  void Click(CPngListBtn& button) {
    ASSERT_TRUE(::IsWindowEnabled(button.hwnd()));
    testing::Click(button.hwnd(), 5, 5);
  }
  HWND List() { return window.page.controls().eventList.hwnd(); }
  int Rows() { return static_cast<int>(::SendMessageW(List(), LB_GETCOUNT, 0, 0)); }
  int Selected() { return static_cast<int>(::SendMessageW(List(), LB_GETCURSEL, 0, 0)); }
  void Select(int row) { ::SendMessageW(List(), LB_SETCURSEL, static_cast<WPARAM>(row), 0); }
  LPARAM RowImage(int row) { return ::SendMessageW(List(), LB_GETITEMDATA, static_cast<WPARAM>(row), 0); }
  const MacroEvent& Event(int i) { return window.page.buffer().events[static_cast<std::size_t>(i)]; }
  std::vector<int> Maps() {
    std::vector<int> maps;
    for (int i = 0; i < window.page.buffer().eventCount; ++i) maps.push_back(Event(i).map);
    return maps;
  }
  // List and buffer in step: one row per event in use, each showing its event.
  void ExpectListShowsBuffer() {
    ASSERT_EQ(Rows(), window.page.buffer().eventCount);
    for (int i = 0; i < Rows(); ++i) EXPECT_EQ(ListRowText(List(), i), EventRow(Event(i)).text) << "row " << i;
    EXPECT_EQ(CountEventsInUse(window.page.buffer().events), window.page.buffer().eventCount);
  }
  void StartRecording() {
    Click(window.page.controls().record);
    ASSERT_TRUE(window.page.IsRecording());
  }
  // STOP pressed with the mouse: the hook reports the click before the button acts.
  void StopWithAClick() {
    window.Hook(WM_LBUTTONDOWN, 0x00);
    window.Hook(WM_LBUTTONUP, 0x80);
    Click(window.page.controls().record);
    ASSERT_FALSE(window.page.IsRecording());
  }
  // Shows the library's macro `name` as the page does when it is opened.
  void SelectMacro(std::u16string_view name) {
    CopyToField(window.slot.MacroName, name);
    window.page.LoadMacroLibrary();
    window.page.SelectSlotMacro(window.slot);
  }
  // The limit warning, if one comes, is answered; the count says how many came.
  UINT_PTR AnswerWarnings() {
    g_warnedPage = &window.page;
    g_warningsAnswered = 0;
    return ::SetTimer(nullptr, 0, 40, &AnswerWarning);
  }

  testing::ShippedSkin skin_;
  testing::GdiplusSession gdiplus_;
  testing::DataFolderScope data_;
  PageWindow window;
};

TEST_F(MacroPage, ControlsComeFromTheMacroLayout) {
  Open(u"");
  MacroPageControls& c = window.page.controls();
  RECT record{};
  ::GetWindowRect(c.record.hwnd(), &record);
  EXPECT_EQ(record.left, 500);
  EXPECT_EQ(record.top, 132);
  EXPECT_EQ(c.record.caption(), u"Record");
  EXPECT_EQ(c.top.caption(), u"Move to top");
  EXPECT_EQ(c.macroMenu.caption(), u"");
  EXPECT_EQ(::GetDlgCtrlID(c.eventList.hwnd()), 4114);
  EXPECT_EQ(::GetDlgCtrlID(c.record.hwnd()), 1001);
  EXPECT_EQ(::SendMessageW(c.nameField.hwnd(), EM_GETLIMITTEXT, 0, 0), 20);
  EXPECT_EQ(::SendMessageW(c.repeatField.hwnd(), EM_GETLIMITTEXT, 0, 0), 5);
  EXPECT_NE(::GetWindowLongPtrW(c.repeatField.hwnd(), GWL_STYLE) & ES_NUMBER, 0);
  // A second pass (a new language) keeps what the fields hold.
  EXPECT_EQ(c.nameField.Text(), u"Macro 1");
  window.page.Layout(window.hwnd(), window.background, true);
  EXPECT_EQ(c.nameField.Text(), u"Macro 1");
  EXPECT_EQ(c.repeatField.Text(), u"1");
  EXPECT_EQ(::SendMessageW(c.nameField.hwnd(), EM_GETLIMITTEXT, 0, 0), 20);
  window.page.Show(false);
  EXPECT_FALSE(::IsWindowVisible(c.record.hwnd()));
  EXPECT_FALSE(::IsWindowVisible(c.eventList.hwnd()));
  window.page.Show(true);
  EXPECT_TRUE(::IsWindowVisible(c.eventList.hwnd()));
  // Commands of other controls are not the page's.
  EXPECT_FALSE(window.page.HandleCommand(window.hwnd()));
  EXPECT_FALSE(window.page.HandleCommand(nullptr));
}

TEST_F(MacroPage, RecordsHookMessagesIntoBufferAndList) {
  Open(u"");
  StartRecording();
  EXPECT_EQ(window.calls, (std::vector<HostCall>{{"okcancel", true}, {"okcancel", false}, {"hook", true}}));
  EXPECT_EQ(window.page.controls().record.caption(), u"Stop");
  EXPECT_FALSE(::IsWindowEnabled(window.page.controls().nameField.hwnd()));
  EXPECT_FALSE(::IsWindowEnabled(window.page.controls().up.hwnd()));

  EXPECT_EQ(window.Hook(kVkA, 0x00), 1);
  g_now += 150;
  EXPECT_EQ(window.Hook(kVkA, 0x00), 0) << "auto-repeat of the held key";
  EXPECT_EQ(window.Hook(kVkA, 0x80), 1);
  g_now += 40000;
  window.Hook(kVkReturn, 0x01);  // keypad Enter, after 40 seconds
  g_now += 40000;
  window.Hook(kVkReturn, 0x81);
  g_now += 10;
  window.Hook(WM_LBUTTONDOWN, 0x00);
  g_now += 10;
  window.Hook(WM_LBUTTONUP, 0x80);

  const std::vector<MacroEvent> expected = {{0x80, 0x01, 0x04}, {0x00, 0x96, 0x04}, {0xFF, 0xFF, 0x58},
                                            {0x7F, 0xFF, 0x58}, {0x80, 0x0A, 0xB7}, {0x00, 0x0A, 0xB7}};
  ASSERT_EQ(window.page.buffer().eventCount, 6);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(Event(i), expected[static_cast<std::size_t>(i)]) << i;
  ASSERT_EQ(Rows(), 6);
  const LPARAM images[] = {4024, 4025, 4024, 4025, 4021, 4020};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(RowImage(i), images[i]) << i;
  EXPECT_EQ(ListRowText(List(), 1).substr(1), u"                 150ms");
  EXPECT_EQ(ListRowText(List(), 4), u"LB                  10ms");

  window.calls.clear();
  StopWithAClick();
  EXPECT_EQ(window.calls, (std::vector<HostCall>{{"okcancel", true}, {"hook", false}}));
  EXPECT_EQ(window.Hook(kVkB, 0x00), 0) << "nothing is taken after stop";
  EXPECT_EQ(window.page.buffer().eventCount, 6);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(Event(i), expected[static_cast<std::size_t>(i)]) << i;
  EXPECT_EQ(Rows(), 6);
}

TEST_F(MacroPage, FixedDelayToggle) {
  Open(u"");
  Click(window.page.controls().recordDelay);
  EXPECT_TRUE(window.page.controls().recordDelay.selected());
  StartRecording();
  window.Hook(kVkA, 0x00);
  g_now += 5000;
  window.Hook(kVkA, 0x80);
  EXPECT_EQ(Event(0), (MacroEvent{0x80, 0x14, 0x04}));
  EXPECT_EQ(Event(1), (MacroEvent{0x00, 0x14, 0x04}));
}

TEST_F(MacroPage, RecordWithAnEmptyNameDoesNothing) {
  Open(u"");
  window.page.controls().nameField.SetText(u"");
  window.calls.clear();
  Click(window.page.controls().record);
  EXPECT_FALSE(window.page.IsRecording());
  EXPECT_TRUE(window.calls.empty());
  EXPECT_EQ(window.page.controls().record.caption(), u"Record");
}

TEST_F(MacroPage, The81stEventStopsTheRecordingAndWarnsOnce) {
  Open(u"");
  StartRecording();
  for (int i = 0; i < 40; ++i) {
    window.Hook(kVkA, 0x00);
    g_now += 5;
    window.Hook(kVkA, 0x80);
    g_now += 5;
  }
  ASSERT_EQ(Rows(), 80);
  window.calls.clear();
  g_warnedPage = &window.page;
  g_warningsAnswered = 0;
  ::SetTimer(nullptr, 0, 40, &AnswerWarning);
  EXPECT_EQ(window.Hook(kVkB, 0x00), 0);
  EXPECT_EQ(g_warningsAnswered, 1) << "the warning was shown and answered";
  EXPECT_EQ(window.page.limitWarning(), nullptr);
  EXPECT_FALSE(window.page.IsRecording());
  EXPECT_EQ(window.calls, (std::vector<HostCall>{{"okcancel", true}, {"hook", false}}));
  EXPECT_EQ(window.page.controls().record.caption(), u"Record");
  EXPECT_EQ(window.Hook(kVkB, 0x80), 0);
  EXPECT_EQ(window.page.buffer().eventCount, 80);
  EXPECT_EQ(Rows(), 80);
  EXPECT_EQ(g_warningsAnswered, 1);
  g_warnedPage = nullptr;
}

// `count` events that leave no key held: pairs of a press and its release, and for an
// odd count first the release of a key pressed before the macro began.
std::vector<MacroEvent> ReleasedKeys(int count) {
  std::vector<MacroEvent> events;
  if (count % 2 != 0) events.push_back(MakeMacroEvent(false, 30, 0x30));
  while (static_cast<int>(events.size()) < count) {
    const auto key = static_cast<std::uint8_t>(0x04 + events.size() / 2 % 20);
    events.push_back(MakeMacroEvent(true, 30, key));
    events.push_back(MakeMacroEvent(false, 30, key));
  }
  return events;
}

// The click on STOP is no part of the macro, and near the limit it neither raises the
// warning nor keeps a press without its release; what was there stays as it was.
TEST_F(MacroPage, TheStopClickNeverJoinsTheMacro) {
  struct Case {
    const char16_t* name;
    int loaded;
    bool typeAB;
    int kept;
  };
  const Case cases[] = {{u"m0", 0, true, 4},
                        {u"m78", 78, false, 78},
                        {u"m79", 79, false, 79},
                        {u"m80", 80, false, 80},
                        {u"m76", 76, true, 80}};
  StoreMacro(u"empty", 1, {});
  Open(u"empty");
  for (const Case& c : cases) {
    const std::u16string name = c.name;
    StoreMacro(name, 1, ReleasedKeys(c.loaded));
    SelectMacro(name);
    ASSERT_EQ(window.page.buffer().eventCount, c.loaded);
    const MacroBuffer loaded = window.page.buffer();
    StartRecording();
    if (c.typeAB) {
      for (WPARAM key : {kVkA, kVkB}) {
        g_now += 40;
        window.Hook(key, 0x00);
        g_now += 40;
        window.Hook(key, 0x80);
      }
    }
    const UINT_PTR answering = AnswerWarnings();
    StopWithAClick();
    ::KillTimer(nullptr, answering);
    g_warnedPage = nullptr;
    EXPECT_EQ(g_warningsAnswered, 0) << c.loaded << ": the STOP click raised the limit warning";
    EXPECT_EQ(window.page.controls().record.caption(), u"Record") << c.loaded;
    EXPECT_EQ(window.page.buffer().eventCount, c.kept) << c.loaded;
    EXPECT_EQ(Rows(), c.kept) << c.loaded;
    for (int i = 0; i < c.loaded; ++i) EXPECT_EQ(Event(i), loaded.events[static_cast<std::size_t>(i)]) << c.loaded;
    if (c.typeAB) {
      const std::vector<int> maps = Maps();
      const std::vector<int> typed(maps.begin() + c.loaded, maps.end());
      EXPECT_EQ(typed, (std::vector<int>{0x04, 0x04, 0x05, 0x05})) << c.loaded;
    }
  }
}

// A key still held when the limit ends the run is let go in the room its press kept,
// in the buffer and in the list.
TEST_F(MacroPage, AKeyHeldAtTheLimitIsLetGo) {
  StoreMacro(u"nearly full", 1, ReleasedKeys(74));
  Open(u"nearly full");
  StartRecording();
  g_now += 10;
  window.Hook(0xA0, 0x00);  // left Shift, held
  for (WPARAM key : {kVkA, kVkB}) {
    g_now += 10;
    window.Hook(key, 0x00);
    g_now += 10;
    window.Hook(key, 0x80);
  }
  const UINT_PTR answering = AnswerWarnings();
  window.Hook(kVkA, 0x00);
  ::KillTimer(nullptr, answering);
  g_warnedPage = nullptr;
  EXPECT_EQ(g_warningsAnswered, 1);
  EXPECT_FALSE(window.page.IsRecording());
  ASSERT_EQ(window.page.buffer().eventCount, 80);
  EXPECT_EQ(Rows(), 80);
  EXPECT_EQ(Event(79).map, 0xE1);
  EXPECT_FALSE(IsPress(Event(79)));
  EXPECT_EQ(RowImage(79), 4025);
}

TEST_F(MacroPage, EditorButtonsKeepListAndBufferInStep) {
  std::vector<MacroEvent> events;
  for (int i = 0; i < 5; ++i) events.push_back(MakeMacroEvent(i % 2 == 0, 100 + i, static_cast<std::uint8_t>(4 + i)));
  events.push_back(MakeMacroEvent(true, 3, 0xB8));
  StoreMacro(u"edit me", 2, events);
  Open(u"edit me");
  MacroPageControls& c = window.page.controls();
  ExpectListShowsBuffer();
  EXPECT_EQ(Maps(), (std::vector<int>{4, 5, 6, 7, 8, 0xB8}));

  Select(2);
  Click(c.up);
  EXPECT_EQ(Maps(), (std::vector<int>{4, 6, 5, 7, 8, 0xB8}));
  EXPECT_EQ(Selected(), 1);
  Click(c.down);
  Click(c.down);
  EXPECT_EQ(Maps(), (std::vector<int>{4, 5, 7, 6, 8, 0xB8}));
  EXPECT_EQ(Selected(), 3);
  Select(5);
  Click(c.top);
  EXPECT_EQ(Maps(), (std::vector<int>{0xB8, 4, 5, 7, 6, 8}));
  EXPECT_EQ(RowImage(0), 4024) << "a moved mouse row shows the key press image";
  EXPECT_EQ(ListRowText(List(), 0), EventRow(Event(0)).text);
  Click(c.bottom);
  EXPECT_EQ(Maps(), (std::vector<int>{4, 5, 7, 6, 8, 0xB8}));
  EXPECT_EQ(Selected(), 5);
  Click(c.down);  // the last row stays
  EXPECT_EQ(Selected(), 5);
  Click(c.deleteEvent);
  EXPECT_EQ(Maps(), (std::vector<int>{4, 5, 7, 6, 8}));
  EXPECT_EQ(Selected(), 4);
  Select(0);
  Click(c.up);  // the first row stays
  Click(c.deleteEvent);
  EXPECT_EQ(Maps(), (std::vector<int>{5, 7, 6, 8}));
  EXPECT_EQ(Selected(), 0);
  ExpectListShowsBuffer();
  Select(-1);
  Click(c.deleteEvent);  // nothing selected
  EXPECT_EQ(window.page.buffer().eventCount, 4);
  Click(c.clear);
  EXPECT_EQ(Rows(), 0);
  EXPECT_EQ(window.page.buffer().eventCount, 0);
  EXPECT_EQ(CountEventsInUse(window.page.buffer().events), 0);
}

TEST_F(MacroPage, MenuPickLoadsTheMacroAndAnyCommandClosesTheMenu) {
  StoreMacro(u"first", 4, {MakeMacroEvent(true, 1, 0x04)});
  StoreMacro(u"second", 9, {MakeMacroEvent(true, 1, 0x05), MakeMacroEvent(false, 7, 0x05)});
  Open(u"first");
  Click(window.page.controls().macroMenu);
  CBtnMenu* menu = window.page.macroMenu();
  ASSERT_NE(menu, nullptr);
  ASSERT_EQ(menu->items().size(), 2u);
  RECT field{}, placed{};
  ::GetWindowRect(window.page.controls().nameField.hwnd(), &field);
  ::GetWindowRect(menu->hwnd(), &placed);
  EXPECT_EQ(placed.left, field.left);
  EXPECT_EQ(placed.top, field.bottom);
  const int second = window.page.editor().macroNames()[0] == u"second" ? 0 : 1;
  testing::Click(menu->row(second).hwnd(), 5, 5);
  Pump(30);  // the pick is posted
  EXPECT_EQ(window.page.macroMenu(), nullptr);
  EXPECT_EQ(window.page.controls().nameField.Text(), u"second");
  EXPECT_EQ(window.page.controls().repeatField.Text(), u"9");
  EXPECT_EQ(FieldText(window.slot.MacroName), u"second");
  ExpectListShowsBuffer();
  EXPECT_EQ(Rows(), 2);

  Click(window.page.controls().macroMenu);
  ASSERT_NE(window.page.macroMenu(), nullptr);
  Select(0);
  Click(window.page.controls().deleteEvent);
  EXPECT_EQ(window.page.macroMenu(), nullptr);
  EXPECT_EQ(Rows(), 2) << "the command only closed the menu";
}

TEST_F(MacroPage, NewDeleteAndSaveAgainstTheLibrary) {
  StoreMacro(u"keep", 3, {MakeMacroEvent(true, 1, 0x04)});
  Open(u"keep");
  MacroPageControls& c = window.page.controls();
  Click(c.macroNew);
  EXPECT_EQ(c.nameField.Text(), u"Macro 1");
  EXPECT_EQ(c.repeatField.Text(), u"1");
  EXPECT_EQ(Rows(), 0);
  EXPECT_TRUE(PathExists(MacroPath(u"Macro 1")));
  EXPECT_EQ(FieldText(window.slot.MacroName), u"Macro 1");

  // Record into the new macro, rename it and save: the new file first, then the old gone.
  StartRecording();
  window.Hook(kVkB, 0x00);
  window.Hook(kVkB, 0x80);
  Click(c.record);
  c.nameField.SetText(u"Renamed");
  c.repeatField.SetText(u"12");
  window.page.SaveMacro(&window.slot);
  EXPECT_FALSE(PathExists(MacroPath(u"Macro 1")));
  const MacroFile saved = StoredMacro(u"Renamed");
  EXPECT_EQ(saved.Repeat, 12);
  EXPECT_EQ(saved.events[0].map, 0x05);
  EXPECT_EQ(FieldText(window.slot.MacroName), u"Renamed");

  // Renaming onto the other macro keeps it.
  c.nameField.SetText(u"keep");
  window.page.SaveMacro(nullptr);
  EXPECT_EQ(c.nameField.Text(), u"Renamed");
  EXPECT_EQ(StoredMacro(u"keep").Repeat, 3);

  // Delete the selected macro: the dialog shows the assignment again.
  window.calls.clear();
  Click(c.macroDelete);
  EXPECT_EQ(window.calls, (std::vector<HostCall>{{"assignment", true}}));
  EXPECT_FALSE(PathExists(MacroPath(u"Renamed")));
  EXPECT_EQ(c.nameField.Text(), u"keep");
  window.calls.clear();
  Click(c.macroDelete);  // the last macro stays
  EXPECT_TRUE(window.calls.empty());
  EXPECT_TRUE(PathExists(MacroPath(u"keep")));
}

TEST_F(MacroPage, RepeatCountIsCheckedHalfASecondAfterTheLastKeyUp) {
  Open(u"");
  CClrEdit& repeat = window.page.controls().repeatField;
  const std::pair<const char16_t*, const char16_t*> cases[] = {
      {u"0", u"1"}, {u"", u"1"}, {u"99999", u"65534"}, {u"250", u"250"}};
  for (const auto& [typed, shown] : cases) {
    repeat.SetText(typed);
    window.page.OnKeyUp();
    Pump(200);
    EXPECT_EQ(repeat.Text(), typed) << "not yet";
    window.page.OnKeyUp();  // a later key-up starts the wait again
    Pump(420);
    EXPECT_EQ(repeat.Text(), typed) << "still not";
    Pump(300);
    EXPECT_EQ(repeat.Text(), shown);
  }
  DWORD start = 0, end = 0;
  ::SendMessageW(repeat.hwnd(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u) << "a value within the limits is left as typed, caret and all";
  repeat.SetText(u"0");
  window.page.OnKeyUp();
  Pump(700);
  ::SendMessageW(repeat.hwnd(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 1u) << "the caret stands after the corrected text";
  EXPECT_EQ(end, 1u);
}

TEST_F(MacroPage, ScreenshotWithARecordedMacro) {
  Open(u"");
  window.page.controls().nameField.SetText(u"Greeting");
  window.page.controls().repeatField.SetText(u"3");
  StartRecording();
  const WPARAM keys[] = {0x10, 'H', 'E', 'L', 'L', 'O', 0x20, 'W', 'O', 'R', 'L', 'D', kVkReturn};
  for (WPARAM key : keys) {
    g_now += 80;
    window.Hook(key, 0x00);
    g_now += 120;
    window.Hook(key, 0x80);
  }
  g_now += 300;
  window.Hook(WM_LBUTTONDOWN, 0x00);
  g_now += 90;
  window.Hook(WM_LBUTTONUP, 0x80);
  Pump(300);
  EXPECT_TRUE(testing::SaveScreen(u"macro_page_recording.png"));
  Click(window.page.controls().record);
  window.page.LoadMacroLibrary();
  window.page.SaveMacro(&window.slot);
  window.page.SelectSlotMacro(window.slot);  // shown again as a refresh shows it
  Select(3);
  ASSERT_GT(Rows(), 23) << "more rows than the list shows: its skinned bar is there";
  ::InvalidateRect(window.hwnd(), nullptr, TRUE);
  Pump(300);
  EXPECT_TRUE(::IsWindowVisible(window.page.controls().eventListBars.verticalBar().hwnd()));
  EXPECT_TRUE(testing::SaveScreen(u"macro_page.png"));
  ExpectListShowsBuffer();
}

// The real hook: keys typed through the X server arrive as events in the list.
TEST_F(MacroPage, KeysTypedWithXdotoolArriveInTheList) {
  KbHookComponent component;
  ASSERT_TRUE(component.Load(testing::StagedAppFolder())) << "KBHook.dll is not staged";
  window.hook = &component;
  window.page.SetTickSource(nullptr);
  Open(u"");
  ::SetForegroundWindow(window.hwnd());
  const DWORD start = ::GetTickCount();
  while (::GetForegroundWindow() != window.hwnd() && ::GetTickCount() - start < 5000) Pump(10);
  StartRecording();
  EXPECT_TRUE(component.hookOn());
  Pump(400);  // let the window take the X input focus

  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  // Shift first: the X server may hand the first key of a new focus to Wine late.
  wchar_t command[] = L"Z:\\usr\\bin\\xdotool key --delay 80 shift a";
  if (!::CreateProcessW(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    GTEST_SKIP() << "xdotool cannot be started";
  }
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  const auto typedA = [&] {
    bool pressed = false, released = false;
    for (int i = 0; i < window.page.buffer().eventCount; ++i) {
      if (Event(i).map != 0x04) continue;
      (IsPress(Event(i)) ? pressed : released) = true;
    }
    return pressed && released;
  };
  const DWORD typing = ::GetTickCount();
  while (!typedA() && ::GetTickCount() - typing < 5000) Pump(20);
  EXPECT_TRUE(typedA());
  EXPECT_EQ(Rows(), window.page.buffer().eventCount);
  Click(window.page.controls().record);
  EXPECT_FALSE(component.hookOn());
  window.hook = nullptr;
}

}  // namespace
}  // namespace quencfg
