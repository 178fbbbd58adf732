// Any sequence of hook messages, record-button presses and editor commands keeps the
// event buffer whole: at most 80 events, all in use before the first zero event, none
// after it, every recorded delay within 1..32767, and one list row per event. A stop
// takes out at most the stopping click's press and release.
// Layout: records of 6 bytes [operation][wParam low][wParam high][flags][time step, 2].
#include <cstdint>
#include <cstdlib>
#include <string>

#include "quencfg/ui/keyassign/macro_event_edits.h"
#include "quencfg/ui/keyassign/macro_event_rows.h"
#include "quencfg/ui/keyassign/macro_recorder.h"

using namespace quencfg;

namespace {

void CheckBuffer(const MacroBuffer& buffer) {
  if (buffer.eventCount < 0 || buffer.eventCount > kMacroEventCount) std::abort();
  if (CountEventsInUse(buffer.events) != buffer.eventCount) std::abort();
  for (int i = 0; i < kMacroEventCount; ++i) {
    const MacroEvent& event = buffer.events[static_cast<std::size_t>(i)];
    if (i >= buffer.eventCount && !IsEndOfEvents(event)) std::abort();
    if (i < buffer.eventCount && EventValue(event) < 1) std::abort();
  }
  const auto rows = EventRows(buffer.events, [](std::uint8_t) { return std::u16string(u"k"); });
  if (static_cast<int>(rows.size()) != buffer.eventCount) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  MacroRecorder recorder([](std::uint32_t) { return std::u16string(u"name"); });
  MacroBuffer buffer;
  std::uint32_t now = 0xFFFF0000u;  // close to the tick count's wrap
  for (; size >= 6; data += 6, size -= 6) {
    const std::uint32_t w = data[1] | (static_cast<std::uint32_t>(data[2]) << 8);
    const std::uint32_t flags = data[3];
    now += data[4] | (static_cast<std::uint32_t>(data[5]) << 8);
    switch (data[0] % 8) {
      case 4:
        ApplyEventEdit(buffer, static_cast<EventEdit>(flags % 5), static_cast<int>(w % 83) - 1);
        break;
      case 5:
        ClearEvents(buffer);
        break;
      case 6:
        if (recorder.PressRecordButton((flags & 1) != 0) == RecordButtonAction::kStopped) {
          const int before = buffer.eventCount;
          const RemovedEvents removed = recorder.TakeOutStoppingClick(buffer);
          if (removed.count > 2 || buffer.eventCount != before - removed.count) std::abort();
        }
        break;
      case 7:
        recorder.ToggleFixedDelay();
        break;
      default: {
        const int before = buffer.eventCount;
        const HookEventResult result = recorder.HandleHookEvent(buffer, w, flags, now);
        const int added = (result.stored ? 1 : 0) + static_cast<int>(result.closingRows.size());
        if (buffer.eventCount != before + added) std::abort();
        if (result.limitReached && recorder.recording()) std::abort();
        break;
      }
    }
    CheckBuffer(buffer);
  }
  return 0;
}
