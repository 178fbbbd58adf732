// The colored edit, the owner-drawn list and the skinned scroll bars attached to it.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "control_host_win.h"
#include "quencfg/framework/text.h"
#include "quencfg/ui/skin/clr_edit_win.h"
#include "quencfg/ui/skin/list_box_ex_win.h"
#include "quencfg/ui/skin/list_rows.h"
#include "quencfg/ui/skin/skin_scroll_wnd_win.h"

namespace quencfg {
namespace {

using testing::ControlHost;
using testing::PumpMessages;

constexpr int kEditId = 77;

// Records the field's text at the moment each 0x448 is taken from the queue.
class EditHost : public ControlHost {
 public:
  CClrEdit* edit = nullptr;
  std::vector<std::u16string> textsSeen;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == kEditTypedMessage && edit != nullptr) textsSeen.push_back(edit->Text());
    return ControlHost::HandleMessage(message, wParam, lParam);
  }
};

class ColorEdit : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(host.Make());
    ASSERT_TRUE(edit.Create(WS_VISIBLE | ES_AUTOHSCROLL, RECT{20, 20, 120, 48}, host.hwnd(), kEditId));
    host.edit = &edit;
    edit.SetSkinFont();
  }
  EditHost host;
  CClrEdit edit;
};

TEST_F(ColorEdit, TypingPostsOneMessageAfterTheCharacterIsIn) {
  ::PostMessageW(edit.hwnd(), WM_CHAR, L'7', 0);
  PumpMessages();
  const auto typed = host.Of(kEditTypedMessage);
  ASSERT_EQ(typed.size(), 1u);
  EXPECT_EQ(typed[0].wParam, 0u);
  EXPECT_EQ(typed[0].lParam, kEditId);
  ASSERT_EQ(host.textsSeen.size(), 1u);
  EXPECT_EQ(host.textsSeen[0], u"7");
}

TEST_F(ColorEdit, ColorRequestGivesItsBrushAndColors) {
  edit.backgroundColor = RGB(255, 255, 255);
  edit.textColor = RGB(0, 0, 0);
  HDC dc = ::GetDC(edit.hwnd());
  const auto brush = reinterpret_cast<HBRUSH>(
      ::SendMessageW(host.hwnd(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(edit.hwnd())));
  ASSERT_NE(brush, nullptr);
  LOGBRUSH info{};
  ::GetObjectW(brush, sizeof info, &info);
  EXPECT_EQ(info.lbColor, RGB(255, 255, 255));
  EXPECT_EQ(::GetTextColor(dc), RGB(0, 0, 0));
  EXPECT_EQ(::GetBkMode(dc), TRANSPARENT);
  ::ReleaseDC(edit.hwnd(), dc);
  EXPECT_TRUE(host.Of(WM_CTLCOLOREDIT).empty()) << "answered for the parent";
}

TEST_F(ColorEdit, ClickTellsTheParentAndTheLineIsCentred) {
  testing::SendMouse(edit.hwnd(), WM_LBUTTONDOWN, 3, 3, MK_LBUTTON);
  testing::SendMouse(edit.hwnd(), WM_LBUTTONUP, 3, 3);
  const auto commands = host.Of(WM_COMMAND);
  ASSERT_FALSE(commands.empty());
  EXPECT_EQ(commands[0].wParam, 0u);
  EXPECT_EQ(commands[0].lParam, reinterpret_cast<LPARAM>(edit.hwnd()));
  RECT window{}, client{};
  ::GetWindowRect(edit.hwnd(), &window);
  ::GetClientRect(edit.hwnd(), &client);
  POINT origin{0, 0};
  ::ClientToScreen(edit.hwnd(), &origin);
  const int above = origin.y - window.top;
  const int below = window.bottom - origin.y - client.bottom;
  EXPECT_GT(above, 0);
  EXPECT_LE(std::abs(above - below), 1) << "the text line sits in the middle of the field";
}

class EventList : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(host.Make());
    ASSERT_TRUE(list.Create(WS_VISIBLE | WS_VSCROLL, RECT{10, 10, 310, 190}, host.hwnd(), 0x1012));
    list.SetDarkBackground();
    list.SetDarkText();
  }
  // Draws row `row` as the list would be asked to, into a 300 x 200 bitmap.
  SkinBitmap DrawRow(int row, UINT state) {
    SkinBitmap canvas = testing::SolidImage(300, 200, RGB(1, 2, 3));
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ previous = ::SelectObject(dc, canvas.get());
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_LISTBOX;
    item.itemID = static_cast<UINT>(row);
    item.itemAction = ODA_DRAWENTIRE;
    item.itemState = state;
    item.hwndItem = list.hwnd();
    item.hDC = dc;
    item.rcItem = RECT{0, row * kListRowHeight, 300, (row + 1) * kListRowHeight};
    item.itemData = static_cast<ULONG_PTR>(::SendMessageW(list.hwnd(), LB_GETITEMDATA, static_cast<WPARAM>(row), 0));
    list.DrawRow(item);
    ::GdiFlush();
    ::SelectObject(dc, previous);
    ::DeleteDC(dc);
    return canvas;
  }
  ControlHost host;
  CListBoxEx list;
};

TEST_F(EventList, RowsCarryTheirValues) {
  EXPECT_EQ(list.AddRow(u"A  Press", 4024), 0);
  EXPECT_EQ(list.AddRow(u"B  Release", 4025), 1);
  EXPECT_EQ(list.InsertRow(0, u"first", 0), 0);
  EXPECT_EQ(list.RowCount(), 3);
  EXPECT_EQ(::SendMessageW(list.hwnd(), LB_GETITEMDATA, 1, 0), 4024);
  EXPECT_EQ(::SendMessageW(list.hwnd(), LB_GETITEMHEIGHT, 0, 0), kListRowHeight);
}

TEST_F(EventList, SelectedRowsAreHighlightedAndGridLinesDrawn) {
  list.AddRow(u"A  Press", 4024);
  list.AddRow(u"A  Release", 4025);
  list.SetSelectionMode(true);
  const SkinBitmap selected = DrawRow(1, ODS_SELECTED | ODS_FOCUS);
  EXPECT_EQ(testing::PixelOf(selected, 250, 20), RGB(0xC6, 0x01, 0x0B)) << "highlight 0x0B01C6";
  EXPECT_EQ(testing::PixelOf(selected, 250, 29), RGB(0x68, 0x68, 0x68)) << "grid line at y 29";
  const SkinBitmap plain = DrawRow(0, 0);
  EXPECT_EQ(testing::PixelOf(plain, 250, 5), RGB(0, 0, 0));
  EXPECT_EQ(testing::PixelOf(plain, 250, 0), RGB(0x68, 0x68, 0x68)) << "style 0 draws a line at the top";
  EXPECT_EQ(testing::PixelOf(plain, 250, 14), RGB(0x68, 0x68, 0x68));
  list.SetGridStyle(kGridNone);
  EXPECT_EQ(testing::PixelOf(DrawRow(0, 0), 250, 14), RGB(0, 0, 0));
}

TEST_F(EventList, HoverModeHighlightsTheRowUnderTheMouse) {
  for (int i = 0; i < 4; ++i) list.AddRow(u"row " + AsciiToUtf16(std::to_string(i)), 0);
  testing::SendMouse(list.hwnd(), WM_MOUSEMOVE, 50, 2 * kListRowHeight + 3);
  EXPECT_EQ(list.hoverRow(), 2);
  ASSERT_NE(list.tooltip(), nullptr);
  wchar_t tip[64] = {};
  TOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.hwnd = host.hwnd();
  tool.uId = reinterpret_cast<UINT_PTR>(list.hwnd());
  tool.lpszText = tip;
  ::SendMessageW(list.tooltip(), TTM_GETTEXTW, 64, reinterpret_cast<LPARAM>(&tool));
  EXPECT_STREQ(tip, L"row 2") << "the tooltip shows the row's whole text";
  EXPECT_EQ(testing::PixelOf(DrawRow(2, 0), 250, 35), RGB(0xC6, 0x01, 0x0B));
  EXPECT_EQ(testing::PixelOf(DrawRow(1, 0), 250, 20), RGB(0, 0, 0));
  ::SendMessageW(list.hwnd(), WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(list.hoverRow(), -1);
}

SkinBitmap ScrollGrid() {
  SkinBitmap grid = CreateBitmap32(9 * 12, 3 * 12);
  for (int y = 0; y < 36; ++y)
    for (int x = 0; x < 108; ++x) testing::SetPixelOf(grid, x, y, RGB(60 + x, 60, 60 + y), 255);
  return grid;
}

TEST_F(EventList, SkinnedBarReplacesTheNativeOneAndScrollsTheList) {
  for (int i = 0; i < 40; ++i) list.AddRow(u"row " + AsciiToUtf16(std::to_string(i)), 0);
  const SkinBitmap grid = ScrollGrid();
  CSkinScrollWnd bars;
  ASSERT_TRUE(bars.Attach(list.hwnd(), grid.get()));
  CSkinScrollBar& bar = bars.verticalBar();
  ASSERT_TRUE(::IsWindowVisible(bar.hwnd()));
  RECT barRect{};
  ::GetWindowRect(bar.hwnd(), &barRect);
  ::MapWindowPoints(nullptr, host.hwnd(), reinterpret_cast<POINT*>(&barRect), 2);
  EXPECT_EQ(barRect.left, 310 - 12);
  EXPECT_EQ(barRect.right, 310);
  EXPECT_EQ(bar.scrollState().maximum, 39);
  SCROLLINFO native{sizeof(SCROLLINFO), SIF_ALL};
  ::GetScrollInfo(list.hwnd(), SB_VERT, &native);
  EXPECT_EQ(bar.scrollState().page, static_cast<int>(native.nPage));

  // The native bar lies outside the list's visible region.
  HRGN region = ::CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(::GetWindowRgn(list.hwnd(), region), ERROR);
  RECT box{};
  ::GetRgnBox(region, &box);
  ::DeleteObject(region);
  EXPECT_EQ(box.right, 300 - 12);

  RECT barClient{};
  ::GetClientRect(bar.hwnd(), &barClient);
  testing::Click(bar.hwnd(), 5, barClient.bottom - 4);  // second arrow
  EXPECT_EQ(::SendMessageW(list.hwnd(), LB_GETTOPINDEX, 0, 0), 1);
  EXPECT_EQ(bar.scrollState().position, 1);

  // Rows gone: the list drops its bar, and so does the skin, once it looks again.
  ::SendMessageW(list.hwnd(), LB_RESETCONTENT, 0, 0);
  bars.Sync();
  EXPECT_FALSE(::IsWindowVisible(bar.hwnd()));
}

TEST_F(EventList, BothBarsShareTheCorner) {
  CListBoxEx wide;
  ASSERT_TRUE(wide.Create(WS_VISIBLE | WS_VSCROLL | WS_HSCROLL, RECT{340, 10, 540, 130}, host.hwnd(), 0x1013));
  for (int i = 0; i < 30; ++i) wide.AddRow(u"row", 0);
  ::SendMessageW(wide.hwnd(), LB_SETHORIZONTALEXTENT, 900, 0);
  const SkinBitmap grid = ScrollGrid();
  CSkinScrollWnd bars;
  ASSERT_TRUE(bars.Attach(wide.hwnd(), grid.get()));
  bars.Sync();
  ASSERT_TRUE(::IsWindowVisible(bars.verticalBar().hwnd()));
  ASSERT_TRUE(::IsWindowVisible(bars.horizontalBar().hwnd()));
  ASSERT_TRUE(::IsWindowVisible(bars.corner()));
  RECT corner{};
  ::GetWindowRect(bars.corner(), &corner);
  ::MapWindowPoints(nullptr, host.hwnd(), reinterpret_cast<POINT*>(&corner), 2);
  EXPECT_EQ(corner.right, 540);
  EXPECT_EQ(corner.bottom, 130);
  EXPECT_EQ(corner.right - corner.left, 12);
  testing::Click(bars.horizontalBar().hwnd(), 200 - 12 - 4, 5);  // the right arrow
  SCROLLINFO info{sizeof(SCROLLINFO), SIF_POS};
  ::GetScrollInfo(wide.hwnd(), SB_HORZ, &info);
  EXPECT_GT(info.nPos, 0);
  // Destroying the window takes the bars with it.
  HWND vertical = bars.verticalBar().hwnd();
  wide.Destroy();
  EXPECT_FALSE(::IsWindow(vertical));
}

}  // namespace
}  // namespace quencfg
