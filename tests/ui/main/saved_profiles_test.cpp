#include "quencfg/ui/main/saved_profiles.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>

#include "quencfg/framework/text.h"
#include "support/factory_settings.h"

namespace quencfg {
namespace {

using testing::FactorySettings;

TEST(SavedProfiles, EveryEditOfKeysOrLightingMarksTheProfileAndAnUndoneEditDoesNot) {
  const struct {
    const char* what;
    std::function<void(ProfileData&)> edit;
    bool unsaved;
  } cases[] = {
      {"nothing", [](ProfileData&) {}, false},
      {"a key's function", [](ProfileData& p) { p.keys[3].byBtnFuncType = BTNFUNC_DISABLE; }, true},
      {"the last key's code", [](ProfileData& p) { p.keys[KEY_COUNT - 1].byKeyNumber ^= 1; }, true},
      {"a program path", [](ProfileData& p) { CopyToField(p.keys[7].launch, u"C:\\x.exe"); }, true},
      {"a macro name", [](ProfileData& p) { CopyToField(p.keys[8].MacroName, u"Combo"); }, true},
      {"a repeat count", [](ProfileData& p) { p.keys[9].repeatTime = 3; }, true},
      {"the effect", [](ProfileData& p) { p.lighting.byLightEffect ^= 1; }, true},
      {"a key color", [](ProfileData& p) { p.lighting.keyColors.coLightRGB[5] = 0x123456; }, true},
      {"the layer's name", [](ProfileData& p) { CopyToField(p.lighting.keyColors.layerName, u"mine"); }, true},
      {"an edit undone",
       [](ProfileData& p) {
         p.keys[0].byKeyNumber ^= 0xFF;
         p.keys[0].byKeyNumber ^= 0xFF;
       },
       false},
      {"padding bytes only",
       [](ProfileData& p) {
         auto* bytes = reinterpret_cast<unsigned char*>(&p.lighting);
         bytes[3] ^= 0xFF;  // between the speed and the effect color
       },
       false},
  };
  const auto loaded = FactorySettings();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    SavedProfiles saved;
    saved.RememberAll(*loaded);
    auto edited = std::make_unique<ProfileData>(loaded->profiles[1]);
    c.edit(*edited);
    EXPECT_EQ(saved.Unsaved(1, *edited), c.unsaved);
    EXPECT_FALSE(saved.Unsaved(0, loaded->profiles[0]));
    saved.Remember(1, *edited);
    EXPECT_FALSE(saved.Unsaved(1, *edited)) << "saved: no longer marked";
  }
}

TEST(SavedProfiles, EachProfileKeepsItsOwnStateAndOutOfRangeIndexesAreNeverMarked) {
  const auto loaded = FactorySettings();
  SavedProfiles saved;
  saved.RememberAll(*loaded);
  EXPECT_TRUE(saved.Unsaved(0, loaded->profiles[1])) << "profile 2's content is not profile 1's file";
  EXPECT_FALSE(saved.Unsaved(-1, loaded->profiles[0]));
  EXPECT_FALSE(saved.Unsaved(PROFILE_COUNT, loaded->profiles[0]));
  saved.Remember(PROFILE_COUNT, loaded->profiles[0]);  // ignored
  EXPECT_FALSE(saved.Unsaved(2, loaded->profiles[2]));
}

}  // namespace
}  // namespace quencfg
