#include "quencfg/ui/keyassign/program_picker_win.h"

#include <commdlg.h>

#include <array>

#include "quencfg/framework/file_dialog_win.h"
#include "quencfg/framework/wide_win.h"

namespace quencfg {
namespace {

constexpr DWORD kPathCapacity = MAX_PATH;
// Hide read-only, file must exist, explorer style, shortcuts not followed.
constexpr DWORD kPickerFlags = OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_EXPLORER | OFN_NODEREFERENCELINKS;

std::u16string ProgramsFolder() {
  std::array<wchar_t, kPathCapacity> folder{};
  const DWORD length = ::ExpandEnvironmentStringsW(L"%ProgramFiles%", folder.data(), kPathCapacity);
  if (length == 0 || length > kPathCapacity) return {};
  return ToU16(folder.data());
}

}  // namespace

std::u16string ChooseProgramFile(HWND owner) {
  const std::u16string initialFolder = ProgramsFolder();
  FileDialogRequest request;
  request.owner = owner;
  request.filter = u"All Files (*.*)|*.*|";
  request.initialName = u"*.*";
  request.defaultExtension = u"*.*";
  request.initialFolder = initialFolder;
  request.flags = kPickerFlags;
  return ShowOpenFileDialog(request).value_or(std::u16string());
}

}  // namespace quencfg
