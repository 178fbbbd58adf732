#include "quencfg/ui/skin/list_box_ex_win.h"

#include <commctrl.h>
#include <windowsx.h>

#include "quencfg/framework/wide_win.h"
#include "quencfg/ui/skin/list_rows.h"
#include "quencfg/ui/skin/skin_resource_bitmap_win.h"
#include "quencfg/ui/skin/skin_scale.h"

namespace quencfg {
namespace {

constexpr COLORREF kGridColor = 0x686868;
constexpr UINT kRowTextFormat = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
constexpr LPARAM kNoImage = 1;

void Fill(HDC dc, const RECT& rect, COLORREF color) {
  OwnedBrush brush(::CreateSolidBrush(color));
  ::FillRect(dc, &rect, brush.get());
}

void DrawColumn(HDC dc, std::u16string_view text, RECT rect) {
  if (text.empty() || rect.right <= rect.left) return;
  std::wstring wide = ToWide(text);
  ::DrawTextW(dc, wide.data(), static_cast<int>(wide.size()), &rect, kRowTextFormat);
}

}  // namespace

bool CListBoxEx::Create(DWORD style, const RECT& rect, HWND parent, int controlId) {
  // The list keeps its layout rectangle instead of shrinking to whole rows.
  const DWORD listStyle = style | WS_CHILD | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
  HWND list = ::CreateWindowExW(0, L"LISTBOX", L"", listStyle, rect.left, rect.top, rect.right - rect.left,
                                rect.bottom - rect.top, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)),
                                ::GetModuleHandleW(nullptr), nullptr);
  if (list == nullptr) return false;
  if (!Attach(list)) {
    ::DestroyWindow(list);
    return false;
  }
  ::SendMessageW(list, LB_SETITEMHEIGHT, 0, ScaleToDpi(kListRowHeight, SkinDpi()));
  backgroundBrush_.reset(::CreateSolidBrush(::GetSysColor(COLOR_WINDOW)));
  tooltip_.reset(::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, list, nullptr, nullptr,
                               nullptr));
  if (tooltip_) {
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = parent;
    tool.uId = reinterpret_cast<UINT_PTR>(list);
    tool.lpszText = const_cast<wchar_t*>(L"");
    ::SendMessageW(tooltip_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
  return ReflectFromParent();
}

void CListBoxEx::SetDarkBackground() {
  highlightColor_ = 0x0B01C6;
  backgroundBrush_.reset(::CreateSolidBrush(0x000000));
  if (hwnd() != nullptr) ::InvalidateRect(hwnd(), nullptr, TRUE);
}

void CListBoxEx::SetDarkText() {
  textColor_ = 0xC8C8C8;
  selectedTextColor_ = 0xFFFFFF;
  if (hwnd() != nullptr) ::InvalidateRect(hwnd(), nullptr, TRUE);
}

void CListBoxEx::SetFont(HFONT font) {
  font_ = font;
  if (hwnd() != nullptr) ::SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  ::SendMessageW(hwnd(), LB_SETITEMHEIGHT, 0, ScaleToDpi(kListRowHeight, SkinDpi()));
}

int CListBoxEx::AddRow(std::u16string_view text, LPARAM itemValue) { return InsertRow(-1, text, itemValue); }

int CListBoxEx::InsertRow(int index, std::u16string_view text, LPARAM itemValue) {
  if (hwnd() == nullptr) return LB_ERR;
  const std::wstring wide = ToWide(text);
  const LRESULT row = ::SendMessageW(hwnd(), LB_INSERTSTRING, static_cast<WPARAM>(index),
                                     reinterpret_cast<LPARAM>(wide.c_str()));
  if (row >= 0) ::SendMessageW(hwnd(), LB_SETITEMDATA, static_cast<WPARAM>(row), itemValue);
  return static_cast<int>(row);
}

int CListBoxEx::RowCount() const {
  return hwnd() == nullptr ? 0 : static_cast<int>(::SendMessageW(hwnd(), LB_GETCOUNT, 0, 0));
}

std::u16string CListBoxEx::RowText(int row) const {
  const LRESULT length = ::SendMessageW(hwnd(), LB_GETTEXTLEN, static_cast<WPARAM>(row), 0);
  if (length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const LRESULT copied = ::SendMessageW(hwnd(), LB_GETTEXT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
  return ToU16(text);
}

HBITMAP CListBoxEx::RowBitmap(LPARAM itemValue) {
  auto found = bitmaps_.find(itemValue);
  if (found == bitmaps_.end()) {
    // A number without a bitmap resource of the program shows no image.
    OwnedBitmap loaded = (itemValue > 0 && itemValue < 0x10000)
                             ? LoadSkinResourceBitmap(static_cast<int>(itemValue), SkinDpi())
                             : OwnedBitmap();
    found = bitmaps_.emplace(itemValue, std::move(loaded)).first;
  }
  return found->second.get();
}

void CListBoxEx::DrawTexts(HDC dc, const RECT& row, std::u16string_view text, LPARAM itemValue) {
  if (itemValue == 0) {
    DrawColumn(dc, text, RECT{row.left + (noIndent_ ? 0 : 10), row.top, row.right, row.bottom});
    return;
  }
  if (itemValue != kNoImage) {
    HBITMAP image = RowBitmap(itemValue);
    if (image != nullptr) {
      BITMAP info{};
      ::GetObjectW(image, sizeof info, &info);
      MemoryDc source(dc);
      SelectScope select(source.get(), image);
      ::TransparentBlt(dc, row.left + 5, row.top, bitmapSize_.cx, bitmapSize_.cy, source.get(), 0, 0, info.bmWidth,
                       info.bmHeight, 0x000000);
    }
  }
  const RowColumns columns = SplitRowColumns(text);
  DrawColumn(dc, columns.first, RECT{row.left + (noIndent_ ? 0 : 30), row.top, row.left + 100, row.bottom});
  DrawColumn(dc, columns.second, RECT{row.left + 120, row.top, row.right, row.bottom});
}

void CListBoxEx::DrawRow(const DRAWITEMSTRUCT& item) {
  HDC dc = item.hDC;
  const RECT& rect = item.rcItem;
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  LOGBRUSH normal{};
  ::GetObjectW(backgroundBrush_.get(), sizeof normal, &normal);
  // Selection mode: a row gaining the selection turns highlighted, one losing it normal.
  bool highlighted = selectionMode_ ? selected : static_cast<int>(item.itemID) == hoverRow_;
  if (selected && (item.itemState & ODS_FOCUS) == 0) highlighted = true;
  Fill(dc, rect, highlighted ? highlightColor_ : normal.lbColor);

  if (static_cast<int>(item.itemID) >= 0 && static_cast<int>(item.itemID) < RowCount()) {
    COLORREF color = selected ? selectedTextColor_ : textColor_;
    if ((item.itemState & ODS_DISABLED) != 0) color = ::GetSysColor(COLOR_BTNSHADOW);
    const int oldMode = ::SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColor = ::SetTextColor(dc, color);
    const SelectScope font(dc, font_);
    DrawTexts(dc, rect, RowText(static_cast<int>(item.itemID)), static_cast<LPARAM>(item.itemData));
    ::SetTextColor(dc, oldColor);
    ::SetBkMode(dc, oldMode);
  }

  DrawGridLines(dc, rect);
}

void CListBoxEx::DrawGridLines(HDC dc, const RECT& rect) const {
  OwnedPen grid(::CreatePen(PS_SOLID, 1, kGridColor));
  SelectScope selectPen(dc, grid.get());
  const auto rowHeight = static_cast<int>(::SendMessageW(hwnd(), LB_GETITEMHEIGHT, 0, 0));
  for (int y : GridLineRows(gridStyle_, rowHeight)) {
    if (y < rect.top || y >= rect.bottom) continue;
    ::MoveToEx(dc, rect.left, y, nullptr);
    ::LineTo(dc, rect.right, y);
  }
}

void CListBoxEx::InvalidateRow(int row) const {
  RECT rect{};
  if (row >= 0 && ::SendMessageW(hwnd(), LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rect)) != LB_ERR) {
    ::InvalidateRect(hwnd(), &rect, FALSE);
  }
}

void CListBoxEx::TrackRowUnder(POINT point) {
  if (!trackingLeave_) {
    TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, hwnd(), 0};
    trackingLeave_ = ::TrackMouseEvent(&track) != FALSE;
  }
  const LRESULT hit = ::SendMessageW(hwnd(), LB_ITEMFROMPOINT, 0, MAKELPARAM(point.x, point.y));
  const int row = HIWORD(hit) != 0 ? -1 : static_cast<int>(LOWORD(hit));
  if (row == hoverRow_) return;
  InvalidateRow(hoverRow_);
  hoverRow_ = row;
  InvalidateRow(hoverRow_);
  ShowRowTooltip();
}

void CListBoxEx::ShowRowTooltip() {
  if (!tooltip_) return;
  std::wstring text = hoverRow_ >= 0 ? ToWide(RowText(hoverRow_)) : std::wstring();
  TOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.hwnd = ::GetParent(hwnd());
  tool.uId = reinterpret_cast<UINT_PTR>(hwnd());
  tool.lpszText = text.data();
  ::SendMessageW(tooltip_.get(), TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

LRESULT CListBoxEx::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND: {
      RECT client{};
      ::GetClientRect(hwnd(), &client);
      if (::IsWindowEnabled(hwnd())) {
        ::FillRect(reinterpret_cast<HDC>(wParam), &client, backgroundBrush_.get());
        // The rows still to come are ruled too, so an empty list reads as a list.
        DrawGridLines(reinterpret_cast<HDC>(wParam), client);
      } else {
        Fill(reinterpret_cast<HDC>(wParam), client, ::GetSysColor(COLOR_INACTIVEBORDER));
      }
      return 1;
    }
    case WM_MOUSEMOVE:
      TrackRowUnder(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      return DefaultHandling(message, wParam, lParam);
    case WM_MOUSELEAVE:
      trackingLeave_ = false;
      InvalidateRow(hoverRow_);
      hoverRow_ = -1;
      ShowRowTooltip();
      return 0;
    case WM_DESTROY:
      tooltip_.reset();
      return DefaultHandling(message, wParam, lParam);
    default:
      return DefaultHandling(message, wParam, lParam);
  }
}

bool CListBoxEx::HandleReflected(UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_DRAWITEM:
      DrawRow(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      result = TRUE;
      return true;
    case WM_CTLCOLORLISTBOX:
      result = reinterpret_cast<LRESULT>(backgroundBrush_.get());
      return true;
    default:
      return false;
  }
}

}  // namespace quencfg
