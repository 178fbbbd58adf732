#pragma once
// The start-at-sign-in Run value of the test prefix's current user: a test starts
// without it and the value the prefix had comes back afterwards.
#include <optional>
#include <string>

namespace quencfg::testing {

// The value's command, or none when there is no value.
std::optional<std::u16string> RunValue();

class RunValueScope {
 public:
  RunValueScope();
  ~RunValueScope();
  RunValueScope(const RunValueScope&) = delete;
  RunValueScope& operator=(const RunValueScope&) = delete;

 private:
  std::optional<std::u16string> saved_;
};

}  // namespace quencfg::testing
