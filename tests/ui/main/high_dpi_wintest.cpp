// The program at the display's DPI. ctest runs this suite at 144 and 192 DPI (the lane
// sets the Wine prefix's LogPixels to KORVANE_DPI) besides 96 like every suite; each
// case checks what a user meets at the DPI Windows reports: the window's size, where
// the controls are, a color pick, a slider drag and a menu pick.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "quencfg/framework/text.h"
#include "quencfg/ui/main/import_review_dlg_win.h"
#include "quencfg/ui/main/main_window_rules.h"
#include "quencfg/ui/main/quencfg_dlg_win.h"
#include "quencfg/ui/skin/skin_documents.h"
#include "quencfg/ui/skin/skin_dpi_win.h"
#include "quencfg/ui/skin/skin_language.h"
#include "quencfg/ui/skin/skin_scale.h"
#include "support/data_folder_scope.h"
#include "support/gdiplus_session_win.h"
#include "support/screenshot_win.h"
#include "support/shipped_skin_win.h"
#include "ui/skin/control_host_win.h"

namespace quencfg {
namespace {

using Command = CQuencfgDlg::Command;
using testing::PumpMessages;
using testing::SendMouse;

// The DPI the lane was asked for; none when the suite runs in a plain lane.
std::optional<int> LaneDpi() {
  const char* value = std::getenv("KORVANE_DPI");
  if (value == nullptr || *value == '\0') return std::nullopt;
  return std::atoi(value);
}

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::string Text(const RECT& r) {
  char text[64] = {};
  std::snprintf(text, sizeof text, "(%ld,%ld)-(%ld,%ld)", r.left, r.top, r.right, r.bottom);
  return text;
}

RECT ClientRectIn(HWND control, HWND parent) {
  RECT rect{};
  ::GetWindowRect(control, &rect);
  ::MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

bool Near(COLORREF a, COLORREF b, int tolerance) {
  const auto close = [tolerance](int x, int y) { return x - y <= tolerance && y - x <= tolerance; };
  return close(GetRValue(a), GetRValue(b)) && close(GetGValue(a), GetGValue(b)) && close(GetBValue(a), GetBValue(b));
}

class HighDpi : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(skin_.loaded()); }
  void TearDown() override {
    window_.reset();
    StringDocument().Load(StringsFilePath(101));
  }

  CQuencfgDlg& Open() {
    window_ = std::make_unique<CQuencfgDlg>();
    EXPECT_TRUE(window_->Open());
    PumpMessages();
    // The main window takes the DPI Windows gives it; a DPI lane checks it is the one asked for.
    if (const auto asked = LaneDpi()) {
      EXPECT_EQ(WindowDpi(window_->hwnd()), *asked);
    }
    EXPECT_EQ(SkinDpi(), WindowDpi(window_->hwnd()));
    return *window_;
  }
  void Press(Command command) {
    ::SendMessageW(window_->hwnd(), WM_COMMAND, MAKEWPARAM(CQuencfgDlg::kButtonId, BN_CLICKED),
                   reinterpret_cast<LPARAM>(window_->commandButton(command).hwnd()));
    PumpMessages();
  }

  testing::ShippedSkin skin_;
  testing::GdiplusSession gdiplus_;
  testing::DataFolderScope data_;
  const SkinDpiScope restoreDpi_{SkinDpi()};
  std::unique_ptr<CQuencfgDlg> window_;
};

TEST_F(HighDpi, TheMainWindowAndItsControlsTakeTheSkinRectanglesScaled) {
  CQuencfgDlg& window = Open();
  // Rectangles of the shipped layout files (96 DPI) and where they must be at each DPI.
  const struct {
    int dpi;
    SIZE window;
    RECT escKey, appKey, ok, exit;
  } cases[] = {
      {96, {1200, 672}, {260, 84, 320, 144}, {1010, 324, 1085, 384}, {928, 616, 1048, 656}, {1150, 6, 1186, 42}},
      {144, {1800, 1008}, {390, 126, 480, 216}, {1515, 486, 1628, 576}, {1392, 924, 1572, 984}, {1725, 9, 1779, 63}},
      {192, {2400, 1344}, {520, 168, 640, 288}, {2020, 648, 2170, 768}, {1856, 1232, 2096, 1312}, {2300, 12, 2372, 84}},
  };
  const int dpi = SkinDpi();
  const auto found = std::find_if(std::begin(cases), std::end(cases), [dpi](const auto& c) { return c.dpi == dpi; });
  ASSERT_NE(found, std::end(cases)) << "no expectations for " << dpi << " DPI";
  RECT frame{};
  ::GetWindowRect(window.hwnd(), &frame);
  EXPECT_EQ(frame.right - frame.left, found->window.cx);
  EXPECT_EQ(frame.bottom - frame.top, found->window.cy);
  const struct {
    HWND control;
    RECT expected;
    const char* name;
  } controls[] = {{window.keyButton(0).hwnd(), found->escKey, "Esc key"},
                  {window.keyButton(59).hwnd(), found->appKey, "application key"},
                  {window.commandButton(Command::Ok).hwnd(), found->ok, "OK"},
                  {window.commandButton(Command::Exit).hwnd(), found->exit, "exit"}};
  for (const auto& c : controls) {
    const RECT got = ClientRectIn(c.control, window.hwnd());
    EXPECT_TRUE(SameRect(got, c.expected)) << c.name << ": " << Text(got) << " instead of " << Text(c.expected);
    // A click in the control's scaled rectangle finds the control.
    const POINT inside{c.expected.right - 2, c.expected.bottom - 2};
    EXPECT_EQ(::ChildWindowFromPointEx(window.hwnd(), inside, CWP_SKIPINVISIBLE), c.control) << c.name;
  }
  // The key pictures are drawn at the key's size, not at their 96-DPI size in a corner.
  EXPECT_EQ(window.keyButton(0).images().width, found->escKey.right - found->escKey.left);
}

TEST_F(HighDpi, TheDragStripIsTheScaledTopStrip) {
  CQuencfgDlg& window = Open();
  const int right = ScaleToDpi(1200, SkinDpi());
  const int bottom = ScaleToDpi(48, SkinDpi());
  const struct {
    int x, y;
    bool drags;
  } cases[] = {{right - 1, bottom - 1, true}, {right - 1, bottom, false}, {10, bottom - 1, true}, {0, 0, true}};
  for (const auto& c : cases) {
    ::SendMessageW(window.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(c.x, c.y));
    MSG posted{};
    EXPECT_EQ(::PeekMessageW(&posted, window.hwnd(), WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_REMOVE) != 0, c.drags)
        << c.x << "," << c.y;
  }
}

// The same point of the color field gives the same color at every DPI: the pick at the
// scaled point against what a panel made at 96 DPI paints at the 96-DPI point.
TEST_F(HighDpi, AColorPickAtAFieldPointGivesTheColorOf96Dpi) {
  const POINT fieldPoints[] = {{930, 510}, {960, 470}, {1040, 560}, {900, 580}};
  std::vector<COLORREF> at96;
  {
    const SkinDpiScope base(kSkinBaseDpi);
    SetSkinFontName(StringDocument().Lookup(u"GLOBAL", u"FONT"));
    testing::ControlHost host;
    ASSERT_TRUE(host.Make(1200, 672, 0, 0));
    ProfileData profile{};
    NormalizeProfile(profile, true, 0);
    CLightingDlg panel([](HWND) {});
    ASSERT_TRUE(panel.Create(host.hwnd()));
    panel.SetLightingProfile(profile);
    ::ShowWindow(panel.hwnd(), SW_SHOW);
    panel.SelectEffect(16);
    for (const POINT& p : fieldPoints) at96.push_back(testing::Drawing(panel.hwnd()).At(p.x, p.y));
  }

  CQuencfgDlg& window = Open();
  ::ShowWindow(window.hwnd(), SW_SHOW);
  Press(Command::Backlight);
  CLightingDlg& panel = window.lightingPanel();
  ASSERT_TRUE(::IsWindowVisible(panel.hwnd()));
  panel.SelectEffect(16);
  for (std::size_t i = 0; i < std::size(fieldPoints); ++i) {
    const POINT at{ScaleToDpi(fieldPoints[i].x, SkinDpi()), ScaleToDpi(fieldPoints[i].y, SkinDpi())};
    SendMouse(panel.hwnd(), WM_LBUTTONDOWN, at.x, at.y, MK_LBUTTON);
    SendMouse(panel.hwnd(), WM_LBUTTONUP, at.x, at.y);
    PumpMessages();
    // Resampling blends neighbours of a smooth field: a few steps per channel at most.
    EXPECT_TRUE(Near(panel.pickedColor(), at96[i], 6))
        << "point " << i << ": " << std::hex << panel.pickedColor() << " instead of " << at96[i];
  }
}

// The panel's shape comes from the mask at the panel's scale: the same parts of the
// window are covered as at 96 DPI, the main window's own buttons stay free.
TEST_F(HighDpi, TheLightingPanelIsShapedByTheMaskAtItsScale) {
  CQuencfgDlg& window = Open();
  CLightingDlg& panel = window.lightingPanel();
  ASSERT_TRUE(panel.shapedByMask());
  OwnedRegion region(::CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(::GetWindowRgn(panel.hwnd(), region.get()), ERROR);
  const int dpi = SkinDpi();
  EXPECT_TRUE(::PtInRegion(region.get(), ScaleToDpi(600, dpi), ScaleToDpi(300, dpi))) << "the keyboard area";
  for (POINT outside : {POINT{100, 300}, POINT{600, 20}, POINT{900, 630}}) {
    EXPECT_FALSE(::PtInRegion(region.get(), ScaleToDpi(outside.x, dpi), ScaleToDpi(outside.y, dpi)))
        << "the main window's own buttons stay free at " << outside.x << "," << outside.y;
  }
  RECT box{};
  ::GetRgnBox(region.get(), &box);
  RECT box96{};
  {
    const SkinDpiScope base(kSkinBaseDpi);
    testing::ControlHost host;
    ASSERT_TRUE(host.Make(1200, 672, 0, 0));
    CLightingDlg reference([](HWND) {});
    ASSERT_TRUE(reference.Create(host.hwnd()));
    OwnedRegion referenceRegion(::CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(::GetWindowRgn(reference.hwnd(), referenceRegion.get()), ERROR);
    ::GetRgnBox(referenceRegion.get(), &box96);
  }
  // Each edge where the 96-DPI edge scales to, give or take the pixel a filter may add.
  EXPECT_NEAR(box.left, ScaleToDpi(box96.left, dpi), 1);
  EXPECT_NEAR(box.top, ScaleToDpi(box96.top, dpi), 1);
  EXPECT_NEAR(box.right, ScaleToDpi(box96.right, dpi), 1);
  EXPECT_NEAR(box.bottom, ScaleToDpi(box96.bottom, dpi), 1);
}

TEST_F(HighDpi, TheBrightnessSliderFollowsADragOverItsScaledTrack) {
  CQuencfgDlg& window = Open();
  ::ShowWindow(window.hwnd(), SW_SHOW);
  Press(Command::Backlight);
  CLightingDlg& panel = window.lightingPanel();
  panel.SelectEffect(16);
  CPngHSliderBar& slider = panel.brightnessSlider();
  RECT track{};
  ::GetClientRect(slider.hwnd(), &track);
  EXPECT_EQ(track.right, ScaleToDpi(260, SkinDpi()) - 0) << "the slider is as wide as its scaled entry";
  // Press at the left end, drag across, release at each point in turn.
  const struct {
    int x;
    int position;
  } stops[] = {{track.right - 1, 4}, {track.right / 2, 2}, {1, 0}};
  for (const auto& stop : stops) {
    SendMouse(slider.hwnd(), WM_LBUTTONDOWN, 1, track.bottom / 2, MK_LBUTTON);
    for (int x = 1; x <= stop.x; x += std::max(1, stop.x / 8)) {
      SendMouse(slider.hwnd(), WM_MOUSEMOVE, x, track.bottom / 2, MK_LBUTTON);
    }
    SendMouse(slider.hwnd(), WM_MOUSEMOVE, stop.x, track.bottom / 2, MK_LBUTTON);
    SendMouse(slider.hwnd(), WM_LBUTTONUP, stop.x, track.bottom / 2);
    PumpMessages();
    EXPECT_EQ(slider.position(), stop.position) << "released at " << stop.x;
  }
}

TEST_F(HighDpi, TheSettingsMenuHasScaledRowsAndAPickAtARowTakesIt) {
  CQuencfgDlg& window = Open();
  Press(Command::Setting);
  CBtnMenu* menu = window.settingsMenu();
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(menu->rowHeight(), ScaleToDpi(18, SkinDpi()));
  RECT client{};
  ::GetClientRect(menu->hwnd(), &client);
  EXPECT_EQ(client.bottom, kSettingsMenuRows * menu->rowHeight()) << "a row for every item, no more, no less";
  // The row under the middle of the fourth row (Chinese) is the one a click there meets.
  const POINT middle{client.right / 2, menu->rowHeight() * 3 + menu->rowHeight() / 2};
  HWND row = ::ChildWindowFromPointEx(menu->hwnd(), middle, CWP_SKIPINVISIBLE);
  ASSERT_EQ(row, menu->row(3).hwnd());
  testing::Click(row, 4, menu->rowHeight() / 2);
  PumpMessages();
  EXPECT_EQ(window.settingsMenu(), nullptr) << "a pick closes the menu";
  EXPECT_EQ(window.settings().Language, 106);
}

// For the eye, at the lane's DPI: the settings menu with its check marks, and the lighting
// panel under the breathing effect, whose speed row takes the brightness row's place.
TEST_F(HighDpi, ScreenshotsOfTheMenusAndTheBreathingPanel) {
  CQuencfgDlg& window = Open();
  ::SetWindowPos(window.hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  const std::u16string dpi = AsciiToUtf16(std::to_string(SkinDpi())) + u"dpi";
  const auto redraw = [&window] {
    ::RedrawWindow(window.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    PumpMessages();
  };
  // A window larger than the screen is moved so that `control` is at `screen`.
  const auto bringTo = [&window](HWND control, POINT screen) {
    RECT main{}, place{};
    ::GetWindowRect(window.hwnd(), &main);
    ::GetWindowRect(control, &place);
    ::SetWindowPos(window.hwnd(), nullptr, main.left + screen.x - place.left, main.top + screen.y - place.top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  };
  bringTo(window.commandButton(Command::Setting).hwnd(), POINT{700, 100});
  Press(Command::Setting);
  ASSERT_NE(window.settingsMenu(), nullptr);
  redraw();
  EXPECT_TRUE(testing::SaveScreen(u"settings-menu-" + dpi + u".png"));
  Press(Command::Backlight);
  window.lightingPanel().SelectEffect(1);
  bringTo(window.lightingPanel().effectButton().hwnd(), POINT{100, 300});
  redraw();
  EXPECT_TRUE(testing::SaveScreen(u"lighting-breathing-" + dpi + u".png"));
  testing::Click(window.lightingPanel().effectButton().hwnd());
  PumpMessages();
  ASSERT_NE(window.lightingPanel().effectsMenu(), nullptr);
  ::RedrawWindow(window.lightingPanel().effectsMenu()->hwnd(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  PumpMessages();
  EXPECT_TRUE(testing::SaveScreen(u"effects-menu-" + dpi + u".png"));
}

// Windows tells a per-monitor aware window of a move to a monitor of another DPI with
// WM_DPICHANGED (Wine 8 never does): the window, the panel and the key dialog are laid
// out again at the new DPI, at the place Windows suggests.
TEST_F(HighDpi, AMoveToAMonitorOfAnotherDpiLaysEverythingOutAgain) {
  CQuencfgDlg& window = Open();
  ::ShowWindow(window.hwnd(), SW_SHOW);
  Press(Command::Backlight);
  CLightingDlg& panel = window.lightingPanel();
  CKeyAssignmentDlg& keyDialog = window.keyAssignment();
  panel.SelectEffect(16);  // the effect whose color the color fields edit
  window.currentProfile().lighting.byLightColor = 0x123456;
  panel.RefreshLighting();
  const int target = SkinDpi() == 192 ? 96 : 192;
  RECT suggested{40, 30, 40 + ScaleToDpi(1200, target), 30 + ScaleToDpi(672, target)};
  ::SendMessageW(window.hwnd(), WM_DPICHANGED, MAKEWPARAM(target, target), reinterpret_cast<LPARAM>(&suggested));
  PumpMessages();

  EXPECT_EQ(SkinDpi(), target);
  EXPECT_EQ(window.currentProfile().lighting.byLightColor, 0x123456u) << "laying out again edits nothing";
  EXPECT_EQ(panel.colorField(kComponentGreen).Text(), u"52") << "the fields show the profile's color";
  RECT frame{};
  ::GetWindowRect(window.hwnd(), &frame);
  EXPECT_EQ(frame.left, 40);
  EXPECT_EQ(frame.top, 30);
  EXPECT_EQ(frame.right - frame.left, ScaleToDpi(1200, target));
  EXPECT_EQ(frame.bottom - frame.top, ScaleToDpi(672, target));
  const RECT esc = ClientRectIn(window.keyButton(0).hwnd(), window.hwnd());
  EXPECT_TRUE(SameRect(esc, RECT{ScaleToDpi(260, target), ScaleToDpi(84, target), ScaleToDpi(320, target),
                                 ScaleToDpi(144, target)}))
      << Text(esc);
  RECT panelRect{};
  ::GetClientRect(panel.hwnd(), &panelRect);
  EXPECT_EQ(panelRect.right, ScaleToDpi(1200, target));
  RECT track{};
  ::GetClientRect(panel.brightnessSlider().hwnd(), &track);
  EXPECT_EQ(track.right, ScaleToDpi(260, target));
  RECT dialog{};
  ::GetWindowRect(keyDialog.hwnd(), &dialog);
  EXPECT_EQ(dialog.right - dialog.left, ScaleToDpi(900, target));
  EXPECT_EQ(dialog.left - frame.left, ScaleToDpi(270, target)) << "the dialog keeps its place over the window";
  // The panel still picks at its new scale.
  panel.SelectEffect(16);
  const POINT at{ScaleToDpi(930, target), ScaleToDpi(510, target)};
  SendMouse(panel.hwnd(), WM_LBUTTONDOWN, at.x, at.y, MK_LBUTTON);
  SendMouse(panel.hwnd(), WM_LBUTTONUP, at.x, at.y);
  PumpMessages();
  EXPECT_GE(panel.pickedColor(), 350u) << "a color of the field, not the black around it";
}

// The windows whose layout changed, at the lane's DPI and in each language, saved for a
// look by eye: the macro editor alone (no page tabs) with its pause field, and the
// import review with its three buttons and the keyboard focus on one.
TEST_F(HighDpi, ScreenshotsOfTheMacroEditorAndTheImportReview) {
  CQuencfgDlg& window = Open();
  ::ShowWindow(window.hwnd(), SW_SHOW);
  const std::u16string dpi = AsciiToUtf16(std::to_string(SkinDpi()));
  const std::vector<ReviewedKey> review = {{1, ImportFlag::Program, u"C:\\Program Files\\Tool\\tool.exe"},
                                           {5, ImportFlag::Url, u"https://example.com/run"}};
  static std::u16string shot;
  for (const auto& [language, code] : {std::pair{101, u"EN"}, std::pair{106, u"CS"}, std::pair{108, u"ES"}}) {
    window.ChangeLanguage(static_cast<std::uint8_t>(language));
    Press(Command::Macro);
    CKeyAssignmentDlg& dialog = window.keyAssignment();
    // On the screen whole: at 192 DPI the main window is wider than the screen.
    ::SetWindowPos(dialog.hwnd(), nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::RedrawWindow(dialog.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    PumpMessages();
    EXPECT_TRUE(testing::SavePng(testing::CaptureClientArea(dialog.hwnd()).get(),
                                 testing::ScreenshotFolder() + u"macro-editor-alone-" + code + u"-" + dpi + u"dpi.png"));
    dialog.Dismiss();

    shot = u"import-review-buttons-" + std::u16string(code) + u"-" + dpi + u"dpi.png";
    ::SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR id, DWORD) {
      ::EnumThreadWindows(
          ::GetCurrentThreadId(),
          [](HWND candidate, LPARAM timer) -> BOOL {
            auto* dialog = dynamic_cast<CImportReviewDlg*>(Window::FromHandle(candidate));
            if (dialog == nullptr || !::IsWindowVisible(candidate)) return TRUE;
            ::KillTimer(nullptr, static_cast<UINT_PTR>(timer));
            ::RedrawWindow(candidate, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
            EXPECT_TRUE(testing::SavePng(testing::CaptureClientArea(candidate).get(), testing::ScreenshotFolder() + shot));
            ::PostMessageW(candidate, WM_CLOSE, 0, 0);
            return FALSE;
          },
          static_cast<LPARAM>(id));
    });
    EXPECT_EQ(AskAboutImport(window.hwnd(), review), ImportChoice::Cancel);
  }
}

}  // namespace
}  // namespace quencfg
