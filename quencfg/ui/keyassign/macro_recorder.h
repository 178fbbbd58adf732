#pragma once
// The macro recorder: turns the hook component's key and mouse-button messages into
// macro events with the delay since the previous one, appended to the event buffer.
// A pure state machine: the window feeds it each message with the tick count and
// carries out what the result asks for.
//
// Two rules keep a recording whole:
// - Every press keeps room for its release: a press is stored only when its release
//   and the releases of every key still held fit in the 80 events. When the limit
//   ends the run, the keys still held are released there, in the room kept for them.
// - The click that stops a run is no part of the macro. The hook reports the STOP
//   click before the button acts, so the latest press of the run is that click's
//   left-button press; after the stop it is taken out with its release. A left press
//   that does not fit is dropped with its release and does not end the run: it may
//   be the STOP click, which must not raise the limit warning.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "quencfg/framework/messages.h"
#include "quencfg/ui/keyassign/macro_event_rows.h"
#include "quencfg/ui/keyassign/macro_events.h"

namespace quencfg {

inline constexpr int kFixedRecordDelay = 20;

// What the window does with one hook message.
struct HookEventResult {
  int answer = 0;             // the message's result: 1 when the event got to the end
  bool limitReached = false;  // stop recording (button text, controls, hook) and warn
  bool stored = false;        // `row` is appended to the list
  MacroEventRow row;
  bool moveCaretToLast = false;  // when the list has rows
  // With `limitReached`: the releases stored for the keys still held, appended to the
  // list in this order before the warning.
  std::vector<MacroEventRow> closingRows;
};

// The events a stop took out of the buffer: their indexes, highest first, so that the
// list's rows can be deleted in this order.
struct RemovedEvents {
  int count = 0;
  std::array<int, 2> indexes{};
};

enum class RecordButtonAction { kNothing, kStarted, kStopped };

class MacroRecorder {
 public:
  // The display name of a VK or mouse-button message.
  using VirtualKeyNamer = std::function<std::u16string(std::uint32_t value)>;

  MacroRecorder();
  explicit MacroRecorder(VirtualKeyNamer nameOf);

  // The record button: starts a run (not with an empty macro name) or ends it. Each
  // press starts a new time base and a new limit warning.
  RecordButtonAction PressRecordButton(bool macroNameEmpty);
  // Ends a run without touching the time base (another page was shown).
  void StopRecording() noexcept { recording_ = false; }

  // After a run was ended by a click (the record button, another page, the dialog
  // hidden): takes that click's stored press and release out of `buffer`. Every other
  // event stays as it was. Nothing while a run goes on, or when the latest press of
  // the run was not a stored left-button press.
  RemovedEvents TakeOutStoppingClick(MacroBuffer& buffer) noexcept;
  // The buffer was replaced (another macro, a new one, cleared): an index into the
  // old one means nothing there.
  void ForgetStoppingClick() noexcept;

  void ToggleFixedDelay() noexcept { fixedDelay_ = !fixedDelay_; }

  // One hook message with wParam `w` and lParam `flags`, at tick count `now`.
  HookEventResult HandleHookEvent(MacroBuffer& buffer, std::uint32_t w, std::uint32_t flags, std::uint32_t now);

  [[nodiscard]] bool recording() const noexcept { return recording_; }
  [[nodiscard]] bool fixedDelay() const noexcept { return fixedDelay_; }
  [[nodiscard]] bool limitWarned() const noexcept { return limitWarned_; }
  [[nodiscard]] std::uint32_t lastEventTime() const noexcept { return lastEventTime_; }

 private:
  int DelayOf(const MacroBuffer& buffer, std::uint32_t now);
  void EndRunAtLimit(MacroBuffer& buffer, std::uint32_t now, HookEventResult& result);

  VirtualKeyNamer nameOf_;
  bool recording_ = false;
  bool fixedDelay_ = false;
  bool limitWarned_ = false;
  std::uint32_t lastEventTime_ = 0;
  std::uint32_t lastHookWParam_ = 0;
  std::uint32_t lastHookFlags_ = 0;
  // Where the latest press of the run is stored when it is a left-button press.
  std::optional<int> stoppingClickPress_;
  // A left press was dropped at the limit: its release goes too.
  bool leftPressDropped_ = false;
};

// True when a key with code `keyCode` has more presses than releases among the
// events in use: it is held down.
bool IsKeyHeld(const MacroBuffer& buffer, std::uint8_t keyCode) noexcept;

// The number of releases the held keys still owe: over every key code, its presses
// beyond its releases among the events in use.
int ReleasesOwed(const MacroBuffer& buffer) noexcept;

}  // namespace quencfg
