#include "quencfg/ui/main/main_window_rules.h"

#include "quencfg/framework/paths.h"
#include "quencfg/model/profile_file.h"
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

std::u16string SaveFailureMessage(std::u16string_view path, FileWriteStatus status, WarningText text) {
  std::u16string_view reason = u"SAVE_FAILED";
  switch (status) {
    case FileWriteStatus::kReadOnly: reason = u"SAVE_FAILED_READONLY"; break;
    case FileWriteStatus::kInUse: reason = u"SAVE_FAILED_IN_USE"; break;
    case FileWriteStatus::kDiskFull: reason = u"SAVE_FAILED_DISK_FULL"; break;
    default: break;
  }
  std::u16string message(FileNameOfPath(path));
  message += u"\n";
  message += text(reason);
  message += u"\n";
  message += text(u"SAVE_FAILED_KEYBOARD");
  return message;
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

std::u16string ExportFileName(int profileIndex) { return ProfileName(profileIndex) + u".profile"; }

bool SettingsMenuItemChecked(int command, std::uint8_t language, bool signInStart) noexcept {
  if (command == kStartWithWindowsCommand) return signInStart;
  const auto chosen = MenuCommandLanguage(command);
  return chosen.has_value() && *chosen == language;
}

std::u16string_view KeyboardStatusKey(KeyboardState state) noexcept {
  switch (state) {
    case KeyboardState::Connected: return u"KEYBOARD_CONNECTED";
    case KeyboardState::Writing: return u"KEYBOARD_WRITING";
    case KeyboardState::ChangesWaiting: return u"KEYBOARD_CHANGES_WAITING";
    default: return u"KEYBOARD_ABSENT";
  }
}

}  // namespace quencfg
