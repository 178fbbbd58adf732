#pragma once
// Where the skin's pictures are.
#include <string>

namespace quencfg {

// AppFolder() + "skins\\" with this platform's separator.
std::u16string SkinsFolder();

}  // namespace quencfg
