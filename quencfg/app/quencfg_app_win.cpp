#include "quencfg/app/quencfg_app_win.h"

#include <shellapi.h>

#include <memory>
#include <utility>

#include "quencfg/device/hid_wnd_win.h"
#include "quencfg/framework/folders.h"
#include "quencfg/framework/messages.h"
#include "quencfg/framework/paths.h"
#include "quencfg/framework/program_windows_win.h"
#include "quencfg/framework/thread_win.h"
#include "quencfg/framework/wide_win.h"
#include "quencfg/framework/writelog.h"
#include "quencfg/ui/main/quencfg_dlg_win.h"
#include "quencfg/ui/progress/progress_window_thread_win.h"
#include "quencfg/ui/skin/skin_documents.h"

namespace quencfg {
namespace {

constexpr SIZE_T kDeviceThreadStack = 4096;

std::u16string TrayText(std::u16string_view key) { return LookupString(StringDocument(), u"TRAYICON", key); }

}  // namespace

bool ShowRunningInstance() {
  // The main window of another process running this same executable.
  HWND running = FindProgramWindow(kMainWindowName, ProcessFileName(::GetCurrentProcessId()));
  return PostToWindow(running, UM_SHOWMAIN, 0, 0);
}

int CQuencfgApp::Run() {
  if (!InitInstance()) return 0;
  return ExitInstance();
}

CQuencfgApp::CQuencfgApp(bool startInTray, DeviceThreadSetup deviceSetup)
    : deviceSetup_(std::move(deviceSetup)), startInTray_(startInTray) {}

bool CQuencfgApp::InitInstance() {
  if (!TakeSingleInstanceMutex()) {
    ShowRunningInstance();
    mutex_.reset();
    return false;
  }
  FixFolders();
  RunInstance();
  return true;
}

void CQuencfgApp::RunInstance() {
  WriteLogString(AppFolder());
  StartDeviceThread();
  RunMainWindow();
  // The process ends with the main window; its tray icon must not stay behind.
  RemoveDeviceTrayIcon();
  WriteLogString(u"Instance End");
}

bool CQuencfgApp::TakeSingleInstanceMutex() {
  mutex_.reset(::CreateMutexW(nullptr, FALSE, AsWide(kMutexName)));
  return ::GetLastError() != ERROR_ALREADY_EXISTS;
}

void CQuencfgApp::FixFolders() {
  wchar_t module[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, module, MAX_PATH);
  SetAppFolder(FolderOfPath(ToU16(module)));

  const std::u16string relative = NativeRelativePath(u"\\Korvane\\");
  if (!SetDataFolder(ResolveDataFolder(relative))) {
    // A data folder too long for its buffer: fall back to the relative part alone,
    // which still ends with the separator (the files then fail quietly).
    SetDataFolder(relative);
  }
}

void CQuencfgApp::StartDeviceThread() {
  dataFolderPrepared_.reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
  deviceSetup_.dataFolderPrepared = dataFolderPrepared_.get();
  // The thread reads the setup only while it starts; the application outlives that.
  // The real parts: the platform's HID calls and clock, the progress window's thread
  // and the strings file's tray texts.
  if (deviceSetup_.progressThread == nullptr) deviceSetup_.progressThread = &ProgressThreadMain;
  if (deviceSetup_.trayText == nullptr) deviceSetup_.trayText = &TrayText;
  deviceThread_ = StartThread(&DeviceThreadMain, &deviceSetup_, kDeviceThreadStack).handle;
}

void CQuencfgApp::WaitForDataFolder() const {
  // On a first start the device thread writes the factory profiles that the main
  // window loads; loaded before them, it would show (and save) empty profiles. The wait
  // ends early when the device thread has ended without preparing anything.
  if (!dataFolderPrepared_) return;
  const HANDLE handles[] = {dataFolderPrepared_.get(), deviceThread_.get()};
  const DWORD count = deviceThread_ ? 2 : 1;
  ::WaitForMultipleObjects(count, handles, FALSE, kDataFolderWaitMs);
}

void CQuencfgApp::RunMainWindow() {
  WriteLogString(u"STEP CreateDlg");
  // The window is made while the device thread prepares the data folder; it waits for
  // that before it reads the settings.
  auto mainWindow = std::make_unique<CQuencfgDlg>([this] { OnHelp(); }, [this] { WaitForDataFolder(); });
  mainWindow->DoModal(nullptr, startInTray_ ? SW_HIDE : SW_SHOW);
  WriteLogString(u"STEP CreateDlg -End");
  mainWindow.reset();
}

int CQuencfgApp::ExitInstance() {
  WriteLogString(u"STEP-ExitInstance()-End");
  if (mutex_) {
    ::ReleaseMutex(mutex_.get());
    mutex_.reset();
  }
  return 0;
}

std::u16string HelpFilePath() {
  std::u16string path(AppFolder());
  path += NativeRelativePath(u"Help\\Help.pdf");
  return path;
}

void CQuencfgApp::OnHelp() const {
  // A missing help file is not reported: the shell's answer is ignored.
  ::ShellExecuteW(nullptr, nullptr, AsWide(HelpFilePath()), nullptr, nullptr, SW_SHOW);
}

}  // namespace quencfg
