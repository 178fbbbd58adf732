#include "quencfg/device/program_launch.h"

#include "quencfg/device/device_sync.h"
#include "quencfg/device/key_cells.h"
#include "quencfg/framework/text.h"

namespace quencfg {

std::u16string ProgramOfCell(const SettingsBlock& settings, std::uintptr_t cell) {
  if (cell > 0xFF) return {};
  const std::optional<int> slot = FindSlotOfCell(static_cast<std::uint8_t>(cell));
  if (!slot) return {};
  return std::u16string(FieldText(CurrentProfile(settings).keys[*slot].launch));
}

}  // namespace quencfg
