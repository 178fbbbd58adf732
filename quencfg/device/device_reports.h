#pragma once
// The keyboard's reports: every output is a feature report of 8 bytes whose byte 0 is
// the report ID. Data blocks travel in numbered packets of 6 bytes.
#include <array>
#include <cstdint>
#include <span>

#include "quencfg/model/settings_block.h"

namespace quencfg {

inline constexpr std::uint8_t REPORT_ID_COMMAND = 0x0A;
inline constexpr std::uint8_t REPORT_ID_KEYMAP = 0x0B;
inline constexpr std::uint8_t REPORT_ID_MACRO = 0x0C;
inline constexpr std::uint8_t REPORT_ID_INPUT = 0x0D;

// Byte 1 of a command report.
inline constexpr std::uint8_t COMMAND_END_OF_UPDATE = 0x03;
inline constexpr std::uint8_t COMMAND_KEYMAP_FOLLOWS = 0x04;
inline constexpr std::uint8_t COMMAND_MACRO_FOLLOWS = 0x05;
inline constexpr std::uint8_t COMMAND_LIGHTING = 0x0A;
inline constexpr std::uint8_t COMMAND_EFFECT_COLOR = 0x0B;
inline constexpr std::uint8_t COMMAND_KEY_COLOR = 0x0C;
inline constexpr std::uint8_t COMMAND_RESET = 0x0F;

// Byte 1 of the input report that asks for a program launch.
inline constexpr std::uint8_t INPUT_EVENT_KEY = 0x05;

inline constexpr std::size_t FEATURE_REPORT_LENGTH = 8;
inline constexpr std::size_t PACKET_PAYLOAD = 6;

inline constexpr std::size_t KEYMAP_BLOCK_SIZE = 138;  // 120 cells + 18 zero bytes
inline constexpr int KEYMAP_PACKET_COUNT = 23;
inline constexpr std::size_t MACRO_BLOCK_SIZE = 246;
inline constexpr int MACRO_PACKET_COUNT = 41;
static_assert(KEYMAP_BLOCK_SIZE == KEYMAP_PACKET_COUNT * PACKET_PAYLOAD);
static_assert(MACRO_BLOCK_SIZE == MACRO_PACKET_COUNT * PACKET_PAYLOAD);

// Key map codes with a meaning of their own.
inline constexpr std::uint8_t KEYCODE_NONE = 0x00;
inline constexpr std::uint8_t KEYCODE_MACRO = 0xCD;
inline constexpr std::uint8_t KEYCODE_LAUNCH = 0xFE;

using FeatureReport = std::array<std::uint8_t, FEATURE_REPORT_LENGTH>;
using KeyMapBlock = std::array<std::uint8_t, KEYMAP_BLOCK_SIZE>;
using MacroBlock = std::array<std::uint8_t, MACRO_BLOCK_SIZE>;

FeatureReport ResetReport() noexcept;
FeatureReport EndOfUpdateReport() noexcept;
FeatureReport KeyMapFollowsReport() noexcept;
// Byte 3 is the cell plus 1, kept to 8 bits.
FeatureReport MacroFollowsReport(std::uint8_t cell) noexcept;
FeatureReport LightingReport(const LightingSettings& lighting) noexcept;
FeatureReport EffectColorReport(std::uint32_t color) noexcept;
FeatureReport KeyColorReport(std::uint8_t cell, std::uint32_t color) noexcept;

// The colour mode byte of the lighting command: the profile's mode for the effects
// that use one, 7 for all others.
std::uint8_t LightingColorMode(std::uint8_t effect, std::uint8_t colorType) noexcept;

// Packet `number` (1-based) of a block: report ID, number, then block bytes
// 6 x (number - 1) .. 6 x (number - 1) + 5. A number past the block gives zero bytes.
FeatureReport BlockPacket(std::uint8_t reportId, int number, std::span<const std::uint8_t> block) noexcept;

}  // namespace quencfg
