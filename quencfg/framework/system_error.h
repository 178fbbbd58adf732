#pragma once
// The platform's text for the last failed system call on this thread (errno natively,
// GetLastError on Windows). Read it right after the call that failed.
#include <cstdint>
#include <string>

namespace quencfg {

[[nodiscard]] std::u16string LastSystemErrorMessage();

// The platform's text for an error code kept from earlier.
[[nodiscard]] std::u16string SystemErrorMessage(std::uint32_t error);

}  // namespace quencfg
