#pragma once
// The pause seam of the device protocol. The protocol's pauses are minimums: a pause
// may last longer, never shorter. The system clock keeps them within about a
// millisecond; tests put a fake behind the interface that records every pause.
#include <cstdint>

namespace quencfg {

class PauseClock {
 public:
  virtual ~PauseClock() = default;

  // Microseconds since an arbitrary start; never goes backwards.
  [[nodiscard]] virtual std::int64_t NowMicroseconds() noexcept = 0;

  // Waits at least `milliseconds`; never returns early.
  virtual void Pause(std::uint32_t milliseconds) noexcept = 0;

  // Brackets a write to the keyboard. Platforms whose short pauses are coarse by
  // default sharpen them only in between (Begin/End calls nest).
  virtual void BeginPreciseTiming() noexcept {}
  virtual void EndPreciseTiming() noexcept {}
};

// The process-wide real clock.
PauseClock& SystemPauseClock() noexcept;

// Holds precise timing on a clock for its lifetime.
class PreciseTimingScope {
 public:
  explicit PreciseTimingScope(PauseClock& clock) noexcept : clock_(clock) { clock_.BeginPreciseTiming(); }
  ~PreciseTimingScope() { clock_.EndPreciseTiming(); }
  PreciseTimingScope(const PreciseTimingScope&) = delete;
  PreciseTimingScope& operator=(const PreciseTimingScope&) = delete;

 private:
  PauseClock& clock_;
};

}  // namespace quencfg
