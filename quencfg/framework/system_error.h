#pragma once
// The platform's text for the last failed system call on this thread (errno natively,
// GetLastError on Windows). Read it right after the call that failed.
#include <string>

namespace quencfg {

[[nodiscard]] std::u16string LastSystemErrorMessage();

}  // namespace quencfg
