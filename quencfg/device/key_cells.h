#pragma once
// The keyboard's key matrix: 6 rows of 20 columns, cell = row x 20 + column. The
// tables tie each key slot of a profile to its cell and give every cell's factory code.
#include <array>
#include <cstdint>
#include <optional>

#include "quencfg/model/settings_block.h"

namespace quencfg {

inline constexpr int kKeyRows = 6;
inline constexpr int kKeyColumns = 20;
inline constexpr int kKeyCellCount = kKeyRows * kKeyColumns;  // 120
inline constexpr int kKeyboardKeyCount = 63;                   // slots 0..62 have a key

// Cell 0 (row 0, column 0) carries no key; slots without a key point at it.
inline constexpr std::uint8_t kNoKeyCell = 0;

struct KeyCell {
  std::uint8_t row;
  std::uint8_t column;
};

// Key slot -> matrix position; slots 63..110 hold (0, 0).
extern const std::array<KeyCell, KEY_COUNT> KeyCellTable;

// Cell -> the code the key sends when nothing changes it.
extern const std::array<std::uint8_t, kKeyCellCount> DefaultKeyMap;

constexpr std::uint8_t CellNumber(KeyCell cell) noexcept {
  return static_cast<std::uint8_t>(cell.row * kKeyColumns + cell.column);
}

// The cell of a key slot; kNoKeyCell for a slot outside 0..110.
std::uint8_t SlotCell(int slot) noexcept;

// The first slot, in slot order, whose cell is `cell`; none for cell 0 and for cells
// without a key, so that a stray key event never picks a keyless slot.
std::optional<int> FindSlotOfCell(std::uint8_t cell) noexcept;

}  // namespace quencfg
