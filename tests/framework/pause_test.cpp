#include "quencfg/framework/pause.h"

#include <gtest/gtest.h>

#include "support/fake_pause_clock.h"

namespace quencfg {
namespace {

TEST(SystemPauseClock, NeverReturnsEarly) {
  PauseClock& clock = SystemPauseClock();
  PreciseTimingScope precise(clock);
  for (std::uint32_t ms : {0u, 1u, 1u, 2u, 3u, 7u}) {
    const std::int64_t start = clock.NowMicroseconds();
    clock.Pause(ms);
    EXPECT_GE(clock.NowMicroseconds() - start, std::int64_t{ms} * 1000) << ms << " ms";
  }
}

TEST(SystemPauseClock, TimeNeverGoesBack) {
  PauseClock& clock = SystemPauseClock();
  std::int64_t last = clock.NowMicroseconds();
  for (int i = 0; i < 1000; ++i) {
    const std::int64_t now = clock.NowMicroseconds();
    EXPECT_GE(now, last);
    last = now;
  }
}

TEST(PreciseTimingScope, NestsAndEnds) {
  testing::FakePauseClock clock;
  {
    PreciseTimingScope outer(clock);
    {
      PreciseTimingScope inner(clock);
      EXPECT_EQ(clock.preciseDepth(), 2);
    }
    clock.Pause(1);
  }
  clock.Pause(1);
  EXPECT_EQ(clock.preciseDepth(), 0);
  ASSERT_EQ(clock.pauses().size(), 2u);
  EXPECT_TRUE(clock.pauses()[0].precise);
  EXPECT_FALSE(clock.pauses()[1].precise);
}

}  // namespace
}  // namespace quencfg
