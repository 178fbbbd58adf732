#include "quencfg/ui/lighting/lighting_editor.h"

#include <gtest/gtest.h>

#include <memory>

#include "quencfg/ui/lighting/lighting_rules.h"

namespace quencfg {
namespace {

struct EditorFixture {
  std::unique_ptr<ProfileData> profile = std::make_unique<ProfileData>();
  LightingEditor editor;
  EditorFixture() {
    NormalizeProfile(*profile, true, 0);
    editor.SetProfile(profile.get());
  }
  LightingSettings& lighting() { return profile->lighting; }
};

TEST(LightingEditor, StartsWithRedPickedAndTakesTheProfileColorOnRefresh) {
  EditorFixture f;
  EXPECT_EQ(f.editor.pickedColor(), 0x0000FFu);
  f.lighting().byLightColor = 0x335577;
  f.editor.TakeProfileColor();
  EXPECT_EQ(f.editor.pickedColor(), 0x335577u);
}

// Only effects 16 and 19 show the color field: elsewhere a pick or a typed color is
// not taken at all, so that the fields, once shown, show the profile's color.
TEST(LightingEditor, PicksAndTypedColorsActOnlyUnderTheEffectsThatShowTheField) {
  for (int effect : {0, 3, 15, 16, 17, 18, 19, 20}) {
    SCOPED_TRACE(effect);
    EditorFixture f;
    f.editor.SelectEffect(effect);
    EXPECT_EQ(f.lighting().byLightEffect, effect);
    const std::uint32_t before = f.lighting().byLightColor;
    const std::uint32_t pickedBefore = f.editor.pickedColor();
    const bool shown = effect == 16 || effect == 19;
    EXPECT_EQ(f.editor.ShowsColorField(), shown);
    EXPECT_EQ(f.editor.Pick(0x00C080), shown);
    EXPECT_EQ(f.editor.pickedColor(), shown ? 0x00C080u : pickedBefore);
    EXPECT_EQ(f.lighting().byLightColor, shown ? 0x00C080u : before);
    EXPECT_EQ(f.editor.TakeTypedColor(0x000010), shown);
    EXPECT_EQ(f.lighting().byLightColor, shown ? 0x000010u : before);
  }
}

TEST(LightingEditor, AnEffectThatShowsTheFieldShowsTheProfilesColor) {
  EditorFixture f;
  f.editor.SelectEffect(19);
  ASSERT_TRUE(f.editor.Pick(0x00C080));
  f.editor.SelectEffect(2);
  f.lighting().byLightColor = 0x204080;  // e.g. an import while the field was hidden
  f.editor.SelectEffect(16);
  EXPECT_EQ(f.editor.pickedColor(), 0x204080u);
  EXPECT_EQ(f.lighting().byLightColor, 0x204080u);
}

TEST(LightingEditor, DarkPixelsAndFailedReadsChangeNothing) {
  EditorFixture f;
  f.editor.SelectEffect(19);
  f.lighting().byLightColor = 0x0000FF;
  f.editor.TakeProfileColor();
  for (std::uint32_t pixel : {0x000000u, 0x00015Du, 0xFFFFFFFFu}) {
    EXPECT_FALSE(f.editor.Pick(pixel)) << pixel;
    EXPECT_EQ(f.editor.pickedColor(), 0x0000FFu);
    EXPECT_EQ(f.lighting().byLightColor, 0x0000FFu);
  }
  EXPECT_TRUE(f.editor.Pick(0x00015E));
  EXPECT_EQ(f.lighting().byLightColor, 0x00015Eu);
}

TEST(LightingEditor, TypedColorIsTakenEvenWhenDark) {
  EditorFixture f;
  f.editor.SelectEffect(19);
  f.editor.TakeTypedColor(0x000010);
  EXPECT_EQ(f.editor.pickedColor(), 0x000010u);
  EXPECT_EQ(f.lighting().byLightColor, 0x000010u);
}

TEST(LightingEditor, KeysToggleBetweenPickedColorAndOff) {
  EditorFixture f;
  f.editor.SelectEffect(19);
  ASSERT_TRUE(f.editor.Pick(0x00FF00));
  std::uint32_t* keys = f.lighting().keyColors.coLightRGB;
  keys[7] = 0x0000FF;
  EXPECT_EQ(f.editor.ToggleKey(3), 0x00FF00u);
  EXPECT_EQ(keys[3], 0x00FF00u);
  EXPECT_EQ(f.editor.ToggleKey(3), 0u);
  EXPECT_EQ(keys[3], 0u);
  EXPECT_EQ(f.editor.ToggleKey(7), 0x00FF00u) << "another color is replaced, not switched off";
  EXPECT_EQ(f.editor.ToggleKey(110), 0x00FF00u);
  EXPECT_EQ(f.editor.ToggleKey(111), 0u) << "past the last slot";
  EXPECT_EQ(f.editor.ToggleKey(-1), 0u);
}

TEST(LightingEditor, SlidersAndPresetsStayInRange) {
  EditorFixture f;
  const std::uint32_t color = f.lighting().byLightColor;
  f.editor.SetBrightness(4);
  f.editor.SetSpeed(0);
  f.editor.SetColorMode(7);
  EXPECT_EQ(f.lighting().byLightBright, 4);
  EXPECT_EQ(f.lighting().byLightSpeed, 0);
  EXPECT_EQ(f.lighting().byLightColorType, 7);
  EXPECT_EQ(f.lighting().byLightColor, color) << "a preset leaves the color alone";
  f.editor.SetBrightness(9);
  f.editor.SetSpeed(-3);
  f.editor.SetColorMode(8);
  EXPECT_EQ(f.lighting().byLightBright, 4);
  EXPECT_EQ(f.lighting().byLightSpeed, 0);
  EXPECT_EQ(f.lighting().byLightColorType, 7);
}

TEST(LightingEditor, UnderTheSingleColorAPresetIsTheColorSentUntilAnotherIsTyped) {
  EditorFixture f;
  f.editor.SelectEffect(16);
  f.editor.SetColorMode(2);
  EXPECT_EQ(f.lighting().byLightColorType, 2);
  EXPECT_EQ(f.lighting().byLightColor, kPresetColors[2]) << "the fields and the keyboard show the preset";
  EXPECT_EQ(f.editor.pickedColor(), kPresetColors[2]);
  EXPECT_EQ(f.editor.markedPreset(), 2);
  f.editor.TakeTypedColor(0x102030);
  EXPECT_EQ(f.editor.markedPreset(), -1) << "a typed color of its own unmarks the preset";
  f.editor.TakeTypedColor(kPresetColors[2]);
  EXPECT_EQ(f.editor.markedPreset(), 2);
  f.editor.SelectEffect(2);
  EXPECT_EQ(f.editor.markedPreset(), 2);
}

TEST(LightingEditor, WithoutAProfileNothingIsWritten) {
  LightingEditor editor;
  editor.SelectEffect(19);
  EXPECT_TRUE(editor.Pick(0x00FF00));
  EXPECT_EQ(editor.pickedColor(), 0x00FF00u);
  EXPECT_EQ(editor.ToggleKey(0), 0u);
  editor.SetBrightness(3);
  editor.TakeProfileColor();
  EXPECT_EQ(editor.pickedColor(), 0x00FF00u);
}

}  // namespace
}  // namespace quencfg
