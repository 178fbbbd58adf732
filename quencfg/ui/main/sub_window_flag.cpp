#include "quencfg/ui/main/sub_window_flag.h"

#include <atomic>

namespace quencfg {
namespace {
// Only the user-interface thread touches it; atomic keeps a stray reader harmless.
std::atomic<bool> subWindowOpen{false};
}  // namespace

bool SubWindowOpen() noexcept { return subWindowOpen.load(); }
void SetSubWindowOpen(bool open) noexcept { subWindowOpen.store(open); }

}  // namespace quencfg
