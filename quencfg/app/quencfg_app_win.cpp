#include "quencfg/app/quencfg_app_win.h"

#include <gdiplus.h>
#include <shellapi.h>

#include <memory>

#include "quencfg/app/folders.h"
#include "quencfg/app/messages.h"
#include "quencfg/app/window_refs_win.h"
#include "quencfg/app/writelog.h"
#include "quencfg/device/hid_wnd_win.h"
#include "quencfg/framework/paths.h"
#include "quencfg/framework/thread_win.h"
#include "quencfg/framework/wide_win.h"
#include "quencfg/ui/main/quencfg_dlg_win.h"

namespace quencfg {
namespace {

constexpr SIZE_T kDeviceThreadStack = 4096;

}  // namespace

bool ShowRunningInstance() {
  HWND running = ::FindWindowW(nullptr, AsWide(kMainWindowTitle));
  return PostToWindow(running, UM_SHOWMAIN, 0, 0);
}

int CQuencfgApp::Run() {
  if (!InitInstance()) return 0;
  return ExitInstance();
}

bool CQuencfgApp::InitInstance() {
  if (!TakeSingleInstanceMutex()) {
    ShowRunningInstance();
    mutex_.reset();
    return false;
  }
  FixFolders();
  WriteLogString(AppFolder());
  StartDeviceThread();
  StartGdiplus();
  RunMainWindow();
  WriteLogString(u"Instance End");
  return true;
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
  deviceThread_ = StartThread(&DeviceThreadMain, nullptr, kDeviceThreadStack).handle;
}

void CQuencfgApp::StartGdiplus() {
  Gdiplus::GdiplusStartupInput input;  // version 1, no debug callback, nothing suppressed
  Gdiplus::GdiplusStartup(&gdiplusToken_, &input, nullptr);
}

void CQuencfgApp::RunMainWindow() {
  WriteLogString(u"STEP CreateDlg");
  auto mainWindow = std::make_unique<CQuencfgDlg>([this] { OnHelp(); });
  SetMainWindow(mainWindow.get());
  mainWindow->DoModal(nullptr, startInTray_ ? SW_HIDE : SW_SHOW);
  WriteLogString(u"STEP CreateDlg -End");
  SetMainWindow(nullptr);
  mainWindow.reset();
}

int CQuencfgApp::ExitInstance() {
  WriteLogString(u"STEP-ExitInstance()-End");
  if (gdiplusToken_ != 0) Gdiplus::GdiplusShutdown(gdiplusToken_);
  gdiplusToken_ = 0;
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
