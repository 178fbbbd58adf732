#include <string_view>

namespace quencfg {

// Natively there is no debugger channel; the log file is what counts.
void PlatformDebugOutput(std::u16string_view) {}

}  // namespace quencfg
