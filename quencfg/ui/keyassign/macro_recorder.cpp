#include "quencfg/ui/keyassign/macro_recorder.h"

#include <algorithm>
#include <utility>

#include "quencfg/ui/keyassign/key_codes.h"
#include "quencfg/ui/keyassign/key_name_document.h"
#include "quencfg/ui/keyassign/key_names.h"
#include "quencfg/ui/keyassign/macro_event_edits.h"

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

// What a hook message stands for: the code it is stored with and its flags after the
// mouse-button mapping.
struct HookKey {
  std::uint8_t code = 0;
  std::uint32_t flags = 0;
  bool mouseButton = false;
};

HookKey KeyOfHookEvent(std::uint32_t w, std::uint32_t flags) {
  HookKey key{0, flags, false};
  if (MapMouseButton(w, key.code, key.flags)) {
    key.mouseButton = true;
    return key;
  }
  key.code = LowByte(KeyCodeFromVirtualKey(w));
  // The keypad Enter key shares its VK with the main one; only the extended flag tells.
  if (w == kReturnKey && (flags == kHookExtendedFlag || flags == (kHookReleaseFlag | kHookExtendedFlag))) {
    key.code = kKeypadEnterCode;
  }
  return key;
}

// The name a row shows for a hook message.
std::u16string NameOfHookKey(const HookKey& key, std::uint32_t w, const MacroRecorder::VirtualKeyNamer& nameOf) {
  if (key.mouseButton || IsMouseButtonCode(key.code)) return MouseName(key.code);
  return nameOf(VirtualKeyFromKeyCode(KeyCodeFromVirtualKey(w)));
}

// The name a row shows for a release the recorder adds itself, by its stored code.
std::u16string NameOfStoredCode(std::uint8_t code, const MacroRecorder::VirtualKeyNamer& nameOf) {
  return IsMouseButtonCode(code) ? MouseName(code) : nameOf(VirtualKeyFromKeyCode(code));
}

using KeyBalances = std::array<int, 256>;

// Per key code: its presses minus its releases among the events in use.
KeyBalances BalancesOf(const MacroBuffer& buffer) noexcept {
  KeyBalances balance{};
  const int count = std::clamp(buffer.eventCount, 0, kMacroEventCount);
  for (int i = 0; i < count; ++i) {
    const MacroEvent& event = buffer.events[static_cast<std::size_t>(i)];
    balance[event.map] += IsPress(event) ? 1 : -1;
  }
  return balance;
}

// The keys still held, the one pressed last first: the order to let them go in.
std::vector<std::uint8_t> HeldKeysLatestFirst(const MacroBuffer& buffer) {
  KeyBalances owed = BalancesOf(buffer);
  std::vector<std::uint8_t> held;
  for (int i = std::clamp(buffer.eventCount, 0, kMacroEventCount) - 1; i >= 0; --i) {
    const MacroEvent& event = buffer.events[static_cast<std::size_t>(i)];
    if (IsPress(event) && owed[event.map] > 0) {
      held.push_back(event.map);
      --owed[event.map];
    }
  }
  return held;
}

// Whether an event can be stored and still leave room for every release owed.
bool FitsWithReleasesOwed(const MacroBuffer& buffer, std::uint8_t code, bool press, bool release) noexcept {
  const int room = kMacroEventCount - buffer.eventCount;
  if (press) return room >= 2 + ReleasesOwed(buffer);  // itself and its own release
  if (release && !IsKeyHeld(buffer, code)) return room >= 1 + ReleasesOwed(buffer);
  return room >= 1;  // a release that pays off a held key, or flags that store nothing
}

bool IsLeftButtonPress(const MacroEvent& event) noexcept { return event.map == kMacroLeftButton && IsPress(event); }
bool IsLeftButtonRelease(const MacroEvent& event) noexcept {
  return event.map == kMacroLeftButton && !IsPress(event);
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
  stoppingClickPress_.reset();
  leftPressDropped_ = false;
  return RecordButtonAction::kStarted;
}

RemovedEvents MacroRecorder::TakeOutStoppingClick(MacroBuffer& buffer) noexcept {
  RemovedEvents removed;
  if (recording_) return removed;
  const std::optional<int> press = std::exchange(stoppingClickPress_, std::nullopt);
  leftPressDropped_ = false;
  const int count = std::clamp(buffer.eventCount, 0, kMacroEventCount);
  if (!press || *press >= count) return removed;
  if (!IsLeftButtonPress(buffer.events[static_cast<std::size_t>(*press)])) return removed;
  // Only releases of keys held before the click can stand between its press and release.
  for (int i = *press + 1; i < count; ++i) {
    if (IsLeftButtonRelease(buffer.events[static_cast<std::size_t>(i)])) {
      removed.indexes[static_cast<std::size_t>(removed.count++)] = i;
      break;
    }
  }
  removed.indexes[static_cast<std::size_t>(removed.count++)] = *press;
  for (int i = 0; i < removed.count; ++i) {
    ApplyEventEdit(buffer, EventEdit::kDelete, removed.indexes[static_cast<std::size_t>(i)]);
  }
  return removed;
}

void MacroRecorder::ForgetStoppingClick() noexcept { stoppingClickPress_.reset(); }

bool IsKeyHeld(const MacroBuffer& buffer, std::uint8_t keyCode) noexcept {
  int balance = 0;
  const int count = std::clamp(buffer.eventCount, 0, kMacroEventCount);
  for (int i = 0; i < count; ++i) {
    const MacroEvent& event = buffer.events[static_cast<std::size_t>(i)];
    if (event.map == keyCode) balance += IsPress(event) ? 1 : -1;
  }
  return balance > 0;
}

int ReleasesOwed(const MacroBuffer& buffer) noexcept {
  int owed = 0;
  for (const int balance : BalancesOf(buffer)) owed += std::max(balance, 0);
  return owed;
}

int MacroRecorder::DelayOf(const MacroBuffer& buffer, std::uint32_t now) {
  if (fixedDelay_) return kFixedRecordDelay;
  if (lastEventTime_ == 0) lastEventTime_ = now;
  // The tick count wraps; the difference is taken as a signed 32-bit value.
  const auto elapsed = static_cast<std::int32_t>(now - lastEventTime_);
  const int delay = static_cast<int>(std::clamp<std::int32_t>(elapsed, 1, kMacroValueMax));
  return buffer.eventCount == 0 ? 1 : delay;
}

void MacroRecorder::EndRunAtLimit(MacroBuffer& buffer, std::uint32_t now, HookEventResult& result) {
  limitWarned_ = true;
  recording_ = false;
  result.limitReached = true;
  stoppingClickPress_.reset();
  leftPressDropped_ = false;
  // The keys still held are let go where the run ends, in the room their presses kept:
  // a macro never leaves a key down.
  for (const std::uint8_t code : HeldKeysLatestFirst(buffer)) {
    if (buffer.eventCount >= kMacroEventCount) break;
    const int delay = DelayOf(buffer, now);
    buffer.events[static_cast<std::size_t>(buffer.eventCount)] = MakeMacroEvent(false, delay, code);
    ++buffer.eventCount;
    const std::u16string text = RecordedRowText(NameOfStoredCode(code, nameOf_), delay, fixedDelay_);
    result.closingRows.push_back({text, RecordedRowImage(false, IsMouseButtonCode(code))});
    lastEventTime_ = now;
  }
}

HookEventResult MacroRecorder::HandleHookEvent(MacroBuffer& buffer, std::uint32_t w, std::uint32_t flags,
                                               std::uint32_t now) {
  HookEventResult result;
  if (!recording_) return result;
  // A held key repeats its press; only the first one counts.
  if (w == lastHookWParam_ && flags == lastHookFlags_) return result;
  if (buffer.eventCount <= 0) {
    buffer.events.fill(MacroEvent{});
    buffer.eventCount = 0;
  }
  if (IsPressFlags(flags) && IsKeyHeld(buffer, LowByte(KeyCodeFromVirtualKey(LowByte(w))))) return result;

  const HookKey key = KeyOfHookEvent(w, flags);
  // A key without a code would be stored as 0, which ends the macro where it stands.
  if (!key.mouseButton && key.code == 0) return result;
  const bool press = IsPressFlags(key.flags);
  const bool release = IsReleaseFlags(key.flags);
  const bool leftButton = key.mouseButton && key.code == kMacroLeftButton;
  if (leftButton && release && leftPressDropped_) {
    leftPressDropped_ = false;
    return result;
  }
  if (!FitsWithReleasesOwed(buffer, key.code, press, release)) {
    if (leftButton && press) {
      // Perhaps the STOP click: dropped without a warning, and with it its release.
      leftPressDropped_ = true;
      stoppingClickPress_.reset();
      return result;
    }
    if (!limitWarned_) EndRunAtLimit(buffer, now, result);
    return result;
  }

  const std::u16string name = NameOfHookKey(key, w, nameOf_);
  const int delay = DelayOf(buffer, now);
  if (press || release) {
    const int index = buffer.eventCount;
    buffer.events[static_cast<std::size_t>(index)] = MakeMacroEvent(press, delay, key.code);
    ++buffer.eventCount;
    if (press) {
      stoppingClickPress_ = leftButton ? std::optional<int>(index) : std::nullopt;
      if (leftButton) leftPressDropped_ = false;
    }
    result.stored = true;
    result.row = {RecordedRowText(name, delay, fixedDelay_), RecordedRowImage(press, key.mouseButton)};
  }
  result.moveCaretToLast = true;
  lastEventTime_ = now;
  lastHookWParam_ = w;
  lastHookFlags_ = key.flags;
  result.answer = 1;
  return result;
}

}  // namespace quencfg
