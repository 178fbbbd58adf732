// The first start as a slow machine may run it: the device thread prepares the data
// folder while the user-interface thread opens the main window. Through the device
// thread's seam the preparation is held until the main window shows, or for a bounded
// while when the main window does not show before it: as late as a busy machine could
// make it. The application, the device thread and the main window are the real ones;
// the keyboard is absent behind the HID seam.
#include "quencfg/app/quencfg_app_win.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "device/fake_hid.h"
#include "quencfg/device/progress_thread_win.h"
#include "quencfg/framework/messages.h"
#include "quencfg/framework/wide_win.h"
#include "quencfg/model/profile_file.h"
#include "quencfg/model/settings_file.h"
#include "quencfg/ui/main/quencfg_dlg_win.h"
#include "support/data_folder_scope.h"
#include "support/fake_pause_clock.h"
#include "support/shipped_skin_win.h"

namespace quencfg {
namespace {

// Shorter than the application's own wait, which must outlast it.
constexpr DWORD kHoldMs = 3000;
static_assert(kHoldMs < kDataFolderWaitMs);

bool MainWindowShows() {
  HWND main = ::FindWindowW(nullptr, AsWide(kMainWindowTitle));
  return main != nullptr && ::IsWindowVisible(main);
}

void PrepareOnceTheMainWindowShows() {
  const DWORD start = ::GetTickCount();
  while (!MainWindowShows() && ::GetTickCount() - start < kHoldMs) ::Sleep(10);
  PrepareDataFolder();
}

DWORD WINAPI QuietProgressThread(LPVOID parameter) {
  SignalQueueReady(parameter);
  MSG message{};
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
  }
  return 0;
}

// The first profile as the main window showed it when it opened.
std::unique_ptr<ProfileData> g_shown;

// Once the main window shows: note its first profile, press Apply, and close it.
void CALLBACK ApplyAndCloseOnceShown(HWND, UINT, UINT_PTR timer, DWORD) {
  auto* main = static_cast<CQuencfgDlg*>(Window::FromHandle(::FindWindowW(nullptr, AsWide(kMainWindowTitle))));
  if (main == nullptr || main->hwnd() == nullptr || !::IsWindowVisible(main->hwnd())) return;
  ::KillTimer(nullptr, timer);
  g_shown = std::make_unique<ProfileData>(main->settings().profiles[0]);
  HWND apply = main->commandButton(CQuencfgDlg::Command::Apply).hwnd();
  ::SendMessageW(main->hwnd(), WM_COMMAND, MAKEWPARAM(CQuencfgDlg::kButtonId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(apply));
  ::PostMessageW(main->hwnd(), WM_CLOSE, 0, 0);
}

void ExpectFactoryLighting(const LightingSettings& lighting, const char* what) {
  auto factory = std::make_unique<ProfileData>();
  NormalizeProfile(*factory, true, 0);
  const LightingSettings& expected = factory->lighting;
  SCOPED_TRACE(what);
  EXPECT_EQ(lighting.byLightEffect, expected.byLightEffect);
  EXPECT_EQ(lighting.byLightBright, expected.byLightBright);
  EXPECT_EQ(lighting.byLightSpeed, expected.byLightSpeed);
  EXPECT_EQ(lighting.byLightColor, expected.byLightColor);
  EXPECT_EQ(lighting.byLightColorType, expected.byLightColorType);
  EXPECT_TRUE(std::equal(std::begin(lighting.keyColors.coLightRGB), std::end(lighting.keyColors.coLightRGB),
                         std::begin(expected.keyColors.coLightRGB)));
}

TEST(FirstStart, TheMainWindowShowsAndAppliesTheFactoryProfiles) {
  ASSERT_EQ(::FindWindowW(nullptr, AsWide(kMainWindowTitle)), nullptr) << "a main window is left over";
  testing::ShippedSkin skin;
  ASSERT_TRUE(skin.loaded());
  testing::DataFolderScope data;  // empty: the first start
  testing::FakePauseClock clock;
  testing::FakeHidMachine machine{clock};  // without the keyboard
  DeviceThreadSetup setup;
  setup.hidApi = &machine.Api();
  setup.clock = &clock;
  setup.progressThread = &QuietProgressThread;
  setup.prepareDataFolder = &PrepareOnceTheMainWindowShows;
  {
    CQuencfgApp app(false, setup);
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 20, &ApplyAndCloseOnceShown);
    app.RunInstance();
    ::KillTimer(nullptr, timer);
    EXPECT_EQ(::FindWindowW(nullptr, AsWide(kDeviceWindowTitle)), nullptr) << "the device thread ended with it";
    app.ExitInstance();
  }

  ASSERT_NE(g_shown, nullptr) << "the main window showed";
  ExpectFactoryLighting(g_shown->lighting, "as the main window showed it");
  auto saved = std::make_unique<ProfileData>();
  ReadProfile(*saved, ProfileName(0), u"");
  ExpectFactoryLighting(saved->lighting, "as Apply saved it");
  g_shown.reset();
}

}  // namespace
}  // namespace quencfg
