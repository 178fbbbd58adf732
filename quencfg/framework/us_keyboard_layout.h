#pragma once
// A fixed US keyboard layout (scan code set 1) for platforms without Windows layouts,
// and for tests that need the same answers everywhere.
#include "quencfg/framework/keyboard_layout.h"

namespace quencfg {

class UsKeyboardLayout : public KeyboardLayout {
 public:
  [[nodiscard]] std::uint32_t MapVirtualKey(std::uint32_t code, KeyMapType type) const override;
  int ToUnicode(std::uint32_t virtualKey, std::uint32_t scanCode, const KeyStateArray& keyState,
                char16_t* buffer, int capacity) const override;
};

}  // namespace quencfg
