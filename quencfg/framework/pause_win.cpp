#include <windows.h>
#include <timeapi.h>

#include "quencfg/framework/handle_win.h"
#include "quencfg/framework/pause.h"

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

namespace quencfg {
namespace {

std::int64_t CounterFrequency() noexcept {
  static const std::int64_t frequency = [] {
    LARGE_INTEGER f{};
    ::QueryPerformanceFrequency(&f);
    return f.QuadPart;
  }();
  return frequency;
}

std::int64_t CounterNow() noexcept {
  LARGE_INTEGER now{};
  ::QueryPerformanceCounter(&now);
  return now.QuadPart;
}

// A high-resolution waitable timer per thread (Windows 10 1803 and later); null where
// the platform has none, and the pause then sleeps under the raised timer resolution.
HANDLE ThreadTimer() noexcept {
  thread_local UniqueKernelHandle timer(
      ::CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION, TIMER_ALL_ACCESS));
  return timer.get();
}

void CoarseWait(std::int64_t microseconds) noexcept {
  if (HANDLE timer = ThreadTimer()) {
    LARGE_INTEGER due{};
    due.QuadPart = -microseconds * 10;  // relative, in 100 ns units
    if (::SetWaitableTimer(timer, &due, 0, nullptr, nullptr, FALSE)) {
      ::WaitForSingleObject(timer, INFINITE);
      return;
    }
  }
  ::Sleep(static_cast<DWORD>(microseconds / 1000));
}

class WindowsPauseClock final : public PauseClock {
 public:
  std::int64_t NowMicroseconds() noexcept override {
    const std::int64_t ticks = CounterNow();
    const std::int64_t frequency = CounterFrequency();
    return ticks / frequency * 1000000 + ticks % frequency * 1000000 / frequency;
  }

  // Waits coarsely until about a millisecond before the deadline, then yields until
  // the performance counter reaches it, so that neither timer granularity nor an
  // early wake-up shortens the pause.
  void Pause(std::uint32_t milliseconds) noexcept override {
    const std::int64_t deadline = NowMicroseconds() + std::int64_t{milliseconds} * 1000;
    for (std::int64_t remaining = deadline - NowMicroseconds(); remaining > 0;
         remaining = deadline - NowMicroseconds()) {
      if (remaining > kSpinMicroseconds) {
        CoarseWait(remaining - kSpinMicroseconds);
      } else {
        ::SwitchToThread();
      }
    }
  }

  // Sleep's granularity is 15.6 ms by default; the timer resolution is raised for the
  // write only, as it costs the whole system power.
  void BeginPreciseTiming() noexcept override { ::timeBeginPeriod(1); }
  void EndPreciseTiming() noexcept override { ::timeEndPeriod(1); }

 private:
  static constexpr std::int64_t kSpinMicroseconds = 1000;
};

}  // namespace

PauseClock& SystemPauseClock() noexcept {
  static WindowsPauseClock clock;
  return clock;
}

}  // namespace quencfg
