// The lighting panel on real windows, with the shipped skin, in a parent as large as
// the main window: which controls each effect shows, the effects menu, color picks,
// key colors, sliders, presets, the typed color fields and the keys it discards.
#include "quencfg/ui/lighting/lighting_dlg_win.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "lighting_panel_host_win.h"
#include "quencfg/model/number_text.h"
#include "quencfg/ui/skin/skin_documents.h"

namespace quencfg {
namespace {

using testing::ClickControl;
using testing::Drawing;
using testing::LabelDrawn;
using testing::LightingPanelTest;
using testing::PumpMessages;

bool Visible(HWND window) { return window != nullptr && ::IsWindowVisible(window) != FALSE; }


TEST_F(LightingPanelTest, CreatedHiddenAtTheCornerAndShapedByTheShippedMask) {
  MakePanel();
  EXPECT_FALSE(Visible(panel->hwnd()));
  RECT rect{};
  ::GetWindowRect(panel->hwnd(), &rect);
  EXPECT_EQ(rect.left, 0);
  EXPECT_EQ(rect.top, 0);
  EXPECT_EQ(rect.right, testing::kMainWidth);
  EXPECT_EQ(rect.bottom, testing::kMainHeight);

  EXPECT_EQ(maskNotices, 0) << "the shipped mask never gives the error message";
  EXPECT_TRUE(panel->shapedByMask());
  OwnedRegion region(::CreateRectRgn(0, 0, 0, 0));
  ASSERT_EQ(::GetWindowRgn(panel->hwnd(), region.get()), SIMPLEREGION) << "one rectangle";
  EXPECT_TRUE(::PtInRegion(region.get(), 600, 300)) << "the keyboard area";
  for (POINT outside : {POINT{100, 300}, POINT{600, 20}, POINT{900, 630}}) {
    EXPECT_FALSE(::PtInRegion(region.get(), outside.x, outside.y))
        << "the main window's own buttons stay free at " << outside.x << "," << outside.y;
  }
}

TEST_F(LightingPanelTest, ControlsAndLabelsFollowTheEffect) {
  MakePanel();
  ShowPanel();
  struct Case {
    int effect;
    bool brightness, speed, presets, colorLabel, custom;
    bool effectColor = false;  // the R, G, B fields and the swatch: the color sent
  };
  const Case cases[] = {
      {0, true, true, true, false, false},    {1, false, true, true, true, false},
      {2, true, true, true, true, false},     {3, true, true, false, false, false},
      {7, true, true, true, true, false},     {8, true, true, false, false, false},
      {9, true, true, false, false, false},   {14, true, true, true, true, false},
      {16, true, false, true, true, false, true}, {17, true, true, true, true, false},
      {18, true, true, false, false, false},  {19, true, false, false, false, true, true},
      {20, true, true, true, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.effect);
    panel->SelectEffect(c.effect);
    EXPECT_EQ(lighting().byLightEffect, c.effect);
    EXPECT_EQ(panel->currentEffect(), c.effect);
    EXPECT_EQ(Visible(panel->brightnessSlider().hwnd()), c.brightness);
    EXPECT_EQ(Visible(panel->speedSlider().hwnd()), c.speed);
    for (int i = 0; i < kPresetCount; ++i) EXPECT_EQ(Visible(panel->preset(i).hwnd()), c.presets) << i;
    for (int i = 0; i < kComponentCount; ++i) {
      EXPECT_EQ(Visible(panel->colorField(static_cast<ColorComponent>(i)).hwnd()), c.effectColor) << i;
    }
    EXPECT_EQ(Visible(panel->swatch().hwnd()), c.effectColor);
    EXPECT_EQ(Visible(panel->keyButton(0).hwnd()), c.custom);
    EXPECT_EQ(Visible(panel->keyButton(62).hwnd()), c.custom);

    const Drawing drawing(panel->hwnd());
    // Without a brightness row the speed row takes its place: its label is drawn there.
    const bool speedRisen = c.speed && !c.brightness;
    EXPECT_EQ(LabelDrawn(drawing, u"BRIGHTNESS"), c.brightness || speedRisen);
    EXPECT_EQ(LabelDrawn(drawing, u"SPEED"), c.speed && !speedRisen);
    EXPECT_EQ(LabelDrawn(drawing, u"COLOR"), c.colorLabel);
    EXPECT_EQ(LabelDrawn(drawing, u"COLORCUSTOM"), c.custom);
    EXPECT_EQ(LabelDrawn(drawing, u"TXG"), c.effectColor);

  }
}

TEST_F(LightingPanelTest, EffectButtonNamesTheEffect) {
  MakePanel();
  ShowPanel();
  panel->SelectEffect(0);
  EXPECT_EQ(panel->effectButton().caption(), StringDocument().Lookup(u"LIGHT_STRING", u"LIGHT_EFFECT_1"));
  panel->SelectEffect(19);
  EXPECT_EQ(panel->effectButton().caption(), StringDocument().Lookup(u"LIGHT_STRING", u"LIGHT_EFFECT_20"));
  EXPECT_FALSE(panel->effectButton().caption().empty());
  panel->SelectEffect(20);
  EXPECT_EQ(panel->effectButton().caption(), u"") << "an effect above 19 has no name";
}

TEST_F(LightingPanelTest, RefreshAfterALanguageChangeRenamesTheEffect) {
  lighting().byLightEffect = 3;
  MakePanel();
  ShowPanel();
  const std::u16string english = panel->effectButton().caption();
  StringDocument().Load(testing::StagedAppFolder() + u"Languages\\ES\\Strings.xml");
  panel->RefreshLighting();
  const std::u16string spanish = StringDocument().Lookup(u"LIGHT_STRING", u"LIGHT_EFFECT_4");
  EXPECT_EQ(panel->effectButton().caption(), spanish);
  EXPECT_NE(spanish, english);
}

TEST_F(LightingPanelTest, EffectsMenuOffersTwelveEffectsAndPicksOne) {
  MakePanel();
  ShowPanel();
  ClickControl(panel->effectButton().hwnd());
  CBtnMenu* menu = panel->effectsMenu();
  ASSERT_NE(menu, nullptr);
  std::vector<int> ids;
  for (const BMPMENUINFO& item : menu->items()) ids.push_back(item.itemId);
  EXPECT_EQ(ids, (std::vector<int>{1, 2, 3, 8, 9, 10, 11, 12, 13, 15, 16, 18}));
  EXPECT_EQ(std::u16string(menu->items()[0].itemText),
            StringDocument().Lookup(u"LIGHT_STRING", u"LIGHT_EFFECT_2"));
  EXPECT_EQ(menu->visibleRows(), 6);
  EXPECT_TRUE(Visible(menu->scrollBar().hwnd())) << "12 items in six rows";
  RECT button{};
  RECT placed{};
  ::GetWindowRect(panel->effectButton().hwnd(), &button);
  ::GetWindowRect(menu->hwnd(), &placed);
  EXPECT_EQ(placed.left, button.left);
  EXPECT_EQ(placed.top, button.bottom);

  // Scroll to the second page (effects 11 .. 18) and pick effect 16 in row 4.
  ::SendMessageW(menu->hwnd(), WM_VSCROLL, SB_PAGEDOWN, 0);
  ASSERT_EQ(menu->firstVisible(), 6);
  ClickControl(menu->row(4).hwnd());
  EXPECT_EQ(panel->effectsMenu(), nullptr) << "a pick closes the menu";
  EXPECT_EQ(panel->currentEffect(), 16);
  EXPECT_EQ(lighting().byLightEffect, 16);
  EXPECT_FALSE(Visible(panel->speedSlider().hwnd()));
  EXPECT_TRUE(Visible(panel->preset(0).hwnd()));
}

TEST_F(LightingPanelTest, ClickThatClosesTheMenuDoesNothingElse) {
  MakePanel();
  ShowPanel();
  const std::uint8_t mode = lighting().byLightColorType;
  ClickControl(panel->effectButton().hwnd());
  ASSERT_NE(panel->effectsMenu(), nullptr);
  ClickControl(panel->preset(6).hwnd());
  EXPECT_EQ(panel->effectsMenu(), nullptr);
  EXPECT_EQ(lighting().byLightColorType, mode);
  ClickControl(panel->effectButton().hwnd());
  ASSERT_NE(panel->effectsMenu(), nullptr);
  ClickPanel(POINT{600, 300});
  EXPECT_EQ(panel->effectsMenu(), nullptr) << "a click on the panel closes it too";
  // A pick message with a command number of 21 or more selects nothing.
  panel->SelectEffect(2);
  ::SendMessageW(panel->hwnd(), 0x10001, 0, MAKELPARAM(0, 21));
  EXPECT_EQ(panel->currentEffect(), 2);
}

// Under the effects without a color field, a click where the field would be picks
// nothing: the fields, when they show again, show the profile's color.
TEST_F(LightingPanelTest, PicksSetTheEffectColorUnderEffects16And19Only) {
  MakePanel();
  ShowPanel();
  const RECT field = panel->customColorRect();
  const POINT at{field.left + 40, field.top + 60};
  std::map<int, COLORREF> paintedUnder;
  for (int effect : {2, 16, 19, 3}) {
    SCOPED_TRACE(effect);
    lighting().byLightColor = 0x123456;
    panel->SelectEffect(effect);
    const std::uint32_t pickedBefore = panel->pickedColor();
    const std::u16string greenBefore = panel->colorField(kComponentGreen).Text();
    const COLORREF painted = Drawing(panel->hwnd()).At(at.x, at.y);
    paintedUnder[effect] = painted;
    ASSERT_GE(painted, 350u) << "the test needs a point that is not black";
    ClickPanel(at);
    const bool takes = effect == 16 || effect == 19;
    EXPECT_EQ(panel->pickedColor(), takes ? painted : pickedBefore) << "the pick reads what the panel paints";
    EXPECT_EQ(lighting().byLightColor, takes ? painted : 0x123456u);
    EXPECT_EQ(panel->colorField(kComponentGreen).Text(), takes ? FormatDecimal(GetGValue(painted)) : greenBefore);
  }
  // The color field is painted only under the effects where a pick sends its color.
  EXPECT_EQ(paintedUnder[16], paintedUnder[19]);
  EXPECT_NE(paintedUnder[2], paintedUnder[16]);
  EXPECT_EQ(paintedUnder[2], paintedUnder[3]);
}

TEST_F(LightingPanelTest, PickOutsideTheFieldChangesNothing) {
  MakePanel();
  ShowPanel();
  panel->SelectEffect(16);
  const std::uint32_t picked = panel->pickedColor();
  const RECT field = panel->customColorRect();
  ClickPanel(POINT{field.left - 3, field.top + 10});
  ClickPanel(POINT{600, 200});
  EXPECT_EQ(panel->pickedColor(), picked);
  EXPECT_EQ(lighting().byLightColor, FactoryLightColor(0));
}

TEST_F(LightingPanelTest, KeyColorButtonsToggleBetweenPickedColorAndOff) {
  lighting().byLightEffect = 19;
  lighting().byLightColor = 0x00FF00;
  lighting().keyColors.coLightRGB[7] = 0x0000FF;
  MakePanel();
  ShowPanel();
  ASSERT_EQ(panel->pickedColor(), 0x00FF00u);
  CColorBtn2& key = panel->keyButton(5);
  ClickControl(key.hwnd(), 20, 20);
  EXPECT_EQ(lighting().keyColors.coLightRGB[5], 0x00FF00u);
  EXPECT_EQ(key.tint().green, 255);
  ClickControl(key.hwnd(), 20, 20);
  EXPECT_EQ(lighting().keyColors.coLightRGB[5], 0u);
  EXPECT_EQ(key.tint().green, 0);
  ClickControl(panel->keyButton(7).hwnd(), 20, 20);
  EXPECT_EQ(lighting().keyColors.coLightRGB[7], 0x00FF00u) << "another color becomes the picked one";
  EXPECT_EQ(lighting().byLightColor, 0x00FF00u);
  ClickControl(panel->swatch().hwnd());
  EXPECT_EQ(lighting().byLightColor, 0x00FF00u) << "the swatch does nothing";
}

TEST_F(LightingPanelTest, RefreshShowsTheProfile) {
  lighting().byLightEffect = 19;
  lighting().byLightBright = 1;
  lighting().byLightSpeed = 3;
  lighting().byLightColorType = 6;
  lighting().byLightColor = 0x204080;
  lighting().keyColors.coLightRGB[0] = 0xFF0000;
  MakePanel();
  ShowPanel();
  EXPECT_EQ(panel->pickedColor(), 0x204080u);
  EXPECT_EQ(panel->brightnessSlider().position(), 1);
  EXPECT_EQ(panel->speedSlider().position(), 3);
  for (int i = 0; i < kPresetCount; ++i) EXPECT_EQ(panel->preset(i).selected(), i == 6) << i;
  EXPECT_EQ(panel->keyButton(0).tint().blue, 255);
  EXPECT_EQ(panel->keyButton(1).tint().blue, 0);
  EXPECT_EQ(panel->colorField(kComponentRed).Text(), u"128");
  EXPECT_EQ(panel->colorField(kComponentGreen).Text(), u"64");
  EXPECT_EQ(panel->colorField(kComponentBlue).Text(), u"32");
  EXPECT_EQ(panel->swatch().tint().red, 0x80);
  EXPECT_EQ(lighting().byLightColor, 0x204080u) << "a refresh changes nothing";
}

TEST_F(LightingPanelTest, SlidersSetBrightnessAndSpeed) {
  MakePanel();
  ShowPanel();
  CPngHSliderBar& bright = panel->brightnessSlider();
  RECT track{};
  ::GetClientRect(bright.hwnd(), &track);
  ClickControl(bright.hwnd(), track.right - 1, track.bottom / 2);
  EXPECT_EQ(lighting().byLightBright, 4);
  EXPECT_EQ(bright.position(), 4);
  ClickControl(panel->speedSlider().hwnd(), 1, track.bottom / 2);
  EXPECT_EQ(lighting().byLightSpeed, 0);
  EXPECT_EQ(panel->speedSlider().position(), 0);
  // Only the two sliders' identifiers move anything; positions stay in range.
  EXPECT_EQ(::SendMessageW(panel->hwnd(), kSliderMovedMessage, 3, 12345), 1);
  ::SendMessageW(panel->hwnd(), kSliderMovedMessage, 9, kBrightnessSliderId);
  EXPECT_EQ(lighting().byLightBright, 4);
  EXPECT_EQ(lighting().byLightSpeed, 0);
}

TEST_F(LightingPanelTest, PresetsSetTheColorModeOnly) {
  MakePanel();
  ShowPanel();
  const std::uint32_t color = lighting().byLightColor;
  for (int i : {5, 0, 7}) {
    ClickControl(panel->preset(i).hwnd());
    EXPECT_EQ(lighting().byLightColorType, i);
    for (int j = 0; j < kPresetCount; ++j) EXPECT_EQ(panel->preset(j).selected(), j == i) << i << " " << j;
  }
  EXPECT_EQ(lighting().byLightColor, color);
  EXPECT_EQ(lighting().byLightEffect, 3);
}

void TypeInto(HWND field, std::wstring_view text) {
  ::SendMessageW(field, EM_SETSEL, 0, -1);
  for (wchar_t c : text) ::SendMessageW(field, WM_CHAR, c, 1);
  PumpMessages();
}

RECT PlaceInPanel(HWND control, HWND panel) {
  RECT rect{};
  ::GetWindowRect(control, &rect);
  ::MapWindowPoints(HWND_DESKTOP, panel, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

TEST_F(LightingPanelTest, TheBreathingEffectLeavesNoGapWhereTheBrightnessWas) {
  MakePanel();
  ShowPanel();
  const SkinRect brightness = LayoutDocument().LookupRect(u"LIGHTING", u"SLIDER_BRIGHT");
  const SkinRect speed = LayoutDocument().LookupRect(u"LIGHTING", u"SLIDER_SPEED");
  panel->SelectEffect(1);
  ASSERT_FALSE(Visible(panel->brightnessSlider().hwnd()));
  RECT placed = PlaceInPanel(panel->speedSlider().hwnd(), panel->hwnd());
  EXPECT_EQ(placed.top, brightness.top) << "the speed slider moves up into the brightness row";
  EXPECT_EQ(placed.left, speed.left);
  Drawing drawing(panel->hwnd());
  EXPECT_TRUE(LabelDrawn(drawing, u"BRIGHTNESS")) << "the speed label, in the row above";
  EXPECT_FALSE(LabelDrawn(drawing, u"SPEED")) << "no label left below";
  // A drag on the moved slider still sets the speed.
  RECT track{};
  ::GetClientRect(panel->speedSlider().hwnd(), &track);
  ClickControl(panel->speedSlider().hwnd(), track.right - 1, track.bottom / 2);
  EXPECT_EQ(lighting().byLightSpeed, 4);

  panel->SelectEffect(2);
  placed = PlaceInPanel(panel->speedSlider().hwnd(), panel->hwnd());
  EXPECT_EQ(placed.top, speed.top) << "back in its own row beside the brightness";
  drawing = Drawing(panel->hwnd());
  EXPECT_TRUE(LabelDrawn(drawing, u"BRIGHTNESS"));
  EXPECT_TRUE(LabelDrawn(drawing, u"SPEED"));
}

int MarkedPresetOf(CLightingDlg& panel) {
  int marked = -1;
  for (int i = 0; i < kPresetCount; ++i) {
    if (!panel.preset(i).selected()) continue;
    EXPECT_EQ(marked, -1) << "two presets marked";
    marked = i;
  }
  return marked;
}

TEST_F(LightingPanelTest, UnderTheSingleColorOnlyThePresetOfTheColorInUseIsMarked) {
  lighting().byLightEffect = 16;
  lighting().byLightColorType = 2;
  lighting().byLightColor = 0x204080;
  MakePanel();
  ShowPanel();
  EXPECT_EQ(MarkedPresetOf(*panel), -1) << "the color sent is none of the presets";

  ClickControl(panel->preset(4).hwnd());
  EXPECT_EQ(MarkedPresetOf(*panel), 4);
  EXPECT_EQ(lighting().byLightColorType, 4);
  EXPECT_EQ(lighting().byLightColor, kPresetColors[4]) << "the preset is the color sent";
  EXPECT_EQ(panel->colorField(kComponentRed).Text(), FormatDecimal(kPresetColors[4] & 0xFF));
  EXPECT_EQ(static_cast<int>(panel->swatch().tint().blue), static_cast<int>((kPresetColors[4] >> 16) & 0xFF));

  TypeInto(panel->colorField(kComponentRed).hwnd(), L"1");
  EXPECT_EQ(MarkedPresetOf(*panel), -1) << "a typed color of its own";
  ClickControl(panel->preset(7).hwnd());
  EXPECT_EQ(MarkedPresetOf(*panel), 7);
  const RECT field = panel->customColorRect();
  ClickPanel(POINT{field.left + 40, field.top + 60});
  ASSERT_NE(lighting().byLightColor, kPresetColors[7]);
  EXPECT_EQ(MarkedPresetOf(*panel), -1) << "a picked color of its own";

  // Where the presets alone say the color, the chosen one stays marked.
  panel->SelectEffect(2);
  EXPECT_EQ(MarkedPresetOf(*panel), 7);
}

TEST_F(LightingPanelTest, TypedColorFieldsChangeThePickedColor) {
  lighting().byLightEffect = 19;
  lighting().byLightColor = 0x000000;
  MakePanel();
  ShowPanel();
  TypeInto(panel->colorField(kComponentRed).hwnd(), L"200");
  EXPECT_EQ(panel->pickedColor(), 0x0000C8u);
  EXPECT_EQ(lighting().byLightColor, 0x0000C8u);
  EXPECT_EQ(panel->swatch().tint().red, 200);
  TypeInto(panel->colorField(kComponentBlue).hwnd(), L"7");
  EXPECT_EQ(lighting().byLightColor, 0x0700C8u);
  TypeInto(panel->colorField(kComponentGreen).hwnd(), L"999");
  EXPECT_EQ(lighting().byLightColor, 0x07FFC8u);
  EXPECT_EQ(panel->colorField(kComponentGreen).Text(), u"255") << "the field says what was taken";
  // Emptying a field keeps the color; a key click then uses the typed color.
  ::SetWindowTextW(panel->colorField(kComponentRed).hwnd(), L"");
  PumpMessages();
  EXPECT_EQ(lighting().byLightColor, 0x07FFC8u);
  ClickControl(panel->keyButton(3).hwnd(), 20, 20);
  EXPECT_EQ(lighting().keyColors.coLightRGB[3], 0x07FFC8u);
}

TEST_F(LightingPanelTest, EnterEscapeAndSpaceAreDiscarded) {
  MakePanel();
  ShowPanel();
  auto keyDown = [](HWND target, WPARAM key) { return MSG{target, WM_KEYDOWN, key, 0, 0, {}}; };
  for (WPARAM key : {WPARAM{VK_RETURN}, WPARAM{VK_ESCAPE}, WPARAM{VK_SPACE}}) {
    for (HWND target : {panel->hwnd(), panel->colorField(kComponentRed).hwnd(), panel->preset(0).hwnd()}) {
      MSG message = keyDown(target, key);
      EXPECT_TRUE(panel->PreTranslateMessage(message)) << key;
    }
    MSG elsewhere = keyDown(host.hwnd(), key);
    EXPECT_FALSE(panel->PreTranslateMessage(elsewhere)) << "not the panel's";
  }
  // Other keys reach the field through the dialog key handling.
  CClrEdit& red = panel->colorField(kComponentRed);
  red.SetText(u"");
  MSG digit{red.hwnd(), WM_KEYDOWN, '5', 1, 0, {}};
  ::SetFocus(red.hwnd());
  if (!panel->PreTranslateMessage(digit)) {
    ::TranslateMessage(&digit);
    ::DispatchMessageW(&digit);
  }
  PumpMessages();
  EXPECT_EQ(red.Text(), u"5");
}

TEST_F(LightingPanelTest, TheSingleColorEffectShowsTheColorItSendsAndEachPickUpdatesIt) {
  lighting().byLightEffect = 16;
  lighting().byLightColor = 0x204080;
  MakePanel();
  ShowPanel();
  EXPECT_EQ(panel->colorField(kComponentRed).Text(), u"128");
  EXPECT_EQ(panel->colorField(kComponentGreen).Text(), u"64");
  EXPECT_EQ(panel->colorField(kComponentBlue).Text(), u"32");
  EXPECT_EQ(panel->swatch().tint().red, 0x80);
  EXPECT_EQ(panel->swatch().tint().blue, 0x20);

  const RECT field = panel->customColorRect();
  const POINT at{field.left + 40, field.top + 60};
  const COLORREF painted = Drawing(panel->hwnd()).At(at.x, at.y);
  ClickPanel(at);
  ASSERT_EQ(lighting().byLightColor, painted);
  EXPECT_EQ(panel->colorField(kComponentRed).Text(), FormatDecimal(GetRValue(painted)));
  EXPECT_EQ(panel->swatch().tint().red, GetRValue(painted)) << "the swatch follows the pick at once";

  TypeInto(panel->colorField(kComponentGreen).hwnd(), L"7");
  EXPECT_EQ(panel->swatch().tint().green, 7);
  EXPECT_EQ((lighting().byLightColor >> 8) & 0xFF, 7u) << "what is typed is sent";
}

TEST_F(LightingPanelTest, TheEffectsMenuChecksTheCurrentEffect) {
  MakePanel();
  ShowPanel();
  for (const int effect : {2, 16, 19}) {
    SCOPED_TRACE(effect);
    panel->SelectEffect(effect);
    ClickControl(panel->effectButton().hwnd());
    ASSERT_NE(panel->effectsMenu(), nullptr);
    int checked = 0;
    for (const BMPMENUINFO& item : panel->effectsMenu()->items()) {
      EXPECT_EQ(item.itemChecked, item.itemId == effect) << item.itemId;
      checked += item.itemChecked ? 1 : 0;
    }
    EXPECT_EQ(checked, effect == 19 ? 0 : 1) << "effect 19 is not in the menu";
    const CBtnMenu& menu = *panel->effectsMenu();
    for (int index = 0; index < static_cast<int>(menu.items().size()); ++index) {
      if (!menu.items()[static_cast<std::size_t>(index)].itemChecked) continue;
      EXPECT_GE(index, menu.firstVisible()) << "the current effect's row is in view";
      EXPECT_LT(index, menu.firstVisible() + menu.visibleRows()) << "the current effect's row is in view";
    }
    panel->CloseEffectsMenu();
  }
}

TEST_F(LightingPanelTest, UnderThePerKeyEffectAnOffKeyIsDarkerThanALitOne) {
  lighting().byLightEffect = 19;
  lighting().byLightColor = 0xFFFFFF;
  lighting().keyColors.coLightRGB[16] = 0xFFFFFF;  // W lit white
  lighting().keyColors.coLightRGB[18] = 0x0000FF;  // R lit red
  MakePanel();
  ShowPanel();
  const auto brightness = [&](int slot) {
    const Drawing drawing(panel->keyButton(slot).hwnd());
    const COLORREF c = drawing.At(8, drawing.height() - 8);
    return GetRValue(c) + GetGValue(c) + GetBValue(c);
  };
  EXPECT_TRUE(panel->keyButton(17).dimmed());
  EXPECT_FALSE(panel->keyButton(16).dimmed());
  EXPECT_LT(brightness(17) * 2, brightness(16)) << "E is off";
  const Drawing redKey(panel->keyButton(18).hwnd());
  const COLORREF red = redKey.At(8, redKey.height() - 8);
  EXPECT_GT(int{GetRValue(red)}, int{GetGValue(red)} + 60) << "a lit key shows its color";

  ClickControl(panel->keyButton(16).hwnd(), 20, 20);  // the picked white again: off
  EXPECT_TRUE(panel->keyButton(16).dimmed());
  ClickControl(panel->keyButton(17).hwnd(), 20, 20);
  EXPECT_FALSE(panel->keyButton(17).dimmed());
}

TEST_F(LightingPanelTest, FocusingAColorFieldSelectsItsDigitsSoTypingReplacesThem) {
  lighting().byLightEffect = 19;
  lighting().byLightColor = 0x0000C8;  // red 200
  MakePanel();
  ShowPanel();
  HWND red = panel->colorField(kComponentRed).hwnd();
  ::SetFocus(panel->hwnd());
  ::SetFocus(red);  // by the Tab key or a click
  DWORD start = 0, end = 0;
  ::SendMessageW(red, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, 3u);
  ::SendMessageW(red, WM_CHAR, L'9', 1);
  PumpMessages();
  EXPECT_EQ(panel->colorField(kComponentRed).Text(), u"9");
  EXPECT_EQ(lighting().byLightColor, 0x000009u);

  // A click that brings the focus selects as well; a second click places the caret.
  HWND green = panel->colorField(kComponentGreen).hwnd();
  panel->colorField(kComponentGreen).SetText(u"123");
  testing::SendMouse(green, WM_LBUTTONDOWN, 4, 4, MK_LBUTTON);
  testing::SendMouse(green, WM_LBUTTONUP, 4, 4);
  ::SendMessageW(green, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(end - start, 3u);
}

}  // namespace
}  // namespace quencfg
