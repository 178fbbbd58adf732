#include "quencfg/ui/keyassign/program_picker_win.h"

#include <commdlg.h>

#include <array>

#include "quencfg/framework/wide_win.h"

namespace quencfg {
namespace {

constexpr DWORD kPathCapacity = MAX_PATH;
// Hide read-only, file must exist, explorer style, shortcuts not followed.
constexpr DWORD kPickerFlags = OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_EXPLORER | OFN_NODEREFERENCELINKS;
// "All Files (*.*)|*.*|" in the double-zero-terminated form of the dialog.
constexpr wchar_t kFilter[] = L"All Files (*.*)\0*.*\0";

std::array<wchar_t, kPathCapacity> ProgramsFolder() {
  std::array<wchar_t, kPathCapacity> folder{};
  if (::ExpandEnvironmentStringsW(L"%ProgramFiles%", folder.data(), kPathCapacity) == 0 ||
      folder.back() != L'\0') {
    folder.fill(L'\0');
  }
  return folder;
}

}  // namespace

std::u16string ChooseProgramFile(HWND owner) {
  const std::array<wchar_t, kPathCapacity> initialFolder = ProgramsFolder();
  std::array<wchar_t, kPathCapacity> file{L"*.*"};
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = kFilter;
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = kPathCapacity;
  dialog.lpstrInitialDir = initialFolder[0] != L'\0' ? initialFolder.data() : nullptr;
  dialog.lpstrDefExt = L"*.*";
  dialog.Flags = kPickerFlags;
  if (!::GetOpenFileNameW(&dialog)) return {};
  file.back() = L'\0';
  return ToU16(file.data());
}

}  // namespace quencfg
