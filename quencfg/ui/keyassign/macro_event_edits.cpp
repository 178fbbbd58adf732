#include "quencfg/ui/keyassign/macro_event_edits.h"

#include <algorithm>
#include <utility>

namespace quencfg {
namespace {

EventEditResult Moved(MacroBuffer& buffer, int from, int to) noexcept {
  auto events = buffer.events.begin();
  if (from < to) {
    std::rotate(events + from, events + from + 1, events + to + 1);
  } else {
    std::rotate(events + to, events + from, events + from + 1);
  }
  return EventEditResult{true, from, to, to};
}

EventEditResult Deleted(MacroBuffer& buffer, int row, int count) noexcept {
  auto events = buffer.events.begin();
  std::move(events + row + 1, events + count, events + row);
  buffer.events[static_cast<std::size_t>(count - 1)] = MacroEvent{};
  buffer.eventCount = count - 1;
  const int selected = row == count - 1 ? row - 1 : row;
  return EventEditResult{true, row, kNoRow, selected};
}

}  // namespace

EventEditResult ApplyEventEdit(MacroBuffer& buffer, EventEdit edit, int selected) noexcept {
  const int count = std::clamp(buffer.eventCount, 0, kMacroEventCount);
  if (count == 0 || selected < 0 || selected >= count) return EventEditResult{false, kNoRow, kNoRow, selected};
  const int last = count - 1;
  const EventEditResult unchanged{false, kNoRow, kNoRow, selected};
  switch (edit) {
    case EventEdit::kDelete: return Deleted(buffer, selected, count);
    case EventEdit::kUp: return selected == 0 ? unchanged : Moved(buffer, selected, selected - 1);
    case EventEdit::kDown: return selected == last ? unchanged : Moved(buffer, selected, selected + 1);
    case EventEdit::kTop: return selected == 0 ? unchanged : Moved(buffer, selected, 0);
    case EventEdit::kBottom: return selected == last ? unchanged : Moved(buffer, selected, last);
  }
  return unchanged;
}

void ClearEvents(MacroBuffer& buffer) noexcept {
  buffer.events.fill(MacroEvent{});
  buffer.eventCount = 0;
}

}  // namespace quencfg
