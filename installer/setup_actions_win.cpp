// The custom actions of the Windows Installer package (embedded in it, not installed).
#include <windows.h>
#include <msi.h>
#include <msiquery.h>

#include <cstdint>
#include <string>

#include "quencfg/device/hid_wnd_win.h"
#include "quencfg/framework/handle_win.h"
#include "quencfg/framework/messages.h"
#include "quencfg/framework/program_windows_win.h"
#include "quencfg/framework/sign_in_start.h"
#include "quencfg/framework/sign_in_start_win.h"
#include "quencfg/framework/wide_win.h"

namespace {

// Long enough for a write to the keyboard in progress to finish.
constexpr DWORD kCloseWaitMs = 15000;

constexpr wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

std::wstring Property(MSIHANDLE install, const wchar_t* name) {
  wchar_t value[1024] = {};
  DWORD length = sizeof value / sizeof value[0];
  if (::MsiGetPropertyW(install, name, value, &length) != ERROR_SUCCESS) return {};
  return value;
}

// Installer records and views: MSIHANDLE is a number, 0 for none.
struct MsiHandleTraits {
  using Type = MSIHANDLE;
  static Type Invalid() noexcept { return 0; }
  static bool IsValid(Type h) noexcept { return h != 0; }
  static void Close(Type h) noexcept { ::MsiCloseHandle(h); }
};
using UniqueMsiHandle = quencfg::UniqueHandle<MsiHandleTraits>;

// One line in the installer's log (msiexec /l*v), so that a size left out can be traced.
void LogLine(MSIHANDLE install, const std::wstring& text) {
  const UniqueMsiHandle record(::MsiCreateRecord(0));
  if (!record) return;
  ::MsiRecordSetStringW(record.get(), 0, text.c_str());
  ::MsiProcessMessage(install, INSTALLMESSAGE_INFO, record.get());
}

std::uint64_t FolderBytes(const std::wstring& folder) {
  WIN32_FIND_DATAW entry{};
  const quencfg::UniqueFindHandle find(::FindFirstFileW((folder + L"\\*").c_str(), &entry));
  if (!find) return 0;
  std::uint64_t bytes = 0;
  do {
    const std::wstring name = entry.cFileName;
    if (name == L"." || name == L"..") continue;
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      bytes += FolderBytes(folder + L"\\" + name);
    } else {
      bytes += (static_cast<std::uint64_t>(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow;
    }
  } while (::FindNextFileW(find.get(), &entry));
  return bytes;
}

}  // namespace

// Installs the feature of the Run value or leaves it out (after costing, before any
// change): STARTATSIGNIN, or on an upgrade the user's present choice.
extern "C" UINT __stdcall ApplySignInChoice(MSIHANDLE install) {
  const bool upgrading = !Property(install, L"WIX_UPGRADE_DETECTED").empty();
  const std::u16string choice = quencfg::ToU16(Property(install, L"STARTATSIGNIN"));
  if (!quencfg::InstallsSignInStart(choice, upgrading, quencfg::SignInStartEnabled())) {
    ::MsiSetFeatureStateW(install, L"SignInStart", INSTALLSTATE_ABSENT);
  }
  return ERROR_SUCCESS;
}

// Asks a running Korvane.exe to end the way its tray menu's exit item does, so that
// its tray icon goes with it, and waits until it has ended and its files are free.
extern "C" UINT __stdcall CloseRunningKorvane(MSIHANDLE) {
  // Only Korvane.exe's own device window: a window of another program with its title
  // must not get a command to end.
  const HWND device = quencfg::FindProgramWindow(quencfg::kDeviceWindowName, quencfg::kProgramFileName);
  if (device == nullptr) return ERROR_SUCCESS;
  DWORD processId = 0;
  ::GetWindowThreadProcessId(device, &processId);
  const quencfg::UniqueKernelHandle process(::OpenProcess(SYNCHRONIZE, FALSE, processId));
  // The device thread's message loop serves a posted tray command like a picked one.
  if (!::PostMessageW(device, WM_COMMAND, quencfg::ID_TRAY_EXIT, 0)) return ERROR_SUCCESS;
  if (process) ::WaitForSingleObject(process.get(), kCloseWaitMs);
  return ERROR_SUCCESS;
}

// Removes the Run value of start at sign-in, which the program's settings menu may
// have written while the package's own value was not installed.
extern "C" UINT __stdcall ForgetSignInStart(MSIHANDLE) {
  quencfg::DisableSignInStart();
  return ERROR_SUCCESS;
}

// Gives the uninstall entry the size of the program folder when the installer engine
// left it at none (Wine's does); CustomActionData is "{product code}|install folder".
extern "C" UINT __stdcall RecordInstalledSize(MSIHANDLE install) {
  const std::wstring data = Property(install, L"CustomActionData");
  const std::size_t bar = data.find(L'|');
  if (bar == std::wstring::npos) return ERROR_SUCCESS;
  const std::wstring key = kUninstallKey + data.substr(0, bar);
  DWORD size = 0;
  DWORD bytes = sizeof size;
  if (::RegGetValueW(HKEY_LOCAL_MACHINE, key.c_str(), L"EstimatedSize", RRF_RT_REG_DWORD, nullptr, &size, &bytes) ==
          ERROR_SUCCESS &&
      size != 0) {
    return ERROR_SUCCESS;
  }
  std::wstring folder = data.substr(bar + 1);
  if (!folder.empty() && folder.back() == L'\\') folder.pop_back();
  size = static_cast<DWORD>((FolderBytes(folder) + 1023) / 1024);
  const LSTATUS written =
      ::RegSetKeyValueW(HKEY_LOCAL_MACHINE, key.c_str(), L"EstimatedSize", REG_DWORD, &size, sizeof size);
  LogLine(install, L"RecordInstalledSize: " + std::to_wstring(size) + L" KiB for " + folder + L", result " +
                       std::to_wstring(written));
  return ERROR_SUCCESS;
}
