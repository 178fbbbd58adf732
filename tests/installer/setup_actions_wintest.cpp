// The installer's custom actions, loaded from their DLL as the installer engine loads
// them and run against the staged program.
#include <windows.h>
#include <msi.h>

#include <gtest/gtest.h>

#include "quencfg/framework/messages.h"
#include "quencfg/framework/wide_win.h"
#include "support/foreign_window_win.h"
#include "support/process_win.h"

namespace quencfg {
namespace {

constexpr DWORD kWaitMs = 20000;

using CustomAction = UINT(__stdcall*)(MSIHANDLE);

void PumpWaitingMessages() {
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
}

// Before files are replaced, a running Korvane.exe is asked to end as its tray menu's
// exit does; a window of another program titled like its device window gets nothing.
TEST(SetupActions, CloseRunningKorvaneEndsTheProgramAndNoOtherWindowOfItsTitle) {
  ASSERT_EQ(::FindWindowW(nullptr, AsWide(kDeviceWindowTitle)), nullptr) << "an instance is already running";
  HMODULE actions = ::LoadLibraryW(KORVANE_TEST_SETUP_ACTIONS);
  ASSERT_NE(actions, nullptr);
  const auto closeRunning =
      reinterpret_cast<CustomAction>(reinterpret_cast<void*>(::GetProcAddress(actions, "CloseRunningKorvane")));
  ASSERT_NE(closeRunning, nullptr);

  testing::ChildProcess program(testing::StagedProgram());
  ASSERT_TRUE(program.started());
  ASSERT_NE(testing::WaitForWindow(AsWide(kDeviceWindowTitle), program.id(), kWaitMs), nullptr);
  testing::ForeignWindow other(kDeviceWindowTitle);
  ASSERT_EQ(::FindWindowW(nullptr, AsWide(kDeviceWindowTitle)), other.hwnd()) << "found first by its title alone";

  EXPECT_EQ(closeRunning(0), static_cast<UINT>(ERROR_SUCCESS));
  EXPECT_TRUE(program.WaitForExit(kWaitMs)) << "the program ended";
  PumpWaitingMessages();
  EXPECT_TRUE(other.received.empty()) << "the other program's window got " << other.received.size();

  // With no Korvane running, nothing is sent anywhere.
  EXPECT_EQ(closeRunning(0), static_cast<UINT>(ERROR_SUCCESS));
  PumpWaitingMessages();
  EXPECT_TRUE(other.received.empty());
  ::FreeLibrary(actions);
}

}  // namespace
}  // namespace quencfg
