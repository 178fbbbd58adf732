// Key code conversions under the fixed US layout and under layouts that move keys.
#include "quencfg/ui/keyassign/key_codes.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "quencfg/framework/us_keyboard_layout.h"
#include "quencfg/ui/keyassign/key_code_table.h"

namespace quencfg {
namespace {

// A German-style layout: the keys at the Y and Z positions swap their VKs.
class SwappedYzLayout : public UsKeyboardLayout {
 public:
  std::uint32_t MapVirtualKey(std::uint32_t code, KeyMapType type) const override {
    if (type == KeyMapType::kVirtualKeyToScan) return UsKeyboardLayout::MapVirtualKey(Swap(code), type);
    return Swap(UsKeyboardLayout::MapVirtualKey(code, type));
  }

 private:
  static std::uint32_t Swap(std::uint32_t virtualKey) {
    if (virtualKey == 'Y') return 'Z';
    if (virtualKey == 'Z') return 'Y';
    return virtualKey;
  }
};

// An AZERTY-style layout: M sits at the US ";" position and VK_OEM_1 at the US "]" one.
class MAtSemicolonLayout : public UsKeyboardLayout {
 public:
  std::uint32_t MapVirtualKey(std::uint32_t code, KeyMapType type) const override {
    if (type == KeyMapType::kVirtualKeyToScan) {
      if (code == 'M') return 0x27;
      if (code == 0xBA) return 0x1B;
      if (code == 0xDD) return 0;
      return UsKeyboardLayout::MapVirtualKey(code, type);
    }
    if ((code & 0xFF) == 0x27 && code <= 0xFF) return 'M';
    if ((code & 0xFF) == 0x1B && code <= 0xFF) return 0xBA;
    return UsKeyboardLayout::MapVirtualKey(code, type);
  }
};

// A layout whose scan-to-VK mapping ignores the extended prefix, as some do.
class PrefixBlindLayout : public UsKeyboardLayout {
 public:
  std::uint32_t MapVirtualKey(std::uint32_t code, KeyMapType type) const override {
    if (type == KeyMapType::kScanToVirtualKey) code &= 0xFF;
    return UsKeyboardLayout::MapVirtualKey(code, type);
  }
};

// Fails the test when asked anything.
class UnusableLayout : public KeyboardLayout {
 public:
  std::uint32_t MapVirtualKey(std::uint32_t, KeyMapType) const override {
    ADD_FAILURE() << "layout asked";
    return 0x99;
  }
  int ToUnicode(std::uint32_t, std::uint32_t, const KeyStateArray&, char16_t*, int) const override {
    ADD_FAILURE() << "layout asked";
    return 0;
  }
};

TEST(KeyCodeTable, HoldsAllRowsInOrder) {
  EXPECT_EQ(KeyCodeTable.size(), 183u);
  EXPECT_EQ(KeyCodeTable[0].code, 0x04u);
  EXPECT_EQ(KeyCodeTable[76].code, 0x5Fu);   // keypad 7 before Home
  EXPECT_EQ(KeyCodeTable[125].code, 0x4Au);  // Home
  EXPECT_EQ(KeyCodeTable[125].scanPrefix, 0xE0u);
  EXPECT_EQ(KeyCodeTable[182].code, 0xC4u);
  EXPECT_EQ(KeyCodeTable[182].virtualKey, 0xCFu);
  for (const KeyCodeEntry& row : KeyCodeTable) EXPECT_TRUE(row.scanPrefix == 0 || row.scanPrefix == 0xE0);
}

TEST(KeyCodeFromVirtualKey, EdgeCasesUnderUsLayout) {
  UsKeyboardLayout us;
  struct Case {
    std::uint32_t virtualKey, code;
  } cases[] = {
      {0x41, 0x04},  // A
      {0x24, 0x4A},  // Home: the second row with scan 0x47
      {0x67, 0x5F},  // keypad 7: the first
      {0x2E, 0x4C},  // Delete, not keypad period
      {0x6E, 0x63},  // keypad period
      {0x0D, 0x28},  // Enter: the only row with its scan code
      {0x01, 0xCE},  // left mouse button: no scan code, found by its VK
      {0x02, 0xCF},
      {0x04, 0xD0},
      {0xA2, 0xE0},  // left Ctrl
      {0xA3, 0xE4},  // right Ctrl, although its scan code maps back to the shared VK
      {0xA4, 0xE2},
      {0xA5, 0xE6},  // right Alt
      {0x11, 0xE0},  // the shared Ctrl VK counts as the left key
      {0xBF, 0x38},  // slash
      {0x6F, 0x54},  // keypad divide
      {0x13, 0x48},  // Pause, which shares its scan code with Num Lock
      {0x90, 0x53},  // Num Lock
      {0x5B, 0xE3},
      {0x5C, 0xE7},
      {0x5D, 0x65},
      {0x76, 0x40},  // F7; the keyboard's 0x35 row repeats its scan code
      {0xE9, 0x91},  // a VK in two rows: the first wins
      {0x00, 0x00},  // no key, although rows without a VK exist
      {0x07, 0x00},  // no row, no scan code
      {0xE2, 0x64},  // the ISO key beside left Shift, by its scan code 0x56
      {0xC1, 0x87},  // Ro / ABNT "/": no US scan code, found by its VK
      {0xF2, 0x88},  // Katakana/Hiragana
      {0x1C, 0x8A},  // Convert
      {0x1D, 0x8B},  // Non-convert
      {0xF7, 0x87},  // the keyboard's own Ro row still reaches its code
  };
  for (const auto& c : cases) {
    EXPECT_EQ(KeyCodeFromVirtualKey(c.virtualKey, us), c.code) << std::hex << "VK " << c.virtualKey;
  }
}

TEST(VirtualKeyFromKeyCode, EdgeCasesUnderUsLayout) {
  UsKeyboardLayout us;
  struct Case {
    std::uint32_t code, virtualKey;
  } cases[] = {
      {0x04, 0x41}, {0x28, 0x0D}, {0x58, 0x6C},  // keypad Enter: a direct code
      {0x4A, 0x24}, {0x5F, 0x67},                // keypad 7: a direct code
      {0x54, 0x6F}, {0xE0, 0x11},                // left Ctrl as the shared VK
      {0xE3, 0x5B}, {0x74, 0x00},                // no VK and no scan code
      {0xCE, 0x01}, {0xCF, 0x02}, {0xD0, 0x04},  // mouse buttons carry their VK as scan code
      {0xB6, 0xE2}, {0xFE, 0x00},                // no row
      {0x35, 0xC0},                              // first of two rows
      {0x64, 0xE2},                              // the ISO key, by position
      {0x87, 0x00},                              // Ro: a position the US layout lacks
  };
  for (const auto& c : cases) {
    EXPECT_EQ(VirtualKeyFromKeyCode(c.code, us), c.virtualKey) << std::hex << "code " << c.code;
  }
}

// The ";" position has a second row of the keyboard's own, yet its VK is the layout's:
// under AZERTY it is M, and M converts back to the same position.
TEST(VirtualKeyFromKeyCode, TheSemicolonPositionFollowsTheLayout) {
  MAtSemicolonLayout azerty;
  EXPECT_EQ(VirtualKeyFromKeyCode(0x33, azerty), std::uint32_t('M'));
  EXPECT_EQ(KeyCodeFromVirtualKey('M', azerty), 0x33u);
  EXPECT_EQ(VirtualKeyFromKeyCode(0x30, azerty), 0xBAu);
  EXPECT_EQ(KeyCodeFromVirtualKey(0xBA, azerty), 0x30u);
}

TEST(VirtualKeyFromKeyCode, DirectCodesNeverAskTheLayout) {
  UnusableLayout layout;
  const std::map<std::uint32_t, std::uint32_t> cases = {
      {0xE4, 0xA3}, {0x48, 0x13}, {0x58, 0x6C}, {0x90, 0xFF}, {0xFA, 0xFA}, {0xC3, 0xCE}, {0x00, 0x00}};
  for (const auto& [code, virtualKey] : cases) EXPECT_EQ(VirtualKeyFromKeyCode(code, layout), virtualKey);
}

// Every row converted both ways under the US layout. A row gives back its own code or
// VK except where the table itself makes that impossible.
TEST(KeyCodeConversions, WholeTableUnderUsLayout) {
  UsKeyboardLayout us;
  // VK -> code where it is not the row's own code: VKs in two rows.
  const std::map<std::uint32_t, std::uint32_t> otherCodeOfVirtualKey = {{0xE9, 0x91}, {0xF8, 0x85}, {0xE2, 0x64}};
  // code -> VK where it is not the row's VK: the shared modifier VKs, and the
  // keyboard's rows whose scan code belongs to another key.
  const std::map<std::uint32_t, std::uint32_t> otherVirtualKeyOfCode = {
      {0xE0, 0x11}, {0xE1, 0x10}, {0xE2, 0x12},
      // International 1 to 5 (JIS, ABNT): positions the US layout lacks.
      {0x87, 0x00}, {0x88, 0x00}, {0x8A, 0x00}, {0x8B, 0x00}};
  std::set<std::uint32_t> seenCodes;
  for (const KeyCodeEntry& row : KeyCodeTable) {
    if (row.virtualKey != 0) {
      const auto other = otherCodeOfVirtualKey.find(row.virtualKey);
      const std::uint32_t expected = other != otherCodeOfVirtualKey.end() ? other->second : row.code;
      EXPECT_EQ(KeyCodeFromVirtualKey(row.virtualKey, us), expected) << std::hex << "VK " << row.virtualKey;
    }
    if (!seenCodes.insert(row.code).second) continue;  // only the first row of a code counts
    const auto other = otherVirtualKeyOfCode.find(row.code);
    const std::uint32_t expected = other != otherVirtualKeyOfCode.end() ? other->second : row.virtualKey;
    EXPECT_EQ(VirtualKeyFromKeyCode(row.code, us), expected) << std::hex << "code " << row.code;
  }
}

TEST(KeyCodeConversions, FollowTheKeyPositionUnderAnotherLayout) {
  SwappedYzLayout german;
  EXPECT_EQ(KeyCodeFromVirtualKey('Z', german), 0x1Cu);  // Z sits where US has Y
  EXPECT_EQ(KeyCodeFromVirtualKey('Y', german), 0x1Du);
  EXPECT_EQ(VirtualKeyFromKeyCode(0x1C, german), std::uint32_t('Z'));
  EXPECT_EQ(VirtualKeyFromKeyCode(0x1D, german), std::uint32_t('Y'));
  EXPECT_EQ(KeyCodeFromVirtualKey('A', german), 0x04u);
}

TEST(KeyCodeConversions, LayoutThatIgnoresTheExtendedPrefix) {
  PrefixBlindLayout layout;
  const std::map<std::uint32_t, std::uint32_t> cases = {
      {0x76, 0x40}, {0xBF, 0x38}, {0x6F, 0x54}, {0x90, 0x53}, {0x24, 0x4A}, {0x67, 0x5F}, {0x41, 0x04}};
  for (const auto& [virtualKey, code] : cases) {
    EXPECT_EQ(KeyCodeFromVirtualKey(virtualKey, layout), code) << std::hex << "VK " << virtualKey;
  }
}

}  // namespace
}  // namespace quencfg
