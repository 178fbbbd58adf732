// The image pop-up menu on real windows: rows, scroll bar, scrolling, picks, check
// marks, and how it closes itself as a menu of Windows does.
#include "quencfg/ui/skin/btn_menu_win.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>

#include "control_host_win.h"
#include "quencfg/framework/messages.h"
#include "quencfg/ui/skin/bitmap_btn_win.h"
#include "quencfg/framework/text.h"

namespace quencfg {
namespace {

using testing::Click;
using testing::ControlHost;
using testing::PumpMessages;

constexpr int kRowHeight = 18;
constexpr int kMenuWidth = 160;

// A scroll bar bitmap of 9 x 3 cells of 12 pixels, each cell its own grey.
SkinBitmap ScrollGrid() {
  SkinBitmap grid = CreateBitmap32(9 * 12, 3 * 12);
  for (int y = 0; y < 36; ++y)
    for (int x = 0; x < 108; ++x) {
      const int shade = 40 + (x / 12) * 20 + (y / 12) * 5;
      testing::SetPixelOf(grid, x, y, RGB(shade, shade, shade), 255);
    }
  return grid;
}

class Menu : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(host.Make()); }

  // The system's configuration (6 rows of 18 pixels) with `count` items "Item n", id 100 + n;
  // item `disabled` cannot be picked, item `checked` carries a check mark.
  void Open(int count, int disabled = -1, int checked = -1) {
    Configure(menu, count, disabled, checked);
    ASSERT_TRUE(menu.Create(host.hwnd()));
    ::UpdateWindow(menu.hwnd());
  }
  void Configure(CBtnMenu& target, int count, int disabled = -1, int checked = -1) {
    target.SetVisibleRows(6);
    target.SetRowHeight(kRowHeight);
    target.SetRowFontHeight(16);
    target.SetRowTextAlign(0, 5);
    target.SetRowTextColors(0x787878, 0x000000);
    target.SetPickMessages(kMenuPickCommand, kMenuPickCommand);
    target.SetBackgroundImages(testing::SolidImage(kMenuWidth, kRowHeight, RGB(30, 30, 30)),
                             testing::SolidImage(kMenuWidth, kRowHeight, RGB(200, 200, 200)),
                             testing::SolidImage(kMenuWidth, kRowHeight, RGB(200, 200, 200)),
                             testing::SolidImage(kMenuWidth, kRowHeight, RGB(30, 30, 30)));
    target.SetScrollBarBitmap(grid.get());
    RECT hostRect{};
    ::GetWindowRect(host.hwnd(), &hostRect);
    target.SetPosition(POINT{hostRect.left + 50, hostRect.top + 50});
    for (int i = 0; i < count; ++i) {
      const std::u16string text = u"Item " + AsciiToUtf16(std::to_string(i));
      target.AddItem(text, 100 + i, nullptr, i != disabled, i == checked);
    }
  }
  int ShownRows() {
    int shown = 0;
    for (int r = 0; r < menu.visibleRows(); ++r) shown += ::IsWindowVisible(menu.row(r).hwnd()) ? 1 : 0;
    return shown;
  }
  void Scroll(int code, int position = 0) {
    ::SendMessageW(menu.hwnd(), WM_VSCROLL, MAKEWPARAM(code, position), 0);
  }

  SkinBitmap grid = ScrollGrid();
  ControlHost host;
  CBtnMenu menu;
};

TEST_F(Menu, FewItemsGiveFewRowsAndNoScrollBar) {
  Open(3);
  EXPECT_EQ(menu.visibleRows(), 3);
  EXPECT_EQ(ShownRows(), 3);
  EXPECT_FALSE(::IsWindowVisible(menu.scrollBar().hwnd()));
  RECT rect{};
  ::GetWindowRect(menu.hwnd(), &rect);
  EXPECT_EQ(rect.bottom - rect.top, 3 * kRowHeight);
  EXPECT_EQ(rect.right - rect.left, kMenuWidth);
  EXPECT_EQ(menu.row(2).caption(), u"Item 2");
}

TEST_F(Menu, ManyItemsGiveSixRowsAndTheScrollBar) {
  Open(8);
  EXPECT_EQ(menu.visibleRows(), 6);
  EXPECT_EQ(ShownRows(), 6);
  ASSERT_TRUE(::IsWindowVisible(menu.scrollBar().hwnd()));
  const ScrollState state = menu.scrollBar().scrollState();
  EXPECT_EQ(state.minimum, 0);
  EXPECT_EQ(state.maximum, 7);
  EXPECT_EQ(state.page, 6);
  RECT bar{};
  ::GetWindowRect(menu.scrollBar().hwnd(), &bar);
  EXPECT_EQ(bar.right - bar.left, kMenuScrollBarWidth);
  EXPECT_EQ(bar.bottom - bar.top, 6 * kRowHeight);
}

TEST_F(Menu, LineDownStopsAtTheEnd) {
  Open(8);
  Scroll(SB_LINEDOWN);
  Scroll(SB_LINEDOWN);
  EXPECT_EQ(menu.firstVisible(), 2);
  Scroll(SB_LINEDOWN);
  EXPECT_EQ(menu.firstVisible(), 2);
  EXPECT_EQ(menu.scrollBar().scrollState().position, 2);
  EXPECT_EQ(menu.row(0).caption(), u"Item 2");
  EXPECT_EQ(menu.row(5).caption(), u"Item 7");
  Scroll(SB_PAGEUP);
  EXPECT_EQ(menu.firstVisible(), 0);
}

TEST_F(Menu, PickAfterScrollingPostsIndexAndId) {
  Open(12);
  Scroll(SB_THUMBPOSITION, 3);
  ASSERT_EQ(menu.firstVisible(), 3);
  Click(menu.row(2).hwnd());
  PumpMessages();
  const auto picks = host.Of(kMenuPickCommand);
  ASSERT_EQ(picks.size(), 1u);
  EXPECT_EQ(HIWORD(picks[0].wParam), 5);
  EXPECT_EQ(LOWORD(picks[0].wParam), 0xFFFF) << "no menu id";
  EXPECT_EQ(HIWORD(picks[0].lParam), 105);
  EXPECT_EQ(LOWORD(picks[0].lParam), 0);
  EXPECT_EQ(menu.currentItem(), 5);
  EXPECT_TRUE(menu.row(2).selected());
}

TEST_F(Menu, DisabledItemsAreNotPicked) {
  Open(4, 1);
  Click(menu.row(1).hwnd());
  PumpMessages();
  EXPECT_TRUE(host.Of(kMenuPickCommand).empty());
  EXPECT_EQ(menu.currentItem(), -1);
}

TEST_F(Menu, WheelOverARowScrolls) {
  Open(10);
  ::SendMessageW(menu.row(1).hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), 0);
  PumpMessages();
  EXPECT_EQ(menu.firstVisible(), 1);
  ::SendMessageW(menu.row(1).hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
  PumpMessages();
  EXPECT_EQ(menu.firstVisible(), 0);
}

TEST_F(Menu, ScrollBarArrowsAndThumbScrollTheMenu) {
  Open(12);
  HWND bar = menu.scrollBar().hwnd();
  Click(bar, 5, 6 * kRowHeight - 3);  // the second arrow
  EXPECT_EQ(menu.firstVisible(), 1);
  Click(bar, 5, 3);  // the first arrow
  EXPECT_EQ(menu.firstVisible(), 0);
  // Drag the thumb all the way down: thumb track messages, then the thumb position.
  const ScrollBarLayout layout = menu.scrollBar().Layout();
  const int grab = layout.thumbStart + 2;
  testing::SendMouse(bar, WM_LBUTTONDOWN, 5, grab, MK_LBUTTON);
  testing::SendMouse(bar, WM_MOUSEMOVE, 5, grab + 200, MK_LBUTTON);
  EXPECT_EQ(menu.firstVisible(), 6);
  testing::SendMouse(bar, WM_LBUTTONUP, 5, grab + 200);
  EXPECT_EQ(menu.firstVisible(), 6);
  EXPECT_EQ(menu.scrollBar().scrollState().position, 6);
  EXPECT_FALSE(menu.scrollBar().dragging());
}

TEST_F(Menu, HoldingAnArrowRepeatsUntilTheEnd) {
  Open(10);  // four positions: 0..4
  HWND bar = menu.scrollBar().hwnd();
  testing::SendMouse(bar, WM_LBUTTONDOWN, 5, 6 * kRowHeight - 3, MK_LBUTTON);
  EXPECT_EQ(menu.firstVisible(), 1) << "the press itself scrolls once";
  // 500 ms until the repetition starts, then every 100 ms.
  const DWORD start = ::GetTickCount();
  MSG msg{};
  while (::GetTickCount() - start < 1200) {
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
    ::Sleep(5);
  }
  EXPECT_EQ(menu.firstVisible(), 4);
  testing::SendMouse(bar, WM_LBUTTONUP, 5, 6 * kRowHeight - 3);
  EXPECT_NE(::GetCapture(), bar);
}

TEST_F(Menu, HoldingTheTrackPagesUntilTheThumbIsUnderTheMouse) {
  Open(40);  // 34 positions; the thumb is 12 pixels long
  HWND bar = menu.scrollBar().hwnd();
  const int target = 60;  // a point on the track below the thumb
  POINT cursor{5, target};  // the real cursor too: the system's own moves must agree
  ::ClientToScreen(bar, &cursor);
  ::SetCursorPos(cursor.x, cursor.y);
  testing::SendMouse(bar, WM_LBUTTONDOWN, 5, target, MK_LBUTTON);
  const DWORD start = ::GetTickCount();
  MSG msg{};
  while (::GetTickCount() - start < 1500) {
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
    ::Sleep(5);
  }
  testing::SendMouse(bar, WM_LBUTTONUP, 5, target);
  const ScrollBarLayout layout = menu.scrollBar().Layout();
  EXPECT_LT(menu.firstVisible(), 34) << "stopped before the end";
  EXPECT_LE(layout.thumbStart, target + layout.thumbLength);
  EXPECT_GE(layout.thumbStart + layout.thumbLength, target - layout.thumbLength);
}

TEST_F(Menu, DoubleClickPostsTheDoublePickMessage) {
  menu.SetMenuId(7);
  Open(4);
  menu.SetPickMessages(0x501, 0x5401);
  testing::SendMouse(menu.row(3).hwnd(), WM_LBUTTONDBLCLK, 5, 5, MK_LBUTTON);
  PumpMessages();
  const auto picks = host.Of(0x5401);
  ASSERT_EQ(picks.size(), 1u);
  EXPECT_EQ(picks[0].wParam, static_cast<WPARAM>(MAKELONG(7, 3)));
  EXPECT_EQ(HIWORD(picks[0].lParam), 103);
}

TEST_F(Menu, RowsShowTheirPieceOfTheBackground) {
  Open(8);
  const testing::Drawing normal(menu.row(3).hwnd());
  EXPECT_EQ(normal.At(100, 1), RGB(30, 30, 30));
  testing::SendMouse(menu.row(3).hwnd(), WM_MOUSEMOVE, 100, 5);
  EXPECT_EQ(testing::Drawing(menu.row(3).hwnd()).At(100, 1), RGB(200, 200, 200));
  ::ReleaseCapture();
}

// The first column at which a row draws anything but its background: where its text
// starts (the row background is dark grey; text and marks are lighter).
int FirstDrawnColumn(HWND row, int from = 0) {
  const testing::Drawing drawing(row);
  for (int x = from; x < drawing.width(); ++x) {
    for (int y = 0; y < drawing.height(); ++y) {
      if (drawing.At(x, y) != RGB(30, 30, 30)) return x;
    }
  }
  return -1;
}

BOOL CALLBACK CountTooltips(HWND window, LPARAM count) {
  wchar_t name[64] = {};
  ::GetClassNameW(window, name, 64);
  if (std::wstring(name) == TOOLTIPS_CLASSW) ++*reinterpret_cast<int*>(count);
  return TRUE;
}

TEST_F(Menu, ACheckMarkHasAColumnOfItsOwnAndRowsHaveNoTooltips) {
  Open(4, -1, 2);
  EXPECT_TRUE(menu.row(2).checked());
  EXPECT_EQ(menu.row(2).caption(), u"Item 2") << "the mark is no part of the text";
  const int column = FirstDrawnColumn(menu.row(2).hwnd());
  ASSERT_GE(column, 0);
  const int text = FirstDrawnColumn(menu.row(1).hwnd());
  EXPECT_LT(column, text) << "the mark stands before the texts";
  EXPECT_GE(text, 5 + 10) << "every text starts after the column, checked or not";
  // The checked row's text starts where the others' do: from the column's end on.
  EXPECT_EQ(FirstDrawnColumn(menu.row(2).hwnd(), 5 + 16), FirstDrawnColumn(menu.row(1).hwnd(), 5 + 16));
  int tooltips = 0;
  ::EnumThreadWindows(::GetCurrentThreadId(), &CountTooltips, reinterpret_cast<LPARAM>(&tooltips));
  EXPECT_EQ(tooltips, 0) << "no tooltip repeats a row's text over the next row";
}

TEST_F(Menu, AMenuWithoutChecksGivesNoColumn) {
  Open(3);
  EXPECT_EQ(FirstDrawnColumn(menu.row(0).hwnd()), FirstDrawnColumn(menu.row(0).hwnd(), 5)) << "text from the offset";
  EXPECT_LT(FirstDrawnColumn(menu.row(0).hwnd()), 5 + 10);
}

// Input as the user gives it: posted to the thread's queue and dispatched by a message
// loop, where the menu sees it before any window does.
void PostPressAndRelease(HWND target) {
  ::PostMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  ::PostMessageW(target, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  PumpMessages();
}

class MenuClosing : public Menu {
 protected:
  void SetUp() override {
    Menu::SetUp();
    ASSERT_TRUE(button.Create(host.hwnd(), RECT{300, 300, 380, 330}));
    button.SetImages(testing::SolidStates(80, 30, RGB(90, 90, 90), RGB(90, 90, 90), RGB(90, 90, 90), RGB(90, 90, 90)));
    ::ShowWindow(button.hwnd(), SW_SHOW);
  }
  int ButtonClicks() const {
    int clicks = 0;
    for (const auto& r : host.Of(WM_COMMAND)) clicks += reinterpret_cast<HWND>(r.lParam) == button.hwnd() ? 1 : 0;
    return clicks;
  }
  CPngListBtn button;
};

TEST_F(MenuClosing, EscapeAndPressesOutsideCloseItPressesInsideDoNot) {
  struct Case {
    const char* what;
    bool closingOnlyButton;  // the button is the menu's closing-only area
    int action;              // 0 press on a row, 1 Escape, 2 press on the button
    bool open;               // the menu is still open afterwards
    int buttonClicks;        // the button's press went on to it
  };
  const Case cases[] = {
      {"a row", false, 0, true, 0},
      {"Escape", false, 1, false, 0},
      {"another button", false, 2, false, 1},
      {"the button that opened it", true, 2, false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CBtnMenu opened;
    Configure(opened, 3);
    if (c.closingOnlyButton) opened.SetClosingOnlyArea(button.hwnd());
    ASSERT_TRUE(opened.Create(host.hwnd()));
    host.Clear();
    if (c.action == 0) PostPressAndRelease(opened.row(1).hwnd());
    if (c.action == 1) {
      ::PostMessageW(host.hwnd(), WM_KEYDOWN, VK_ESCAPE, 0);
      PumpMessages();
    }
    if (c.action == 2) PostPressAndRelease(button.hwnd());
    EXPECT_EQ(opened.IsOpen(), c.open);
    EXPECT_EQ(ButtonClicks(), c.buttonClicks);
  }
}

TEST_F(MenuClosing, OneMenuAtATime) {
  Open(3);
  CBtnMenu second;
  Configure(second, 2);
  ASSERT_TRUE(second.Create(host.hwnd()));
  EXPECT_FALSE(menu.IsOpen()) << "opening a menu closes the other";
  EXPECT_TRUE(second.IsOpen());
  EXPECT_TRUE(CloseOpenMenus());
  EXPECT_FALSE(second.IsOpen());
  EXPECT_FALSE(CloseOpenMenus());
}

TEST_F(MenuClosing, ItsOpenerHidingOrMinimisingOrAnotherProgramInFrontClosesIt) {
  for (const int how : {SW_HIDE, SW_MINIMIZE, -1}) {
    SCOPED_TRACE(how);
    ::ShowWindow(host.hwnd(), SW_SHOWNOACTIVATE);
    CBtnMenu opened;
    Configure(opened, 3);
    ASSERT_TRUE(opened.Create(host.hwnd()));
    if (how >= 0) {
      ::ShowWindow(host.hwnd(), how);
    } else {
      ::SendMessageW(opened.hwnd(), WM_ACTIVATEAPP, FALSE, 0);  // as the system tells every window
    }
    PumpMessages();
    EXPECT_FALSE(opened.IsOpen());
  }
  ::ShowWindow(host.hwnd(), SW_SHOWNOACTIVATE);
}

TEST(MenuBackground, RebuildsAPictureAtAnyHeight) {
  // Ten rows of distinct colors, rebuilt at 18 rows with a band of 3.
  SkinBitmap picture = CreateBitmap32(4, 10);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 4; ++x) testing::SetPixelOf(picture, x, y, RGB(y * 20, 0, 0), 255);
  const SkinBitmap taller = RebuildMenuBackground(picture, 18, 3);
  ASSERT_EQ(taller.height, 18);
  const std::vector<int> rows = BackgroundSourceRows(10, 18, 3);
  for (int y = 0; y < 18; ++y) EXPECT_EQ(testing::PixelOf(taller, 2, y), RGB(rows[static_cast<std::size_t>(y)] * 20, 0, 0));
  const SkinBitmap shorter = RebuildMenuBackground(picture, 6, 2);
  EXPECT_EQ(testing::PixelOf(shorter, 0, 5), RGB(180, 0, 0));
  EXPECT_TRUE(RebuildMenuBackground(SkinBitmap{}, 18, 3).empty());
}

}  // namespace
}  // namespace quencfg
