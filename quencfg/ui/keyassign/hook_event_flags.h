#pragma once
// The flags a hook message carries in lParam: bit 0 an extended key, bit 7 a release.
#include <cstdint>

namespace quencfg {

inline constexpr std::uint32_t kHookExtendedFlag = 0x01;
inline constexpr std::uint32_t kHookReleaseFlag = 0x80;

}  // namespace quencfg
