#include "quencfg/device/hid_wnd_win.h"

#include <dbt.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <iterator>
#include <memory>

#include "quencfg/device/device_interface_name.h"
#include "quencfg/device/device_sync.h"
#include "quencfg/device/hid_api_win.h"
#include "quencfg/device/progress_thread_win.h"
#include "quencfg/framework/com_apartment_win.h"
#include "quencfg/framework/messages.h"
#include "quencfg/framework/program_windows_win.h"
#include "quencfg/framework/text.h"
#include "quencfg/framework/wide_win.h"
#include "quencfg/framework/writelog.h"
#include "quencfg/model/settings_file.h"

namespace quencfg {
namespace {

// The USB device interface class {A5DCBF10-6530-11D2-901F-00C04FB951ED}.
constexpr GUID kUsbDeviceInterfaceClass = {
    0xA5DCBF10, 0x6530, 0x11D2, {0x90, 0x1F, 0x00, 0xC0, 0x4F, 0xB9, 0x51, 0xED}};

std::u16string DeviceLogLine(const char* what, std::uint32_t vendorId, std::uint32_t productId) {
  char line[120];
  std::snprintf(line, sizeof line, "%s-VID : 0x%x PID : 0x%x \r\n", what, static_cast<unsigned>(vendorId),
                static_cast<unsigned>(productId));
  return u"\u2514\u2500>" + AsciiToUtf16(line);
}

// Not posted by anyone: the device thread queues it for itself when a keyboard comes
// that a write waits for.
constexpr UINT kServeWaitingWrite = WM_APP + 0x51;

// The interface name of a device-change event, never read beyond the record's size.
std::u16string_view InterfaceName(const DEV_BROADCAST_DEVICEINTERFACE_W& record) {
  constexpr std::size_t kNameOffset = offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name);
  if (record.dbcc_size <= kNameOffset) return {};
  const std::size_t capacity = (record.dbcc_size - kNameOffset) / sizeof(wchar_t);
  return std::u16string_view(AsU16(record.dbcc_name), ::wcsnlen(record.dbcc_name, capacity));
}

}  // namespace

CHidWnd::CHidWnd(const DeviceThreadSetup& setup)
    : driver_(setup.hidApi != nullptr ? *setup.hidApi : PlatformHidApi(),
              setup.clock != nullptr ? *setup.clock : SystemPauseClock()),
      progressEntry_(setup.progressThread),
      trayText_(setup.trayText) {
  notifyIcon_ = setup.notifyIcon ? setup.notifyIcon : NotifyIconCall(&::Shell_NotifyIconW);
  trayAddRetryPausesMs_ = setup.trayAddRetryPausesMs;
  if (trayAddRetryPausesMs_.empty()) {
    trayAddRetryPausesMs_.assign(std::begin(kTrayAddRetryPausesMs), std::end(kTrayAddRetryPausesMs));
  }
}

CHidWnd::~CHidWnd() { Shutdown(); }

bool CHidWnd::CreateHidden() {
  WindowCreateParams params;
  params.className = AsWide(kDeviceWindowClass);
  params.title = AsWide(kDeviceWindowTitle);
  params.style = WS_POPUP;
  params.x = 1;
  params.y = 1;
  params.width = 1;
  params.height = 1;
  return Create(params);
}

bool CHidWnd::OnCreate() {
  ::SetWindowTextW(hwnd(), AsWide(kDeviceWindowTitle));
  ListenForNewTaskbars();
  driver_.SetNotifyWindow(reinterpret_cast<NotifyWindow>(hwnd()));
  RegisterForDeviceNotifications();
  WriteLogString(u"INITDEVICE_OpenUSBDriver");
  OpenKeyboard(true);
  // With or without the keyboard: the user can always reach and end the program.
  AddTrayIcon();
  Reload();
  if (progressEntry_ != nullptr) progressThread_ = StartProgressThread(progressEntry_);
  return true;
}

void CHidWnd::RegisterForDeviceNotifications() {
  auto listen = [this](const GUID& interfaceClass) {
    DEV_BROADCAST_DEVICEINTERFACE_W filter{};
    filter.dbcc_size = sizeof filter;
    filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    filter.dbcc_classguid = interfaceClass;
    return UniqueDeviceNotify(::RegisterDeviceNotificationW(hwnd(), &filter, DEVICE_NOTIFY_WINDOW_HANDLE));
  };
  deviceNotify_ = listen(kUsbDeviceInterfaceClass);
  // A first plug-in may install the keyboard's drivers for longer than an arrival waits;
  // each collection announces itself when it is ready.
  collectionNotify_ = listen(kHidInterfaceClass);
}

void CHidWnd::OpenKeyboard(bool atStart) {
  if (driver_.OpenDevice(driver_.VendorId(), driver_.ProductId()) <= 0) return;
  if (!atStart) WriteLogString(DeviceLogLine("Device Open Success", driver_.VendorId(), driver_.ProductId()));
  OnKeyboardOpened();
}

void CHidWnd::OpenArrivedKeyboard(bool arrival) {
  // Repeated arrival events of an open keyboard reopen nothing.
  if (driver_.HoldsAllCollections()) {
    OnKeyboardOpened();
    return;
  }
  // A keyboard that comes back may have been changed elsewhere (or reset).
  keyboardLighting_.Forget();
  driver_.Clock().Pause(kPauseBeforeReopenMs);
  for (std::uint32_t waited = 0;; waited += kArrivalRetryPauseMs) {
    const int recognised = driver_.OpenDevice(driver_.VendorId(), driver_.ProductId());
    if (!arrival && recognised == 0 && waited == 0) break;
    // Half open, the keyboard would take some writes and silently drop others.
    if (driver_.HoldsAllCollections() || waited + kArrivalRetryPauseMs > kArrivalRetryLimitMs) break;
    driver_.Clock().Pause(kArrivalRetryPauseMs);
  }
  if (!driver_.HoldsAnyCollection()) return;
  WriteLogString(DeviceLogLine("Device Open Success", driver_.VendorId(), driver_.ProductId()));
  OnKeyboardOpened();
}

void CHidWnd::OpenAppearedCollection() {
  if (driver_.HoldsAllCollections()) return;
  const bool present = driver_.HoldsAnyCollection();
  if (driver_.OpenDevice(driver_.VendorId(), driver_.ProductId()) <= 0) return;
  // Logged once per plug-in, when the first collection is opened.
  if (!present) WriteLogString(DeviceLogLine("Device Open Success", driver_.VendorId(), driver_.ProductId()));
  OnKeyboardOpened();
}

void CHidWnd::OnKeyboardOpened() {
  OnKeyboardStateChanged();
  // Also on a later plug-in, so that a keyboard first plugged in after start-up
  // reports its keys too; the driver starts its read thread only once.
  (void)driver_.StartReadThread();
  ServeWaitingWriteWhenOpen();
}

void CHidWnd::OnKeyboardStateChanged() {
  PostKeyboardState(OpenState());
  UpdateTrayTip();
}

void CHidWnd::ServeWaitingWriteWhenOpen() {
  // Half open, the keyboard would take some reports and drop others: the collections
  // still missing announce themselves, and the write waits for the last one. Served
  // from the queue, never inside the platform's device-change message.
  if (!waitingWrite_.load() || !driver_.HoldsAllCollections()) return;
  const bool queued = std::any_of(takenRequests_.begin(), takenRequests_.end(),
                                  [](const Request& request) { return request.message == kServeWaitingWrite; });
  if (queued) return;
  takenRequests_.push_back(Request{kServeWaitingWrite, 0, 0});
  ::PostMessageW(hwnd(), WM_NULL, 0, 0);
}

void CHidWnd::OnDeviceChange(WPARAM event, LPARAM data) {
  const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(data);
  if (header == nullptr || header->dbch_devicetype != DBT_DEVTYP_DEVICEINTERFACE) return;
  const auto& record = *reinterpret_cast<const DEV_BROADCAST_DEVICEINTERFACE_W*>(header);
  if (!IsKeyboardInterfaceName(InterfaceName(record), driver_.VendorId(), driver_.ProductId())) return;
  // A collection's interface name carries the IDs at the same places as the device's.
  // Its removal says nothing the device's removal does not say too.
  if (::IsEqualGUID(record.dbcc_classguid, kHidInterfaceClass)) {
    if (event == DBT_DEVICEARRIVAL) OpenAppearedCollection();
    return;
  }
  if (event == DBT_DEVICEARRIVAL) {
    OpenArrivedKeyboard(true);
  } else if (event == DBT_DEVICEREMOVECOMPLETE) {
    WriteLogString(DeviceLogLine("Device Removed", driver_.VendorId(), driver_.ProductId()));
    // The handles of a removed device are dead: closed, so that none leak over replugs,
    // and every sender now returns at once.
    driver_.CloseDevice();
    keyboardLighting_.Forget();
    OnKeyboardStateChanged();
  }
}

void CHidWnd::OnPowerBroadcast(WPARAM event) {
  // Sent on every resume, whether or not a user is present.
  if (event != PBT_APMRESUMEAUTOMATIC) return;
  // After sleep the keyboard was reset or is gone: handles of before are not trusted.
  driver_.CloseDevice();
  OpenArrivedKeyboard(false);
  if (driver_.HoldsAnyCollection()) return;
  OnKeyboardStateChanged();
}

void CHidWnd::PostKeyboardState(KeyboardState state) const {
  PostToWindow(FindOwnWindow(kMainWindowName), UM_KEYBOARDSTATE, static_cast<WPARAM>(state), 0);
}

bool CHidWnd::KeyboardOpen() noexcept { return driver_.Handles().command.load() != kNoHidHandle; }

KeyboardState CHidWnd::OpenState() noexcept {
  if (KeyboardOpen()) return KeyboardState::Connected;
  return waitingWrite_.load() ? KeyboardState::ChangesWaiting : KeyboardState::Absent;
}

void CHidWnd::Reload() { ReloadSettings(settings_); }

void CHidWnd::FullWrite(bool writeLighting, bool reset) {
  SyncRequest request{writeLighting, reset};
  // A write that waits is done by this one, which reads the newest files: what either
  // asked for is written.
  if (waitingWrite_.exchange(false)) {
    request.writeLighting = request.writeLighting || waitingRequest_.writeLighting;
    request.reset = request.reset || waitingRequest_.reset;
  }
  if (!KeyboardOpen()) {
    // Nothing can reach a keyboard that is not there, so no progress window says it
    // does: the files are saved, the copy follows them, and the write waits for the
    // keyboard's arrival. The main window says so.
    Reload();
    waitingRequest_ = request;
    waitingWrite_.store(true);
    PostKeyboardState(OpenState());
    return;
  }
  PostedProgress progress;
  PostKeyboardState(KeyboardState::Writing);
  const std::uint64_t failedBefore = driver_.FailedReports();
  RunFullWrite(driver_, settings_, progress, request, keyboardLighting_);
  if (driver_.FailedReports() != failedBefore) {
    // Cut off (unplugged during the write, whose removal comes after it): done again
    // when the keyboard comes back.
    waitingRequest_ = request;
    waitingWrite_.store(true);
  }
  PostKeyboardState(OpenState());
}

int CHidWnd::RunMessageLoop() {
  MSG message{};
  for (;;) {
    ServeTakenRequests();
    const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(message.wParam);
    if (got == -1) return -1;
    if (IsRequest(message.message)) {
      takenRequests_.push_back(Request{message.message, message.wParam, message.lParam});
    } else if (message.message == UM_TRAYNOTIFY) {
      // Normally sent by the shell; one that was posted is served the same way.
      if (message.hwnd == hwnd()) OnTrayNotify(message.lParam);
    } else if (message.hwnd != nullptr && (message.hwnd != hwnd() || IsTrayUpkeep(message.message))) {
      // Windows that the shell or COM made on this thread need their messages, and so
      // does the tray icon's upkeep; everything else meant for the device window is
      // dropped.
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
  }
}

bool CHidWnd::IsRequest(UINT message) noexcept {
  return message == WM_COMMAND || message == UM_DEVICESYNC || message == UM_DEVICEEVENT ||
         message == UM_KEYBOARDSTATEQUERY || message == UM_KEEPRUNNING || message == UM_LANGUAGECHANGED;
}

void CHidWnd::ServeTakenRequests() {
  // A request may run a modal loop that takes further requests; they join the end.
  while (!takenRequests_.empty()) {
    const Request request = takenRequests_.front();
    takenRequests_.pop_front();
    ServeRequest(request);
  }
}

void CHidWnd::ServeRequest(const Request& request) {
  switch (request.message) {
    case WM_COMMAND:
      OnTrayCommand(LOWORD(request.wParam));
      break;
    case UM_DEVICESYNC:
      FullWrite(request.wParam != 0, request.lParam != 0);
      break;
    case UM_DEVICEEVENT:
      LaunchProgramOfCell(request.wParam);
      break;
    case UM_KEYBOARDSTATEQUERY:
      // Asked once the main window has read the strings: the tooltip can speak too.
      OnKeyboardStateChanged();
      break;
    case UM_LANGUAGECHANGED:
      UpdateTrayTip();
      break;
    case UM_KEEPRUNNING:
      if (!trayIconShown_.load()) AddTrayIcon();
      break;
    case kServeWaitingWrite:
      if (waitingWrite_.load() && KeyboardOpen()) FullWrite(false, false);
      break;
    default:
      break;
  }
}

void CHidWnd::Shutdown() {
  if (!IsCreated()) return;
  RemoveTrayIcon();
  StopProgressThread(progressThread_);
  deviceNotify_.reset();
  collectionNotify_.reset();
  driver_.SetNotifyWindow(0);
  driver_.StopReading();
  driver_.CloseDevice();
  Destroy();
}

LRESULT CHidWnd::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      if (DefaultHandling(message, wParam, lParam) == -1) return -1;
      return OnCreate() ? 0 : -1;
    case WM_DEVICECHANGE:
      OnDeviceChange(wParam, lParam);
      return DefaultHandling(message, wParam, lParam);
    case WM_POWERBROADCAST:
      OnPowerBroadcast(wParam);
      return TRUE;
    case UM_TRAYNOTIFY:
      OnTrayNotify(lParam);
      return 0;
    case WM_TIMER:
      if (wParam == kTrayAddRetryTimer) OnTrayAddRetryTimer();
      return 0;
    default:
      if (message == taskbarCreatedMessage_ && message != 0) {
        OnTaskbarCreated();
        return 0;
      }
      if (IsRequest(message)) {
        // Handed over by a modal loop (a menu's) or sent: served by the thread's own
        // loop, after what it took before and never inside that modal loop. The posted
        // WM_NULL wakes the loop when it waits.
        takenRequests_.push_back(Request{message, wParam, lParam});
        ::PostMessageW(hwnd(), WM_NULL, 0, 0);
        return 0;
      }
      return DefaultHandling(message, wParam, lParam);
  }
}

DWORD WINAPI DeviceThreadMain(LPVOID parameter) {
  const DeviceThreadSetup defaults;
  const auto* setup = parameter != nullptr ? static_cast<const DeviceThreadSetup*>(parameter) : &defaults;
  // The first start's files exist before the keyboard is looked for, and before the main
  // window loads them: the main window waits for this, so nothing comes before it.
  if (setup->prepareDataFolder) {
    setup->prepareDataFolder();
  } else {
    PrepareDataFolder();
  }
  if (setup->dataFolderPrepared != nullptr) ::SetEvent(setup->dataFolderPrepared);
  ComApartment com;  // for the shell calls of the program launcher
  auto window = std::make_unique<CHidWnd>(*setup);
  if (!window->CreateHidden()) return 1;
  const int code = window->RunMessageLoop();
  // Only a device thread told to quit gets here; the program's ends with the process.
  window->Shutdown();
  // A read thread that was asked for but has not begun may still use the driver: then
  // the object stays.
  if (!window->Driver().ReadThreadDone()) (void)window.release();
  return static_cast<DWORD>(code);
}

}  // namespace quencfg
