#include <windows.h>

#include "quencfg/framework/keyboard_layout.h"
#include "quencfg/framework/wide_win.h"

namespace quencfg {
namespace {

class ForegroundKeyboardLayout final : public KeyboardLayout {
 public:
  ForegroundKeyboardLayout() : layout_(ForegroundLayoutHandle()) {}

  std::uint32_t MapVirtualKey(std::uint32_t code, KeyMapType type) const override {
    return ::MapVirtualKeyExW(code, static_cast<UINT>(type), layout_);
  }

  int ToUnicode(std::uint32_t virtualKey, std::uint32_t scanCode, const KeyStateArray& keyState,
                char16_t* buffer, int capacity) const override {
    return ::ToUnicodeEx(virtualKey, scanCode, keyState, AsWide(buffer), capacity, 0, layout_);
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
