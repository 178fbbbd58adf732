#pragma once
// Files of the source tree that the tests read as shipped (data/, the resource bitmaps),
// natively and under Wine alike.
#include <string>
#include <string_view>

namespace quencfg::testing {

// The full path of a file or folder of the source tree, given relative to its top with
// backslashes ("data\\skins\\150\\"), in this platform's form.
std::u16string SourceTreePath(std::u16string_view backslashed);

}  // namespace quencfg::testing
