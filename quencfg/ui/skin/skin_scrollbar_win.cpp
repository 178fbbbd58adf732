#include "quencfg/ui/skin/skin_scrollbar_win.h"

#include <windowsx.h>

#include "quencfg/ui/skin/skin_draw_win.h"

namespace quencfg {
namespace {

constexpr int kGridColumns = 9;
constexpr int kGridRows = 3;
constexpr int kCornerColumn = 8;

enum PieceColumn : int { kFirstArrowColumn = 0, kSecondArrowColumn = 1, kThumbColumn = 2, kTrackColumn = 3 };
enum PieceRow : int { kRowNormal = 0, kRowHovered = 1, kRowPressed = 2 };

BITMAP SizeOf(HBITMAP bitmap) {
  BITMAP info{};
  if (bitmap != nullptr) ::GetObjectW(bitmap, sizeof info, &info);
  return info;
}

}  // namespace

bool CSkinScrollBar::Create(HWND parent, const RECT& rect, bool vertical, HBITMAP bitmap, int controlId,
                            bool visible) {
  bitmap_ = bitmap;
  const BITMAP info = SizeOf(bitmap);
  cellWidth_ = info.bmWidth / kGridColumns;
  cellHeight_ = info.bmHeight / kGridRows;
  vertical_ = vertical;
  target_ = parent;
  WindowCreateParams params;
  params.className = L"KorvaneSkinScrollBar";
  params.style = WS_CHILD | (visible ? WS_VISIBLE : 0);
  params.x = rect.left;
  params.y = rect.top;
  params.width = rect.right - rect.left;
  params.height = rect.bottom - rect.top;
  params.parent = parent;
  params.classStyle = 0;  // a quick second click is a second press, not a double click
  params.menuOrId = reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId));
  return Window::Create(params);
}

int CSkinScrollBar::CellWidth() const noexcept { return cellWidth_; }

void CSkinScrollBar::SetScrollState(const ScrollState& state, bool redraw) {
  state_ = state;
  if (redraw && !dragging_) Repaint();
}

ScrollBarLayout CSkinScrollBar::Layout() const {
  RECT client{};
  if (hwnd() != nullptr) ::GetClientRect(hwnd(), &client);
  ScrollState shown = state_;
  if (dragging_) shown.position = dragPosition_;
  return LayoutScrollBar(vertical_ ? client.bottom : client.right, cellWidth_, shown);
}

int CSkinScrollBar::OffsetAlong(POINT point) const { return vertical_ ? point.y : point.x; }

void CSkinScrollBar::Repaint() {
  if (hwnd() != nullptr) ::InvalidateRect(hwnd(), nullptr, FALSE);
}

int CSkinScrollBar::RowOf(ScrollPiece piece) const {
  if (piece == ScrollPiece::kThumb && dragging_) return kRowPressed;
  if (piece == pressed_) return kRowPressed;
  if (piece == hovered_) return kRowHovered;
  return kRowNormal;
}

void CSkinScrollBar::DrawPiece(HDC dc, int column, int row, int start, int length) const {
  if (length <= 0 || cellWidth_ <= 0 || cellHeight_ <= 0) return;
  const int firstColumn = vertical_ ? 0 : 4;
  const int x = (firstColumn + column) * cellWidth_;
  const RECT source{x, row * cellHeight_, x + cellWidth_, (row + 1) * cellHeight_};
  RECT client{};
  ::GetClientRect(hwnd(), &client);
  const RECT target = vertical_ ? RECT{0, start, client.right, start + length}
                                : RECT{start, 0, start + length, client.bottom};
  StretchBitmap(dc, bitmap_, target, source);
}

void CSkinScrollBar::Paint(HDC dc, const RECT&) const {
  const ScrollBarLayout layout = Layout();
  DrawPiece(dc, kTrackColumn, kRowNormal, layout.trackStart(), layout.trackLength);
  DrawPiece(dc, kFirstArrowColumn, RowOf(ScrollPiece::kFirstArrow), 0, layout.arrowLength);
  DrawPiece(dc, kSecondArrowColumn, RowOf(ScrollPiece::kSecondArrow), layout.secondArrowStart(), layout.arrowLength);
  DrawPiece(dc, kThumbColumn, RowOf(ScrollPiece::kThumb), layout.thumbStart, layout.thumbLength);
}

void CSkinScrollBar::DrawCorner(HDC dc, HBITMAP bitmap, const RECT& rect, bool verticalOnLeft) {
  const BITMAP info = SizeOf(bitmap);
  const int width = info.bmWidth / kGridColumns;
  const int height = info.bmHeight / kGridRows;
  const int row = verticalOnLeft ? 1 : 0;
  StretchBitmap(dc, bitmap, rect, RECT{kCornerColumn * width, row * height, (kCornerColumn + 1) * width, (row + 1) * height});
}

void CSkinScrollBar::SendScroll(int code, int position) const {
  const UINT message = vertical_ ? WM_VSCROLL : WM_HSCROLL;
  const WPARAM wParam = MAKEWPARAM(static_cast<WORD>(code), static_cast<WORD>(position));
  ::SendMessageW(target_, message, wParam, reinterpret_cast<LPARAM>(hwnd()));
}

bool CSkinScrollBar::RepeatReachedItsEnd() const {
  switch (pressed_) {
    case ScrollPiece::kFirstArrow: return state_.position <= state_.minimum;
    case ScrollPiece::kSecondArrow: return state_.position >= ScrollDragLimit(state_);
    case ScrollPiece::kTrackBefore:
    case ScrollPiece::kTrackAfter: return HitScrollPiece(Layout(), OffsetAlong(lastPoint_)) != pressed_;
    default: return true;
  }
}

void CSkinScrollBar::StopRepeat() {
  ::KillTimer(hwnd(), kScrollRepeatDelayTimer);
  ::KillTimer(hwnd(), kScrollRepeatTimer);
}

void CSkinScrollBar::OnButtonDown(POINT point) {
  lastPoint_ = point;
  const ScrollBarLayout layout = Layout();
  const ScrollPiece piece = HitScrollPiece(layout, OffsetAlong(point));
  if (piece == ScrollPiece::kNone) return;
  ::SetCapture(hwnd());
  if (piece == ScrollPiece::kThumb) {
    dragging_ = true;
    dragStartOffset_ = OffsetAlong(point);
    dragStartPosition_ = state_.position;
    dragPosition_ = state_.position;
    Repaint();
    return;
  }
  pressed_ = piece;
  Repaint();
  SendScroll(static_cast<int>(piece));
  if (hwnd() != nullptr) ::SetTimer(hwnd(), kScrollRepeatDelayTimer, kScrollRepeatDelayMs, nullptr);
}

void CSkinScrollBar::OnButtonUp() {
  if (dragging_) {
    dragging_ = false;
    if (::GetCapture() == hwnd()) ::ReleaseCapture();
    Repaint();
    SendScroll(SB_THUMBPOSITION, dragPosition_);
    return;
  }
  if (pressed_ == ScrollPiece::kNone) return;
  StopRepeat();
  pressed_ = ScrollPiece::kNone;
  if (::GetCapture() == hwnd()) ::ReleaseCapture();
  Repaint();
}

void CSkinScrollBar::OnMouseMove(POINT point) {
  lastPoint_ = point;
  if (dragging_) {
    const int movement = OffsetAlong(point) - dragStartOffset_;
    ScrollState start = state_;
    start.position = dragStartPosition_;
    const int position = ScrollDragPosition(state_, LayoutScrollBar(Layout().length, cellWidth_, start),
                                            dragStartPosition_, movement);
    if (position != dragPosition_) {
      dragPosition_ = position;
      Repaint();
      SendScroll(SB_THUMBTRACK, position);
    }
    return;
  }
  if (pressed_ != ScrollPiece::kNone) return;
  if (!tracking_) {
    TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, hwnd(), 0};
    tracking_ = ::TrackMouseEvent(&track) != FALSE;
  }
  ScrollPiece piece = HitScrollPiece(Layout(), OffsetAlong(point));
  if (piece == ScrollPiece::kTrackBefore || piece == ScrollPiece::kTrackAfter) piece = ScrollPiece::kNone;
  if (piece != hovered_) {
    hovered_ = piece;
    Repaint();
  }
}

void CSkinScrollBar::OnTimer(UINT_PTR id) {
  if (id == kScrollRepeatDelayTimer) {
    ::KillTimer(hwnd(), kScrollRepeatDelayTimer);
    ::SetTimer(hwnd(), kScrollRepeatTimer, kScrollRepeatMs, nullptr);
    return;
  }
  if (id != kScrollRepeatTimer || pressed_ == ScrollPiece::kNone) return;
  if (RepeatReachedItsEnd()) {
    StopRepeat();
    return;
  }
  SendScroll(static_cast<int>(pressed_));
}

LRESULT CSkinScrollBar::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  const auto paint = [this](HDC dc, const RECT& client) { Paint(dc, client); };
  if (const auto painted = HandlePaintMessages(hwnd(), message, wParam, paint)) return *painted;
  switch (message) {
    case WM_LBUTTONDOWN:
      OnButtonDown(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      return 0;
    case WM_LBUTTONUP:
      OnButtonUp();
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMove(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      return 0;
    case WM_MOUSELEAVE:
      tracking_ = false;
      if (hovered_ != ScrollPiece::kNone) {
        hovered_ = ScrollPiece::kNone;
        Repaint();
      }
      return 0;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != hwnd() && (dragging_ || pressed_ != ScrollPiece::kNone)) {
        StopRepeat();
        dragging_ = false;
        pressed_ = ScrollPiece::kNone;
        Repaint();
      }
      return 0;
    case WM_TIMER:
      OnTimer(static_cast<UINT_PTR>(wParam));
      return 0;
    case WM_DESTROY:
      StopRepeat();
      return DefaultHandling(message, wParam, lParam);
    default:
      return DefaultHandling(message, wParam, lParam);
  }
}

}  // namespace quencfg
