// The key cell table and the default key map against the documented tables, row by
// row, so that a swapped or mistyped row fails here and not on a user's keyboard.
#include "quencfg/device/key_cells.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <sstream>

namespace quencfg {
namespace {

struct DocumentedKey {
  int slot;
  int row;
  int column;
  int cell;
  int defaultCode;
  const char* key;
};

// The documented table of the 63 slots that have a key.
constexpr DocumentedKey kDocumentedKeys[] = {
    {0, 1, 1, 21, 0x29, "Escape"},
    {1, 1, 2, 22, 0x1E, "1"},
    {2, 1, 3, 23, 0x1F, "2"},
    {3, 1, 4, 24, 0x20, "3"},
    {4, 1, 5, 25, 0x21, "4"},
    {5, 1, 6, 26, 0x22, "5"},
    {6, 1, 7, 27, 0x23, "6"},
    {7, 1, 8, 28, 0x24, "7"},
    {8, 1, 9, 29, 0x25, "8"},
    {9, 1, 10, 30, 0x26, "9"},
    {10, 1, 11, 31, 0x27, "0"},
    {11, 1, 12, 32, 0x2D, "minus"},
    {12, 1, 13, 33, 0x2E, "equals"},
    {13, 1, 15, 35, 0x2A, "Backspace"},
    {14, 2, 1, 41, 0x2B, "Tab"},
    {15, 2, 2, 42, 0x14, "Q"},
    {16, 2, 3, 43, 0x1A, "W"},
    {17, 2, 4, 44, 0x08, "E"},
    {18, 2, 5, 45, 0x15, "R"},
    {19, 2, 6, 46, 0x17, "T"},
    {20, 2, 7, 47, 0x1C, "Y"},
    {21, 2, 8, 48, 0x18, "U"},
    {22, 2, 9, 49, 0x0C, "I"},
    {23, 2, 10, 50, 0x12, "O"},
    {24, 2, 11, 51, 0x13, "P"},
    {25, 2, 12, 52, 0x2F, "left bracket"},
    {26, 2, 13, 53, 0x30, "right bracket"},
    {27, 2, 15, 55, 0x31, "backslash"},
    {28, 3, 1, 61, 0x39, "Caps Lock"},
    {29, 3, 2, 62, 0x04, "A"},
    {30, 3, 3, 63, 0x16, "S"},
    {31, 3, 4, 64, 0x07, "D"},
    {32, 3, 5, 65, 0x09, "F"},
    {33, 3, 6, 66, 0x0A, "G"},
    {34, 3, 7, 67, 0x0B, "H"},
    {35, 3, 8, 68, 0x0D, "J"},
    {36, 3, 9, 69, 0x0E, "K"},
    {37, 3, 10, 70, 0x0F, "L"},
    {38, 3, 11, 71, 0x33, "semicolon"},
    {39, 3, 12, 72, 0x34, "apostrophe"},
    {40, 3, 15, 75, 0x28, "Enter"},
    {41, 4, 1, 81, 0xE1, "Left Shift"},
    {42, 4, 3, 83, 0x1D, "Z"},
    {43, 4, 4, 84, 0x1B, "X"},
    {44, 4, 5, 85, 0x06, "C"},
    {45, 4, 6, 86, 0x19, "V"},
    {46, 4, 7, 87, 0x05, "B"},
    {47, 4, 8, 88, 0x11, "N"},
    {48, 4, 9, 89, 0x10, "M"},
    {49, 4, 10, 90, 0x36, "comma"},
    {50, 4, 11, 91, 0x37, "period"},
    {51, 4, 12, 92, 0x38, "slash"},
    {52, 4, 15, 95, 0xE5, "Right Shift"},
    {53, 5, 1, 101, 0xE0, "Left Control"},
    {54, 5, 3, 103, 0xE3, "Left GUI"},
    {55, 5, 4, 104, 0xE2, "Left Alt"},
    {56, 5, 6, 106, 0x2C, "Space"},
    {57, 5, 11, 111, 0xE6, "Right Alt"},
    {58, 5, 12, 112, 0xAC, "the keyboard's own code"},
    {59, 5, 13, 113, 0x65, "Application"},
    {60, 5, 15, 115, 0xE4, "Right Control"},
    {61, 3, 13, 73, 0x32, "non-US number sign"},
    {62, 4, 2, 82, 0x64, "non-US backslash"},
};

// The documented default key map, row by row, columns 0 to 19.
constexpr const char* kDocumentedKeyMapRows[kKeyRows] = {
    "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00",
    "00 29 1E 1F 20 21 22 23 24 25 26 27 2D 2E 00 2A 00 00 00 00",
    "00 2B 14 1A 08 15 17 1C 18 0C 12 13 2F 30 00 31 00 00 00 00",
    "00 39 04 16 07 09 0A 0B 0D 0E 0F 33 34 32 00 28 00 00 00 00",
    "00 E1 64 1D 1B 06 19 05 11 10 36 37 38 00 00 E5 00 00 00 00",
    "00 E0 00 E3 E2 00 2C 00 00 00 00 E6 AC 65 00 E4 00 00 00 00",
};

std::array<int, kKeyColumns> HexRow(const char* text) {
  std::array<int, kKeyColumns> row{};
  std::istringstream in(text);
  for (int& value : row) in >> std::hex >> value;
  return row;
}

TEST(DocumentedKeyCells, EveryKeySlotHasItsDocumentedRowColumnAndCell) {
  ASSERT_EQ(std::size(kDocumentedKeys), static_cast<std::size_t>(kKeyboardKeyCount));
  for (const DocumentedKey& key : kDocumentedKeys) {
    SCOPED_TRACE(::testing::Message() << "slot " << key.slot << " (" << key.key << ")");
    const KeyCell cell = KeyCellTable[static_cast<std::size_t>(key.slot)];
    EXPECT_EQ(cell.row, key.row);
    EXPECT_EQ(cell.column, key.column);
    EXPECT_EQ(SlotCell(key.slot), key.cell);
    EXPECT_EQ(FindSlotOfCell(static_cast<std::uint8_t>(key.cell)), key.slot);
  }
}

TEST(DocumentedKeyCells, SlotsWithoutAKeyHoldCellZero) {
  for (int slot = kKeyboardKeyCount; slot < KEY_COUNT; ++slot) {
    const KeyCell cell = KeyCellTable[static_cast<std::size_t>(slot)];
    EXPECT_EQ(cell.row, 0) << "slot " << slot;
    EXPECT_EQ(cell.column, 0) << "slot " << slot;
  }
}

TEST(DocumentedKeyCells, EveryKeySendsItsDocumentedDefaultCode) {
  for (const DocumentedKey& key : kDocumentedKeys) {
    EXPECT_EQ(DefaultKeyMap[static_cast<std::size_t>(key.cell)], key.defaultCode)
        << "slot " << key.slot << " (" << key.key << ")";
  }
}

TEST(DocumentedKeyCells, DefaultKeyMapIsTheDocumentedMapCellByCell) {
  for (int row = 0; row < kKeyRows; ++row) {
    const std::array<int, kKeyColumns> documented = HexRow(kDocumentedKeyMapRows[row]);
    for (int column = 0; column < kKeyColumns; ++column) {
      EXPECT_EQ(DefaultKeyMap[static_cast<std::size_t>(row * kKeyColumns + column)], documented[column])
          << "row " << row << ", column " << column;
    }
  }
}

}  // namespace
}  // namespace quencfg
