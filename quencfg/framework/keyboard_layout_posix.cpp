#include "quencfg/framework/keyboard_layout.h"
#include "quencfg/framework/us_keyboard_layout.h"

namespace quencfg {

std::unique_ptr<KeyboardLayout> CurrentKeyboardLayout() {
  return std::make_unique<UsKeyboardLayout>();
}

}  // namespace quencfg
