#pragma once
// The application object: single instance, the two folders, the device thread,
// GDI+, and the main window run modally.
#include <windows.h>

#include <cstdint>
#include <string>

#include "quencfg/device/hid_wnd_win.h"
#include "quencfg/framework/handle_win.h"
#include "quencfg/framework/window_win.h"

namespace quencfg {

// How long the main window waits at most for the device thread's first-start files.
inline constexpr DWORD kDataFolderWaitMs = 10000;
// How long the end of the program waits at most for a write to the keyboard to end.
inline constexpr DWORD kDeviceFinishWaitMs = 20000;
// A main window that cannot be made is tried this often, this far apart, before the
// user is told why the program cannot start.
inline constexpr int kMainWindowAttempts = 3;
inline constexpr DWORD kMainWindowRetryPauseMs = 500;

class CQuencfgApp {
 public:
  // `startInTray`: a start at sign-in, which keeps the main window hidden.
  // `deviceSetup`: what the device thread is built on; the program leaves it empty, and
  // what is left empty of the progress window and the tray texts takes the real ones.
  explicit CQuencfgApp(bool startInTray = false, DeviceThreadSetup deviceSetup = {});
  CQuencfgApp(const CQuencfgApp&) = delete;
  CQuencfgApp& operator=(const CQuencfgApp&) = delete;

  // Start-up, then the main window's modal run. False for a second instance.
  bool InitInstance();
  // The start-up once the instance is the only one and both folders are fixed: the
  // first log line, the device thread, GDI+ and the main window's modal run.
  void RunInstance();
  // Shutdown; returns the exit code.
  int ExitInstance();

  // Opens the help file with the shell's default action.
  void OnHelp() const;

  int Run();

 private:
  bool TakeSingleInstanceMutex();
  void FixFolders();
  void StartDeviceThread();
  void WaitForDataFolder() const;
  // The main window's modal run; true when it ended with the Windows session. A window
  // that cannot be made is logged with the failing call and its error and tried again;
  // when it never opens, the user is told.
  bool RunMainWindow();
  void FinishDeviceRequests();

  UniqueKernelHandle mutex_;
  DeviceThreadSetup deviceSetup_;
  UniqueKernelHandle dataFolderPrepared_;
  UniqueKernelHandle deviceThread_;
  DWORD deviceThreadId_ = 0;
  bool startInTray_ = false;
};

// AppFolder + "Help\\Help.pdf".
std::u16string HelpFilePath();

// Asks the running instance to show its main window; true when a window was found.
bool ShowRunningInstance();

// What failed when the main window could not be made: the call, its error and the
// system's text for it.
std::u16string MainWindowFailure(const WindowCreateFailure& failure);

// Tells the user, in a system message box (the skinned ones are windows too), that the
// program cannot open its window, with the call that failed.
void TellMainWindowCannotOpen(const WindowCreateFailure& failure);

}  // namespace quencfg
