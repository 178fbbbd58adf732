#include "quencfg/app/quencfg_app_win.h"

#include <shellapi.h>

#include <memory>
#include <utility>

#include "quencfg/device/hid_wnd_win.h"
#include "quencfg/framework/clock.h"
#include "quencfg/framework/folders.h"
#include "quencfg/framework/messages.h"
#include "quencfg/framework/paths.h"
#include "quencfg/framework/program_windows_win.h"
#include "quencfg/framework/system_error.h"
#include "quencfg/framework/thread_win.h"
#include "quencfg/framework/wide_win.h"
#include "quencfg/framework/writelog.h"
#include "quencfg/model/number_text.h"
#include "quencfg/model/settings_file.h"
#include "quencfg/ui/main/quencfg_dlg_win.h"
#include "quencfg/ui/progress/progress_window_thread_win.h"
#include "quencfg/ui/skin/skin_documents.h"
#include "quencfg/ui/skin/skin_language.h"

namespace quencfg {
namespace {

constexpr SIZE_T kDeviceThreadStack = 4096;

std::u16string TrayText(std::u16string_view section, std::u16string_view key) {
  return LookupString(StringDocument(), section, key);
}

}  // namespace

bool ShowRunningInstance() {
  // The main window of another process running this same executable.
  HWND running = FindProgramWindow(kMainWindowName, ProcessFileName(::GetCurrentProcessId()));
  if (running == nullptr) return false;
  // Started by the user, this process may take the foreground; Windows lets the running
  // instance take it only once this one has passed that right on, before it asks.
  DWORD runningProcess = 0;
  ::GetWindowThreadProcessId(running, &runningProcess);
  ::AllowSetForegroundWindow(runningProcess);
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
  if (!RunMainWindow()) FinishDeviceRequests();
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
  StartedThread started = StartThread(&DeviceThreadMain, &deviceSetup_, kDeviceThreadStack);
  deviceThread_ = std::move(started.handle);
  deviceThreadId_ = started.id;
}

void CQuencfgApp::FinishDeviceRequests() {
  // A write that the last apply asked for ends before the process does: cut off, it
  // would leave the keyboard half written. The device thread serves what it was asked
  // before, then ends.
  if (!deviceThread_ || !::PostThreadMessageW(deviceThreadId_, WM_QUIT, 0, 0)) return;
  ::WaitForSingleObject(deviceThread_.get(), kDeviceFinishWaitMs);
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

bool CQuencfgApp::RunMainWindow() {
  WriteLogString(u"STEP CreateDlg");
  WindowCreateFailure failure;
  for (int attempt = 1; attempt <= kMainWindowAttempts; ++attempt) {
    if (attempt > 1) ::Sleep(kMainWindowRetryPauseMs);
    // The window is made while the device thread prepares the data folder; it waits for
    // that before it reads the settings.
    auto mainWindow = std::make_unique<CQuencfgDlg>([this] { OnHelp(); }, [this] { WaitForDataFolder(); });
    const INT_PTR result = mainWindow->DoModal(nullptr, startInTray_ ? SW_HIDE : SW_SHOW);
    if (result != -1) {
      // Closed windows end with the cancel command; anything else ended the loop.
      if (result != IDCANCEL) WriteLogString(u"STEP CreateDlg: the message loop ended without a close");
      WriteLogString(u"STEP CreateDlg -End");
      const bool sessionEnding = mainWindow->sessionEnding();
      mainWindow.reset();
      return sessionEnding;
    }
    failure = mainWindow->createFailure();
    WriteLogString(u"STEP CreateDlg failed (attempt " + FormatDecimal(attempt) + u" of " +
                   FormatDecimal(kMainWindowAttempts) + u"): " + MainWindowFailure(failure));
  }
  WriteLogString(u"STEP CreateDlg -End");
  TellMainWindowCannotOpen(failure);
  return false;
}

std::u16string MainWindowFailure(const WindowCreateFailure& failure) {
  std::u16string text = failure.call != nullptr ? ToU16(failure.call) : std::u16string(u"Create");
  text += u", error " + ToU16(std::to_wstring(failure.error)) + u": " + SystemErrorMessage(failure.error);
  while (!text.empty() && (text.back() == u'\n' || text.back() == u'\r' || text.back() == u' ')) text.pop_back();
  return text;
}

void TellMainWindowCannotOpen(const WindowCreateFailure& failure) {
  // In the user's language when the settings name one; the strings file falls back to
  // English.
  auto settings = std::make_unique<SettingsBlock>();
  ClearSettings(*settings);
  ReadSettings(*settings);
  NormalizeSettings(*settings);
  StringDocument().Load(StringsFilePath(settings->Language));
  std::u16string text = LookupString(StringDocument(), u"MAIN", u"START_FAILED");
  text += u"\n\n";
  text += MainWindowFailure(failure);
  text += u"\n";
  text += LogFilePath(CurrentLocalTime(), DataFolder());
  ::MessageBoxW(nullptr, AsWide(text), AsWide(kMainWindowTitle), MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
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
