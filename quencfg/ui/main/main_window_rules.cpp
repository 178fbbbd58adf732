#include "quencfg/ui/main/main_window_rules.h"

#include "quencfg/model/settings_block.h"
#include "quencfg/ui/skin/skin_scale.h"

namespace quencfg {
namespace {

constexpr int kDragStripWidth = 1200;
constexpr int kDragStripHeight = 48;

}  // namespace

bool SlotShowsAssignment(std::int32_t buttonFunction) noexcept {
  return buttonFunction == BTNFUNC_KEY || buttonFunction == BTNFUNC_LAUNCH || buttonFunction == BTNFUNC_MACRO;
}

bool InDragStrip(int x, int y, int dpi) noexcept {
  return x >= 0 && x < ScaleToDpi(kDragStripWidth, dpi) && y >= 0 && y < ScaleToDpi(kDragStripHeight, dpi);
}

int TakeApplyWriteKind(bool lightingVisible, bool& importPending) noexcept {
  const bool withLighting = lightingVisible || importPending;
  importPending = false;
  return withLighting ? 1 : 0;
}

std::optional<std::uint8_t> MenuCommandLanguage(int command) noexcept {
  switch (command) {
    case 101:
    case 106:
    case 108:
    case 110:
    case 111:
      return static_cast<std::uint8_t>(command);
    default:
      return std::nullopt;
  }
}

bool SettingsMenuItemChecked(int command, std::uint8_t language, bool signInStart) noexcept {
  if (command == kStartWithWindowsCommand) return signInStart;
  const auto chosen = MenuCommandLanguage(command);
  return chosen.has_value() && *chosen == language;
}

std::u16string_view KeyboardStatusKey(KeyboardState state) noexcept {
  switch (state) {
    case KeyboardState::Connected: return u"KEYBOARD_CONNECTED";
    case KeyboardState::Writing: return u"KEYBOARD_WRITING";
    default: return u"KEYBOARD_ABSENT";
  }
}

}  // namespace quencfg
