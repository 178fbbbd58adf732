#include "quencfg/ui/keyassign/assignment_text.h"

#include "quencfg/framework/paths.h"
#include "quencfg/framework/text.h"
#include "quencfg/ui/keyassign/key_codes.h"
#include "quencfg/ui/keyassign/key_name_document.h"

namespace quencfg {

std::u16string_view LaunchTargetCaption(std::u16string_view launch) noexcept {
  if (StartsWithScheme(launch)) return launch;
  const std::u16string_view fileName = FileNameOfPath(launch);
  return fileName.empty() ? launch : fileName;
}

std::u16string AssignmentText(const KeySlot& slot, std::uint8_t factoryCode, const AssignmentWords& words,
                              const KeyCodeNamer& nameOfCode) {
  switch (slot.byBtnFuncType) {
    case BTNFUNC_KEY:
      return nameOfCode(slot.byKeyNumber);
    case BTNFUNC_MACRO:
      return words.macroPrefix + std::u16string(FieldText(slot.MacroName));
    case BTNFUNC_LAUNCH:
      return std::u16string(LaunchTargetCaption(FieldText(slot.launch)));
    case BTNFUNC_DISABLE:
      return words.disabled;
    default: {
      const std::u16string name = nameOfCode(factoryCode);
      return name.empty() ? std::u16string() : words.factoryPrefix + name;
    }
  }
}

std::u16string KeyCodeName(std::uint8_t code) {
  const std::uint32_t virtualKey = VirtualKeyFromKeyCode(code);
  return virtualKey == 0 ? std::u16string() : KeyNameForVirtualKey(virtualKey);
}

}  // namespace quencfg
