#pragma once
// CSkinScrollBar: a scroll bar control drawn from one bitmap of 9 x 3 cells (columns
// 0-3 vertical pieces, 4-7 horizontal, 8 the corner; rows normal, hovered, pressed).
// It sends WM_VSCROLL / WM_HSCROLL to its target (its parent unless told otherwise)
// and never changes its own scroll state while the user drags: the receiver does.
#include <windows.h>

#include "quencfg/framework/gdi_win.h"
#include "quencfg/framework/window_win.h"
#include "quencfg/ui/skin/scroll_geometry.h"

namespace quencfg {

inline constexpr UINT_PTR kScrollRepeatDelayTimer = 1;
inline constexpr UINT_PTR kScrollRepeatTimer = 2;
inline constexpr UINT kScrollRepeatDelayMs = 500;
inline constexpr UINT kScrollRepeatMs = 100;

class CSkinScrollBar : public Window {
 public:
  // Destroyed here, so that the window's last messages still reach this class.
  ~CSkinScrollBar() override { Destroy(); }
  // `bitmap` is borrowed: it must outlive the bar (null draws nothing).
  bool Create(HWND parent, const RECT& rect, bool vertical, HBITMAP bitmap, int controlId, bool visible = true);

  void SetScrollState(const ScrollState& state, bool redraw = true);
  [[nodiscard]] const ScrollState& scrollState() const noexcept { return state_; }
  void SetTarget(HWND target) noexcept { target_ = target; }
  [[nodiscard]] bool vertical() const noexcept { return vertical_; }
  [[nodiscard]] bool dragging() const noexcept { return dragging_; }
  // One cell of the bitmap: the bar's thickness and the arrows' length.
  [[nodiscard]] int CellWidth() const noexcept;
  [[nodiscard]] ScrollBarLayout Layout() const;

  // The corner square from column 8 of the bitmap (row 0: vertical bar on the right).
  static void DrawCorner(HDC dc, HBITMAP bitmap, const RECT& rect, bool verticalOnLeft);

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void Paint(HDC dc, const RECT& client) const;
  void DrawPiece(HDC dc, int column, int row, int start, int length) const;
  int RowOf(ScrollPiece piece) const;
  int OffsetAlong(POINT point) const;
  void OnButtonDown(POINT point);
  void OnButtonUp();
  void OnMouseMove(POINT point);
  void OnTimer(UINT_PTR id);
  void SendScroll(int code, int position = 0) const;
  bool RepeatReachedItsEnd() const;
  void StopRepeat();
  void Repaint();

  HBITMAP bitmap_ = nullptr;
  int cellWidth_ = 0;
  int cellHeight_ = 0;
  bool vertical_ = true;
  HWND target_ = nullptr;
  ScrollState state_;
  ScrollPiece pressed_ = ScrollPiece::kNone;
  ScrollPiece hovered_ = ScrollPiece::kNone;
  bool tracking_ = false;
  bool dragging_ = false;
  int dragStartOffset_ = 0;
  int dragStartPosition_ = 0;
  int dragPosition_ = 0;
  POINT lastPoint_{};
};

}  // namespace quencfg
