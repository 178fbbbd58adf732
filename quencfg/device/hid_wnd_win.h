#pragma once
// The device thread and its hidden window "Korvane_Hid": the keyboard's transport, the
// device thread's own copy of the settings and profiles, the tray icon, the program
// launcher, and the full writes that the main window asks for.
#include <windows.h>
#include <shellapi.h>

#include <atomic>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "quencfg/device/device_sync.h"
#include "quencfg/device/hid_api.h"
#include "quencfg/device/keyboard_lighting.h"
#include "quencfg/device/usb_driver.h"
#include "quencfg/framework/messages.h"
#include "quencfg/framework/pause.h"
#include "quencfg/framework/thread_win.h"
#include "quencfg/framework/window_win.h"
#include "quencfg/model/settings_block.h"

namespace quencfg {

inline constexpr UINT kTrayIconId = 220;
inline constexpr UINT ID_TRAY_LAUNCH = 0x6000;
inline constexpr UINT ID_TRAY_EXIT = 0x6002;
inline constexpr UINT ID_TRAY_STATUS = 0x6003;  // the menu's grayed line of the keyboard's state
// The tray icon's tooltip: the strings file's product name (TRAYICON, TIP), else this,
// and on a line of its own whether the keyboard is connected.
inline constexpr char16_t kTrayTip[] = u"Korvane";
inline constexpr std::uint32_t kPauseBeforeReopenMs = 200;
// After an arrival the keyboard's collections may appear one after another: the open is
// tried again at this interval until all of them are held, for at most this long.
// Collections that appear later still are opened when their own interface arrival comes.
inline constexpr std::uint32_t kArrivalRetryPauseMs = 200;
inline constexpr std::uint32_t kArrivalRetryLimitMs = 2000;
inline constexpr DWORD kPauseAfterLaunchMs = 5;
// An icon the taskbar refused (not there yet at sign-in) is added again after these
// pauses, and whenever the taskbar is created anew, which the shell announces.
inline constexpr UINT kTrayAddRetryPausesMs[] = {500, 1000, 2000, 4000, 8000, 15000, 30000, 30000, 30000, 30000};
inline constexpr UINT_PTR kTrayAddRetryTimer = 1;

// The shell's notification-area call, Shell_NotifyIconW.
using NotifyIconCall = std::function<BOOL(DWORD action, NOTIFYICONDATAW* record)>;

// A localised text of the tray icon, by section and key of the strings file: TRAYICON
// ("LAUNCH", "EXIT", "TIP") and FEEDBACK ("KEYBOARD_CONNECTED", "KEYBOARD_ABSENT");
// empty when there is none.
using TrayTextLookup = std::u16string (*)(std::u16string_view section, std::u16string_view key);

// What the device thread is built on. Null members take the platform's HID calls, the
// system clock and PrepareDataFolder; without a progress entry no progress window is
// shown, and without a text lookup the tray menu's items have no text. The program
// passes the progress window's thread and the strings file's lookup; tests put a fake
// HID machine, a fake clock, a recording progress thread or a slow preparation in
// their place.
struct DeviceThreadSetup {
  const HidApi* hidApi = nullptr;
  PauseClock* clock = nullptr;
  LPTHREAD_START_ROUTINE progressThread = nullptr;
  TrayTextLookup trayText = nullptr;
  // The first start's preparation of the data folder (Profiles and Macros folders,
  // factory profiles); empty: PrepareDataFolder.
  std::function<void()> prepareDataFolder;
  // An event set once the data folder is prepared, so that the main window can wait for
  // the first start's files before it loads them; null when nobody waits.
  HANDLE dataFolderPrepared = nullptr;
  // The tray icon's calls to the shell; empty: Shell_NotifyIconW. Tests pass them on to
  // it, refusing some or recording them.
  NotifyIconCall notifyIcon;
  // The pauses before the adds of a refused icon are tried again; empty:
  // kTrayAddRetryPausesMs.
  std::vector<UINT> trayAddRetryPausesMs;
};

class CHidWnd : public Window {
 public:
  explicit CHidWnd(const DeviceThreadSetup& setup = {});
  ~CHidWnd() override;

  // The hidden 1 x 1 pop-up at (1, 1); its creation runs the start-up work.
  bool CreateHidden();

  // The device thread's message loop: requests, key events and tray commands from the
  // queue, one at a time and in the order they came. Returns when the thread is told
  // to quit.
  int RunMessageLoop();

  // Ends what the window started (tray icon, progress thread, notifications) and
  // destroys it. Only orderly ends of device threads in tests come here.
  void Shutdown();

  // Reloads the copy from the files and writes the current profile to the keyboard.
  void FullWrite(bool writeLighting, bool reset);
  void Reload();

  // The icon is there while the program runs, keyboard or not, so that the program can
  // always be shown and ended: added at start, and added again when the taskbar lost it
  // or was not ready, until it is removed. Its tooltip and menu say whether the
  // keyboard is connected.
  void AddTrayIcon();
  void RemoveTrayIcon();
  void OnTrayCommand(UINT commandId);
  void LaunchProgramOfCell(WPARAM cell);

  // Readable from other threads.
  [[nodiscard]] bool TrayIconShown() const noexcept { return trayIconShown_.load(); }
  // An apply made without a keyboard (or cut off by its removal) waits for the next one.
  [[nodiscard]] bool WriteWaiting() const noexcept { return waitingWrite_.load(); }
  // The driver's handles are atomic; its read pass is the read thread's own work.
  [[nodiscard]] CUSBDriver& Driver() noexcept { return driver_; }
  // The record as last handed to the shell; read it only while the device thread rests.
  [[nodiscard]] const NOTIFYICONDATAW& TrayIconRecord() const noexcept { return trayIcon_; }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  bool OnCreate();
  void RegisterForDeviceNotifications();
  void OpenKeyboard(bool atStart);
  // Opens until all collections are held or the retry time is spent; what was found
  // shows the tray icon and feeds the read thread. After an arrival the collections may
  // still be missing at first; otherwise a first search that finds none ends it.
  void OpenArrivedKeyboard(bool arrival);
  // One of the keyboard's HID collections has appeared: what is there is opened at once.
  void OpenAppearedCollection();
  void OnKeyboardOpened();
  void OnDeviceChange(WPARAM event, LPARAM data);
  void OnPowerBroadcast(WPARAM event);
  // Tells the main window, if there is one, what the keyboard is doing now.
  void PostKeyboardState(KeyboardState state) const;
  // Connected, absent, or absent with changes waiting for it.
  [[nodiscard]] KeyboardState OpenState() noexcept;
  [[nodiscard]] bool KeyboardOpen() noexcept;
  // The keyboard's state changed: the main window and the tray icon's tooltip follow.
  void OnKeyboardStateChanged();
  // A write that waits is served once the keyboard is there whole, after what the queue
  // holds already.
  void ServeWaitingWriteWhenOpen();
  void ListenForNewTaskbars();
  [[nodiscard]] std::u16string TrayText(std::u16string_view section, std::u16string_view key) const;
  // Whether the keyboard is connected, as the tray's tip and menu say it.
  [[nodiscard]] std::u16string KeyboardStateText();
  // The tooltip of the current keyboard state, handed to the shell when the icon is there.
  void UpdateTrayTip();
  // Hands the icon to the shell; when the taskbar refuses it, tries again later.
  void ShowTrayIconInShell();
  void OnTrayAddRetryTimer();
  void OnTaskbarCreated();
  // Messages of the device window's own that its loop hands to the window procedure.
  [[nodiscard]] bool IsTrayUpkeep(UINT message) const noexcept;
  void OnTrayNotify(LPARAM mouseMessage);
  void ShowTrayMenu();
  void ShowMainWindowFromTray();
  // Requests, key events and tray commands wait in a queue until the thread's own loop
  // serves them, also when a modal loop (the tray menu's) hands them to the window
  // procedure.
  struct Request {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
  };
  [[nodiscard]] static bool IsRequest(UINT message) noexcept;
  void ServeTakenRequests();
  void ServeRequest(const Request& request);

  NOTIFYICONDATAW trayIcon_{};
  NotifyIconCall notifyIcon_;
  // Registered by the shell: sent to every top-level window when the taskbar is created.
  UINT taskbarCreatedMessage_ = 0;
  // While the keyboard is there the icon is wanted, shown or not yet.
  bool trayIconWanted_ = false;
  std::vector<UINT> trayAddRetryPausesMs_;
  std::size_t trayAddRetries_ = 0;
  StartedThread progressThread_;
  SettingsBlock settings_{};
  CUSBDriver driver_;
  KeyboardLighting keyboardLighting_;
  LPTHREAD_START_ROUTINE progressEntry_;
  TrayTextLookup trayText_;
  UniqueDeviceNotify deviceNotify_;     // the USB device's arrivals and removals
  UniqueDeviceNotify collectionNotify_;  // arrivals of HID collections
  std::deque<Request> takenRequests_;
  // What the write that waits for the keyboard asks for.
  SyncRequest waitingRequest_{};
  std::atomic<bool> waitingWrite_{false};
  std::atomic<bool> trayIconShown_{false};
};

// The device thread's entry: `parameter` is null or a DeviceThreadSetup whose HID
// calls and clock outlive the thread. Runs until the process ends (or until the thread
// gets WM_QUIT).
DWORD WINAPI DeviceThreadMain(LPVOID parameter);

// Removes the tray icon of this process's device window from any thread, so that no
// icon outlives the program however it ends; the device thread may be busy meanwhile.
void RemoveDeviceTrayIcon();

}  // namespace quencfg
