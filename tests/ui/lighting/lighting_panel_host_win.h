#pragma once
// What the lighting panel tests share: the shipped skin, a plain parent window as large
// as the main background at the screen's top-left corner, a profile of the test's own,
// and the panel created in it the way the main window creates it.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "quencfg/model/settings_block.h"
#include "quencfg/ui/lighting/lighting_dlg_win.h"
#include "support/gdiplus_session_win.h"
#include "support/shipped_skin_win.h"
#include "ui/skin/control_host_win.h"

namespace quencfg::testing {

inline constexpr int kMainWidth = 1200;
inline constexpr int kMainHeight = 672;

class LightingPanelTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Creates the panel in the host (hidden), hands it the profile and shows it.
  void MakePanel();
  void ShowPanel();
  LightingSettings& lighting() { return profile->lighting; }

  // A left click on the panel's own surface, in panel client coordinates.
  void ClickPanel(POINT point);

  ShippedSkin skin_;
  GdiplusSession gdiplus_;
  ControlHost host;
  std::unique_ptr<ProfileData> profile = std::make_unique<ProfileData>();
  int maskNotices = 0;
  std::unique_ptr<CLightingDlg> panel;
};

// A press and release on a control, then the posted messages are handled.
void ClickControl(HWND control, int x = 5, int y = 5);

// Opens the panel's effects menu with its button and clicks the row of `effect`,
// scrolling the menu to it first.
void PickEffectFromMenu(CLightingDlg& panel, int effect);

// A clock for the color buttons that moves a second on every reading, so that every
// click counts however quickly the test clicks.
std::uint32_t SecondPerReading();

// Whether the panel draws a label (white text) somewhere in the rectangle of
// LIGHT_STRING/`key`.
bool LabelDrawn(const Drawing& drawing, std::u16string_view key);

}  // namespace quencfg::testing
