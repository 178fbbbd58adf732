#include "quencfg/ui/lighting/lighting_rules.h"

#include <gtest/gtest.h>

#include <vector>

#include "quencfg/ui/lighting/color_fields.h"

namespace quencfg {
namespace {

TEST(LightingRules, ControlsShownForEachEffect) {
  // brightness, speed, presets, color label, custom color, effect color (the color sent)
  const LightingControls table[] = {
      /* 0 */ {true, true, true, false, false},   /* 1 */ {false, true, true, true, false},
      /* 2 */ {true, true, true, true, false},    /* 3 */ {true, true, false, false, false},
      /* 4 */ {true, true, true, false, false},   /* 5 */ {true, true, true, false, false},
      /* 6 */ {true, true, true, false, false},   /* 7 */ {true, true, true, true, false},
      /* 8 */ {true, true, false, false, false},  /* 9 */ {true, true, false, false, false},
      /* 10 */ {true, true, true, true, false},   /* 11 */ {true, true, true, true, false},
      /* 12 */ {true, true, true, true, false},   /* 13 */ {true, true, true, true, false},
      /* 14 */ {true, true, true, true, false},   /* 15 */ {true, true, true, true, false},
      /* 16 */ {true, false, true, true, false, true},  /* 17 */ {true, true, true, true, false},
      /* 18 */ {true, true, false, false, false}, /* 19 */ {true, false, false, false, true, true},
      /* 20 */ {true, true, true, false, false},
  };
  for (int effect = 0; effect <= 20; ++effect) {
    SCOPED_TRACE(effect);
    EXPECT_EQ(ShownControls(effect), table[effect]);
  }
  EXPECT_EQ(ShownControls(255), table[20]) << "an unknown effect shows what effect 0 shows";
}

TEST(LightingRules, APresetIsMarkedOnlyWhileItsColorIsTheOneInUse) {
  struct Case {
    const char* what;
    int effect;
    std::uint8_t colorType;
    std::uint32_t effectColor;
    int marked;
  };
  const Case cases[] = {
      {"presets alone: the chosen one", 2, 3, 0x123456, 3},
      {"presets alone, a mode beyond them", 2, 8, 0x123456, -1},
      {"presets hidden keep the chosen one", 3, 3, 0x123456, 3},
      {"single color of the chosen preset", 16, 3, kPresetColors[3], 3},
      {"single color typed or picked apart", 16, 3, 0x123456, -1},
      {"single color of another preset", 16, 3, kPresetColors[5], 5},
      {"single color with a mode beyond them", 16, 8, kPresetColors[0], 0},
      {"per key: presets hidden", 19, 3, 0x123456, 3},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MarkedPreset(c.effect, c.colorType, c.effectColor), c.marked) << c.what;
  }
}

TEST(LightingRules, AHiddenBrightnessRowGivesItsPlaceToTheSpeedRow) {
  EXPECT_EQ(SpeedRowRise(ShownControls(1), 498, 558), 60) << "breathing: no brightness";
  EXPECT_EQ(SpeedRowRise(ShownControls(2), 498, 558), 0);
  EXPECT_EQ(SpeedRowRise(ShownControls(16), 498, 558), 0) << "no speed row to move";
  EXPECT_EQ(SpeedRowRise(ShownControls(1), 558, 498), 0) << "a skin with the rows the other way round";
}

TEST(LightingRules, MenuOffersTwelveEffectsWithoutThePerKeyOne) {
  const std::vector<int> menu(MenuEffects().begin(), MenuEffects().end());
  EXPECT_EQ(menu, (std::vector<int>{1, 2, 3, 8, 9, 10, 11, 12, 13, 15, 16, 18}));
}

TEST(LightingRules, EffectNamesAreOneBasedAndEndAt19) {
  EXPECT_EQ(EffectNameKey(0), u"LIGHT_EFFECT_1");
  EXPECT_EQ(EffectNameKey(16), u"LIGHT_EFFECT_17");
  EXPECT_EQ(EffectNameKey(19), u"LIGHT_EFFECT_20");
  EXPECT_EQ(EffectNameKey(20), u"");
  EXPECT_EQ(EffectNameKey(-1), u"");
}

TEST(LightingRules, PickedPixels) {
  struct Case {
    std::uint32_t pixel;
    bool taken;
  };
  const Case cases[] = {
      {0x000000, false}, {0x00015D, false},  // 349: the dark frame
      {0x00015E, true},  {0xFFFFFF, true},
      // The rule compares the number: pure red (255) counts as dark; it can be typed.
      {0x0000FF, false}, {0x000200, true},
      {0xFFFFFFFF, false},  // a failed pixel read
      {0x01000000, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pixel);
    EXPECT_EQ(IsPickablePixel(c.pixel), c.taken);
  }
}

TEST(LightingRules, KeyClickTogglesBetweenPickedColorAndOff) {
  EXPECT_EQ(ToggledKeyColor(0, 0x00FF00), 0x00FF00u);
  EXPECT_EQ(ToggledKeyColor(0x00FF00, 0x00FF00), 0u);
  EXPECT_EQ(ToggledKeyColor(0x0000FF, 0x00FF00), 0x00FF00u);
  EXPECT_EQ(ToggledKeyColor(0x0000FF, 0), 0u) << "nothing picked switches keys off";
}

TEST(LightingRules, OnlyTheOneColorEffectsTakeThePick) {
  for (int effect = 0; effect <= 20; ++effect) {
    EXPECT_EQ(PickSetsEffectColor(effect), effect == 16 || effect == 19) << effect;
  }
}

TEST(ColorFields, ComponentsFollowTheColorValueLayout) {
  const std::uint32_t color = 0x123456;  // blue 0x12, green 0x34, red 0x56
  EXPECT_EQ(ComponentOf(color, kComponentRed), 0x56);
  EXPECT_EQ(ComponentOf(color, kComponentGreen), 0x34);
  EXPECT_EQ(ComponentOf(color, kComponentBlue), 0x12);
  EXPECT_EQ(ComponentText(color, kComponentRed), u"86");
  EXPECT_EQ(WithComponent(color, kComponentGreen, 0xFF), 0x12FF56u);
  EXPECT_EQ(WithComponent(0xFFFFFF, kComponentBlue, 0), 0x00FFFFu);
  EXPECT_EQ(WithComponent(0, kComponentRed, 7), 7u);
}

TEST(ColorFields, TypedText) {
  struct Case {
    std::u16string text;
    std::optional<std::uint8_t> value;
  };
  const Case cases[] = {
      {u"0", 0},          {u"7", 7},           {u"042", 42},       {u"255", 255},
      {u"256", 255},      {u"999", 255},       {u"", std::nullopt}, {u"1a", std::nullopt},
      {u"-1", std::nullopt}, {u" 12", std::nullopt}, {u"1234", std::nullopt},
      {u"\uFF11", std::nullopt},  // a full-width digit is not one of ours
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.text.begin(), c.text.end()));
    EXPECT_EQ(ParseComponentField(c.text), c.value);
  }
}

}  // namespace
}  // namespace quencfg
