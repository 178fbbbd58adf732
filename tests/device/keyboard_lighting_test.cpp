#include "quencfg/device/keyboard_lighting.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "quencfg/framework/text.h"
#include "support/factory_settings.h"

namespace quencfg {
namespace {

using testing::FactorySettings;

TEST(KeyboardLighting, EveryValueTheKeyboardReceivesCountsAsAChange) {
  const struct {
    const char* what;
    std::function<void(LightingSettings&)> edit;
    bool held;
  } cases[] = {
      {"nothing", [](LightingSettings&) {}, true},
      {"effect", [](LightingSettings& l) { l.byLightEffect = static_cast<std::uint8_t>(l.byLightEffect + 1); }, false},
      {"brightness", [](LightingSettings& l) { l.byLightBright = static_cast<std::uint8_t>(l.byLightBright ^ 1); },
       false},
      {"speed", [](LightingSettings& l) { l.byLightSpeed = static_cast<std::uint8_t>(l.byLightSpeed ^ 1); }, false},
      {"effect color", [](LightingSettings& l) { l.byLightColor ^= 0x010000; }, false},
      {"color mode",
       [](LightingSettings& l) { l.byLightColorType = static_cast<std::uint8_t>(l.byLightColorType ^ 1); }, false},
      {"first key color", [](LightingSettings& l) { l.keyColors.coLightRGB[0] ^= 0x00FF00; }, false},
      {"last key color", [](LightingSettings& l) { l.keyColors.coLightRGB[KEY_COUNT - 1] = 0x123456; }, false},
      {"an edit undone",
       [](LightingSettings& l) {
         l.byLightColor ^= 0xFF;
         l.byLightColor ^= 0xFF;
       },
       true},
      {"the layer's name, which is never sent",
       [](LightingSettings& l) { CopyToField(l.keyColors.layerName, u"mine"); }, true},
  };
  const auto loaded = FactorySettings();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    KeyboardLighting keyboard;
    keyboard.Written(loaded->profiles[1].lighting);
    auto edited = std::make_unique<SettingsBlock>(*loaded);
    c.edit(edited->profiles[1].lighting);
    EXPECT_EQ(keyboard.Holds(edited->profiles[1].lighting), c.held);
    keyboard.Written(edited->profiles[1].lighting);
    EXPECT_TRUE(keyboard.Holds(edited->profiles[1].lighting)) << "once written, the same lighting is held";
  }
}

// The keyboard holds one lighting, whichever profile sent it; before any write, and
// after it was forgotten, it holds none that is known.
TEST(KeyboardLighting, OneLightingIsHeldAndNoneIsKnownAtFirstOrAfterForgetting) {
  const auto loaded = FactorySettings();
  const LightingSettings& first = loaded->profiles[0].lighting;
  const LightingSettings& second = loaded->profiles[1].lighting;
  ASSERT_FALSE(SameKeyboardLighting(first, second)) << "the factory profiles differ in their lighting";
  KeyboardLighting keyboard;
  for (int index = 0; index < PROFILE_COUNT; ++index) {
    EXPECT_FALSE(keyboard.Holds(loaded->profiles[index].lighting)) << "unknown at first: " << index;
  }
  keyboard.Written(first);
  EXPECT_TRUE(keyboard.Holds(first));
  EXPECT_FALSE(keyboard.Holds(second)) << "profile 2 was never written";
  keyboard.Written(second);
  EXPECT_FALSE(keyboard.Holds(first)) << "profile 2's lighting replaced profile 1's";
  EXPECT_TRUE(keyboard.Holds(second));
  keyboard.Forget();
  EXPECT_FALSE(keyboard.Holds(second));
}

}  // namespace
}  // namespace quencfg
