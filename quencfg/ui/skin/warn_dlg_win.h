#pragma once
// CWarnDlg: the system's only message box. A skinned modal pop-up with a red title, the
// message of a warning type and the buttons OK and Cancel for a question, or OK alone
// for a warning that only informs; it is answered with the mouse only (Enter, Escape
// and Space never reach it).
#include <windows.h>

#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "quencfg/framework/window_win.h"
#include "quencfg/ui/skin/bitmap_btn_win.h"
#include "quencfg/ui/skin/skin_bitmap_win.h"
#include "quencfg/ui/skin/state_images_win.h"

namespace quencfg {

// The warnings of an import that changed nothing: the file could not be read, is not
// well-formed, or holds no profile.
inline constexpr int kImportUnreadableWarning = 6;
inline constexpr int kImportDamagedWarning = 7;
inline constexpr int kImportNoProfileWarning = 8;
// The macro page's questions: discard unsaved edits, and a name it cannot save under.
inline constexpr int kDiscardMacroEditsWarning = 9;
inline constexpr int kMacroNameInUseWarning = 10;
inline constexpr int kMacroNameUnusableWarning = 11;
// An edit of the macro page that would not fit: the macro holds its 80 events.
inline constexpr int kMacroFullWarning = 12;
// The chosen file for an exported profile could not be written.
inline constexpr int kExportFailedWarning = 13;

// A file could not be saved; the message names it (SetMessageText).
inline constexpr int kSaveFailedWarning = 14;
// Quitting with profiles whose edits were not applied: apply and quit, quit without
// applying, or stay (SetAnswers).
inline constexpr int kQuitWithUnappliedEditsWarning = 15;

// A button of a question with answers of its own (SetAnswers).
struct WarningAnswer {
  std::u16string_view layoutKey;  // its place and images: WARN_STRING/<layoutKey> of the layout
  std::u16string caption;
  INT_PTR result;  // what DoModal returns after a click on it
};
inline constexpr std::size_t kMaxWarningAnswers = 3;

// The message key (section WARN_STRING) of a warning type; empty: title only.
std::u16string_view WarningMessageKey(int warningType) noexcept;

// Whether a warning type asks a question, answered with OK or Cancel. Any other
// warning only informs, and its one button, OK, stands in the middle.
[[nodiscard]] bool WarningAsks(int warningType) noexcept;

class CWarnDlg : public Window {
 public:
  CWarnDlg(HWND parent, int warningType);
  ~CWarnDlg() override { Destroy(); }

  // IDOK or IDCANCEL; the window is gone when it returns.
  INT_PTR DoModal();

  // A message of the caller's own in place of the type's text (one that names a file,
  // say), drawn where the type's message stands. Before DoModal.
  void SetMessageText(std::u16string text) { messageText_ = std::move(text); }
  [[nodiscard]] std::u16string MessageText() const;

  // Buttons of the caller's own in place of OK and Cancel, left to right; at most
  // kMaxWarningAnswers are made. Before DoModal. A close by the system still answers
  // IDCANCEL.
  void SetAnswers(std::vector<WarningAnswer> answers);
  // The button that answers `result` (OK and Cancel included), or null.
  [[nodiscard]] HWND AnswerButton(INT_PTR result) const noexcept;

  [[nodiscard]] int warningType() const noexcept { return warningType_; }
  [[nodiscard]] CPngListBtn& okButton() noexcept { return okButton_; }
  [[nodiscard]] CPngListBtn& cancelButton() noexcept { return cancelButton_; }
  // Keyboard messages that reached the dialog or its buttons (none should).
  [[nodiscard]] int keyMessagesSeen() const noexcept { return keyMessagesSeen_; }

 protected:
  bool CreateForModal(HWND owner) override;
  bool PreTranslateMessage(MSG& message) override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void Paint(HDC dc) const;
  POINT Placement(int width, int height) const;
  void CreateButtons(int width, int height);
  void CreateAnswerButtons(int width, int height);

  HWND parent_;
  int warningType_;
  SkinBitmap background_;
  CPngListBtn okButton_;
  CPngListBtn cancelButton_;
  int keyMessagesSeen_ = 0;
  std::u16string messageText_;
  std::vector<WarningAnswer> answers_;
  std::array<CPngListBtn, kMaxWarningAnswers> answerButtons_;
};

}  // namespace quencfg
