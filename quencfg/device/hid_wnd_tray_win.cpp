// The tray icon of CHidWnd, its pop-up menu and the menu's commands.
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cwchar>
#include <iterator>
#include <string>

#include "quencfg/device/hid_wnd_win.h"
#include "quencfg/framework/app_icon_win.h"
#include "quencfg/framework/handle_win.h"
#include "quencfg/framework/messages.h"
#include "quencfg/framework/program_windows_win.h"
#include "quencfg/framework/wide_win.h"

namespace quencfg {
namespace {

HWND FindMainWindow() noexcept { return FindOwnWindow(kMainWindowName); }

NOTIFYICONDATAW TrayIconKey(HWND owner) {
  NOTIFYICONDATAW record{};
  // The size of this build's record (the 64-bit one), not a 32-bit build's 956.
  record.cbSize = sizeof(NOTIFYICONDATAW);
  record.hWnd = owner;
  record.uID = kTrayIconId;
  return record;
}

}  // namespace

std::u16string CHidWnd::TrayText(std::u16string_view section, std::u16string_view key) const {
  return trayText_ != nullptr ? trayText_(section, key) : std::u16string();
}

void CHidWnd::AddTrayIcon() {
  trayIcon_ = TrayIconKey(hwnd());
  trayIcon_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  trayIcon_.uCallbackMessage = UM_TRAYNOTIFY;
  trayIcon_.hIcon = ApplicationIcon();
  trayIconWanted_ = true;
  trayAddRetries_ = 0;
  UpdateTrayTip();
  ShowTrayIconInShell();
}

std::u16string CHidWnd::KeyboardStateText() {
  return TrayText(u"FEEDBACK", KeyboardOpen() ? u"KEYBOARD_CONNECTED" : u"KEYBOARD_ABSENT");
}

void CHidWnd::UpdateTrayTip() {
  std::u16string tip = TrayText(u"TRAYICON", u"TIP");
  if (tip.empty()) tip = kTrayTip;
  const std::u16string state = KeyboardStateText();
  if (!state.empty()) tip += u"\n" + state;
  std::fill(std::begin(trayIcon_.szTip), std::end(trayIcon_.szTip), L'\0');
  ::wcsncpy(trayIcon_.szTip, AsWide(tip), sizeof trayIcon_.szTip / sizeof trayIcon_.szTip[0] - 1);
  if (!trayIconWanted_ || !trayIconShown_.load()) return;  // the next add takes it
  NOTIFYICONDATAW record = trayIcon_;
  record.uFlags = NIF_TIP;
  if (notifyIcon_(NIM_MODIFY, &record)) return;
  // The taskbar lost the icon meanwhile: it is added again with this tip.
  trayAddRetries_ = 0;
  ShowTrayIconInShell();
}

void CHidWnd::ListenForNewTaskbars() {
  taskbarCreatedMessage_ = ::RegisterWindowMessageW(L"TaskbarCreated");
  // Also when the program runs with more rights than Explorer, which announces it.
  if (taskbarCreatedMessage_ != 0) {
    ::ChangeWindowMessageFilterEx(hwnd(), taskbarCreatedMessage_, MSGFLT_ALLOW, nullptr);
  }
}

void CHidWnd::ShowTrayIconInShell() {
  ::KillTimer(hwnd(), kTrayAddRetryTimer);
  NOTIFYICONDATAW record = trayIcon_;
  // A taskbar that still holds the icon refuses to add it again, but takes a change.
  const bool shown = notifyIcon_(NIM_ADD, &record) || notifyIcon_(NIM_MODIFY, &record);
  trayIconShown_.store(shown);
  if (shown || trayAddRetries_ >= trayAddRetryPausesMs_.size()) return;
  // Not there yet (a start at sign-in comes before the taskbar): the shell announces a
  // new taskbar, and until then the add is tried again now and then.
  ::SetTimer(hwnd(), kTrayAddRetryTimer, trayAddRetryPausesMs_[trayAddRetries_++], nullptr);
}

void CHidWnd::OnTrayAddRetryTimer() {
  ::KillTimer(hwnd(), kTrayAddRetryTimer);
  if (trayIconWanted_ && !trayIconShown_.load()) ShowTrayIconInShell();
}

void CHidWnd::OnTaskbarCreated() {
  // Explorer started again: its new taskbar holds none of the icons of the old one.
  if (!trayIconWanted_) return;
  trayAddRetries_ = 0;
  ShowTrayIconInShell();
}

bool CHidWnd::IsTrayUpkeep(UINT message) const noexcept {
  return message == WM_TIMER || (message == taskbarCreatedMessage_ && message != 0);
}

void CHidWnd::RemoveTrayIcon() {
  trayIconWanted_ = false;
  ::KillTimer(hwnd(), kTrayAddRetryTimer);
  NOTIFYICONDATAW key = TrayIconKey(hwnd());
  notifyIcon_(NIM_DELETE, &key);
  trayIconShown_.store(false);
}

void RemoveDeviceTrayIcon() {
  HWND device = FindOwnWindow(kDeviceWindowName);
  if (device == nullptr) return;
  NOTIFYICONDATAW key = TrayIconKey(device);
  ::Shell_NotifyIconW(NIM_DELETE, &key);
}

void CHidWnd::OnTrayNotify(LPARAM mouseMessage) {
  switch (mouseMessage) {
    case WM_LBUTTONDBLCLK:
      ShowMainWindowFromTray();
      break;
    case WM_RBUTTONDOWN:
      ShowTrayMenu();
      break;
    default:
      break;
  }
}

void CHidWnd::ShowMainWindowFromTray() {
  HWND main = FindMainWindow();
  if (main == nullptr) return;
  ::ShowWindow(main, SW_SHOWNORMAL);
  ::PostMessageW(main, UM_TRAYNOTIFY, kTrayIconId, WM_LBUTTONDBLCLK);
}

void CHidWnd::ShowTrayMenu() {
  // In the foreground, the menu closes when the user clicks elsewhere.
  ::SetForegroundWindow(::GetLastActivePopup(hwnd()));
  UniqueMenu menu(::CreatePopupMenu());
  if (menu.get() == nullptr) return;
  const std::u16string state = KeyboardStateText();
  const std::u16string launch = TrayText(u"TRAYICON", u"LAUNCH");
  const std::u16string exit = TrayText(u"TRAYICON", u"EXIT");
  // The keyboard's state, a line to read and not to choose; Exit is always there.
  ::AppendMenuW(menu.get(), MF_STRING | MF_GRAYED, ID_TRAY_STATUS, AsWide(state));
  ::AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
  ::AppendMenuW(menu.get(), MF_STRING, ID_TRAY_LAUNCH, AsWide(launch));
  ::SetMenuDefaultItem(menu.get(), ID_TRAY_LAUNCH, FALSE);
  ::AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
  ::AppendMenuW(menu.get(), MF_STRING, ID_TRAY_EXIT, AsWide(exit));
  POINT cursor{};
  ::GetCursorPos(&cursor);
  // The choice comes back as a posted WM_COMMAND, served by the message loop.
  ::TrackPopupMenu(menu.get(), 0, cursor.x, cursor.y, 0, hwnd(), nullptr);
  ::PostMessageW(hwnd(), WM_NULL, 0, 0);
}

void CHidWnd::OnTrayCommand(UINT commandId) {
  const HWND main = FindMainWindow();
  UINT message = 0;
  if (commandId == ID_TRAY_EXIT) {
    RemoveTrayIcon();
    if (HWND again = FindMainWindow()) ::PostMessageW(again, WM_CLOSE, 0, reinterpret_cast<LPARAM>(hwnd()));
    message = UM_EXITAPP;
  } else if (commandId == ID_TRAY_LAUNCH) {
    message = UM_SHOWMAIN;
  }
  // Other command IDs are not forwarded: posted as messages, they could be anything.
  if (main != nullptr && message != 0) ::PostMessageW(main, message, 0, 0);
}

}  // namespace quencfg
