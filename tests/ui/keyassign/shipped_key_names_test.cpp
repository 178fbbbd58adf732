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
#include "quencfg/ui/skin/skin_documents.h"

#ifdef _WIN32
#include "quencfg/framework/wide_win.h"
#endif

namespace quencfg {
namespace {

std::u16string ShippedFile(std::u16string_view windowsPath, std::u16string_view posixPath) {
#ifdef _WIN32
  (void)posixPath;
  return AsU16(KORVANE_TEST_SOURCE_DIR) + std::u16string(windowsPath);
#else
  (void)windowsPath;
  return AsciiToUtf16(KORVANE_TEST_SOURCE_DIR) + std::u16string(posixPath);
#endif
}

std::u16string ShippedKeyNameFile() { return ShippedFile(u"data\\table.xml", u"data/table.xml"); }

std::u16string ShippedStringsFile(std::u16string_view language) {
  return ShippedFile(u"data\\Languages\\" + std::u16string(language) + u"\\Strings.xml",
                     u"data/Languages/" + std::u16string(language) + u"/Strings.xml");
}

constexpr std::u16string_view kLanguageKeyNames = u"KEY_NAMES";
constexpr std::uint32_t kLastNamedValue = 0x210;  // beyond the mouse-button messages

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

// Spanish keyboards print their own names on the keys without a character; English and
// Simplified Chinese ones print the English names, so those strings files hold the same
// entries empty and the key name file's names stand.
TEST(ShippedKeyNames, SpanishNamesItsOwnKeysEnglishAndChineseLeaveThemToTheKeyNameFile) {
  XmlDocument spanish, english, chinese;
  ASSERT_TRUE(spanish.LoadFile(ShippedStringsFile(u"ES")));
  ASSERT_TRUE(english.LoadFile(ShippedStringsFile(u"EN")));
  ASSERT_TRUE(chinese.LoadFile(ShippedStringsFile(u"CS")));
  int spanishNames = 0;
  for (std::uint32_t value = 0; value <= kLastNamedValue; ++value) {
    const std::u16string element = KeyNameElement(value);
    const auto spanishName = FindString(spanish, kLanguageKeyNames, element);
    for (XmlDocument* other : {&english, &chinese}) {
      const auto otherName = FindString(*other, kLanguageKeyNames, element);
      EXPECT_EQ(otherName.has_value(), spanishName.has_value()) << Utf16ToUtf8(element);
      if (otherName) {
        EXPECT_EQ(Utf16ToUtf8(*otherName), "") << Utf16ToUtf8(element);
      }
    }
    if (!spanishName) continue;
    ++spanishNames;
    EXPECT_FALSE(spanishName->empty()) << Utf16ToUtf8(element);
    // Only keys without a character: a character key is named by the layout.
    EXPECT_TRUE(IsTableNamedVirtualKey(value) || value <= 0x04) << Utf16ToUtf8(element);
  }
  EXPECT_GT(spanishNames, 0);
}

TEST(ShippedKeyNames, SpanishNamesComeBeforeTheKeyNameFileAndCharactersBeforeBoth) {
  KeyNameFile names([] { return ShippedKeyNameFile(); });
  XmlDocument spanish;
  ASSERT_TRUE(spanish.LoadFile(ShippedStringsFile(u"ES")));
  const KeyNameLookup keyFile = [&names](std::u16string_view element) { return names.StoredName(element); };
  const KeyNameLookup spanishFirst = LocalisedKeyNames(
      [&spanish](std::u16string_view element) { return LookupString(spanish, kLanguageKeyNames, element); }, keyFile);
  UsKeyboardLayout us;
  const struct {
    std::uint32_t virtualKey;
    const char* spanishName;
    const char* keyFileName;
  } cases[] = {
      {0x0D, "Intro", "Enter"},         {0x2E, "Supr", "Delete"},      {0x24, "Inicio", "Home"},
      {0x23, "Fin", "End"},             {0x21, "Re P\xc3\xa1g", "Page Up"}, {0x22, "Av P\xc3\xa1g", "Page Down"},
      {0x2C, "Impr Pant", "Print Screen"}, {0x14, "Bloq May\xc3\xbas", "Caps Lock"},
      {0x70, "F1", "F1"},               // a name the language does not change
      {0x41, "A", "A"},                 // character keys are named by the layout
      {0xBA, ";", ";"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Utf16ToUtf8(KeyNameForVirtualKey(c.virtualKey, us, spanishFirst)), c.spanishName) << std::hex
                                                                                                 << c.virtualKey;
    EXPECT_EQ(Utf16ToUtf8(KeyNameForVirtualKey(c.virtualKey, us, keyFile)), c.keyFileName) << std::hex
                                                                                            << c.virtualKey;
  }
}

}  // namespace
}  // namespace quencfg
