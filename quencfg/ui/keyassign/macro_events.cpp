#include "quencfg/ui/keyassign/macro_events.h"

#include <algorithm>

namespace quencfg {

int CountEventsInUse(const MacroEvents& events) noexcept {
  const auto end = std::find_if(events.begin(), events.end(), IsEndOfEvents);
  return static_cast<int>(end - events.begin());
}

void LoadEvents(MacroBuffer& buffer, const MacroFile& macro) noexcept {
  std::copy(std::begin(macro.events), std::end(macro.events), buffer.events.begin());
  buffer.eventCount = CountEventsInUse(buffer.events);
  // Whatever a damaged file holds after its end marker would join the list as soon
  // as the marker is overwritten by a recorded event.
  std::fill(buffer.events.begin() + buffer.eventCount, buffer.events.end(), MacroEvent{});
}

}  // namespace quencfg
