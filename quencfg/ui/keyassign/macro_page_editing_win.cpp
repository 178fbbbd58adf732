// The editing commands of the macro page: the delay field, pauses, keys captured for
// Insert key and Change key, pair deletes and undo, each handed to the portable
// MacroEventEditor; then the list is rebuilt from the buffer, and the number of events
// used and a notice are drawn under it.
#include "quencfg/ui/keyassign/macro_page_win.h"

#include <algorithm>
#include <string>

#include "quencfg/framework/gdi_win.h"
#include "quencfg/framework/wide_win.h"
#include "quencfg/model/number_text.h"
#include "quencfg/ui/keyassign/key_codes.h"
#include "quencfg/ui/keyassign/macro_event_rows.h"
#include "quencfg/ui/keyassign/slot_edits.h"
#include "quencfg/ui/skin/skin_documents.h"
#include "quencfg/ui/skin/skin_draw_win.h"
#include "quencfg/ui/skin/skin_text_win.h"

namespace quencfg {
namespace {

constexpr std::u16string_view kLabels = u"MACRO_STRING";
constexpr COLORREF kLabelColor = 0xFFFFFF;
constexpr COLORREF kNoticeColor = 0xA0928D;  // the skin's muted grey
constexpr int kLabelFontHeight = 16;
constexpr int kLabelFontWeight = 500;
constexpr int kNoticeFontHeight = 14;

RECT LabelRect(std::u16string_view key) {
  const SkinRect entry = LayoutDocument().LookupRect(kLabels, key);
  return RECT{entry.left, entry.top, entry.right, entry.bottom};
}

void DrawLabel(HDC dc, std::u16string_view key, std::u16string_view text, UINT format) {
  RECT rect = LabelRect(key);
  const std::wstring wide = ToWide(text);
  ::DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &rect, format);
}

}  // namespace

void CMacroPage::DeleteEvent() {
  const EventEditOutcome outcome = editor_.events().Delete(SelectedRow());
  if (outcome.status != EventEditStatus::kDone) return;  // nothing selected: nothing, as before
  recorder_.ForgetStoppingClick();
  ShowOutcome(outcome, outcome.partner != kNoRow ? u"STATUS_PAIR_DELETED" : u"");
}

void CMacroPage::ApplyDelayField() {
  ShowOutcome(editor_.events().SetDelay(SelectedRow(), controls_.delayField.Text()), u"");
}

// The pause has a field of its own: the delay field shows the selected event's delay,
// which is no length for a pause.
void CMacroPage::InsertPause() {
  ShowOutcome(editor_.events().InsertPause(SelectedRow(), controls_.pauseField.Text()), u"STATUS_PAUSE_ADDED");
}

void CMacroPage::Undo() {
  if (CapturesKeys()) return;
  const int selected = SelectedRow();
  if (!editor_.events().Undo()) {
    SetNotice(u"STATUS_NOTHING_TO_UNDO");
    return;
  }
  recorder_.ForgetStoppingClick();
  RebuildEventList(std::min(selected, editor_.buffer().eventCount - 1));
  SetNotice(u"STATUS_UNDONE");
}

void CMacroPage::PressKeyCaptureButton(bool changeKey) {
  const KeyCapture wanted = changeKey ? KeyCapture::kChange : KeyCapture::kInsert;
  const bool same = capture_ == wanted;
  EndKeyCapture();
  capturedKey_ = CapturedKeyLeftover{};
  if (same) {  // pressed again: no key is taken
    SetNotice(u"");
    return;
  }
  const MacroBuffer& buffer = editor_.buffer();
  if (!changeKey && buffer.eventCount + 2 > kMacroEventCount) {
    ShowWarning(kMacroFullWarning);  // nothing records: the macro is full, that is all
    return;
  }
  if (changeKey && SelectedRow() == kNoRow) {
    SetNotice(u"STATUS_SELECT_ROW");
    return;
  }
  capture_ = wanted;
  (changeKey ? controls_.changeKey : controls_.insertKey).SetSelected(true);
  host_.SetHook(true);
  ::SetFocus(controls_.eventList.hwnd());
  SetNotice(u"STATUS_PRESS_KEY");
}

void CMacroPage::EndKeyCapture() {
  if (capture_ == KeyCapture::kNone) return;
  capture_ = KeyCapture::kNone;
  controls_.insertKey.SetSelected(false);
  controls_.changeKey.SetSelected(false);
  host_.SetHook(false);
}

LRESULT CMacroPage::TakeCapturedKey(WPARAM wParam, LPARAM lParam) {
  const std::optional<std::uint8_t> virtualKey = SingleKeyOfHookEvent(wParam, lParam);
  if (!virtualKey) return 0;  // releases, mouse buttons and keys the keyboard cannot send
  const auto keyCode = static_cast<std::uint8_t>(KeyCodeFromVirtualKey(*virtualKey) & 0xFF);
  if (keyCode == 0) return 0;
  const KeyCapture capture = capture_;
  EndKeyCapture();
  capturedKey_.Expect(*virtualKey);
  if (capture == KeyCapture::kInsert) {
    ShowOutcome(editor_.events().InsertKeyPair(SelectedRow(), keyCode), u"STATUS_KEY_INSERTED");
  } else {
    const EventEditOutcome outcome = editor_.events().ChangeKey(SelectedRow(), keyCode);
    ShowOutcome(outcome, outcome.partner != kNoRow ? u"STATUS_PAIR_CHANGED" : u"");
  }
  return 1;
}

void CMacroPage::ShowOutcome(const EventEditOutcome& outcome, std::u16string_view doneNotice) {
  switch (outcome.status) {
    case EventEditStatus::kDone:
    case EventEditStatus::kUnchanged:
      RebuildEventList(outcome.selected);
      SetNotice(outcome.clamped ? u"STATUS_CLAMPED" : doneNotice);
      return;
    case EventEditStatus::kNothingSelected: SetNotice(u"STATUS_SELECT_ROW"); return;
    case EventEditStatus::kNotANumber: SetNotice(u"STATUS_NOT_A_NUMBER"); return;
    case EventEditStatus::kNoEventAfterPause: SetNotice(u"STATUS_PAUSE_AT_END"); return;
    case EventEditStatus::kNotAKey: SetNotice(u"STATUS_NOT_A_KEY"); return;
    case EventEditStatus::kFull: ShowWarning(kMacroFullWarning); return;
  }
}

void CMacroPage::RebuildEventList(int selected) {
  HWND list = controls_.eventList.hwnd();
  const auto top = ::SendMessageW(list, LB_GETTOPINDEX, 0, 0);
  ::SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  ::SendMessageW(list, LB_RESETCONTENT, 0, 0);
  for (const MacroEventRow& row : EventRows(editor_.buffer().events)) controls_.eventList.AddRow(row.text, row.image);
  ::SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(top), 0);
  ::SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(selected), 0);  // -1: none
  ::SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  ::InvalidateRect(list, nullptr, FALSE);
  ShowSelectedDelay();
  InvalidateLabels();
}

void CMacroPage::ShowSelectedDelay() {
  const int row = SelectedRow();
  if (row == kNoRow || row >= editor_.buffer().eventCount) return;
  controls_.delayField.SetText(FormatDecimal(EventValue(editor_.buffer().events[static_cast<std::size_t>(row)])));
}

void CMacroPage::SetNotice(std::u16string_view key) {
  if (noticeKey_ == key) return;
  noticeKey_ = std::u16string(key);
  InvalidateLabels();
}

void CMacroPage::InvalidateLabels() {
  if (dialog_ == nullptr) return;
  for (std::u16string_view key : {u"TEXT_CAPACITY", u"TEXT_STATUS"}) {
    const RECT rect = LabelRect(key);
    ::InvalidateRect(dialog_, &rect, FALSE);
  }
}

std::u16string CMacroPage::CapacityText() const {
  return FormatDecimal(editor_.buffer().eventCount) + u" / " + FormatDecimal(kMacroEventCount);
}

void CMacroPage::PaintLabels(HDC dc) const {
  const int oldMode = ::SetBkMode(dc, TRANSPARENT);
  {
    OwnedFont font = CreateSkinFont(kLabelFontHeight, kLabelFontWeight);
    SelectScope select(dc, font.get());
    ::SetTextColor(dc, kLabelColor);
    for (std::u16string_view key : {u"TEXT_MACRONAME", u"TEXT_FIXEDDELAY", u"TEXT_REPEAT", u"TEXT_EVENTDELAY"}) {
      DrawSkinText(dc, kLabels, key, DT_WORDBREAK | DT_RIGHT);
    }
    DrawLabel(dc, u"TEXT_CAPACITY", CapacityText(), DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
  }
  if (!noticeKey_.empty()) {
    OwnedFont font = CreateSkinFont(kNoticeFontHeight, 400);
    SelectScope select(dc, font.get());
    ::SetTextColor(dc, kNoticeColor);
    DrawLabel(dc, u"TEXT_STATUS", StringDocument().Lookup(kLabels, noticeKey_), DT_WORDBREAK | DT_LEFT);
  }
  ::SetBkMode(dc, oldMode);
}

}  // namespace quencfg
