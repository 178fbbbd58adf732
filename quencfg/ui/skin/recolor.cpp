#include "quencfg/ui/skin/recolor.h"

#include <cstring>

namespace quencfg {
namespace {

constexpr int kRecolorThreshold = 15;  // darker colors read as "off": image stays grey

std::uint8_t ScaleFloat(std::uint8_t intensity, std::uint8_t component) noexcept {
  const float scaled = static_cast<float>(intensity) * static_cast<float>(component) / 255.0f;
  return static_cast<std::uint8_t>(scaled);
}

std::uint8_t ScaleInteger(std::uint8_t intensity, std::uint8_t component) noexcept {
  return static_cast<std::uint8_t>(static_cast<unsigned>(intensity) * component / 255u);
}

}  // namespace

RgbColor RgbFromColorValue(std::uint32_t colorValue) noexcept {
  return RgbColor{static_cast<std::uint8_t>(colorValue & 0xFF), static_cast<std::uint8_t>((colorValue >> 8) & 0xFF),
                  static_cast<std::uint8_t>((colorValue >> 16) & 0xFF)};
}

void RecolorMaskFloat(const std::uint8_t* source, std::uint8_t* target, std::size_t pixelCount,
                      RgbColor color) noexcept {
  for (std::size_t i = 0; i < pixelCount; ++i) {
    const std::uint8_t v = source[i * 4];
    std::uint8_t* out = target + i * 4;
    out[0] = ScaleFloat(v, color.blue);
    out[1] = ScaleFloat(v, color.green);
    out[2] = ScaleFloat(v, color.red);
    out[3] = v;
  }
}

void RecolorMaskInteger(const std::uint8_t* source, std::uint8_t* target, std::size_t pixelCount,
                        RgbColor color) noexcept {
  if (source != target) std::memmove(target, source, pixelCount * 4);
  if (color.red + color.green + color.blue <= kRecolorThreshold) return;
  for (std::size_t i = 0; i < pixelCount; ++i) {
    std::uint8_t* out = target + i * 4;
    const std::uint8_t v = out[0];
    if (v == 0) continue;
    out[0] = ScaleInteger(v, color.blue);
    out[1] = ScaleInteger(v, color.green);
    out[2] = ScaleInteger(v, color.red);
    out[3] = v;
  }
}

}  // namespace quencfg
