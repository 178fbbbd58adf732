// The image pop-up menu on real windows: rows, scroll bar, scrolling and picks.
#include "quencfg/ui/skin/btn_menu_win.h"

#include <gtest/gtest.h>

#include <string>

#include "control_host_win.h"
#include "quencfg/framework/messages.h"
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

  // The system's configuration (6 rows of 18 pixels) with `count` items "Item n", id 100 + n.
  void Open(int count, int picked = -1) {
    menu.SetVisibleRows(6);
    menu.SetRowHeight(kRowHeight);
    menu.SetRowFontHeight(16);
    menu.SetRowTextAlign(0, 5);
    menu.SetRowTextColors(0x787878, 0x000000);
    menu.SetPickMessages(kMenuPickCommand, kMenuPickCommand);
    menu.SetBackgroundImages(testing::SolidImage(kMenuWidth, kRowHeight, RGB(30, 30, 30)),
                             testing::SolidImage(kMenuWidth, kRowHeight, RGB(200, 200, 200)),
                             testing::SolidImage(kMenuWidth, kRowHeight, RGB(200, 200, 200)),
                             testing::SolidImage(kMenuWidth, kRowHeight, RGB(30, 30, 30)));
    menu.SetScrollBarBitmap(grid.get());
    RECT hostRect{};
    ::GetWindowRect(host.hwnd(), &hostRect);
    menu.SetPosition(POINT{hostRect.left + 50, hostRect.top + 50});
    for (int i = 0; i < count; ++i) {
      const std::u16string text = u"Item " + AsciiToUtf16(std::to_string(i));
      menu.AddItem(text, 100 + i, nullptr, i != picked);
    }
    ASSERT_TRUE(menu.Create(host.hwnd()));
    ::UpdateWindow(menu.hwnd());
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
