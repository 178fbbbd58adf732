#pragma once
// The editor's hold on the events of the macro being edited: every edit the macro page
// makes goes through here, so that it can be undone and the page can tell whether the
// macro holds edits that are not saved yet.
//
// Edit model: an edit is a transaction on the whole buffer. Before an edit changes
// anything, a copy of the buffer (240 bytes of events and the count) goes on the undo
// stack; undo puts the latest copy back. No edit needs an inverse of its own, so undo
// can never disagree with what an edit did, and an edit that changes nothing leaves no
// step. The saved state is one more copy: "unsaved" means the buffer differs from it,
// so undoing back to the saved events makes the macro clean again.
//
// Pairs: a key press and the release of the same key code that follows it belong
// together (matched innermost first, as nested presses of one key are released).
// Changing a key changes both; deleting an event deletes its partner too, so the
// editor never leaves a press whose release went with it unseen.
//
// Pauses: the file format has no event of its own for a pause. The delay of an event
// is the wait before it, so a pause after row s is added to the delay of event s + 1;
// with no event after the insertion point there is nothing to carry it, and the pause
// is refused.
#include <cstdint>
#include <deque>
#include <string_view>

#include "quencfg/ui/keyassign/macro_event_edits.h"
#include "quencfg/ui/keyassign/macro_events.h"

namespace quencfg {

inline constexpr int kMacroDelayMin = 1;
inline constexpr int kMacroDelayMax = kMacroValueMax;
inline constexpr int kInsertedKeyDelay = 20;  // ms before the press and before the release
inline constexpr int kUndoSteps = 32;

enum class EventEditStatus {
  kDone,
  kNothingSelected,    // the edit needs a selected row
  kNotANumber,         // the delay text is no number: nothing changed
  kFull,               // the events would not fit in the 80 of a macro
  kNoEventAfterPause,  // a pause needs an event after it to wait before
  kNotAKey,            // a movement row has no key to change
  kUnchanged,          // valid, but the buffer is as it was
};

struct EventEditOutcome {
  EventEditStatus status = EventEditStatus::kUnchanged;
  int selected = kNoRow;    // the row to select afterwards
  int partner = kNoRow;     // the other event of the pair that was changed or deleted
  bool clamped = false;     // the number was kept to 1..32767
};

// The delay a field's text asks for: digits (after an optional sign and white space
// around them), kept to 1..32767; nothing for any other text.
struct DelayText {
  bool isNumber = false;
  int value = 0;
  bool clamped = false;
};
DelayText ParseDelayText(std::u16string_view text) noexcept;

// The row that belongs with `row` as its press or release, or kNoRow.
int PartnerOf(const MacroBuffer& buffer, int row) noexcept;

class MacroEventEditor {
 public:
  [[nodiscard]] MacroBuffer& buffer() noexcept { return buffer_; }
  [[nodiscard]] const MacroBuffer& buffer() const noexcept { return buffer_; }
  [[nodiscard]] int used() const noexcept { return buffer_.eventCount; }

  // A macro was loaded or created: the buffer holds it as saved, with a fresh undo
  // history (also for a recorder run still under way).
  void Load(const MacroBuffer& saved);
  // The buffer was written to the file: it is the saved state now; undo stays.
  void MarkSaved() noexcept { saved_ = buffer_; }
  [[nodiscard]] bool HasUnsavedEdits() const noexcept;

  EventEditOutcome SetDelay(int row, std::u16string_view text);
  EventEditOutcome InsertPause(int afterRow, std::u16string_view text);
  // A press and a release of `keyCode` after `afterRow` (kNoRow: at the end).
  EventEditOutcome InsertKeyPair(int afterRow, std::uint8_t keyCode);
  EventEditOutcome ChangeKey(int row, std::uint8_t keyCode);
  // Deletes the row and its partner.
  EventEditOutcome Delete(int row);
  // Up, Down, Top and Bottom; kDelete deletes one row only, as the page's command did.
  EventEditResult Move(EventEdit edit, int selected);
  void Clear();

  // The recorder writes the buffer itself: a run becomes one undo step.
  void BeginOutsideChange() noexcept { beforeOutside_ = buffer_; }
  void EndOutsideChange();

  // Puts back the buffer before the latest edit; false when there is none.
  bool Undo();
  [[nodiscard]] int undoSteps() const noexcept { return static_cast<int>(undo_.size()); }

 private:
  void PushUndo(const MacroBuffer& before);
  [[nodiscard]] bool IsRow(int row) const noexcept { return row >= 0 && row < buffer_.eventCount; }

  MacroBuffer buffer_;
  MacroBuffer saved_;
  MacroBuffer beforeOutside_;
  std::deque<MacroBuffer> undo_;
};

}  // namespace quencfg
