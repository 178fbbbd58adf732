#include "quencfg/device/device_writes.h"

#include "quencfg/device/device_blocks.h"
#include "quencfg/device/key_cells.h"
#include "quencfg/framework/text.h"

namespace quencfg {
namespace {

void Report(const ProgressCallback& progress, int percent) {
  if (progress) progress(percent);
}

bool CanSendMacros(CUSBDriver& driver) noexcept {
  return driver.Handles().command.load() != kNoHidHandle && driver.Handles().macro.load() != kNoHidHandle;
}

void SendMacroOfSlot(CUSBDriver& driver, int slot, const std::u16string& name, const MacroSource& macros) {
  MacroFile macro{};
  if (macros.readMacro) macros.readMacro(macro, name);
  const bool keyboardPresent = CanSendMacros(driver);
  driver.SendMacro(SlotCell(slot), BuildMacroBlock(macro));
  // The keyboard's time to store the macro; nothing to wait for without a keyboard.
  if (keyboardPresent) driver.Clock().Pause(kPauseAfterMacroMs);
}

}  // namespace

const std::u16string* ChooseMacroName(std::u16string_view wanted, const std::vector<std::u16string>& names) noexcept {
  if (names.empty()) return nullptr;
  for (const std::u16string& name : names) {
    if (name == wanted) return &name;
  }
  return &names.front();
}

void WriteKeysAndMacros(CUSBDriver& driver, const ProfileData& profile, const MacroSource& macros,
                        const ProgressCallback& progress) {
  PreciseTimingScope precise(driver.Clock());
  const std::vector<std::u16string> names = macros.listNames ? macros.listNames() : std::vector<std::u16string>{};
  Report(progress, 20);
  for (int slot = 0; slot < KEY_COUNT; ++slot) {
    const KeySlot& key = profile.keys[slot];
    if (key.byBtnFuncType != BTNFUNC_MACRO) continue;
    if (const std::u16string* name = ChooseMacroName(FieldText(key.MacroName), names)) {
      SendMacroOfSlot(driver, slot, *name, macros);
    }
  }
  Report(progress, 40);
  const KeyMapBlock keyMap = BuildKeyMap(profile);
  Report(progress, 50);
  driver.SendKeyMap(keyMap);
  Report(progress, 70);
}

void WriteKeyColors(CUSBDriver& driver, const ProfileData& profile) {
  PreciseTimingScope precise(driver.Clock());
  for (int slot = 0; slot < KEY_COUNT; ++slot) {
    const std::uint8_t cell = SlotCell(slot);
    if (cell != kNoKeyCell) driver.SendKeyColor(cell, profile.lighting.keyColors.coLightRGB[slot]);
  }
  for (int row = 0; row < kKeyRows; ++row) {
    driver.SendKeyColor(static_cast<std::uint8_t>(row * kKeyColumns), 0);
  }
  constexpr std::uint8_t kRow5Column22 = 5 * kKeyColumns + 22;
  driver.SendKeyColor(kRow5Column22, 0);
}

void WriteLighting(CUSBDriver& driver, const ProfileData& profile, const ProgressCallback& progress) {
  PreciseTimingScope precise(driver.Clock());
  const LightingSettings& lighting = profile.lighting;
  driver.SendLighting(lighting);
  driver.Clock().Pause(kPauseAfterLightingMs);
  Report(progress, 80);
  if (lighting.byLightEffect == kEffectSingleColor) {
    driver.SendEffectColor(lighting.byLightColor);
    driver.Clock().Pause(kPauseAfterEffectColorMs);
  } else if (lighting.byLightEffect == kEffectPerKey) {
    WriteKeyColors(driver, profile);
  }
}

}  // namespace quencfg
