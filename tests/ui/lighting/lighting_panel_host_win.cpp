#include "lighting_panel_host_win.h"

#include "quencfg/ui/skin/skin_documents.h"
#include "quencfg/ui/skin/skin_language.h"

namespace quencfg::testing {

void LightingPanelTest::SetUp() {
  ASSERT_TRUE(skin_.loaded());
  SetSkinFontName(StringDocument().Lookup(u"GLOBAL", u"FONT"));
  ASSERT_TRUE(host.Make(kMainWidth, kMainHeight, 0, 0));
  NormalizeProfile(*profile, true, 0);
}

void LightingPanelTest::TearDown() {
  panel.reset();
  SetSkinFontName(u"");
}

void LightingPanelTest::MakePanel() {
  panel = std::make_unique<CLightingDlg>([this](HWND) { ++maskNotices; });
  ASSERT_TRUE(panel->Create(host.hwnd()));
  panel->SetLightingProfile(*profile);
  for (int slot = 0; slot < KEY_COUNT; ++slot) panel->keyButton(slot).SetTickSource(&SecondPerReading);
  panel->swatch().SetTickSource(&SecondPerReading);
}

void LightingPanelTest::ShowPanel() {
  ::ShowWindow(panel->hwnd(), SW_SHOW);
  panel->RefreshLighting();
  ::UpdateWindow(host.hwnd());
  PumpMessages();
}

void ClickControl(HWND control, int x, int y) {
  SendMouse(control, WM_LBUTTONDOWN, x, y, MK_LBUTTON);
  SendMouse(control, WM_LBUTTONUP, x, y);
  PumpMessages();
}

void PickEffectFromMenu(CLightingDlg& panel, int effect) {
  ClickControl(panel.effectButton().hwnd());
  CBtnMenu* menu = panel.effectsMenu();
  ASSERT_NE(menu, nullptr);
  int index = 0;
  while (index < static_cast<int>(menu->items().size()) &&
         menu->items()[static_cast<std::size_t>(index)].itemId != effect) {
    ++index;
  }
  ASSERT_LT(index, static_cast<int>(menu->items().size()));
  while (index - menu->firstVisible() >= menu->visibleRows()) ::SendMessageW(menu->hwnd(), WM_VSCROLL, SB_LINEDOWN, 0);
  ClickControl(menu->row(index - menu->firstVisible()).hwnd());
}

void LightingPanelTest::ClickPanel(POINT point) {
  SendMouse(panel->hwnd(), WM_LBUTTONDOWN, point.x, point.y, MK_LBUTTON);
  SendMouse(panel->hwnd(), WM_LBUTTONUP, point.x, point.y);
  PumpMessages();
}

std::uint32_t SecondPerReading() {
  static std::uint32_t now = 0;
  now += 1000;
  return now;
}

bool LabelDrawn(const Drawing& drawing, std::u16string_view key) {
  const SkinRect entry = LayoutDocument().LookupRect(u"LIGHT_STRING", key);
  for (int y = entry.top; y < entry.bottom; ++y) {
    for (int x = entry.left; x < entry.right; ++x) {
      const COLORREF c = drawing.At(x, y);
      if (GetRValue(c) > 200 && GetGValue(c) > 200 && GetBValue(c) > 200) return true;
    }
  }
  return false;
}

}  // namespace quencfg::testing
