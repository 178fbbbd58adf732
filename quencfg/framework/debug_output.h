#pragma once
// The debugger-output seam (OutputDebugStringW on Windows).
#include <string_view>

namespace quencfg {

void WriteDebugOutput(std::u16string_view text);

// Tests observe the debugger output through this hook; null restores the platform's.
using DebugOutputHook = void (*)(std::u16string_view text);
void SetDebugOutputHook(DebugOutputHook hook) noexcept;

}  // namespace quencfg
