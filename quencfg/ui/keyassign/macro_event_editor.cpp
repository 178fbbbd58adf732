#include "quencfg/ui/keyassign/macro_event_editor.h"

#include <algorithm>
#include <array>
#include <vector>

namespace quencfg {
namespace {

bool SameBuffer(const MacroBuffer& a, const MacroBuffer& b) noexcept {
  return a.eventCount == b.eventCount && a.events == b.events;
}

bool IsMovementCode(std::uint8_t map) noexcept { return map >= kMacroMoveYPlus && map <= kMacroMoveXPlus; }

bool IsSpace(char16_t c) noexcept { return c == u' ' || c == u'\t'; }

MacroEvent WithValue(const MacroEvent& event, int value) noexcept {
  return MakeMacroEvent(IsPress(event), value, event.map);
}

MacroEvent WithMap(const MacroEvent& event, std::uint8_t map) noexcept {
  return MacroEvent{event.attributeH, event.attributeL, map};
}

MacroEvent& At(MacroBuffer& buffer, int row) noexcept { return buffer.events[static_cast<std::size_t>(row)]; }

void RemoveRow(MacroBuffer& buffer, int row) noexcept {
  auto events = buffer.events.begin();
  std::move(events + row + 1, events + buffer.eventCount, events + row);
  buffer.events[static_cast<std::size_t>(buffer.eventCount - 1)] = MacroEvent{};
  --buffer.eventCount;
}

}  // namespace

DelayText ParseDelayText(std::u16string_view text) noexcept {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && IsSpace(text[begin])) ++begin;
  while (end > begin && IsSpace(text[end - 1])) --end;
  bool negative = false;
  if (begin < end && (text[begin] == u'+' || text[begin] == u'-')) negative = text[begin++] == u'-';
  if (begin == end) return {};
  long long value = 0;
  for (std::size_t i = begin; i < end; ++i) {
    if (text[i] < u'0' || text[i] > u'9') return {};
    value = std::min<long long>(value * 10 + (text[i] - u'0'), 1LL << 40);  // long digit runs stay large
  }
  if (negative) value = -value;
  const long long kept = std::clamp<long long>(value, kMacroDelayMin, kMacroDelayMax);
  return DelayText{true, static_cast<int>(kept), kept != value};
}

int PartnerOf(const MacroBuffer& buffer, int row) noexcept {
  const int count = std::clamp(buffer.eventCount, 0, kMacroEventCount);
  if (row < 0 || row >= count) return kNoRow;
  // Per key code, the presses still waiting for their release, latest last.
  std::array<std::vector<int>, 256> open;
  for (int i = 0; i < count; ++i) {
    const MacroEvent& event = buffer.events[static_cast<std::size_t>(i)];
    std::vector<int>& waiting = open[event.map];
    if (IsPress(event)) {
      waiting.push_back(i);
      continue;
    }
    if (waiting.empty()) continue;
    const int press = waiting.back();
    waiting.pop_back();
    if (press == row) return i;
    if (i == row) return press;
  }
  return kNoRow;
}

bool MacroEventEditor::HasUnsavedEdits() const noexcept { return !SameBuffer(buffer_, saved_); }

void MacroEventEditor::Load(const MacroBuffer& saved) {
  buffer_ = saved;
  saved_ = saved;
  // A run of the recorder that was under way ends in this macro: what it replaces
  // belonged to another one and is no step back.
  beforeOutside_ = saved;
  undo_.clear();
}

void MacroEventEditor::PushUndo(const MacroBuffer& before) {
  if (SameBuffer(before, buffer_)) return;
  undo_.push_back(before);
  if (static_cast<int>(undo_.size()) > kUndoSteps) undo_.pop_front();
}

bool MacroEventEditor::Undo() {
  if (undo_.empty()) return false;
  buffer_ = undo_.back();
  undo_.pop_back();
  return true;
}

EventEditOutcome MacroEventEditor::SetDelay(int row, std::u16string_view text) {
  if (!IsRow(row)) return {EventEditStatus::kNothingSelected, kNoRow};
  const DelayText delay = ParseDelayText(text);
  if (!delay.isNumber) return {EventEditStatus::kNotANumber, row};
  const MacroBuffer before = buffer_;
  At(buffer_, row) = WithValue(At(buffer_, row), delay.value);
  PushUndo(before);
  const auto status = SameBuffer(before, buffer_) ? EventEditStatus::kUnchanged : EventEditStatus::kDone;
  return {status, row, kNoRow, delay.clamped};
}

EventEditOutcome MacroEventEditor::InsertPause(int afterRow, std::u16string_view text) {
  const DelayText pause = ParseDelayText(text);
  if (!pause.isNumber) return {EventEditStatus::kNotANumber, afterRow};
  const int carrier = IsRow(afterRow) ? afterRow + 1 : buffer_.eventCount;
  if (!IsRow(carrier)) return {EventEditStatus::kNoEventAfterPause, afterRow};
  const MacroBuffer before = buffer_;
  const int total = EventValue(At(buffer_, carrier)) + pause.value;
  At(buffer_, carrier) = WithValue(At(buffer_, carrier), std::min(total, kMacroDelayMax));
  PushUndo(before);
  const auto status = SameBuffer(before, buffer_) ? EventEditStatus::kUnchanged : EventEditStatus::kDone;
  return {status, carrier, kNoRow, pause.clamped || total > kMacroDelayMax};
}

EventEditOutcome MacroEventEditor::InsertKeyPair(int afterRow, std::uint8_t keyCode) {
  const int at = IsRow(afterRow) ? afterRow + 1 : buffer_.eventCount;
  if (buffer_.eventCount + 2 > kMacroEventCount) return {EventEditStatus::kFull, afterRow};
  const MacroBuffer before = buffer_;
  auto events = buffer_.events.begin();
  std::move_backward(events + at, events + buffer_.eventCount, events + buffer_.eventCount + 2);
  At(buffer_, at) = MakeMacroEvent(true, kInsertedKeyDelay, keyCode);
  At(buffer_, at + 1) = MakeMacroEvent(false, kInsertedKeyDelay, keyCode);
  buffer_.eventCount += 2;
  PushUndo(before);
  return {EventEditStatus::kDone, at, at + 1};
}

EventEditOutcome MacroEventEditor::ChangeKey(int row, std::uint8_t keyCode) {
  if (!IsRow(row)) return {EventEditStatus::kNothingSelected, kNoRow};
  if (IsMovementCode(At(buffer_, row).map)) return {EventEditStatus::kNotAKey, row};
  const int partner = PartnerOf(buffer_, row);
  const MacroBuffer before = buffer_;
  At(buffer_, row) = WithMap(At(buffer_, row), keyCode);
  if (partner != kNoRow) At(buffer_, partner) = WithMap(At(buffer_, partner), keyCode);
  PushUndo(before);
  const auto status = SameBuffer(before, buffer_) ? EventEditStatus::kUnchanged : EventEditStatus::kDone;
  return {status, row, partner};
}

EventEditOutcome MacroEventEditor::Delete(int row) {
  if (!IsRow(row)) return {EventEditStatus::kNothingSelected, kNoRow};
  const int partner = PartnerOf(buffer_, row);
  const MacroBuffer before = buffer_;
  const int first = partner == kNoRow ? row : std::min(row, partner);
  if (partner != kNoRow) RemoveRow(buffer_, std::max(row, partner));
  RemoveRow(buffer_, first);
  PushUndo(before);
  // The row that took the place of the first one deleted, or the new last row.
  const int selected = std::min(first, buffer_.eventCount - 1);
  return {EventEditStatus::kDone, selected < 0 ? kNoRow : selected, partner};
}

EventEditResult MacroEventEditor::Move(EventEdit edit, int selected) {
  const MacroBuffer before = buffer_;
  const EventEditResult result = ApplyEventEdit(buffer_, edit, selected);
  PushUndo(before);
  return result;
}

void MacroEventEditor::Clear() {
  const MacroBuffer before = buffer_;
  ClearEvents(buffer_);
  PushUndo(before);
}

void MacroEventEditor::EndOutsideChange() {
  buffer_.eventCount = CountEventsInUse(buffer_.events);
  PushUndo(beforeOutside_);
  beforeOutside_ = buffer_;
}

}  // namespace quencfg
