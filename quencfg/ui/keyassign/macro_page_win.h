#pragma once
// CMacroPage: the macro page of the key assignment dialog, its macro recorder and
// macro editor. The dialog owns it, hands it its commands, hook messages, menu picks,
// key-ups and timers, and implements MacroPageHost for what the page needs of it.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "quencfg/framework/clock.h"
#include "quencfg/model/settings_block.h"
#include "quencfg/ui/keyassign/dialog_key_filter.h"
#include "quencfg/ui/keyassign/macro_editor.h"
#include "quencfg/ui/keyassign/macro_event_edits.h"
#include "quencfg/ui/keyassign/macro_page_controls_win.h"
#include "quencfg/ui/keyassign/macro_recorder.h"
#include "quencfg/ui/skin/btn_menu_win.h"
#include "quencfg/ui/skin/warn_dlg_win.h"

namespace quencfg {

inline constexpr UINT kMacroMenuPickMessage = 0x10001;
inline constexpr UINT_PTR kRepeatCheckTimer = 10001;
inline constexpr UINT kRepeatCheckDelayMs = 500;
inline constexpr int kMaxEventsWarning = 3;  // WARN_STRING / MAXWARN: a recording reached the limit
inline constexpr int kDiscardEditsWarning = kDiscardMacroEditsWarning;
inline constexpr int kNameInUseWarning = kMacroNameInUseWarning;
inline constexpr int kNameUnusableWarning = kMacroNameUnusableWarning;

class MacroPageHost {
 public:
  virtual ~MacroPageHost() = default;
  // The dialog owns the hook component; on: events reach the dialog's window.
  virtual void SetHook(bool on) = 0;
  // OK and Cancel are disabled while a recording runs.
  virtual void SetOkCancelEnabled(bool enabled) = 0;
  // After a macro was deleted: show the current assignment again.
  virtual void ShowAssignment() = 0;
};

class CMacroPage {
 public:

  explicit CMacroPage(MacroPageHost& host);
  ~CMacroPage();
  CMacroPage(const CMacroPage&) = delete;
  CMacroPage& operator=(const CMacroPage&) = delete;

  // Creates the controls as children of `dialog` (or re-skins them when `rebuild`).
  void Layout(HWND dialog, const SkinBitmap& background, bool rebuild);
  void Show(bool visible);

  // A command from one of the page's controls; false when `control` is not one of them.
  bool HandleCommand(HWND control);
  // Closes the macro menu; false when it was not open.
  bool CloseMenuIfOpen();
  // The menu's pick message: the item's index in the high word of lParam.
  void HandleMenuPick(LPARAM lParam);
  // A hook message while the dialog is not on its single-key page.
  LRESULT HandleHookEvent(WPARAM wParam, LPARAM lParam);

  // Another page was shown or the dialog was hidden: a recording ends as Stop ends it,
  // and a key awaited for the editor is no longer awaited.
  void StopRecording();
  // Ends a recording as its STOP button does: without the click that ended it, with the
  // controls back to idle, the hook off and the run one step to undo. Nothing when no
  // recording runs.
  void Stop();
  [[nodiscard]] bool IsRecording() const noexcept { return recorder_.recording(); }
  // A key is awaited for Insert key or Change key.
  [[nodiscard]] bool IsCapturingKey() const noexcept { return capture_ != KeyCapture::kNone; }
  // Every key is for the hook: a recording runs or a key is awaited.
  [[nodiscard]] bool CapturesKeys() const noexcept { return IsRecording() || IsCapturingKey(); }
  [[nodiscard]] bool IsTextField(HWND window) const noexcept { return controls_.IsTextField(window); }
  [[nodiscard]] bool IsDelayField(HWND window) const noexcept {
    return window != nullptr && window == controls_.delayField.hwnd();
  }
  [[nodiscard]] bool IsPauseField(HWND window) const noexcept {
    return window != nullptr && window == controls_.pauseField.hwnd();
  }

  // Key messages of the key a capture took, which arrive after the hook told of it.
  bool SwallowsCapturedKey(UINT message, WPARAM virtualKey) noexcept {
    if (message != WM_KEYDOWN && message != WM_KEYUP) return false;
    return capturedKey_.Swallows(message == WM_KEYUP, static_cast<std::uint32_t>(virtualKey));
  }

  // The editing commands that keys reach too: Ctrl+Z, Enter in the delay and pause fields.
  void Undo();
  void ApplyDelayField();
  void InsertPause();

  // Before OK saves: a name that would not be taken is said so, and false comes back.
  bool ConfirmNameForSave();
  // Before something drops the macro's unsaved edits (another macro, another page, the
  // dialog closed without OK): a recording stops, and with edits not saved the user is
  // asked. False: the user keeps them, and nothing may drop them.
  [[nodiscard]] bool MayDiscardEdits();

  void LoadMacroLibrary();
  void SelectSlotMacro(KeySlot& workingSlot);
  // OK: the macro is written; the slot (null in macro-only mode) takes the saved name.
  void SaveMacro(KeySlot* workingSlotOrNull);

  // The page's labels, the number of events used and the latest notice, drawn on the
  // dialog's background.
  void PaintLabels(HDC dc) const;
  // "12 / 80"
  [[nodiscard]] std::u16string CapacityText() const;
  // The MACRO_STRING key of the notice shown under the list; empty: none.
  [[nodiscard]] const std::u16string& noticeKey() const noexcept { return noticeKey_; }

  // Every key-up in the dialog restarts the repeat-count check.
  void OnKeyUp();
  bool HandleTimer(UINT_PTR id);

  // What tests and the dialog may look at.
  [[nodiscard]] MacroPageControls& controls() noexcept { return controls_; }
  [[nodiscard]] const MacroEditor& editor() const noexcept { return editor_; }
  [[nodiscard]] const MacroBuffer& buffer() const noexcept { return editor_.buffer(); }
  [[nodiscard]] const MacroRecorder& recorder() const noexcept { return recorder_; }
  [[nodiscard]] CBtnMenu* macroMenu() noexcept { return macroMenu_ && macroMenu_->IsOpen() ? macroMenu_.get() : nullptr; }
  // The warning while it is shown (the limit, unsaved edits, a refused name), else null.
  [[nodiscard]] CWarnDlg* limitWarning() noexcept { return warning_; }
  [[nodiscard]] CWarnDlg* warning() noexcept { return warning_; }
  void SetTickSource(TickSource source) noexcept { tickSource_ = source; }

 private:
  void SetRecordingUi(bool recording);
  void PressRecordButton();
  void TakeOutStoppingClick();
  void ToggleRecordDelay();
  void OpenMacroMenu();
  void NewMacro();
  void DeleteMacro();
  void ApplyEdit(EventEdit edit);
  void DeleteEvent();
  void PressKeyCaptureButton(bool changeKey);
  LRESULT TakeCapturedKey(WPARAM wParam, LPARAM lParam);
  void EndKeyCapture();
  void ShowOutcome(const EventEditOutcome& outcome, std::u16string_view doneNotice);
  void RebuildEventList(int selected);
  void ShowSelectedDelay();
  void ScrollToLastRow();
  void FinishStoppedRun();
  void EndRecordingRun();
  void SetNotice(std::u16string_view key);
  void InvalidateLabels();
  INT_PTR ShowWarning(int warningType);
  void ClearEventList();
  void RefreshEventList();
  void ShowFields(const MacroFields& fields);
  void ReachedEventLimit();
  void CheckRepeatCount();
  [[nodiscard]] int SelectedRow() const;

  MacroPageHost& host_;
  HWND dialog_ = nullptr;
  MacroPageControls controls_;
  MacroEditor editor_;
  MacroRecorder recorder_;
  KeySlot* workingSlot_ = nullptr;  // the dialog's, from SelectSlotMacro on
  std::unique_ptr<CBtnMenu> macroMenu_;
  CWarnDlg* warning_ = nullptr;
  enum class KeyCapture { kNone, kInsert, kChange };
  KeyCapture capture_ = KeyCapture::kNone;
  std::u16string noticeKey_;
  CapturedKeyLeftover capturedKey_;
  TickSource tickSource_ = nullptr;
};

}  // namespace quencfg
