#include <chrono>
#include <thread>

#include "quencfg/framework/pause.h"

namespace quencfg {
namespace {

class PosixPauseClock final : public PauseClock {
 public:
  std::int64_t NowMicroseconds() noexcept override {
    const auto since = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration_cast<std::chrono::microseconds>(since).count();
  }

  // The kernel's sleeps are fine-grained already; the loop only guards against an
  // early wake-up.
  void Pause(std::uint32_t milliseconds) noexcept override {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    for (auto now = std::chrono::steady_clock::now(); now < deadline; now = std::chrono::steady_clock::now()) {
      std::this_thread::sleep_for(deadline - now);
    }
  }
};

}  // namespace

PauseClock& SystemPauseClock() noexcept {
  static PosixPauseClock clock;
  return clock;
}

}  // namespace quencfg
