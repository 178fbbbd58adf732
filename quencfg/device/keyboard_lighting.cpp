#include "quencfg/device/keyboard_lighting.h"

#include <algorithm>
#include <iterator>

namespace quencfg {

bool SameKeyboardLighting(const LightingSettings& a, const LightingSettings& b) noexcept {
  return a.byLightEffect == b.byLightEffect && a.byLightBright == b.byLightBright && a.byLightSpeed == b.byLightSpeed &&
         a.byLightColor == b.byLightColor && a.byLightColorType == b.byLightColorType &&
         std::equal(std::begin(a.keyColors.coLightRGB), std::end(a.keyColors.coLightRGB),
                    std::begin(b.keyColors.coLightRGB));
}

bool KeyboardLighting::Holds(const LightingSettings& lighting) const noexcept {
  return held_.has_value() && SameKeyboardLighting(*held_, lighting);
}

}  // namespace quencfg
