// The key name file shipped with the program names every key the keyboard can be given
// whose name does not come from the layout.
#include <gtest/gtest.h>

#include <set>

#include "quencfg/framework/files.h"
#include "quencfg/framework/text.h"
#include "quencfg/framework/us_keyboard_layout.h"
#include "quencfg/ui/keyassign/key_code_table.h"
#include "quencfg/ui/keyassign/key_codes.h"
#include "quencfg/ui/keyassign/key_name_document.h"
#include "quencfg/ui/keyassign/key_names.h"

#ifdef _WIN32
#include "quencfg/framework/wide_win.h"
#endif

namespace quencfg {
namespace {

std::u16string ShippedKeyNameFile() {
#ifdef _WIN32
  return AsU16(KORVANE_TEST_SOURCE_DIR) + std::u16string(u"data\\table.xml");
#else
  return AsciiToUtf16(KORVANE_TEST_SOURCE_DIR) + u"data/table.xml";
#endif
}

TEST(ShippedKeyNames, NameEveryTableNamedKeyOfTheKeyCodeTable) {
  const std::u16string path = ShippedKeyNameFile();
  if (!PathExists(path)) GTEST_SKIP() << "no key name file shipped yet";
  KeyNameFile names([&] { return path; });
  UsKeyboardLayout us;
  std::set<std::uint32_t> named = {0x201, 0x204, 0x207};  // the recorder's mouse buttons
  for (const KeyCodeEntry& row : KeyCodeTable) named.insert(VirtualKeyFromKeyCode(row.code, us));
  for (std::uint32_t value : named) {
    if (value == 0 || !IsTableNamedVirtualKey(value)) continue;
    EXPECT_FALSE(names.StoredName(KeyNameElement(value)).empty()) << Utf16ToUtf8(KeyNameElement(value));
  }
}

}  // namespace
}  // namespace quencfg
