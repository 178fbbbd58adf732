#include <windows.h>

#include "quencfg/framework/keyboard_layout.h"
#include "quencfg/framework/wide_win.h"

namespace quencfg {
namespace {

// Asks ToUnicodeEx not to change the keyboard state of the system (dead keys pending).
constexpr UINT kLeaveKeyboardState = 0x4;

class ForegroundKeyboardLayout final : public KeyboardLayout {
 public:
  ForegroundKeyboardLayout() : layout_(ForegroundLayoutHandle()) {}

  std::uint32_t MapVirtualKey(std::uint32_t code, KeyMapType type) const override {
    return ::MapVirtualKeyExW(code, static_cast<UINT>(type), layout_);
  }

  int ToUnicode(std::uint32_t virtualKey, std::uint32_t scanCode, const KeyStateArray& keyState,
                char16_t* buffer, int capacity) const override {
    const int count =
        ::ToUnicodeEx(virtualKey, scanCode, keyState, AsWide(buffer), capacity, kLeaveKeyboardState, layout_);
    // Where the flag is not known, a dead key stays pending and would accent the user's
    // next character: the same key once more lets it go.
    if (count < 0) {
      wchar_t scratch[8];
      ::ToUnicodeEx(virtualKey, scanCode, keyState, scratch, 8, kLeaveKeyboardState, layout_);
    }
    return count;
  }

 private:
  // The keys are meant for the program the user works in, so its layout counts.
  static HKL ForegroundLayoutHandle() {
    const DWORD thread = ::GetWindowThreadProcessId(::GetForegroundWindow(), nullptr);
    return ::GetKeyboardLayout(thread);
  }

  HKL layout_;
};

}  // namespace

std::unique_ptr<KeyboardLayout> CurrentKeyboardLayout() {
  return std::make_unique<ForegroundKeyboardLayout>();
}

}  // namespace quencfg
