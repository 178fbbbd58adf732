#pragma once
// A clock whose time moves only when the code under test pauses; it records every
// pause and whether precise timing was held at that moment.
#include <cstdint>
#include <vector>

#include "quencfg/framework/pause.h"

namespace quencfg::testing {

class FakePauseClock final : public PauseClock {
 public:
  struct PauseRecord {
    std::uint32_t milliseconds;
    bool precise;
  };

  std::int64_t NowMicroseconds() noexcept override { return now_; }
  void Pause(std::uint32_t milliseconds) noexcept override {
    pauses_.push_back(PauseRecord{milliseconds, preciseDepth_ > 0});
    now_ += std::int64_t{milliseconds} * 1000;
  }
  void BeginPreciseTiming() noexcept override { ++preciseDepth_; }
  void EndPreciseTiming() noexcept override { --preciseDepth_; }

  [[nodiscard]] const std::vector<PauseRecord>& pauses() const noexcept { return pauses_; }
  [[nodiscard]] int preciseDepth() const noexcept { return preciseDepth_; }
  [[nodiscard]] std::int64_t totalPauseMs() const noexcept { return now_ / 1000; }

 private:
  std::int64_t now_ = 0;
  int preciseDepth_ = 0;
  std::vector<PauseRecord> pauses_;
};

}  // namespace quencfg::testing
