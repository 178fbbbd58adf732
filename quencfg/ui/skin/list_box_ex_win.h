#pragma once
// CListBoxEx: an owner-drawn list box of 15-pixel rows that draws each row itself
// (colors, a row image, two text columns, grid lines) and follows the mouse.
#include <windows.h>

#include <map>
#include <string>
#include <string_view>

#include "quencfg/framework/gdi_win.h"
#include "quencfg/framework/handle_win.h"
#include "quencfg/framework/subclass_win.h"

namespace quencfg {

class CListBoxEx : public SubclassedWindow {
 public:
  // Destroyed here, so that the window's last messages still reach this class.
  ~CListBoxEx() override { Destroy(); }
  // A list box of the given style with owner-drawn fixed rows and strings added.
  bool Create(DWORD style, const RECT& rect, HWND parent, int controlId);

  // Highlight 0x0B01C6 on a black background.
  void SetDarkBackground();
  // Text 0xC8C8C8, selected text white.
  void SetDarkText();
  void SetSelectionMode(bool on) { selectionMode_ = on; }
  void SetNoIndent(bool on) { noIndent_ = on; }
  void SetGridStyle(int style) { gridStyle_ = style; }
  void SetBitmapSize(SIZE size) { bitmapSize_ = size; }
  // Borrowed; it must outlive the list.
  void SetFont(HFONT font);

  // Returns the row's index, or a negative value when the list refuses it.
  int AddRow(std::u16string_view text, LPARAM itemValue);
  int InsertRow(int index, std::u16string_view text, LPARAM itemValue);
  [[nodiscard]] int RowCount() const;
  [[nodiscard]] int hoverRow() const noexcept { return hoverRow_; }
  [[nodiscard]] HWND tooltip() const noexcept { return tooltip_.get(); }

  // Draws one row as the owner-draw request describes.
  void DrawRow(const DRAWITEMSTRUCT& item);

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool HandleReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void TrackRowUnder(POINT point);
  void ShowRowTooltip();
  void DrawGridLines(HDC dc, const RECT& rect) const;
  void InvalidateRow(int row) const;
  HBITMAP RowBitmap(LPARAM itemValue);
  std::u16string RowText(int row) const;
  void DrawTexts(HDC dc, const RECT& row, std::u16string_view text, LPARAM itemValue);

  OwnedBrush backgroundBrush_;
  COLORREF highlightColor_ = ::GetSysColor(COLOR_HIGHLIGHT);
  COLORREF textColor_ = ::GetSysColor(COLOR_WINDOWTEXT);
  COLORREF selectedTextColor_ = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
  bool selectionMode_ = false;
  bool noIndent_ = false;
  SIZE bitmapSize_{13, 13};
  int gridStyle_ = 0;
  HFONT font_ = nullptr;
  int hoverRow_ = -1;
  bool trackingLeave_ = false;
  UniqueWindow tooltip_;  // the full text of the row under the mouse
  std::map<LPARAM, OwnedBitmap> bitmaps_;
};

}  // namespace quencfg
