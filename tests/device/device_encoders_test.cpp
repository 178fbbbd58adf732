// The key tables, the 8-byte reports and the two data blocks, byte for byte.
#include <gtest/gtest.h>

#include <memory>
#include <set>

#include "quencfg/device/device_blocks.h"
#include "quencfg/device/device_reports.h"
#include "quencfg/device/key_cells.h"
#include "quencfg/framework/text.h"

namespace quencfg {
namespace {

std::unique_ptr<ProfileData> ZeroProfile() { return std::make_unique<ProfileData>(); }

FeatureReport Bytes(std::initializer_list<int> bytes) {
  FeatureReport report{};
  std::size_t i = 0;
  for (int b : bytes) report[i++] = static_cast<std::uint8_t>(b);
  return report;
}

TEST(KeyCellTable, KeysHaveDistinctCellsWithTheirDefaultCodes) {
  std::set<int> cells;
  for (int slot = 0; slot < kKeyboardKeyCount; ++slot) {
    const KeyCell cell = KeyCellTable[static_cast<std::size_t>(slot)];
    EXPECT_GE(cell.row, 1) << slot;
    EXPECT_GE(cell.column, 1) << slot;
    EXPECT_LT(cell.row, kKeyRows) << slot;
    EXPECT_LT(cell.column, kKeyColumns) << slot;
    EXPECT_NE(DefaultKeyMap[SlotCell(slot)], 0) << slot;
    cells.insert(SlotCell(slot));
  }
  EXPECT_EQ(cells.size(), 63u);
  int coded = 0;
  for (std::uint8_t code : DefaultKeyMap) coded += code != 0 ? 1 : 0;
  EXPECT_EQ(coded, 63) << "only the keys' cells carry a default code";
  for (int slot = kKeyboardKeyCount; slot < KEY_COUNT; ++slot) EXPECT_EQ(SlotCell(slot), kNoKeyCell) << slot;
}

TEST(KeyCellTable, KnownKeys) {
  EXPECT_EQ(SlotCell(0), 21);   // Escape
  EXPECT_EQ(DefaultKeyMap[21], 0x29);
  EXPECT_EQ(SlotCell(3), 24);
  EXPECT_EQ(SlotCell(58), 112);
  EXPECT_EQ(DefaultKeyMap[112], 0xAC);
  EXPECT_EQ(SlotCell(61), 73);
  EXPECT_EQ(SlotCell(62), 82);
  EXPECT_EQ(SlotCell(-1), kNoKeyCell);
  EXPECT_EQ(SlotCell(KEY_COUNT), kNoKeyCell);
}

TEST(FindSlotOfCell, KeysAndCellsWithoutKey) {
  EXPECT_EQ(FindSlotOfCell(24), 3);
  EXPECT_EQ(FindSlotOfCell(21), 0);
  EXPECT_EQ(FindSlotOfCell(82), 62);
  for (int cell : {0, 20, 34, 119, 120, 122, 255}) {
    EXPECT_FALSE(FindSlotOfCell(static_cast<std::uint8_t>(cell)).has_value()) << cell;
  }
}

TEST(Reports, CommandsByteForByte) {
  LightingSettings lighting{};
  lighting.byLightEffect = 10;
  lighting.byLightBright = 4;
  lighting.byLightSpeed = 1;
  lighting.byLightColorType = 3;
  const struct {
    const char* name;
    FeatureReport got;
    FeatureReport want;
  } cases[] = {
      {"end of update", EndOfUpdateReport(), Bytes({0x0A, 0x03, 0x01})},
      {"key map follows", KeyMapFollowsReport(), Bytes({0x0A, 0x04, 0x01})},
      {"macro for cell 21", MacroFollowsReport(21), Bytes({0x0A, 0x05, 0x01, 0x16, 0x01})},
      {"macro for cell 0", MacroFollowsReport(0), Bytes({0x0A, 0x05, 0x01, 0x01, 0x01})},
      {"macro for cell 255 wraps", MacroFollowsReport(255), Bytes({0x0A, 0x05, 0x01, 0x00, 0x01})},
      {"lighting", LightingReport(lighting), Bytes({0x0A, 0x0A, 10, 4, 1, 3})},
      {"effect color", EffectColorReport(0x563412), Bytes({0x0A, 0x0B, 0x00, 0x04, 0x12, 0x34, 0x56})},
      {"effect color ignores bits 24-31", EffectColorReport(0xFF0000FF), Bytes({0x0A, 0x0B, 0, 4, 0xFF, 0, 0})},
      {"key color", KeyColorReport(24, 0x0000FF), Bytes({0x0A, 0x0C, 0x00, 24, 0xFF, 0x00, 0x00})},
      {"key color of cell 122", KeyColorReport(122, 0), Bytes({0x0A, 0x0C, 0x00, 122})},
      {"reset", ResetReport(), Bytes({0x0A, 0x0F})},
  };
  for (const auto& c : cases) EXPECT_EQ(c.got, c.want) << c.name;
}

TEST(Reports, LightingColorModeOnlyForEffectsThatUseIt) {
  const std::set<int> usesMode = {1, 2, 7, 10, 11, 12, 13, 14, 15, 16, 17};
  for (int effect = 0; effect <= 255; ++effect) {
    const int want = usesMode.count(effect) ? 3 : 7;
    EXPECT_EQ(LightingColorMode(static_cast<std::uint8_t>(effect), 3), want) << effect;
  }
  LightingSettings lighting{};
  lighting.byLightEffect = 5;
  lighting.byLightColorType = 3;
  EXPECT_EQ(LightingReport(lighting)[5], 7);
}

TEST(Reports, BlockPacketsCarrySixBytesEach) {
  std::array<std::uint8_t, 12> block{};
  for (std::size_t i = 0; i < block.size(); ++i) block[i] = static_cast<std::uint8_t>(0x10 + i);
  EXPECT_EQ(BlockPacket(0x0B, 1, block), Bytes({0x0B, 1, 0x10, 0x11, 0x12, 0x13, 0x14, 0x15}));
  EXPECT_EQ(BlockPacket(0x0C, 2, block), Bytes({0x0C, 2, 0x16, 0x17, 0x18, 0x19, 0x1A, 0x1B}));
  // Past the block, and a number that is not a packet: no block bytes.
  EXPECT_EQ(BlockPacket(0x0C, 3, block), Bytes({0x0C, 3}));
  EXPECT_EQ(BlockPacket(0x0C, 0, block), Bytes({0x0C, 0}));
}

TEST(BuildKeyMap, AllDefaultIsTheDefaultKeyMap) {
  auto profile = ZeroProfile();
  const KeyMapBlock block = BuildKeyMap(*profile);
  for (int cell = 0; cell < kKeyCellCount; ++cell) EXPECT_EQ(block[cell], DefaultKeyMap[cell]) << cell;
  for (std::size_t i = kKeyCellCount; i < block.size(); ++i) EXPECT_EQ(block[i], 0) << i;
}

TEST(BuildKeyMap, EachFunctionSetsItsCode) {
  const struct {
    int slot;
    std::int32_t function;
    std::uint8_t keyNumber;
    int cell;
    std::uint8_t want;
  } cases[] = {
      {14, BTNFUNC_KEY, 0x29, 41, 0x29},
      {0, BTNFUNC_MACRO, 0, 21, kKeycodeMacro},
      {3, BTNFUNC_LAUNCH, 0x05, 24, kKeycodeLaunch},
      {29, BTNFUNC_DISABLE, 0x05, 62, kKeycodeNone},
      {29, BTNFUNC_DEFAULT, 0x05, 62, 0x04},
      {29, 466, 0x05, 62, 0x04},     // a value without a name keeps the default
      {29, -1, 0x05, 62, 0x04},
      {29, BTNFUNC_KEY, 0x00, 62, 0x00},
  };
  for (const auto& c : cases) {
    auto profile = ZeroProfile();
    profile->keys[c.slot].byBtnFuncType = c.function;
    profile->keys[c.slot].byKeyNumber = c.keyNumber;
    const KeyMapBlock block = BuildKeyMap(*profile);
    EXPECT_EQ(block[c.cell], c.want) << "slot " << c.slot << " function " << c.function;
    for (int cell = 0; cell < kKeyCellCount; ++cell) {
      if (cell != c.cell) {
        EXPECT_EQ(block[cell], DefaultKeyMap[cell]) << "slot " << c.slot << " cell " << cell;
      }
    }
  }
}

TEST(BuildKeyMap, KeylessSlotsOnlyTouchCellZeroAndTheLastWins) {
  auto profile = ZeroProfile();
  profile->keys[63].byBtnFuncType = BTNFUNC_MACRO;
  profile->keys[100].byBtnFuncType = BTNFUNC_KEY;
  profile->keys[100].byKeyNumber = 0x42;
  profile->keys[110].byBtnFuncType = 777;  // unknown: changes nothing
  const KeyMapBlock block = BuildKeyMap(*profile);
  EXPECT_EQ(block[0], 0x42);
  for (int cell = 1; cell < kKeyCellCount; ++cell) EXPECT_EQ(block[cell], DefaultKeyMap[cell]) << cell;
}

TEST(BuildKeyMap, KeyFourteenTravelsInPacketSeven) {
  auto profile = ZeroProfile();
  profile->keys[14].byBtnFuncType = BTNFUNC_KEY;
  profile->keys[14].byKeyNumber = 0x29;
  const KeyMapBlock block = BuildKeyMap(*profile);
  EXPECT_EQ(BlockPacket(kReportIdKeymap, 7, block)[7], 0x29);
}

TEST(BuildMacroBlock, RepeatHighByteFirstThenEventsThenZeros) {
  MacroFile macro{};
  macro.Repeat = 258;
  macro.events[0] = MacroEvent{0x80, 0x01, 0x04};
  macro.events[1] = MacroEvent{0x00, 0x14, 0x04};
  macro.events[79] = MacroEvent{0xFF, 0xFE, 0xB9};
  CopyToField(macro.MacroName, u"not sent");
  const MacroBlock block = BuildMacroBlock(macro);
  EXPECT_EQ(block[0], 0x01);
  EXPECT_EQ(block[1], 0x02);
  EXPECT_EQ((std::array<int, 6>{block[2], block[3], block[4], block[5], block[6], block[7]}),
            (std::array<int, 6>{0x80, 0x01, 0x04, 0x00, 0x14, 0x04}));
  EXPECT_EQ(block[239], 0xFF);
  EXPECT_EQ(block[240], 0xFE);
  EXPECT_EQ(block[241], 0xB9);
  for (std::size_t i = 8; i < 239; ++i) EXPECT_EQ(block[i], 0) << i;
  for (std::size_t i = 242; i < block.size(); ++i) EXPECT_EQ(block[i], 0) << i;
}

TEST(BuildMacroBlock, EmptyMacroIsAllZero) {
  const MacroBlock block = BuildMacroBlock(MacroFile{});
  for (std::uint8_t b : block) EXPECT_EQ(b, 0);
}

}  // namespace
}  // namespace quencfg
