// From the panel to the keyboard: the profile the panel edited, saved as the main
// window's apply saves it, goes through the device thread's full write to the keyboard
// model. And screenshots of the panel for a few effects.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "device/fake_hid.h"
#include "device/full_write_from_files.h"
#include "device/keyboard_model.h"
#include "lighting_panel_host_win.h"
#include "quencfg/device/device_sync.h"
#include "quencfg/device/key_cells.h"
#include "quencfg/model/number_text.h"
#include "quencfg/model/profile_file.h"
#include "quencfg/model/settings_file.h"
#include "support/data_folder_scope.h"
#include "support/factory_settings.h"
#include "support/fake_pause_clock.h"
#include "support/screenshot_win.h"

namespace quencfg {
namespace {

using testing::ClickControl;
using testing::PickEffectFromMenu;
using testing::KeyboardModel;
using testing::PumpMessages;

// The main window's working settings and the device thread on the other side of the files.
class LightingApply : public testing::LightingPanelTest {
 protected:
  static constexpr int kCurrent = 1;

  void SetUp() override {
    LightingPanelTest::SetUp();
    PrepareDataFolder();
    testing::ResetToFactoryProfiles(*settings);
    settings->Profile = kCurrent;
    machine.AddKeyboard();
    driver.SetLogSink(nullptr);
    ASSERT_GE(driver.OpenDevice(kKorvaneVendorId, kKorvaneProductId), 0);
    MakePanel();
    panel->SetLightingProfile(settings->profiles[kCurrent]);
    ShowPanel();
  }

  LightingSettings& current() { return settings->profiles[kCurrent].lighting; }

  // What the apply button does with the lighting panel visible, then the device
  // thread's answer to the request it posts.
  KeyboardModel ApplyAndWrite() {
    WriteSettings(*settings);
    WriteProfile(settings->profiles[kCurrent], ProfileName(kCurrent), u"");
    return testing::KeyboardAfterFullWriteFromFiles(driver, machine);
  }

  testing::DataFolderScope data;
  std::unique_ptr<SettingsBlock> settings = std::make_unique<SettingsBlock>();
  testing::FakePauseClock clock;
  testing::FakeHidMachine machine{clock};
  CUSBDriver driver{machine.Api(), clock};
};

TEST_F(LightingApply, EffectColorBrightnessSpeedAndModeReachTheKeyboard) {
  CPngHSliderBar& speed = panel->speedSlider();
  RECT track{};
  ::GetClientRect(speed.hwnd(), &track);
  ClickControl(speed.hwnd(), 1, track.bottom / 2);  // speed 0, before effect 16 hides it
  PickEffectFromMenu(*panel, 16);
  ClickControl(panel->brightnessSlider().hwnd(), track.right - 1, track.bottom / 2);
  ClickControl(panel->preset(5).hwnd());
  const RECT field = panel->customColorRect();
  ClickPanel(POINT{field.left + 120, field.top + 40});
  const std::uint32_t picked = panel->pickedColor();
  ASSERT_EQ(current().byLightColor, picked);

  const KeyboardModel model = ApplyAndWrite();
  EXPECT_EQ(model.errors, std::vector<std::string>{});
  ASSERT_TRUE(model.lighting.has_value());
  EXPECT_EQ(model.lighting->effect, 16);
  EXPECT_EQ(model.lighting->brightness, 4);
  EXPECT_EQ(model.lighting->speed, 0);
  EXPECT_EQ(model.lighting->colorMode, 5);
  ASSERT_TRUE(model.effectColor.has_value());
  EXPECT_EQ(*model.effectColor, picked);
}

TEST_F(LightingApply, PerKeyColorsReachTheKeyboard) {
  current().byLightEffect = 19;
  current().byLightColor = 0x00A0FF;
  panel->RefreshLighting();
  for (int slot : {0, 24, 60}) ClickControl(panel->keyButton(slot).hwnd(), 20, 20);
  ClickControl(panel->keyButton(60).hwnd(), 20, 20);  // and off again

  const KeyboardModel model = ApplyAndWrite();
  EXPECT_EQ(model.errors, std::vector<std::string>{});
  ASSERT_TRUE(model.lighting.has_value());
  EXPECT_EQ(model.lighting->effect, 19);
  ASSERT_EQ(model.keyColors.count(SlotCell(0)), 1u);
  EXPECT_EQ(model.keyColors.at(SlotCell(0)), 0x00A0FFu);
  EXPECT_EQ(model.keyColors.at(SlotCell(24)), 0x00A0FFu);
  EXPECT_EQ(model.keyColors.at(SlotCell(60)), 0u);
  EXPECT_EQ(model.keyColors.at(SlotCell(1)), 0u);
}

// Screenshots for the eye (build/screenshots/lighting_*.png), and the key colors read
// back from the screen.
class LightingScreens : public testing::LightingPanelTest {};

// The brightest red of what the screen shows of a window.
COLORREF ReddestPixel(HWND window) {
  const SkinBitmap shot = testing::CaptureClientArea(window);
  COLORREF reddest = 0;
  for (int y = 0; y < shot.height; ++y) {
    for (int x = 0; x < shot.width; ++x) {
      const COLORREF pixel = testing::PixelOf(shot, x, y);
      if (GetRValue(pixel) > GetRValue(reddest)) reddest = pixel;
    }
  }
  return reddest;
}

TEST_F(LightingScreens, ForTheEye) {
  lighting().byLightColor = 0x3A17E8;
  const std::uint32_t keyColors[] = {0x0000FF, 0x00A5FF, 0x00FFFF, 0x00FF00, 0xFFFF00, 0xFF0000, 0xFF00FF};
  for (int slot = 0; slot < 63; ++slot) lighting().keyColors.coLightRGB[slot] = keyColors[slot % 7];
  lighting().keyColors.coLightRGB[56] = 0;
  MakePanel();
  for (int effect : {2, 3, 16, 19}) {
    lighting().byLightEffect = static_cast<std::uint8_t>(effect);
    ShowPanel();
    ::RedrawWindow(host.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    PumpMessages();
    EXPECT_TRUE(testing::SaveScreen(u"lighting_effect_" + FormatDecimal(effect) + u".png"));
  }
  // Under the per-key effect Esc is lit red: its legend is red, not white.
  const COLORREF escape = ReddestPixel(panel->keyButton(0).hwnd());
  EXPECT_GT(int{GetRValue(escape)}, 200) << std::hex << escape;
  EXPECT_LT(int{GetBValue(escape)}, 60) << std::hex << escape;
  ClickControl(panel->effectButton().hwnd());
  ASSERT_NE(panel->effectsMenu(), nullptr);
  ::RedrawWindow(panel->effectsMenu()->hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  PumpMessages();
  EXPECT_TRUE(testing::SaveScreen(u"lighting_effects_menu.png"));
}

}  // namespace
}  // namespace quencfg
