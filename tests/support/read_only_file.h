#pragma once
// The platform's read-only mark of a file, set and taken away by a test.
#include <string_view>

namespace quencfg::testing {

// True when the file carries the mark (or no longer carries it) afterwards.
bool MarkReadOnly(std::u16string_view path, bool readOnly);

}  // namespace quencfg::testing
