#include "quencfg/ui/keyassign/macro_recorder.h"

#include <algorithm>

#include "quencfg/ui/keyassign/key_codes.h"
#include "quencfg/ui/keyassign/key_name_document.h"
#include "quencfg/ui/keyassign/key_names.h"

namespace quencfg {
namespace {

constexpr std::uint32_t kLeftButtonDown = 0x201;
constexpr std::uint32_t kLeftButtonUp = 0x202;
constexpr std::uint32_t kRightButtonDown = 0x204;
constexpr std::uint32_t kRightButtonUp = 0x205;
constexpr std::uint32_t kMiddleButtonDown = 0x207;
constexpr std::uint32_t kMiddleButtonUp = 0x208;
constexpr std::uint32_t kReturnKey = 0x0D;
constexpr std::uint8_t kKeypadEnterCode = 0x58;
constexpr std::uint32_t kFirstMouseShortName = 0xF0;

bool IsPressFlags(std::uint32_t flags) noexcept { return flags == 0 || flags == kHookExtendedFlag; }
bool IsReleaseFlags(std::uint32_t flags) noexcept {
  return flags == kHookReleaseFlag || flags == (kHookReleaseFlag | kHookExtendedFlag);
}

std::uint8_t LowByte(std::uint32_t value) noexcept { return static_cast<std::uint8_t>(value & 0xFF); }

// The mouse button of a mouse message: its code, and the flags of a press or release.
bool MapMouseButton(std::uint32_t w, std::uint8_t& code, std::uint32_t& flags) noexcept {
  switch (w) {
    case kLeftButtonDown: case kLeftButtonUp: code = kMacroLeftButton; break;
    case kRightButtonDown: case kRightButtonUp: code = kMacroRightButton; break;
    case kMiddleButtonDown: case kMiddleButtonUp: code = kMacroMiddleButton; break;
    default: return false;
  }
  const bool down = w == kLeftButtonDown || w == kRightButtonDown || w == kMiddleButtonDown;
  flags = down ? kHookExtendedFlag : (kHookReleaseFlag | kHookExtendedFlag);
  return true;
}

std::u16string MouseName(std::uint8_t code) {
  return MouseButtonShortName(kFirstMouseShortName + (code - kMacroLeftButton));
}

}  // namespace

MacroRecorder::MacroRecorder() : MacroRecorder([](std::uint32_t value) { return KeyNameForVirtualKey(value); }) {}

MacroRecorder::MacroRecorder(VirtualKeyNamer nameOf) : nameOf_(std::move(nameOf)) {}

RecordButtonAction MacroRecorder::PressRecordButton(bool macroNameEmpty) {
  lastEventTime_ = 0;
  limitWarned_ = false;
  if (recording_) {
    recording_ = false;
    return RecordButtonAction::kStopped;
  }
  if (macroNameEmpty) return RecordButtonAction::kNothing;
  recording_ = true;
  return RecordButtonAction::kStarted;
}

bool IsKeyHeld(const MacroBuffer& buffer, std::uint8_t keyCode) noexcept {
  int balance = 0;
  const int count = std::clamp(buffer.eventCount, 0, kMacroEventCount);
  for (int i = 0; i < count; ++i) {
    const MacroEvent& event = buffer.events[static_cast<std::size_t>(i)];
    if (event.map == keyCode) balance += IsPress(event) ? 1 : -1;
  }
  return balance > 0;
}

int MacroRecorder::DelayOf(const MacroBuffer& buffer, std::uint32_t now) {
  if (fixedDelay_) return kFixedRecordDelay;
  if (lastEventTime_ == 0) lastEventTime_ = now;
  // The tick count wraps; the difference is taken as a signed 32-bit value.
  const auto elapsed = static_cast<std::int32_t>(now - lastEventTime_);
  const int delay = static_cast<int>(std::clamp<std::int32_t>(elapsed, 1, kMacroValueMax));
  return buffer.eventCount == 0 ? 1 : delay;
}

HookEventResult MacroRecorder::HandleHookEvent(MacroBuffer& buffer, std::uint32_t w, std::uint32_t flags,
                                               std::uint32_t now) {
  HookEventResult result;
  if (!recording_) return result;
  // A held key repeats its press; only the first one counts.
  if (w == lastHookWParam_ && flags == lastHookFlags_) return result;
  if (buffer.eventCount >= kMacroEventCount) {
    if (!limitWarned_) {
      limitWarned_ = true;
      recording_ = false;
      result.limitReached = true;
    }
    return result;
  }
  if (buffer.eventCount <= 0) {
    buffer.events.fill(MacroEvent{});
    buffer.eventCount = 0;
  }
  if (IsPressFlags(flags) && IsKeyHeld(buffer, LowByte(KeyCodeFromVirtualKey(LowByte(w))))) return result;

  std::uint8_t code = 0;
  std::u16string name;
  const bool mouseButton = MapMouseButton(w, code, flags);
  if (mouseButton) {
    name = MouseName(code);
  } else {
    code = LowByte(KeyCodeFromVirtualKey(w));
    // The keypad Enter key shares its VK with the main one; only the extended flag tells.
    if (w == kReturnKey && (flags == kHookExtendedFlag || flags == (kHookReleaseFlag | kHookExtendedFlag))) {
      code = kKeypadEnterCode;
    }
    name = IsMouseButtonCode(code) ? MouseName(code) : nameOf_(VirtualKeyFromKeyCode(KeyCodeFromVirtualKey(w)));
  }

  const int delay = DelayOf(buffer, now);
  if (IsPressFlags(flags) || IsReleaseFlags(flags)) {
    const bool press = IsPressFlags(flags);
    buffer.events[static_cast<std::size_t>(buffer.eventCount)] = MakeMacroEvent(press, delay, code);
    ++buffer.eventCount;
    result.stored = true;
    result.row = {RecordedRowText(name, delay, fixedDelay_), RecordedRowImage(press, mouseButton)};
  }
  result.moveCaretToLast = true;
  lastEventTime_ = now;
  lastHookWParam_ = w;
  lastHookFlags_ = flags;
  result.answer = 1;
  return result;
}

}  // namespace quencfg
