#include "quencfg/model/settings_block.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "quencfg/framework/text.h"

namespace quencfg {
namespace {

std::unique_ptr<SettingsBlock> ZeroBlock() {
  auto block = std::make_unique<SettingsBlock>();
  std::memset(block.get(), 0, sizeof *block);
  return block;
}

TEST(SettingsBlockLayout, SizesAreTheFlatRecordSizes) {
  EXPECT_EQ(sizeof(KeySlot), 628u);
  EXPECT_EQ(sizeof(LightingSettings), 556u);
  EXPECT_EQ(sizeof(ProfileData), 70264u);
  EXPECT_EQ(sizeof(SettingsBlock), 210796u);
}

TEST(ClearSettings, GivesDefaultsAndZeroProfiles) {
  auto block = ZeroBlock();
  std::memset(block.get(), 0xAB, sizeof *block);
  ClearSettings(*block);
  EXPECT_EQ(block->Plug, 0);
  EXPECT_EQ(block->Profile, 0);
  EXPECT_EQ(block->Language, 108);
  auto zero = ZeroBlock();
  EXPECT_EQ(std::memcmp(block->profiles, zero->profiles, sizeof block->profiles), 0);
}

struct SettingsCase {
  int language, profile;
  int wantLanguage, wantProfile;
};

TEST(NormalizeSettings, RangeTable) {
  const SettingsCase cases[] = {
      {100, 0, 108, 0}, {101, 1, 101, 1}, {131, 2, 131, 2}, {132, 3, 108, 0},
      {0, 255, 108, 0}, {255, 0, 108, 0}, {108, 2, 108, 2},
  };
  for (const auto& c : cases) {
    auto block = ZeroBlock();
    block->Plug = 7;
    block->Language = static_cast<std::uint8_t>(c.language);
    block->Profile = static_cast<std::uint8_t>(c.profile);
    NormalizeSettings(*block);
    EXPECT_EQ(block->Language, c.wantLanguage) << "language " << c.language;
    EXPECT_EQ(block->Profile, c.wantProfile) << "profile " << c.profile;
    EXPECT_EQ(block->Plug, 7) << "Plug is never touched";
  }
}

struct LightingCase {
  const char* name;
  std::uint8_t effect, bright, speed, colorType;
  std::uint32_t color;
  int index;
  std::uint8_t wantEffect, wantBright, wantSpeed, wantColorType;
  std::uint32_t wantColor;
};

TEST(NormalizeProfile, WithoutResetRepairsOnlyOutOfRangeLighting) {
  const LightingCase cases[] = {
      {"all valid maxima kept", 20, 4, 4, 8, 0xFFFFFF, 0, 20, 4, 4, 8, 0xFFFFFF},
      {"zero profile unchanged", 0, 0, 0, 0, 0, 2, 0, 0, 0, 0, 0},
      {"effect and color of index 1", 21, 4, 1, 1, 0x1000000, 1, 3, 4, 1, 1, 0x0000FF},
      {"color of index 2", 1, 1, 1, 1, 0xFFFFFFFF, 2, 1, 1, 1, 1, 0xFF0000},
      {"color of index 0", 1, 1, 1, 1, 0x1000000, 0, 1, 1, 1, 1, 0xFFFFFF},
      {"brightness, speed, mode", 0, 5, 255, 9, 0, 0, 0, 2, 2, 2, 0},
  };
  for (const auto& c : cases) {
    ProfileData profile{};
    profile.keys[5].byBtnFuncType = 466;
    CopyToField(profile.keys[5].launch, u"C:\\x.exe");
    profile.lighting.keyColors.coLightRGB[7] = 0x123456;
    LightingSettings& l = profile.lighting;
    l.byLightEffect = c.effect, l.byLightBright = c.bright, l.byLightSpeed = c.speed;
    l.byLightColorType = c.colorType, l.byLightColor = c.color;

    NormalizeProfile(profile, false, c.index);

    EXPECT_EQ(l.byLightEffect, c.wantEffect) << c.name;
    EXPECT_EQ(l.byLightBright, c.wantBright) << c.name;
    EXPECT_EQ(l.byLightSpeed, c.wantSpeed) << c.name;
    EXPECT_EQ(l.byLightColorType, c.wantColorType) << c.name;
    EXPECT_EQ(l.byLightColor, c.wantColor) << c.name;
    EXPECT_EQ(profile.keys[5].byBtnFuncType, 466) << c.name;
    EXPECT_EQ(FieldText(profile.keys[5].launch), u"C:\\x.exe") << c.name;
    EXPECT_EQ(l.keyColors.coLightRGB[7], 0x123456u) << c.name;
    EXPECT_EQ(l.keyColors.layerName[0], 0) << c.name;
  }
}

TEST(NormalizeProfile, ResetGivesFactoryStateOfEachIndex) {
  const std::uint32_t factoryColors[] = {0xFFFFFF, 0x0000FF, 0xFF0000};
  for (int index = 0; index < PROFILE_COUNT; ++index) {
    ProfileData profile;
    std::memset(&profile, 0x5A, sizeof profile);
    NormalizeProfile(profile, true, index);

    const LightingSettings& l = profile.lighting;
    EXPECT_EQ(l.byLightEffect, 3);
    EXPECT_EQ(l.byLightBright, 2);
    EXPECT_EQ(l.byLightSpeed, 2);
    EXPECT_EQ(l.byLightColorType, 2);
    EXPECT_EQ(l.byLightColor, factoryColors[index]);
    EXPECT_EQ(FieldText(l.keyColors.layerName), u"DEFAULT");
    for (int k = 0; k < KEY_COUNT; ++k) {
      EXPECT_EQ(l.keyColors.coLightRGB[k], 0u);
      const KeySlot& slot = profile.keys[k];
      EXPECT_EQ(slot.byBtnFuncType, BTNFUNC_DEFAULT);
      EXPECT_EQ(slot.launch[0], 0);
      EXPECT_EQ(slot.MacroName[0], 0);
      EXPECT_EQ(slot.repeatTime, 0);
      EXPECT_EQ(slot.byKeyNumber, 0);
    }
    // The layer name's tail is cleared too, so saved blocks are deterministic.
    for (int i = 7; i < kLayerNameCapacity; ++i) EXPECT_EQ(l.keyColors.layerName[i], 0);
  }
}

}  // namespace
}  // namespace quencfg
