#pragma once
// What a key does, in words: the text of a key's tooltip on the keyboard map.
#include <cstdint>
#include <functional>
#include <string>

#include "quencfg/model/settings_block.h"

namespace quencfg {

// The localised pieces of the text.
struct AssignmentWords {
  std::u16string macroPrefix;    // "Macro: "
  std::u16string disabled;       // "Disabled"
  std::u16string factoryPrefix;  // "Default: "
};

// The name of one of the keyboard's key codes; empty when it has none.
using KeyCodeNamer = std::function<std::u16string(std::uint8_t code)>;

// What a launch key's target shows: a program by its file name ("app.exe"); an
// address ("https://example.com/page") or a path without a file name as stored, whole.
[[nodiscard]] std::u16string_view LaunchTargetCaption(std::u16string_view launch) noexcept;

// The key it sends ("Z", a media or mouse function by its name), the macro's name after
// the macro prefix, the program's caption (LaunchTargetCaption), the disabled text, or,
// for the factory function (and any value this program does not know), the factory
// prefix with the name of `factoryCode`, the code the key sends when nothing changes it.
[[nodiscard]] std::u16string AssignmentText(const KeySlot& slot, std::uint8_t factoryCode,
                                            const AssignmentWords& words, const KeyCodeNamer& nameOfCode);

// The name of a key code under the current keyboard layout, as the key assignment
// dialog shows it; empty for a code without a virtual key.
[[nodiscard]] std::u16string KeyCodeName(std::uint8_t code);

}  // namespace quencfg
