#pragma once
// Waits for something another thread does; the limit only keeps a broken build from
// hanging, it is not what the tests check.
#include <chrono>
#include <functional>
#include <thread>

namespace quencfg::testing {

inline bool Eventually(const std::function<bool()>& done) {
  const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!done()) {
    if (std::chrono::steady_clock::now() > limit) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

}  // namespace quencfg::testing
