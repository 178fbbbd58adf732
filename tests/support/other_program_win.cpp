#include "support/other_program_win.h"

#include <iterator>

namespace quencfg::testing {
namespace {

constexpr DWORD kStartWaitMs = 15000;
// Left, top, right, bottom on the 1280 x 1024 screen: below the main window centred on it.
constexpr RECT kPlace{880, 860, 1270, 1020};

std::wstring NotepadPath() {
  wchar_t folder[MAX_PATH] = {};
  const UINT length = ::GetWindowsDirectoryW(folder, MAX_PATH);
  return std::wstring(folder, length) + L"\\notepad.exe";
}

}  // namespace

OtherProgram::OtherProgram() : process_(NotepadPath()) {}

bool OtherProgram::Open() {
  if (!process_.started()) return false;
  window_ = WaitForVisibleWindowOf(process_.id(), kStartWaitMs);
  if (window_ == nullptr) return false;
  ::SetWindowPos(window_, nullptr, kPlace.left, kPlace.top, kPlace.right - kPlace.left, kPlace.bottom - kPlace.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  edit_ = ::FindWindowExW(window_, nullptr, L"Edit", nullptr);
  return edit_ != nullptr;
}

std::wstring OtherProgram::TextAreaPoint() const {
  RECT area{};
  ::GetWindowRect(edit_, &area);
  return std::to_wstring((area.left + area.right) / 2) + L" " + std::to_wstring((area.top + area.bottom) / 2);
}

std::wstring OtherProgram::Text() const {
  wchar_t text[256] = {};
  DWORD_PTR copied = 0;
  if (!::SendMessageTimeoutW(edit_, WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                             2000, &copied)) {
    return {};
  }
  return std::wstring(text, copied);
}

}  // namespace quencfg::testing
