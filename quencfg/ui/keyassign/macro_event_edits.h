#pragma once
// The editor's commands on the events of a macro: each changes the buffer and says
// which row moved where, so that the list can follow in step.
#include "quencfg/ui/keyassign/macro_events.h"

namespace quencfg {

inline constexpr int kNoRow = -1;

enum class EventEdit { kDelete, kUp, kDown, kTop, kBottom };

// What an edit did. When `changed`, row `from` of the list is removed and, unless
// `to` is kNoRow, put back at `to`; then row `selected` (or none) is selected.
struct EventEditResult {
  bool changed = false;
  int from = kNoRow;
  int to = kNoRow;
  int selected = kNoRow;
};

// Applies an edit to the events in use with row `selected` selected (kNoRow: none).
// Out-of-range selections change nothing.
EventEditResult ApplyEventEdit(MacroBuffer& buffer, EventEdit edit, int selected) noexcept;

// All events set to zero, none in use.
void ClearEvents(MacroBuffer& buffer) noexcept;

}  // namespace quencfg
