#include "quencfg/ui/main/sent_lighting.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "quencfg/framework/text.h"
#include "support/factory_settings.h"

namespace quencfg {
namespace {

using testing::FactorySettings;

TEST(SentLighting, EveryValueTheKeyboardReceivesCountsAsAChange) {
  const struct {
    const char* what;
    std::function<void(LightingSettings&)> edit;
    bool unsent;
  } cases[] = {
      {"nothing", [](LightingSettings&) {}, false},
      {"effect", [](LightingSettings& l) { l.byLightEffect = static_cast<std::uint8_t>(l.byLightEffect + 1); }, true},
      {"brightness", [](LightingSettings& l) { l.byLightBright = static_cast<std::uint8_t>(l.byLightBright ^ 1); },
       true},
      {"speed", [](LightingSettings& l) { l.byLightSpeed = static_cast<std::uint8_t>(l.byLightSpeed ^ 1); }, true},
      {"effect color", [](LightingSettings& l) { l.byLightColor ^= 0x010000; }, true},
      {"color mode",
       [](LightingSettings& l) { l.byLightColorType = static_cast<std::uint8_t>(l.byLightColorType ^ 1); }, true},
      {"first key color", [](LightingSettings& l) { l.keyColors.coLightRGB[0] ^= 0x00FF00; }, true},
      {"last key color", [](LightingSettings& l) { l.keyColors.coLightRGB[KEY_COUNT - 1] = 0x123456; }, true},
      {"an edit undone",
       [](LightingSettings& l) {
         l.byLightColor ^= 0xFF;
         l.byLightColor ^= 0xFF;
       },
       false},
      {"the layer's name, which is never sent",
       [](LightingSettings& l) { CopyToField(l.keyColors.layerName, u"mine"); }, false},
  };
  const auto loaded = FactorySettings();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    SentLighting sent;
    sent.RememberAll(*loaded);
    auto edited = std::make_unique<SettingsBlock>(*loaded);
    c.edit(edited->profiles[1].lighting);
    EXPECT_EQ(sent.Unsent(1, edited->profiles[1].lighting), c.unsent);
    EXPECT_FALSE(sent.Unsent(0, edited->profiles[0].lighting)) << "the other profiles are untouched";
    EXPECT_FALSE(sent.Unsent(2, edited->profiles[2].lighting));
    sent.Remember(1, edited->profiles[1].lighting);
    EXPECT_FALSE(sent.Unsent(1, edited->profiles[1].lighting)) << "once sent, the same lighting is not sent again";
  }
}

TEST(SentLighting, EachProfileIsComparedWithWhatWasSentOfItself) {
  const auto loaded = FactorySettings();
  ASSERT_FALSE(SameKeyboardLighting(loaded->profiles[0].lighting, loaded->profiles[1].lighting))
      << "the factory profiles differ in their lighting";
  SentLighting sent;
  sent.RememberAll(*loaded);
  // A profile that is made current and applied unchanged asks for no lighting: only an
  // edit does.
  for (int index = 0; index < PROFILE_COUNT; ++index) {
    EXPECT_FALSE(sent.Unsent(index, loaded->profiles[index].lighting)) << index;
  }
  EXPECT_TRUE(sent.Unsent(1, loaded->profiles[0].lighting));

  // An index outside the profiles has never been sent.
  for (int index : {-1, PROFILE_COUNT}) EXPECT_TRUE(sent.Unsent(index, loaded->profiles[0].lighting)) << index;
  sent.Remember(PROFILE_COUNT, loaded->profiles[0].lighting);
  EXPECT_FALSE(sent.Unsent(2, loaded->profiles[2].lighting)) << "remembering outside the profiles changes none";
}

}  // namespace
}  // namespace quencfg
