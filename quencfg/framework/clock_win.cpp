#include <windows.h>
#include <timeapi.h>

#include "quencfg/framework/clock.h"

namespace quencfg {

LocalTime CurrentLocalTime() {
  SYSTEMTIME t{};
  ::GetLocalTime(&t);
  return LocalTime{t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds};
}

std::uint32_t TickCountMs() { return ::GetTickCount(); }

void SleepMs(std::uint32_t milliseconds) {
  // Raise the timer resolution for the pause only, so that short pauses are accurate.
  ::timeBeginPeriod(1);
  ::Sleep(milliseconds);
  ::timeEndPeriod(1);
}

}  // namespace quencfg
