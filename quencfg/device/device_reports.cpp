#include "quencfg/device/device_reports.h"

namespace quencfg {
namespace {

FeatureReport Command(std::uint8_t command) noexcept {
  FeatureReport report{};
  report[0] = kReportIdCommand;
  report[1] = command;
  return report;
}

// A color value holds red in its low byte; the keyboard takes red, green, blue.
void PutColor(FeatureReport& report, std::size_t offset, std::uint32_t color) noexcept {
  report[offset] = static_cast<std::uint8_t>(color & 0xFF);
  report[offset + 1] = static_cast<std::uint8_t>((color >> 8) & 0xFF);
  report[offset + 2] = static_cast<std::uint8_t>((color >> 16) & 0xFF);
}

}  // namespace

FeatureReport ResetReport() noexcept { return Command(kCommandReset); }

FeatureReport EndOfUpdateReport() noexcept {
  FeatureReport report = Command(kCommandEndOfUpdate);
  report[2] = 0x01;
  return report;
}

FeatureReport KeyMapFollowsReport() noexcept {
  FeatureReport report = Command(kCommandKeymapFollows);
  report[2] = 0x01;
  return report;
}

FeatureReport MacroFollowsReport(std::uint8_t cell) noexcept {
  FeatureReport report = Command(kCommandMacroFollows);
  report[2] = 0x01;
  report[3] = static_cast<std::uint8_t>(cell + 1);
  report[4] = 0x01;
  return report;
}

std::uint8_t LightingColorMode(std::uint8_t effect, std::uint8_t colorType) noexcept {
  switch (effect) {
    case 1: case 2: case 7: case 10: case 11: case 12: case 13: case 14: case 15: case 16: case 17:
      return colorType;
    default:
      return 7;
  }
}

FeatureReport LightingReport(const LightingSettings& lighting) noexcept {
  FeatureReport report = Command(kCommandLighting);
  report[2] = lighting.byLightEffect;
  report[3] = lighting.byLightBright;
  report[4] = lighting.byLightSpeed;
  report[5] = LightingColorMode(lighting.byLightEffect, lighting.byLightColorType);
  return report;
}

FeatureReport EffectColorReport(std::uint32_t color) noexcept {
  FeatureReport report = Command(kCommandEffectColor);
  report[3] = 4;
  PutColor(report, 4, color);
  return report;
}

FeatureReport KeyColorReport(std::uint8_t cell, std::uint32_t color) noexcept {
  FeatureReport report = Command(kCommandKeyColor);
  report[3] = cell;
  PutColor(report, 4, color);
  return report;
}

FeatureReport BlockPacket(std::uint8_t reportId, int number, std::span<const std::uint8_t> block) noexcept {
  FeatureReport report{};
  report[0] = reportId;
  report[1] = static_cast<std::uint8_t>(number);
  if (number < 1) return report;
  const std::size_t start = static_cast<std::size_t>(number - 1) * kPacketPayload;
  for (std::size_t i = 0; i < kPacketPayload && start + i < block.size(); ++i) {
    report[2 + i] = block[start + i];
  }
  return report;
}

}  // namespace quencfg
