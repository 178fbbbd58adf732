#include <windows.h>

#include "quencfg/framework/clock.h"

namespace quencfg {

LocalTime CurrentLocalTime() {
  SYSTEMTIME t{};
  ::GetLocalTime(&t);
  return LocalTime{t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds};
}

std::uint32_t TickCountMs() { return ::GetTickCount(); }

}  // namespace quencfg
