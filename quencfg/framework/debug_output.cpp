#include "quencfg/framework/debug_output.h"

#include <atomic>

namespace quencfg {

void PlatformDebugOutput(std::u16string_view text);  // debug_output_win.cpp / _posix.cpp

namespace {
std::atomic<DebugOutputHook> g_hook{nullptr};
}  // namespace

void WriteDebugOutput(std::u16string_view text) {
  if (const DebugOutputHook hook = g_hook.load()) {
    hook(text);
  } else {
    PlatformDebugOutput(text);
  }
}

void SetDebugOutputHook(DebugOutputHook hook) noexcept { g_hook.store(hook); }

}  // namespace quencfg
