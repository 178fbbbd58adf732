// Key codes and key names under the US, German, French (AZERTY) and UK keyboards. Wine
// takes its layout from the X key map, so each suite runs on a display of its own whose
// key map is that layout (tests/wine_suites.cmake; KORVANE_TEST_KEYMAP names it).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "quencfg/framework/text.h"
#include "quencfg/framework/wide_win.h"
#include "quencfg/model/xml_document.h"
#include "quencfg/ui/keyassign/key_code_table.h"
#include "quencfg/ui/keyassign/key_codes.h"
#include "quencfg/ui/keyassign/key_names.h"
#include "quencfg/ui/skin/skin_documents.h"

namespace quencfg {
namespace {

// The key code of each key of the main window's keyboard picture, by its layout label.
const std::map<std::u16string, std::uint32_t> kPictureKeyCodes = {
    {u"ESC", 0x29},      {u"1", 0x1E},         {u"2", 0x1F},         {u"3", 0x20},        {u"4", 0x21},
    {u"5", 0x22},        {u"6", 0x23},         {u"7", 0x24},         {u"8", 0x25},        {u"9", 0x26},
    {u"0", 0x27},        {u"MINUS", 0x2D},     {u"EQUAL", 0x2E},     {u"BACKSPACE", 0x2A}, {u"TAB", 0x2B},
    {u"Q", 0x14},        {u"W", 0x1A},         {u"E", 0x08},         {u"R", 0x15},        {u"T", 0x17},
    {u"Y", 0x1C},        {u"U", 0x18},         {u"I", 0x0C},         {u"O", 0x12},        {u"P", 0x13},
    {u"LBRACKET", 0x2F}, {u"RBRACKET", 0x30},  {u"BACKSLASH", 0x31}, {u"CAPSLOCK", 0x39}, {u"A", 0x04},
    {u"S", 0x16},        {u"D", 0x07},         {u"F", 0x09},         {u"G", 0x0A},        {u"H", 0x0B},
    {u"J", 0x0D},        {u"K", 0x0E},         {u"L", 0x0F},         {u"SEMICOLON", 0x33}, {u"QUOTE", 0x34},
    {u"HASH", 0x32},     {u"ENTER", 0x28},     {u"LSHIFT", 0xE1},    {u"INTL", 0x64},     {u"Z", 0x1D},
    {u"X", 0x1B},        {u"C", 0x06},         {u"V", 0x19},         {u"B", 0x05},        {u"N", 0x11},
    {u"M", 0x10},        {u"COMMA", 0x36},     {u"PERIOD", 0x37},    {u"SLASH", 0x38},    {u"RSHIFT", 0xE5},
    {u"LCTRL", 0xE0},    {u"LWIN", 0xE3},      {u"LALT", 0xE2},      {u"SPACE", 0x2C},    {u"RALT", 0xE6},
    {u"APP", 0x65},      {u"RCTRL", 0xE4},
};
// Labels of the picture that are no key of their own to the system.
const std::set<std::u16string> kPictureKeysWithoutCode = {u"NONE", u"FN"};

std::u16string SourceFile(std::u16string_view relative) {
  return AsU16(KORVANE_TEST_SOURCE_DIR) + std::u16string(relative);
}

// The layout labels of the picture's keys (sixth field of KEYBOARD/BUTTON_n).
std::vector<std::u16string> PictureLabels() {
  XmlDocument buttons;
  if (!buttons.LoadFile(SourceFile(u"data\\Languages\\KeyboardButtons.xml"))) return {};
  std::vector<std::u16string> labels;
  for (int n = 1;; ++n) {
    const auto entry = FindString(buttons, u"KEYBOARD", u"BUTTON_" + AsciiToUtf16(std::to_string(n)));
    if (!entry) break;
    std::vector<std::u16string> fields(1);
    for (char16_t c : *entry) {
      if (c == u',') fields.emplace_back();
      else fields.back() += c;
    }
    if (fields.size() > 5) labels.push_back(fields[5]);
  }
  return labels;
}

std::u16string NoStoredName(std::u16string_view) { return {}; }

std::uint32_t FirstVirtualKeyOfCode(std::uint32_t code) {
  for (const KeyCodeEntry& row : KeyCodeTable) {
    if (row.code == code) return row.virtualKey;
  }
  return 0;
}

// What a layout names the keys at the positions that differ between layouts, by key code.
// An empty name: Wine leaves the position without a key (see WineLeavesUnplaced).
using NameTable = std::map<std::uint32_t, std::u16string>;

struct KeyboardLayoutCase {
  const char* keymap;        // the X key map of the suite's display
  std::uint32_t probeCode;   // a key code whose name tells the layout apart
  const char16_t* probeName;
  NameTable names;
};

const KeyboardLayoutCase kUs = {
    "us", 0x1F, u"2",
    {{0x1E, u"1"}, {0x27, u"0"}, {0x2D, u"-"}, {0x2E, u"="}, {0x2F, u"["}, {0x30, u"]"}, {0x31, u"\\"},
     {0x33, u";"}, {0x34, u"'"}, {0x35, u"`"}, {0x36, u","}, {0x37, u"."}, {0x38, u"/"}, {0x1C, u"Y"},
     {0x1D, u"Z"}, {0x04, u"A"}, {0x14, u"Q"},
     // X's US key map gives the ISO key "<" (Windows' US layout gives "\").
     {0x64, u"<"}}};

const KeyboardLayoutCase kGerman = {
    "de", 0x1C, u"Z",
    {{0x1E, u"1"}, {0x27, u"0"}, {0x2D, u"\u00df"}, {0x2F, u"\u00dc"}, {0x30, u"+"}, {0x31, u"#"},
     {0x33, u"\u00d6"}, {0x34, u"\u00c4"}, {0x35, u"^"}, {0x36, u","}, {0x37, u"."}, {0x38, u"-"},
     {0x1C, u"Z"}, {0x1D, u"Y"}, {0x64, u"<"},
     // The dead acute key: Wine gives it a made-up scan code, not its position.
     {0x2E, u""}}};

const KeyboardLayoutCase kFrench = {
    "fr", 0x04, u"Q",
    {{0x1E, u"&&"}, {0x1F, u"\u00e9"}, {0x20, u"\""}, {0x21, u"'"}, {0x22, u"("}, {0x23, u"-"},
     {0x24, u"\u00e8"}, {0x25, u"_"}, {0x26, u"\u00e7"}, {0x27, u"\u00e0"}, {0x2D, u")"}, {0x2E, u"="},
     {0x2F, u"^"}, {0x30, u"$"}, {0x31, u"*"}, {0x33, u"M"}, {0x34, u"\u00f9"}, {0x35, u"\u00b2"},
     {0x10, u","}, {0x36, u";"}, {0x37, u":"}, {0x38, u"!"}, {0x04, u"Q"}, {0x14, u"A"}, {0x1A, u"Z"},
     {0x1D, u"W"}, {0x64, u"<"}}};

const KeyboardLayoutCase kUk = {
    "gb", 0x64, u"\\",
    {{0x1E, u"1"}, {0x1F, u"2"}, {0x2D, u"-"}, {0x2E, u"="}, {0x2F, u"["}, {0x30, u"]"}, {0x31, u"#"},
     {0x33, u";"}, {0x34, u"'"}, {0x35, u"`"}, {0x36, u","}, {0x37, u"."}, {0x38, u"/"}, {0x1D, u"Z"},
     {0x64, u"\\"}}};

// Codes at positions Wine could not place under the layout.
std::set<std::uint32_t> WineLeavesUnplaced(const KeyboardLayoutCase& layoutCase) {
  std::set<std::uint32_t> codes;
  for (const auto& [code, name] : layoutCase.names) {
    if (name.empty()) codes.insert(code);
  }
  return codes;
}

std::u16string NameOfCode(std::uint32_t code, const KeyboardLayout& layout) {
  const std::uint32_t virtualKey = VirtualKeyFromKeyCode(code, layout);
  return virtualKey == 0 ? std::u16string() : KeyNameForVirtualKey(virtualKey, layout, NoStoredName);
}

// Runs only on the suite's own display; fails there when the key map did not take.
bool LayoutInEffect(const KeyboardLayoutCase& layoutCase) {
  const char* keymap = std::getenv("KORVANE_TEST_KEYMAP");
  if (keymap == nullptr || std::string(keymap) != layoutCase.keymap) return false;
  const auto layout = CurrentKeyboardLayout();
  EXPECT_EQ(Utf16ToUtf8(NameOfCode(layoutCase.probeCode, *layout)), Utf16ToUtf8(layoutCase.probeName))
      << "the " << layoutCase.keymap << " key map is not in effect";
  return !::testing::Test::HasFailure();
}

#define REQUIRE_LAYOUT(layoutCase)                                                              \
  if (!LayoutInEffect(layoutCase)) {                                                           \
    if (!::testing::Test::HasFailure()) GTEST_SKIP() << "runs on the " << (layoutCase).keymap  \
                                                     << " key map display";                    \
    return;                                                                                    \
  }

// Every key of the keyboard picture converts to a VK of the layout and back to its code.
void ExpectPictureKeysRoundTrip(const KeyboardLayoutCase& layoutCase) {
  const auto layout = CurrentKeyboardLayout();
  const std::set<std::uint32_t> unplaced = WineLeavesUnplaced(layoutCase);
  const std::vector<std::u16string> labels = PictureLabels();
  ASSERT_FALSE(labels.empty());
  for (const std::u16string& label : labels) {
    if (kPictureKeysWithoutCode.count(label) != 0) continue;
    const auto found = kPictureKeyCodes.find(label);
    ASSERT_NE(found, kPictureKeyCodes.end()) << "a key of the picture without a code here: " << Utf16ToUtf8(label);
    const std::uint32_t code = found->second;
    const std::uint32_t virtualKey = VirtualKeyFromKeyCode(code, *layout);
    // The non-US "#" key has a VK of the keyboard's own; a layout may put that VK
    // elsewhere, so it is not a position to keep.
    if (IsDirectVirtualKeyCode(code)) {
      EXPECT_EQ(virtualKey, FirstVirtualKeyOfCode(code)) << Utf16ToUtf8(label);
      continue;
    }
    if (unplaced.count(code) != 0) {
      EXPECT_EQ(virtualKey, 0u) << Utf16ToUtf8(label) << " is placed now: give it its name";
      continue;
    }
    EXPECT_NE(virtualKey, 0u) << Utf16ToUtf8(label);
    EXPECT_EQ(KeyCodeFromVirtualKey(virtualKey, *layout), code) << Utf16ToUtf8(label) << std::hex << " VK "
                                                                 << virtualKey;
    EXPECT_FALSE(KeyNameForVirtualKey(virtualKey, *layout, NoStoredName).empty()) << Utf16ToUtf8(label);
  }
}

// The keys whose characters differ between layouts carry the layout's names.
void ExpectLayoutNames(const KeyboardLayoutCase& layoutCase) {
  const auto layout = CurrentKeyboardLayout();
  for (const auto& [code, name] : layoutCase.names) {
    EXPECT_EQ(Utf16ToUtf8(NameOfCode(code, *layout)), Utf16ToUtf8(name)) << std::hex << "code " << code;
  }
}

// The ISO key beside left Shift is the keyboard's non-US backslash key both ways, named
// by the layout.
void ExpectIsoKey(const KeyboardLayoutCase& layoutCase) {
  const auto layout = CurrentKeyboardLayout();
  const std::uint32_t virtualKey = VirtualKeyFromKeyCode(0x64, *layout);
  EXPECT_EQ(virtualKey, 0xE2u);
  EXPECT_EQ(KeyCodeFromVirtualKey(virtualKey, *layout), 0x64u);
  EXPECT_EQ(Utf16ToUtf8(KeyNameForVirtualKey(virtualKey, *layout, NoStoredName)),
            Utf16ToUtf8(layoutCase.names.at(0x64)));
}

TEST(UsLayout, PictureKeysRoundTrip) {
  REQUIRE_LAYOUT(kUs);
  ExpectPictureKeysRoundTrip(kUs);
}
TEST(UsLayout, KeysCarryTheLayoutsNames) {
  REQUIRE_LAYOUT(kUs);
  ExpectLayoutNames(kUs);
  ExpectIsoKey(kUs);
}

TEST(GermanLayout, PictureKeysRoundTrip) {
  REQUIRE_LAYOUT(kGerman);
  ExpectPictureKeysRoundTrip(kGerman);
}
TEST(GermanLayout, KeysCarryTheLayoutsNames) {
  REQUIRE_LAYOUT(kGerman);
  ExpectLayoutNames(kGerman);
  ExpectIsoKey(kGerman);
}

TEST(FrenchLayout, PictureKeysRoundTrip) {
  REQUIRE_LAYOUT(kFrench);
  ExpectPictureKeysRoundTrip(kFrench);
}
TEST(FrenchLayout, KeysCarryTheLayoutsNames) {
  REQUIRE_LAYOUT(kFrench);
  ExpectLayoutNames(kFrench);
  ExpectIsoKey(kFrench);
}

TEST(UkLayout, PictureKeysRoundTrip) {
  REQUIRE_LAYOUT(kUk);
  ExpectPictureKeysRoundTrip(kUk);
}
TEST(UkLayout, KeysCarryTheLayoutsNames) {
  REQUIRE_LAYOUT(kUk);
  ExpectLayoutNames(kUk);
  ExpectIsoKey(kUk);
}

}  // namespace
}  // namespace quencfg
