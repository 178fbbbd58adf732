#include "quencfg/ui/keyassign/slot_edits.h"

#include <algorithm>
#include <array>

#include "quencfg/framework/text.h"

namespace quencfg {
namespace {

// Mute, volume down and up, next, previous, stop, play/pause, and 0xCD: keys the
// keyboard cannot send as a single key.
constexpr std::array<std::uintptr_t, 8> kMediaVirtualKeys = {0xAD, 0xAE, 0xAF, 0xB0, 0xB1, 0xB2, 0xB3, 0xCD};

// Hook events above the VK range are mouse messages.
constexpr std::uintptr_t kHighestVirtualKey = 0xFF;

}  // namespace

AssignmentPage PageForFunction(std::int32_t byBtnFuncType) noexcept {
  switch (byBtnFuncType) {
    case BTNFUNC_MACRO: return kPageMacro;
    case BTNFUNC_LAUNCH: return kPageLaunch;
    default: return kPageSingleKey;
  }
}

std::optional<std::uint8_t> SingleKeyOfHookEvent(std::uintptr_t wParam, std::intptr_t lParam) noexcept {
  if ((static_cast<std::uintptr_t>(lParam) & kHookReleaseFlag) != 0) return std::nullopt;
  if (wParam > kHighestVirtualKey) return std::nullopt;
  if (std::find(kMediaVirtualKeys.begin(), kMediaVirtualKeys.end(), wParam) != kMediaVirtualKeys.end()) {
    return std::nullopt;
  }
  return static_cast<std::uint8_t>(wParam);
}

bool AssignSingleKey(KeySlot& slot, std::uint32_t keyCode) noexcept {
  const auto code = static_cast<std::uint8_t>(keyCode & 0xFF);
  if (code == 0) return false;
  slot.byKeyNumber = code;
  slot.byBtnFuncType = BTNFUNC_KEY;
  return true;
}

void TakeFunctionOfPage(KeySlot& slot, AssignmentPage page) noexcept {
  if (page == kPageSingleKey && slot.byKeyNumber != 0) slot.byBtnFuncType = BTNFUNC_KEY;
  if (page == kPageLaunch && !FieldText(slot.launch).empty()) slot.byBtnFuncType = BTNFUNC_LAUNCH;
}

bool AssignProgram(KeySlot& slot, std::u16string_view path) noexcept {
  if (path.empty() || path.size() >= static_cast<std::size_t>(kLaunchCapacity)) return false;
  CopyToField(slot.launch, path);
  slot.byBtnFuncType = BTNFUNC_LAUNCH;
  return true;
}

void ResetFunction(KeySlot& slot) noexcept { slot.byBtnFuncType = BTNFUNC_DEFAULT; }

}  // namespace quencfg
