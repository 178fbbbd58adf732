#pragma once
// The time seam: local wall-clock time, a millisecond tick count and pauses.
#include <cstdint>

namespace quencfg {

struct LocalTime {
  int year = 0;
  int month = 0;  // 1..12
  int day = 0;    // 1..31
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
};

LocalTime CurrentLocalTime();

// Milliseconds since an arbitrary start; wraps like the platform's tick count.
std::uint32_t TickCountMs();

// The tick count a control reads: a test may put its own clock in; null reads the
// system's.
using TickSource = std::uint32_t (*)();
inline std::uint32_t TickNow(TickSource source) { return source != nullptr ? source() : TickCountMs(); }

}  // namespace quencfg
