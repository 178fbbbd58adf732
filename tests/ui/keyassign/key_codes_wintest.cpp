// The conversions with the platform's own layout functions, against the fixed US layout
// that native builds use.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <set>
#include <string>

#include "quencfg/framework/text.h"
#include "quencfg/framework/us_keyboard_layout.h"
#include "quencfg/ui/keyassign/key_code_table.h"
#include "quencfg/ui/keyassign/key_codes.h"
#include "quencfg/ui/keyassign/key_names.h"

namespace quencfg {
namespace {

constexpr WORD kUsEnglish = 0x0409;

// Wine reports the US layout handle whatever its X key map holds, so look at a key too.
bool UsLayoutActive() {
  return LOWORD(::GetKeyboardLayout(0)) == kUsEnglish &&
         CurrentKeyboardLayout()->MapVirtualKey('Z', KeyMapType::kVirtualKeyToScan) == 0x2C;
}

// VKs that Wine's US layout, built from the X key map, puts at scan codes of their own
// (Windows' US layout has none for them), and key codes whose scan code it maps to
// another VK (Print Screen and keypad "*" trade places; F13-F24 and keypad "/" differ).
const std::set<std::uint32_t> kVirtualKeysPlacedDifferently = {0x2C, 0x92, 0xE1, 0xE2, 0xE3, 0xE4, 0xE9,
                                                               0xEB, 0xEC, 0xED, 0xEE, 0xF3};
// Wine also maps the JIS positions (Katakana/Hiragana, Convert, Non-convert), which the
// fixed US layout lacks.
const std::set<std::uint32_t> kCodesMappedDifferently = {0x46, 0x54, 0x55, 0x68, 0x69, 0x6A, 0x6B, 0x6C, 0x6D,
                                                         0x6E, 0x6F, 0x70, 0x71, 0x72, 0x73, 0x88, 0x8A, 0x8B};

std::u16string NoStoredName(std::u16string_view) { return {}; }

class PlatformLayoutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!UsLayoutActive()) GTEST_SKIP() << "the active layout is not US English";
  }
};

TEST_F(PlatformLayoutTest, EdgeCases) {
  const std::map<std::uint32_t, std::uint32_t> codeOfVirtualKey = {
      {0x41, 0x04}, {0x24, 0x4A}, {0x67, 0x5F}, {0x01, 0xCE}, {0xA2, 0xE0}, {0xA3, 0xE4}, {0xA5, 0xE6},
      {0x6F, 0x54}, {0xBF, 0x38}, {0x76, 0x40}, {0x90, 0x53}, {0x13, 0x48}, {0x0D, 0x28}, {0x2E, 0x4C},
      {0x6E, 0x63}, {0x5B, 0xE3}, {0x00, 0x00}};
  for (const auto& [virtualKey, code] : codeOfVirtualKey) {
    EXPECT_EQ(KeyCodeFromVirtualKey(virtualKey), code) << std::hex << "VK " << virtualKey;
  }
  const std::map<std::uint32_t, std::uint32_t> virtualKeyOfCode = {
      {0xE4, 0xA3}, {0x74, 0x00}, {0x04, 0x41}, {0x4A, 0x24}, {0xCE, 0x01}, {0x28, 0x0D}, {0xE3, 0x5B}};
  for (const auto& [code, virtualKey] : virtualKeyOfCode) {
    EXPECT_EQ(VirtualKeyFromKeyCode(code), virtualKey) << std::hex << "code " << code;
  }
}

TEST_F(PlatformLayoutTest, WholeTableAgreesWithTheFixedUsLayout) {
  const auto platform = CurrentKeyboardLayout();
  UsKeyboardLayout fixed;
  for (const KeyCodeEntry& row : KeyCodeTable) {
    if (row.virtualKey != 0 && kVirtualKeysPlacedDifferently.count(row.virtualKey) == 0) {
      EXPECT_EQ(KeyCodeFromVirtualKey(row.virtualKey, *platform), KeyCodeFromVirtualKey(row.virtualKey, fixed))
          << std::hex << "VK " << row.virtualKey;
    }
    if (kCodesMappedDifferently.count(row.code) == 0) {
      EXPECT_EQ(VirtualKeyFromKeyCode(row.code, *platform), VirtualKeyFromKeyCode(row.code, fixed))
          << std::hex << "code " << row.code;
    }
  }
}

TEST_F(PlatformLayoutTest, LayoutNamesAgreeWithTheFixedUsLayout) {
  const auto platform = CurrentKeyboardLayout();
  UsKeyboardLayout fixed;
  for (std::uint32_t virtualKey = 1; virtualKey < 0xFF; ++virtualKey) {
    if (IsTableNamedVirtualKey(virtualKey) || kVirtualKeysPlacedDifferently.count(virtualKey) != 0) continue;
    EXPECT_EQ(Utf16ToUtf8(KeyNameForVirtualKey(virtualKey, *platform, NoStoredName)),
              Utf16ToUtf8(KeyNameForVirtualKey(virtualKey, fixed, NoStoredName)))
        << std::hex << "VK " << virtualKey;
  }
  EXPECT_EQ(KeyNameForVirtualKey('Q', *platform, NoStoredName), u"Q");
  EXPECT_EQ(KeyNameForVirtualKey(0xBC, *platform, NoStoredName), u",");
}

// Switches this thread, which owns the foreground window, to another layout and back.
class LayoutSwitch {
 public:
  explicit LayoutSwitch(const wchar_t* layoutName) : previous_(::GetKeyboardLayout(0)) {
    window_ = ::CreateWindowExW(0, L"STATIC", L"layout", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr,
                                nullptr, nullptr);
    ::SetForegroundWindow(window_);
    if (HKL layout = ::LoadKeyboardLayoutW(layoutName, 0)) ::ActivateKeyboardLayout(layout, 0);
  }
  ~LayoutSwitch() {
    ::ActivateKeyboardLayout(previous_, 0);
    ::DestroyWindow(window_);
  }
  LayoutSwitch(const LayoutSwitch&) = delete;
  LayoutSwitch& operator=(const LayoutSwitch&) = delete;

 private:
  HKL previous_;
  HWND window_ = nullptr;
};

// Wine cannot load layouts; it takes its layout from the X key map, which the
// windows_tests_german_keyboard run sets to German (and says so in the environment).
void RequireGermanLetters() {
  if (CurrentKeyboardLayout()->MapVirtualKey('Z', KeyMapType::kVirtualKeyToScan) == 0x15) return;
  const char* keymap = std::getenv("KORVANE_TEST_KEYMAP");
  if (keymap != nullptr && std::string(keymap) == "de") FAIL() << "the German key map is not in effect";
  GTEST_SKIP() << "no German layout here; the German keyboard run covers it";
}

// Under German the keys at the US Y and Z positions swap VKs and names; the key codes
// stay with the positions.
TEST(GermanLayout, KeyCodesFollowPositionsAndNamesFollowTheLayout) {
  LayoutSwitch german(L"00000407");
  RequireGermanLetters();
  if (::testing::Test::IsSkipped() || ::testing::Test::HasFatalFailure()) return;
  EXPECT_EQ(KeyCodeFromVirtualKey('Z'), 0x1Cu);
  EXPECT_EQ(KeyCodeFromVirtualKey('Y'), 0x1Du);
  EXPECT_EQ(KeyCodeFromVirtualKey('A'), 0x04u);
  EXPECT_EQ(VirtualKeyFromKeyCode(0x1C), std::uint32_t('Z'));
  EXPECT_EQ(VirtualKeyFromKeyCode(0x1D), std::uint32_t('Y'));
  const auto layout = CurrentKeyboardLayout();
  // The key code at the US Y position is named as its key cap says under German.
  EXPECT_EQ(KeyNameForVirtualKey(VirtualKeyFromKeyCode(0x1C, *layout), *layout, NoStoredName), u"Z");
  EXPECT_EQ(KeyNameForVirtualKey(VirtualKeyFromKeyCode(0x1D, *layout), *layout, NoStoredName), u"Y");
  EXPECT_EQ(KeyNameForVirtualKey(0xE2, *layout, NoStoredName), u"<");
  // The ISO key beside left Shift is the keyboard's non-US backslash key, both ways.
  EXPECT_EQ(KeyCodeFromVirtualKey(0xE2), 0x64u);
  EXPECT_EQ(VirtualKeyFromKeyCode(0x64), 0xE2u);
  EXPECT_EQ(KeyNameForVirtualKey(VirtualKeyFromKeyCode(0x64, *layout), *layout, NoStoredName), u"<");
}

// Every key of the table, converted to the VK the German layout gives it and back,
// lands on its own key code: the conversions follow the key's position.
TEST(GermanLayout, WholeTableKeepsKeyPositions) {
  RequireGermanLetters();
  if (::testing::Test::IsSkipped() || ::testing::Test::HasFatalFailure()) return;
  const auto layout = CurrentKeyboardLayout();
  UsKeyboardLayout us;
  std::set<std::uint32_t> seenCodes;
  std::map<std::uint32_t, std::uint32_t> movedVirtualKeys;  // code -> German VK, where it differs from US
  for (const KeyCodeEntry& row : KeyCodeTable) {
    if (!seenCodes.insert(row.code).second || kCodesMappedDifferently.count(row.code) != 0) continue;
    const std::uint32_t virtualKey = VirtualKeyFromKeyCode(row.code, *layout);
    // The JIS positions the fixed US layout lacks are found, not moved.
    const std::uint32_t usVirtualKey = VirtualKeyFromKeyCode(row.code, us);
    if (usVirtualKey != 0 && virtualKey != usVirtualKey) movedVirtualKeys[row.code] = virtualKey;
    // The keyboard's own rows carry their VK as a stand-in scan code: no position to keep.
    const bool ownCode = row.scanCode == row.virtualKey;
    if (virtualKey == 0 || IsDirectVirtualKeyCode(row.code) || ownCode) continue;
    EXPECT_EQ(KeyCodeFromVirtualKey(virtualKey, *layout), row.code) << std::hex << "code " << row.code << " VK "
                                                                     << virtualKey;
  }
  // Only the keys German moves: Y and Z, and punctuation keys.
  for (const auto& [code, virtualKey] : movedVirtualKeys) {
    EXPECT_TRUE(code == 0x1C || code == 0x1D || (code >= 0x2D && code <= 0x38)) << std::hex << "code " << code
                                                                               << " VK " << virtualKey;
  }
  EXPECT_EQ(movedVirtualKeys.count(0x1C), 1u);
  EXPECT_EQ(movedVirtualKeys.count(0x1D), 1u);
  // The letter keys are named by the German letters at their positions.
  for (std::uint32_t code = 0x04; code <= 0x1D; ++code) {
    char16_t letter = static_cast<char16_t>(u'A' + (code - 0x04));
    if (letter == u'Y') letter = u'Z';
    else if (letter == u'Z') letter = u'Y';
    EXPECT_EQ(KeyNameForVirtualKey(VirtualKeyFromKeyCode(code, *layout), *layout, NoStoredName),
              std::u16string(1, letter))
        << std::hex << "code " << code;
  }
}

// Naming the dead key "^" leaves nothing pending: the next key still types a plain "a".
TEST(GermanLayout, NamingADeadKeyLeavesTheNextCharacterAlone) {
  RequireGermanLetters();
  if (::testing::Test::IsSkipped() || ::testing::Test::HasFatalFailure()) return;
  const auto layout = CurrentKeyboardLayout();
  const std::uint32_t deadKey = VirtualKeyFromKeyCode(0x35, *layout);  // "^" left of 1
  KeyNameForVirtualKey(deadKey, *layout, NoStoredName);
  BYTE keyState[256] = {};
  wchar_t typed[8] = {};
  const int count = ::ToUnicodeEx('A', 0x1E, keyState, typed, 8, 0, ::GetKeyboardLayout(0));
  EXPECT_EQ(count, 1);
  EXPECT_EQ(typed[0], L'a');
}

TEST(GermanLayout, UsExpectationsDoNotHoldThere) {
  RequireGermanLetters();
  if (::testing::Test::IsSkipped() || ::testing::Test::HasFatalFailure()) return;
  // The fixed US layout and the real one disagree exactly where German moves keys.
  UsKeyboardLayout us;
  EXPECT_NE(KeyCodeFromVirtualKey('Z'), KeyCodeFromVirtualKey('Z', us));
  EXPECT_EQ(KeyCodeFromVirtualKey('Q'), KeyCodeFromVirtualKey('Q', us));
}

}  // namespace
}  // namespace quencfg
