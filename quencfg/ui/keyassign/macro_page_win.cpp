#include "quencfg/ui/keyassign/macro_page_win.h"

#include <algorithm>
#include <string>

#include "quencfg/framework/clock.h"
#include "quencfg/framework/folders.h"
#include "quencfg/framework/paths.h"
#include "quencfg/framework/wide_win.h"
#include "quencfg/model/number_text.h"
#include "quencfg/ui/keyassign/macro_event_rows.h"
#include "quencfg/ui/keyassign/macro_repeat.h"
#include "quencfg/ui/skin/list_rows.h"
#include "quencfg/ui/skin/standard_menu_win.h"

namespace quencfg {
namespace {

std::u16string RowText(HWND list, int row) {
  const LRESULT length = ::SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(row), 0);
  if (length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const LRESULT copied =
      ::SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
  return ToU16(text);
}

}  // namespace

CMacroPage::CMacroPage(MacroPageHost& host) : host_(host) {}

CMacroPage::~CMacroPage() {
  CloseMenuIfOpen();
  if (dialog_ != nullptr && ::IsWindow(dialog_)) ::KillTimer(dialog_, kRepeatCheckTimer);
}

void CMacroPage::Layout(HWND dialog, const SkinBitmap& background, bool rebuild) {
  dialog_ = dialog;
  controls_.Layout(dialog, background, rebuild);
  controls_.recordDelay.SetSelected(recorder_.fixedDelay());
  SetRecordingUi(recorder_.recording());
}

void CMacroPage::Show(bool visible) {
  if (!visible) CloseMenuIfOpen();
  controls_.Show(visible);
}

bool CMacroPage::HandleCommand(HWND control) {
  if (control == nullptr) return false;
  MacroPageControls& c = controls_;
  // A notice tells of the latest command only.
  if (c.IsButton(control)) SetNotice(u"");
  // The library's buttons stay enabled while recording; what they do is no part of
  // the recording, and their questions must not be recorded either.
  if (control == c.macroMenu.hwnd() || control == c.macroNew.hwnd() || control == c.macroDelete.hwnd()) Stop();
  if (control == c.macroMenu.hwnd()) {
    OpenMacroMenu();
  } else if (control == c.macroNew.hwnd()) {
    NewMacro();
  } else if (control == c.macroDelete.hwnd()) {
    DeleteMacro();
  } else if (control == c.record.hwnd()) {
    PressRecordButton();
  } else if (control == c.deleteEvent.hwnd()) {
    DeleteEvent();
  } else if (control == c.clear.hwnd()) {
    ClearEventList();
  } else if (control == c.up.hwnd()) {
    ApplyEdit(EventEdit::kUp);
  } else if (control == c.down.hwnd()) {
    ApplyEdit(EventEdit::kDown);
  } else if (control == c.top.hwnd()) {
    ApplyEdit(EventEdit::kTop);
  } else if (control == c.bottom.hwnd()) {
    ApplyEdit(EventEdit::kBottom);
  } else if (control == c.recordDelay.hwnd()) {
    ToggleRecordDelay();
  } else if (control == c.setDelay.hwnd()) {
    ApplyDelayField();
  } else if (control == c.insertPause.hwnd()) {
    InsertPause();
  } else if (control == c.insertKey.hwnd()) {
    PressKeyCaptureButton(false);
  } else if (control == c.changeKey.hwnd()) {
    PressKeyCaptureButton(true);
  } else if (control == c.undo.hwnd()) {
    Undo();
  } else if (control == c.eventList.hwnd()) {
    ShowSelectedDelay();  // a selection, or the list's focus coming or going
  } else {
    // The fields tell of typing and focus: nothing to do.
    return IsTextField(control);
  }
  return true;
}

bool CMacroPage::CloseMenuIfOpen() {
  const bool wasOpen = macroMenu() != nullptr;
  macroMenu_.reset();
  return wasOpen;
}

void CMacroPage::HandleMenuPick(LPARAM lParam) {
  CloseMenuIfOpen();
  if (!MayDiscardEdits()) return;
  MacroFields shown;
  if (!editor_.PickMacro(HIWORD(lParam), workingSlot_, shown)) return;
  ShowFields(shown);
  RefreshEventList();
  SetNotice(u"");
}

LRESULT CMacroPage::HandleHookEvent(WPARAM wParam, LPARAM lParam) {
  if (IsCapturingKey()) return TakeCapturedKey(wParam, lParam);
  const std::uint32_t now = TickNow(tickSource_);
  const HookEventResult result = recorder_.HandleHookEvent(editor_.buffer(), static_cast<std::uint32_t>(wParam),
                                                           static_cast<std::uint32_t>(lParam), now);
  for (const MacroEventRow& row : result.closingRows) controls_.eventList.AddRow(row.text, row.image);
  if (result.limitReached) ReachedEventLimit();
  if (result.stored) controls_.eventList.AddRow(result.row.text, result.row.image);
  if (result.moveCaretToLast) ScrollToLastRow();
  if (result.stored || result.limitReached) InvalidateLabels();
  return result.answer;
}

void CMacroPage::ScrollToLastRow() {
  HWND list = controls_.eventList.hwnd();
  const int rows = controls_.eventList.RowCount();
  if (rows <= 0) return;
  ::SendMessageW(list, LB_SETCARETINDEX, static_cast<WPARAM>(rows - 1), FALSE);
  RECT client{};
  ::GetClientRect(list, &client);
  const auto rowHeight = std::max<LRESULT>(1, ::SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
  const int visibleRows = std::max(1, static_cast<int>(client.bottom / rowHeight));
  const auto top = static_cast<int>(::SendMessageW(list, LB_GETTOPINDEX, 0, 0));
  // The last row shows at the bottom, also after a stop took rows out.
  if (rows - 1 >= top + visibleRows || top > std::max(0, rows - visibleRows)) {
    ::SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(std::max(0, rows - visibleRows)), 0);
  }
}

void CMacroPage::StopRecording() {
  EndKeyCapture();
  capturedKey_ = CapturedKeyLeftover{};
  Stop();
}

void CMacroPage::Stop() {
  if (!recorder_.recording()) return;
  recorder_.StopRecording();
  FinishStoppedRun();
}

void CMacroPage::FinishStoppedRun() {
  TakeOutStoppingClick();
  SetRecordingUi(false);
  host_.SetHook(false);
  EndRecordingRun();
}

void CMacroPage::EndRecordingRun() {
  editor_.events().EndOutsideChange();
  ScrollToLastRow();
  InvalidateLabels();
}

void CMacroPage::TakeOutStoppingClick() {
  const RemovedEvents removed = recorder_.TakeOutStoppingClick(editor_.buffer());
  for (int i = 0; i < removed.count; ++i) {
    const auto row = static_cast<WPARAM>(removed.indexes[static_cast<std::size_t>(i)]);
    ::SendMessageW(controls_.eventList.hwnd(), LB_DELETESTRING, row, 0);
  }
}

void CMacroPage::LoadMacroLibrary() { editor_.LoadMacroLibrary(); }

void CMacroPage::SelectSlotMacro(KeySlot& workingSlot) {
  workingSlot_ = &workingSlot;
  ShowFields(editor_.SelectSlotMacro(workingSlot));
  RefreshEventList();
  SetNotice(u"");
}

void CMacroPage::SaveMacro(KeySlot* workingSlotOrNull) {
  const std::u16string repeat = controls_.repeatField.Text();
  const std::u16string saved = editor_.SaveMacro(controls_.nameField.Text(), repeat, workingSlotOrNull);
  controls_.nameField.SetText(saved);
  if (CorrectedRepeatText(repeat)) controls_.repeatField.SetText(FormatDecimal(RepeatCountToSave(repeat)));
}

void CMacroPage::OnKeyUp() {
  if (dialog_ != nullptr) ::SetTimer(dialog_, kRepeatCheckTimer, kRepeatCheckDelayMs, nullptr);
}

bool CMacroPage::HandleTimer(UINT_PTR id) {
  if (id != kRepeatCheckTimer) return false;
  if (dialog_ != nullptr) ::KillTimer(dialog_, kRepeatCheckTimer);
  CheckRepeatCount();
  return true;
}

void CMacroPage::SetRecordingUi(bool recording) {
  MacroPageControls& c = controls_;
  for (HWND control : {c.up.hwnd(), c.down.hwnd(), c.top.hwnd(), c.bottom.hwnd(), c.deleteEvent.hwnd(),
                       c.clear.hwnd(), c.recordDelay.hwnd(), c.nameField.hwnd(), c.repeatField.hwnd(),
                       c.delayField.hwnd(), c.setDelay.hwnd(), c.pauseField.hwnd(), c.insertPause.hwnd(),
                       c.insertKey.hwnd(),
                       c.changeKey.hwnd(), c.undo.hwnd()}) {
    if (control != nullptr) ::EnableWindow(control, recording ? FALSE : TRUE);
  }
  host_.SetOkCancelEnabled(!recording);
  c.ShowRecordCaption(recording);
  c.record.SetSelected(recording);
}

void CMacroPage::PressRecordButton() {
  switch (recorder_.PressRecordButton(controls_.nameField.Text().empty())) {
    case RecordButtonAction::kStarted:
      EndKeyCapture();
      editor_.events().BeginOutsideChange();
      SetRecordingUi(true);
      host_.SetHook(true);
      ::SetFocus(controls_.eventList.hwnd());
      break;
    case RecordButtonAction::kStopped:
      FinishStoppedRun();
      break;
    case RecordButtonAction::kNothing:
      break;
  }
}

void CMacroPage::ToggleRecordDelay() {
  recorder_.ToggleFixedDelay();
  controls_.recordDelay.SetSelected(recorder_.fixedDelay());
}

void CMacroPage::OpenMacroMenu() {
  CloseMenuIfOpen();
  RECT field{};
  ::GetWindowRect(controls_.nameField.hwnd(), &field);
  auto menu = MakeStandardMenu(dialog_, POINT{field.left, field.bottom}, u"Menu_normal.jpg", u"Menu_over.jpg");
  const auto& names = editor_.macroNames();
  for (std::size_t i = 0; i < names.size(); ++i) menu->AddItem(names[i], static_cast<std::int32_t>(i), nullptr, true);
  menu->SetClosingOnlyArea(dialog_);  // the command that closes the menu does nothing else
  if (menu->Create(dialog_)) macroMenu_ = std::move(menu);
}

void CMacroPage::NewMacro() {
  if (!MayDiscardEdits()) return;
  recorder_.ForgetStoppingClick();
  ShowFields(editor_.NewMacro(workingSlot_));
  ::SendMessageW(controls_.eventList.hwnd(), LB_RESETCONTENT, 0, 0);
  SetNotice(u"");
}

void CMacroPage::DeleteMacro() {
  if (editor_.macroNames().size() <= 1) return;  // the last macro stays: nothing is lost
  if (!MayDiscardEdits()) return;
  if (editor_.DeleteSelectedMacro()) host_.ShowAssignment();
}

bool CMacroPage::MayDiscardEdits() {
  Stop();
  if (!editor_.HasUnsavedEdits(controls_.nameField.Text(), controls_.repeatField.Text())) return true;
  return ShowWarning(kDiscardEditsWarning) == IDOK;
}

bool CMacroPage::ConfirmNameForSave() {
  switch (editor_.RenameRefusal(controls_.nameField.Text())) {
    case NameRefusal::kNone: return true;
    case NameRefusal::kInUse: ShowWarning(kNameInUseWarning); break;
    case NameRefusal::kUnusable: ShowWarning(kNameUnusableWarning); break;
  }
  ::SetFocus(controls_.nameField.hwnd());
  ::SendMessageW(controls_.nameField.hwnd(), EM_SETSEL, 0, -1);
  return false;
}

INT_PTR CMacroPage::ShowWarning(int warningType) {
  CWarnDlg warning(dialog_, warningType);
  warning_ = &warning;
  const INT_PTR answer = warning.DoModal();
  warning_ = nullptr;
  return answer;
}

int CMacroPage::SelectedRow() const {
  const auto row = static_cast<int>(::SendMessageW(controls_.eventList.hwnd(), LB_GETCURSEL, 0, 0));
  return row < 0 ? kNoRow : row;
}

void CMacroPage::ApplyEdit(EventEdit edit) {
  HWND list = controls_.eventList.hwnd();
  const EventEditResult result = editor_.events().Move(edit, SelectedRow());
  if (!result.changed) return;
  const std::u16string text = RowText(list, result.from);
  ::SendMessageW(list, LB_DELETESTRING, static_cast<WPARAM>(result.from), 0);
  if (result.to != kNoRow) {
    const MacroEvent& moved = editor_.buffer().events[static_cast<std::size_t>(result.to)];
    controls_.eventList.InsertRow(result.to, text, MovedRowImage(moved));
  }
  ::SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(result.selected), 0);
}

void CMacroPage::ClearEventList() {
  recorder_.ForgetStoppingClick();
  editor_.events().Clear();
  ::SendMessageW(controls_.eventList.hwnd(), LB_RESETCONTENT, 0, 0);
  InvalidateLabels();
}

void CMacroPage::RefreshEventList() {
  recorder_.ForgetStoppingClick();  // the buffer holds another macro now
  HWND list = controls_.eventList.hwnd();
  ::SendMessageW(list, LB_RESETCONTENT, 0, 0);
  MacroBuffer& buffer = editor_.buffer();
  buffer.eventCount = 0;
  for (const MacroEventRow& row : EventRows(buffer.events)) {
    controls_.eventList.AddRow(row.text, row.image);
    ++buffer.eventCount;
  }
  InvalidateLabels();
}

void CMacroPage::ShowFields(const MacroFields& fields) {
  controls_.nameField.SetText(fields.name);
  controls_.repeatField.SetText(fields.repeat);
}

void CMacroPage::ReachedEventLimit() {
  SetRecordingUi(false);
  host_.SetHook(false);
  ShowWarning(kMaxEventsWarning);  // its answer changes nothing
  editor_.events().EndOutsideChange();
}

void CMacroPage::CheckRepeatCount() {
  HWND field = controls_.repeatField.hwnd();
  const auto corrected = CorrectedRepeatText(controls_.repeatField.Text());
  if (!corrected || field == nullptr) return;
  controls_.repeatField.SetText(*corrected);
  const auto end = static_cast<WPARAM>(corrected->size());
  ::SendMessageW(field, EM_SETSEL, end, static_cast<LPARAM>(end));
  ::SendMessageW(field, EM_SCROLLCARET, 0, 0);
}

}  // namespace quencfg
