#pragma once
// The macro recorder: turns the hook component's key and mouse-button messages into
// macro events with the delay since the previous one, appended to the event buffer.
// A pure state machine: the window feeds it each message with the tick count and
// carries out what the result asks for.
#include <cstdint>
#include <functional>
#include <string>

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

  void ToggleFixedDelay() noexcept { fixedDelay_ = !fixedDelay_; }

  // One hook message with wParam `w` and lParam `flags`, at tick count `now`.
  HookEventResult HandleHookEvent(MacroBuffer& buffer, std::uint32_t w, std::uint32_t flags, std::uint32_t now);

  [[nodiscard]] bool recording() const noexcept { return recording_; }
  [[nodiscard]] bool fixedDelay() const noexcept { return fixedDelay_; }
  [[nodiscard]] bool limitWarned() const noexcept { return limitWarned_; }
  [[nodiscard]] std::uint32_t lastEventTime() const noexcept { return lastEventTime_; }

 private:
  int DelayOf(const MacroBuffer& buffer, std::uint32_t now);

  VirtualKeyNamer nameOf_;
  bool recording_ = false;
  bool fixedDelay_ = false;
  bool limitWarned_ = false;
  std::uint32_t lastEventTime_ = 0;
  std::uint32_t lastHookWParam_ = 0;
  std::uint32_t lastHookFlags_ = 0;
};

// True when a key with code `keyCode` has more presses than releases among the
// events in use: it is held down.
bool IsKeyHeld(const MacroBuffer& buffer, std::uint8_t keyCode) noexcept;

}  // namespace quencfg
