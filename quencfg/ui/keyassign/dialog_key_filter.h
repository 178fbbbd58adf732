#pragma once
// What the key assignment dialog does with a key press before it is dispatched to the
// dialog or one of its controls.
#include <cstdint>

namespace quencfg {

struct DialogKeyDown {
  std::uint32_t virtualKey = 0;
  bool control = false;        // Ctrl is held
  bool capturing = false;      // a macro is recorded or a key captured: keys are for the hook
  bool onMacroPage = false;
  bool inTextField = false;    // the key goes to a text field (name, repeat count, delay)
  bool inDelayField = false;
  bool inPauseField = false;
};

enum class DialogKeyAction { kDispatch, kSwallow, kUndo, kApplyDelay, kInsertPause };

// Escape, Space and Enter never press a button or close the dialog, but a text field
// keeps its ordinary editing (a space in a macro name). Ctrl+Z outside a text field
// undoes the macro editor's last edit; a text field undoes its own typing. Enter in
// the delay field sets the delay, and in the pause field inserts the pause.
DialogKeyAction ActionOfKeyDown(const DialogKeyDown& key) noexcept;

// The hook reports a key before the key reaches the dialog's queue, so the key that a
// capture took would still reach the focused control (the event list jumps to a row
// starting with its letter). Its key-down and key-up that follow are swallowed.
class CapturedKeyLeftover {
 public:
  void Expect(std::uint32_t virtualKey) noexcept { virtualKey_ = virtualKey; }
  // True: the message is the captured key's and is swallowed. Its key-up, or another
  // key pressed, ends the wait.
  bool Swallows(bool keyUp, std::uint32_t virtualKey) noexcept;
  [[nodiscard]] bool waiting() const noexcept { return virtualKey_ != 0; }

 private:
  std::uint32_t virtualKey_ = 0;
};

}  // namespace quencfg
