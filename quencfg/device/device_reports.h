#pragma once
// The keyboard's reports: every output is a feature report of 8 bytes whose byte 0 is
// the report ID. Data blocks travel in numbered packets of 6 bytes.
#include <array>
#include <cstdint>
#include <span>

#include "quencfg/model/settings_block.h"

namespace quencfg {

inline constexpr std::uint8_t kReportIdCommand = 0x0A;
inline constexpr std::uint8_t kReportIdKeymap = 0x0B;
inline constexpr std::uint8_t kReportIdMacro = 0x0C;
inline constexpr std::uint8_t kReportIdInput = 0x0D;

// Byte 1 of a command report.
inline constexpr std::uint8_t kCommandEndOfUpdate = 0x03;
inline constexpr std::uint8_t kCommandKeymapFollows = 0x04;
inline constexpr std::uint8_t kCommandMacroFollows = 0x05;
inline constexpr std::uint8_t kCommandLighting = 0x0A;
inline constexpr std::uint8_t kCommandEffectColor = 0x0B;
inline constexpr std::uint8_t kCommandKeyColor = 0x0C;
inline constexpr std::uint8_t kCommandReset = 0x0F;

// Byte 1 of the input report that asks for a program launch.
inline constexpr std::uint8_t kInputEventKey = 0x05;

inline constexpr std::size_t kFeatureReportLength = 8;
inline constexpr std::size_t kPacketPayload = 6;

inline constexpr std::size_t kKeymapBlockSize = 138;  // 120 cells + 18 zero bytes
inline constexpr int kKeymapPacketCount = 23;
inline constexpr std::size_t kMacroBlockSize = 246;
inline constexpr int kMacroPacketCount = 41;
static_assert(kKeymapBlockSize == kKeymapPacketCount * kPacketPayload);
static_assert(kMacroBlockSize == kMacroPacketCount * kPacketPayload);

// Key map codes with a meaning of their own.
inline constexpr std::uint8_t kKeycodeNone = 0x00;
inline constexpr std::uint8_t kKeycodeMacro = 0xCD;
inline constexpr std::uint8_t kKeycodeLaunch = 0xFE;

using FeatureReport = std::array<std::uint8_t, kFeatureReportLength>;
using KeyMapBlock = std::array<std::uint8_t, kKeymapBlockSize>;
using MacroBlock = std::array<std::uint8_t, kMacroBlockSize>;

FeatureReport ResetReport() noexcept;
FeatureReport EndOfUpdateReport() noexcept;
FeatureReport KeyMapFollowsReport() noexcept;
// Byte 3 is the cell plus 1, kept to 8 bits.
FeatureReport MacroFollowsReport(std::uint8_t cell) noexcept;
FeatureReport LightingReport(const LightingSettings& lighting) noexcept;
FeatureReport EffectColorReport(std::uint32_t color) noexcept;
FeatureReport KeyColorReport(std::uint8_t cell, std::uint32_t color) noexcept;

// The color mode byte of the lighting command: the profile's mode for the effects
// that use one, 7 for all others.
std::uint8_t LightingColorMode(std::uint8_t effect, std::uint8_t colorType) noexcept;

// Packet `number` (1-based) of a block: report ID, number, then block bytes
// 6 x (number - 1) .. 6 x (number - 1) + 5. A number past the block gives zero bytes.
FeatureReport BlockPacket(std::uint8_t reportId, int number, std::span<const std::uint8_t> block) noexcept;

}  // namespace quencfg
