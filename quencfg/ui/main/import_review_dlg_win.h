#pragma once
// CImportReviewDlg: the review an import shows before it accepts keys that start
// programs or play macros the user does not have. A sibling of the warning dialog with
// its look (its background, stretched to fit the list; its red title; its buttons),
// listing each key by its name on the keyboard with a note and the program path or
// macro name whole, wrapped, in a list that scrolls when it is long. The user keeps
// the listed keys, imports the profile without them, or cancels the import; closing
// the review (or Escape) cancels. Tab and the arrow keys move the keyboard focus, which
// the focused button shows; Enter and Space press it.
#include <windows.h>

#include <array>
#include <string>
#include <vector>

#include "quencfg/framework/window_win.h"
#include "quencfg/ui/main/import_review.h"
#include "quencfg/ui/skin/bitmap_btn_win.h"
#include "quencfg/ui/skin/skin_bitmap_win.h"
#include "quencfg/ui/skin/state_images_win.h"
#include "quencfg/ui/skin/skin_scroll_wnd_win.h"

namespace quencfg {

// One listed key as the review shows it.
struct ReviewLine {
  std::u16string heading;  // "Key F1: opens a web address (URL) ..."
  std::u16string detail;   // the path exactly as stored, or the macro name
  COLORREF headingColor;
};

// The lines of the review: key names from the keyboard layout file, notes from the
// strings document.
std::vector<ReviewLine> ReviewLines(const std::vector<ReviewedKey>& review);

// The scrolling list of the review's lines, painted on the dialog's background.
class CImportReviewList : public Window {
 public:
  ~CImportReviewList() override;
  bool Create(HWND parent, const RECT& place, const SkinBitmap& dialogBackground, std::vector<ReviewLine> lines,
              int contentHeight);

  // Attaches the skinned scroll bar once the list is on screen (a long list only).
  void ShowScrollBar();

  [[nodiscard]] const std::vector<ReviewLine>& lines() const noexcept { return lines_; }
  [[nodiscard]] bool scrollBarShown() noexcept {
    return bars_.window() != nullptr && ::IsWindowVisible(bars_.verticalBar().hwnd()) != FALSE;
  }
  [[nodiscard]] int scrollPosition() const noexcept { return position_; }
  [[nodiscard]] bool scrolls() const noexcept { return contentHeight_ > visibleHeight_; }

  // Height of the lines drawn `width` wide, as Paint lays them out.
  static int MeasureHeight(HDC dc, const std::vector<ReviewLine>& lines, int width);

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void Paint(HDC dc, const RECT& client) const;
  void ScrollTo(int position);
  void OnScroll(WPARAM wParam);

  std::vector<ReviewLine> lines_;
  SkinBitmap backgroundPiece_;
  OwnedBitmap scrollBitmap_;
  CSkinScrollWnd bars_;
  int contentHeight_ = 0;
  int visibleHeight_ = 0;
  int position_ = 0;
};

class CImportReviewDlg : public Window {
 public:
  CImportReviewDlg(HWND parent, std::vector<ReviewedKey> review);
  ~CImportReviewDlg() override { Destroy(); }

  // The user's choice; the window is gone when it returns.
  ImportChoice DoModal();

  [[nodiscard]] CPngListBtn& keepButton() noexcept { return keepButton_; }
  [[nodiscard]] CPngListBtn& leaveOutButton() noexcept { return leaveOutButton_; }
  [[nodiscard]] CPngListBtn& cancelButton() noexcept { return cancelButton_; }
  [[nodiscard]] CImportReviewList& list() noexcept { return list_; }
  [[nodiscard]] HWND parent() const noexcept { return parent_; }

 protected:
  bool CreateForModal(HWND owner) override;
  bool PreTranslateMessage(MSG& message) override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void Paint(HDC dc) const;
  void CreateButtons();
  // The buttons in their order on screen, Tab's order.
  [[nodiscard]] std::array<CPngListBtn*, 3> Buttons() noexcept {
    return {&keepButton_, &leaveOutButton_, &cancelButton_};
  }
  void MoveFocus(int step);
  void PressFocusedButton();
  void Answer(HWND button);

  HWND parent_;
  std::vector<ReviewedKey> review_;
  SkinBitmap background_;
  RECT introRect_{};
  CImportReviewList list_;
  CPngListBtn keepButton_;
  CPngListBtn leaveOutButton_;
  CPngListBtn cancelButton_;
  HWND focused_ = nullptr;  // the button with the keyboard focus while the review is active
};

// Shows the review when `review` lists any key and returns the choice; with nothing
// to review the import goes on as it is.
ImportChoice AskAboutImport(HWND owner, const std::vector<ReviewedKey>& review);

}  // namespace quencfg
