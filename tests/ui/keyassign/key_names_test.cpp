// Key names: stored names, layout characters and the fallbacks.
#include "quencfg/ui/keyassign/key_names.h"

#include <gtest/gtest.h>

#include <map>

#include "quencfg/framework/text.h"
#include "quencfg/framework/us_keyboard_layout.h"

namespace quencfg {
namespace {

// The US layout, except for keys given their own characters (negative: a dead key),
// with Shift down or Caps Lock on where given.
class ScriptedLayout : public UsKeyboardLayout {
 public:
  std::map<std::uint32_t, std::u16string> characters;
  std::map<std::uint32_t, std::u16string> shiftedCharacters;
  std::map<std::uint32_t, std::u16string> capsLockCharacters;
  std::map<std::uint32_t, int> results;
  mutable KeyStateArray lastKeyState = {};

  int ToUnicode(std::uint32_t virtualKey, std::uint32_t scanCode, const KeyStateArray& keyState, char16_t* buffer,
                int capacity) const override {
    for (int i = 0; i < 256; ++i) lastKeyState[i] = keyState[i];
    auto chars = characters.find(virtualKey);
    if (chars == characters.end()) return UsKeyboardLayout::ToUnicode(virtualKey, scanCode, keyState, buffer, capacity);
    const auto& moved = (keyState[0x10] & 0x80) ? shiftedCharacters : (keyState[0x14] & 1) ? capsLockCharacters
                                                                                            : characters;
    if (moved.count(virtualKey) != 0) chars = moved.find(virtualKey);
    chars->second.copy(buffer, static_cast<std::size_t>(capacity));
    const auto result = results.find(virtualKey);
    return result != results.end() ? result->second : static_cast<int>(chars->second.size());
  }
};

struct NameTable {
  std::map<std::u16string, std::u16string> entries;
  KeyNameLookup Lookup() const {
    return [this](std::u16string_view element) {
      const auto found = entries.find(std::u16string(element));
      return found != entries.end() ? found->second : std::u16string();
    };
  }
};

TEST(KeyNameElement, LowerCaseHexWithAtLeastTwoDigits) {
  EXPECT_EQ(KeyNameElement(0x0D), u"CODE_0d");
  EXPECT_EQ(KeyNameElement(0x41), u"CODE_41");
  EXPECT_EQ(KeyNameElement(0xBF), u"CODE_bf");
  EXPECT_EQ(KeyNameElement(0x201), u"CODE_201");
}

TEST(KeyNameForVirtualKey, Cases) {
  ScriptedLayout layout;
  layout.characters[0xE2] = u"\u00c4";       // a layout with a letter on the 102nd key
  layout.characters[0xDC] = u"&";
  layout.characters[0xDF] = u"^";
  layout.results[0xDF] = -1;                 // dead key
  layout.characters[0x4D] = u"\U0001F600";  // outside the basic plane
  NameTable table;
  table.entries = {{u"CODE_41", u"A"},          {u"CODE_0d", u"Enter"},  {u"CODE_201", u"Left button"},
                   {u"CODE_bc", u"VK:comma"},   {u"CODE_df", u"Oem8"},   {u"CODE_20", u"Space"},
                   {u"CODE_dc", u"Backslash"},  {u"CODE_e2", u"Oem102"}};
  struct Case {
    std::uint32_t value;
    std::u16string name;
  } cases[] = {
      {0x41, u"A"},             // from the layout, a capital thanks to Caps Lock
      {0x42, u"B"},             // no entry: the layout's character still wins
      {0xE2, u"\u00c4"},        // the layout's letter replaces the stored name
      {0x0D, u"Enter"},         // table-named
      {0x20, u"Space"},
      {0x1B, u"VK:1b"},         // table-named without an entry
      {0x204, u"VK:204"},
      {0x201, u"Left button"},
      {0x0A, u"a"},             // no entry, no character: hexadecimal
      {0xBC, u"VK:comma"},      // a stored name with "VK:" stands although the layout gives ","
      {0xDC, u"&&"},            // an ampersand is doubled
      {0xDF, u"^"},             // a dead key is named by its accent, as its key cap shows
      {0x4D, u"\U0001F600"},    // a surrogate pair stays whole
      {0xBE, u"."},             // punctuation unshifted
      {0x31, u"1"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Utf16ToUtf8(KeyNameForVirtualKey(c.value, layout, table.Lookup())), Utf16ToUtf8(c.name))
        << std::hex << c.value;
  }
}

// Punctuation keys are named by what the layout types there, not by the US names of the
// key name file; a capital only where Caps Lock acts as Shift does, as on the key caps.
TEST(KeyNameForVirtualKey, CharacterKeysAsTheirKeyCapsShowThem) {
  ScriptedLayout german;
  german.characters = {{0xBD, u"\u00df"}, {0xDB, u"\u00fc"}, {0xC0, u"^"}, {0xBF, u"-"}, {0xE6, u"\n"}};
  german.shiftedCharacters = {{0xBD, u"?"}, {0xDB, u"\u00dc"}, {0xC0, u"\u00b0"}, {0xBF, u"_"}};
  german.capsLockCharacters = {{0xBD, u"\u1e9e"}, {0xDB, u"\u00dc"}};
  NameTable usNames;
  usNames.entries = {{u"CODE_bd", u"-"}, {u"CODE_db", u"["}, {u"CODE_c0", u"`"}, {u"CODE_bf", u"/"},
                     {u"CODE_e6", u"Special E6"}};
  struct Case {
    std::uint32_t value;
    std::u16string name;
  } cases[] = {
      {0xBD, u"\u00df"},   // ß stays ß: Caps Lock gives the capital sharp s, Shift "?"
      {0xDB, u"\u00dc"},   // ü is shown as Ü, as Shift and Caps Lock both give
      {0xC0, u"^"},        // unshifted, not "°"
      {0xBF, u"-"},        // the US name "/" does not stand
      {0xE6, u"Special E6"},  // a line feed is no name: the stored one stands
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Utf16ToUtf8(KeyNameForVirtualKey(c.value, german, usNames.Lookup())), Utf16ToUtf8(c.name))
        << std::hex << c.value;
  }
}

TEST(KeyNameForVirtualKey, AsksTheLayoutWithCapsLockOnly) {
  ScriptedLayout layout;
  NameTable table;
  EXPECT_EQ(KeyNameForVirtualKey(0x41, layout, table.Lookup()), u"A");
  for (int i = 0; i < 256; ++i) EXPECT_EQ(layout.lastKeyState[i], i == 0x14 ? 1 : 0) << i;
}

TEST(KeyNameForVirtualKey, NeverEmpty) {
  ScriptedLayout layout;
  NameTable table;
  table.entries = {{u"CODE_0d", u""}};
  for (std::uint32_t value = 0; value < 0x210; ++value) {
    EXPECT_FALSE(KeyNameForVirtualKey(value, layout, table.Lookup()).empty()) << value;
  }
}

TEST(MouseButtonShortName, Table) {
  EXPECT_EQ(MouseButtonShortName(0xF0), u"LB");
  EXPECT_EQ(MouseButtonShortName(0xF1), u"RB");
  EXPECT_EQ(MouseButtonShortName(0xF2), u"MB");
  EXPECT_EQ(MouseButtonShortName(0x1F2), u"MB");  // the low byte counts
  EXPECT_EQ(MouseButtonShortName(0xF3), u"");
}

}  // namespace
}  // namespace quencfg
