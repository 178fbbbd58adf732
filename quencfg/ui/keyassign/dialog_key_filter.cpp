#include "quencfg/ui/keyassign/dialog_key_filter.h"

namespace quencfg {
namespace {

constexpr std::uint32_t kVkReturn = 0x0D;
constexpr std::uint32_t kVkEscape = 0x1B;
constexpr std::uint32_t kVkSpace = 0x20;
constexpr std::uint32_t kVkZ = 'Z';

}  // namespace

DialogKeyAction ActionOfKeyDown(const DialogKeyDown& key) noexcept {
  if (key.capturing) return DialogKeyAction::kSwallow;
  if (key.onMacroPage && key.control && key.virtualKey == kVkZ && !key.inTextField) return DialogKeyAction::kUndo;
  if (key.inDelayField && key.virtualKey == kVkReturn) return DialogKeyAction::kApplyDelay;
  if (key.inPauseField && key.virtualKey == kVkReturn) return DialogKeyAction::kInsertPause;
  const bool swallowed = key.virtualKey == kVkEscape || key.virtualKey == kVkSpace || key.virtualKey == kVkReturn;
  return swallowed && !key.inTextField ? DialogKeyAction::kSwallow : DialogKeyAction::kDispatch;
}

bool CapturedKeyLeftover::Swallows(bool keyUp, std::uint32_t virtualKey) noexcept {
  if (virtualKey_ == 0) return false;
  if (virtualKey != virtualKey_) {
    if (!keyUp) virtualKey_ = 0;
    return false;
  }
  if (keyUp) virtualKey_ = 0;
  return true;
}

}  // namespace quencfg
