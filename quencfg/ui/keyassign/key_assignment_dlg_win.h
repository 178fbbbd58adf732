#pragma once
// CKeyAssignmentDlg: the skinned pop-up in which the user decides what one key does.
// Three pages (single key, macro, launch) edit a private copy of the key's slot, which
// OK writes back and Cancel drops. The main window creates it once, hidden, as its
// owned window, and from then on only shows and hides it.
#include <windows.h>

#include <array>
#include <string>

#include "quencfg/framework/window_win.h"
#include "quencfg/model/settings_block.h"
#include "quencfg/ui/keyassign/kbhook_loader_win.h"
#include "quencfg/ui/keyassign/macro_page_win.h"
#include "quencfg/ui/keyassign/slot_edits.h"
#include "quencfg/ui/skin/bitmap_btn_win.h"
#include "quencfg/ui/skin/skin_bitmap_win.h"
#include "quencfg/ui/skin/state_images_win.h"
#include "quencfg/ui/skin/tooltip_set_win.h"

namespace quencfg {

class CKeyAssignmentDlg : public Window, private MacroPageHost {
 public:
  CKeyAssignmentDlg() : macroPage_(*this) {}
  ~CKeyAssignmentDlg() override {
    tooltips_.Destroy();
    Destroy();
  }

  // Creates the window hidden, owned by `ownerWindow`, runs the first layout pass and
  // loads the hook component from the program's folder.
  bool CreateHidden(HWND ownerWindow);

  // The second layout pass after a change of language: every image and caption is
  // read again; the controls keep their windows.
  void Relayout();

  // Edits a copy of `slot`; OK writes it back there. The slot must outlive the dialog
  // (it is a slot of the main window's working profile).
  void SetSlot(KeySlot& slot);
  // The name of the key the dialog edits, shown beside the page buttons ("Key: E");
  // empty shows nothing.
  void SetEditedKeyName(std::u16string name);
  [[nodiscard]] std::u16string EditedKeyLabel() const;
  // Macro-only mode edits the macro library and never a key slot.
  void SetMacroOnly(bool macroOnly);
  // Opens the page of the working slot's function and fills it.
  void ShowAssignment() override;
  void ShowPage(AssignmentPage page);

  // Closes the dialog as Cancel does, but without a question and ending a recording
  // first, because its owner hides: nothing stays on screen or listens to the keyboard
  // for a hidden window.
  void Dismiss();

  // The program picker's result: the launch page takes `path` (the picker's dialog
  // itself cannot run unattended, so this step stands on its own).
  void ApplyChosenProgram(std::u16string_view path);

  // Keys before dispatch, for the dialog and its controls. The message loop of the
  // main window passes every message here first; true: swallowed.
  bool PreTranslateMessage(MSG& message) override;

  [[nodiscard]] AssignmentPage page() const noexcept { return page_; }
  [[nodiscard]] bool macroOnly() const noexcept { return macroOnly_; }
  [[nodiscard]] bool layoutDone() const noexcept { return layoutDone_; }
  [[nodiscard]] const KeySlot& workingSlot() const noexcept { return workingSlot_; }
  [[nodiscard]] bool hookOn() const noexcept { return hook_.hookOn(); }

  [[nodiscard]] CPngListBtn& okButton() noexcept { return okButton_; }
  [[nodiscard]] CPngListBtn& cancelButton() noexcept { return cancelButton_; }
  [[nodiscard]] CPngListBtn& pageButton(AssignmentPage page) noexcept { return pageButtons_[page]; }
  [[nodiscard]] CPngListBtn& resetButton() noexcept { return resetButton_; }
  [[nodiscard]] CPngListBtn& keyDisplay() noexcept { return keyDisplay_; }
  [[nodiscard]] CPngListBtn& programButton() noexcept { return programButton_; }
  [[nodiscard]] CMacroPage& macroPage() noexcept { return macroPage_; }
  [[nodiscard]] const TooltipSet& tooltips() const noexcept { return tooltips_; }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void Layout(bool rebuild);
  void SkinButtons(bool rebuild);
  void ShowPageControls();
  void OpenPage(AssignmentPage page, bool takeFunction);
  void SetHook(bool on) override;
  void SetOkCancelEnabled(bool enabled) override;

  void OnCommand(HWND control);
  void OnOk();
  void OnCancel();
  void OnPageButton(AssignmentPage page);
  [[nodiscard]] bool MayDropMacroEdits();
  void OnReset();
  void OnProgramButton();
  LRESULT OnHookEvent(WPARAM wParam, LPARAM lParam);
  void OnLeftFront();
  void OnBackInFront();
  void CaptureSingleKey(WPARAM wParam, LPARAM lParam);
  bool OnKeyDownBeforeDispatch(const MSG& message);
  void Close();
  void OnShowWindow(bool shown);
  void DisableOwnerWhileShown(bool shown);
  // A single key is being captured or a macro recorded: every key is for the hook.
  [[nodiscard]] bool CapturesKeys() const noexcept;

  void ShowKeyName();
  void ShowProgramName();
  void ShowProgramTarget(std::u16string_view target);
  void Paint(HDC dc) const;
  void PaintPageLabels(HDC dc) const;
  void PaintEditorTitle(HDC dc) const;

  KeySlot workingSlot_{};
  KeySlot* sourceSlot_ = nullptr;
  HWND ownerWindow_ = nullptr;
  AssignmentPage page_ = kPageSingleKey;
  bool macroOnly_ = false;
  bool layoutDone_ = false;
  SkinBitmap background_;
  KbHookComponent hook_;

  CPngListBtn okButton_;
  CPngListBtn cancelButton_;
  std::array<CPngListBtn, 3> pageButtons_;  // single key, macro, launch
  CPngListBtn resetButton_;
  CPngListBtn keyDisplay_;
  CPngListBtn programButton_;
  CMacroPage macroPage_;  // after the dialog's own controls: laid out after them
  TooltipSet tooltips_;
  std::u16string editedKeyName_;
};

}  // namespace quencfg
