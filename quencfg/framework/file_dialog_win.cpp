#include "quencfg/framework/file_dialog_win.h"

#include <commdlg.h>
#include <shlobj.h>

#include <algorithm>

#include "quencfg/framework/wide_win.h"

namespace quencfg {
namespace {

constexpr std::size_t kPathBufferLength = 260;

std::optional<std::u16string> RunFileDialog(const FileDialogRequest& request, bool save) {
  std::u16string filter = FileDialogFilter(request.filter);
  std::u16string extension(request.defaultExtension);
  if (!extension.empty() && extension.front() == u'.') extension.erase(0, 1);
  std::u16string folder(request.initialFolder);

  wchar_t path[kPathBufferLength] = {};
  const std::size_t nameLength = std::min(request.initialName.size(), kPathBufferLength - 1);
  std::copy_n(request.initialName.data(), nameLength, AsU16(path));

  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = request.owner;
  dialog.lpstrFilter = filter.empty() ? nullptr : AsWide(filter);
  dialog.lpstrFile = path;
  dialog.nMaxFile = static_cast<DWORD>(kPathBufferLength);
  dialog.lpstrInitialDir = folder.empty() ? nullptr : AsWide(folder);
  dialog.lpstrDefExt = extension.empty() ? nullptr : AsWide(extension);
  dialog.Flags = request.flags;
  const BOOL chosen = save ? ::GetSaveFileNameW(&dialog) : ::GetOpenFileNameW(&dialog);
  if (!chosen) return std::nullopt;
  return ToU16(path);
}

}  // namespace

std::u16string FileDialogFilter(std::u16string_view filter) {
  std::u16string result(filter);
  for (char16_t& c : result) {
    if (c == u'|') c = u'\0';
  }
  result.push_back(u'\0');
  return result;
}

std::optional<std::u16string> ShowOpenFileDialog(const FileDialogRequest& request) {
  return RunFileDialog(request, false);
}

std::optional<std::u16string> ShowSaveFileDialog(const FileDialogRequest& request) {
  return RunFileDialog(request, true);
}

std::u16string DesktopFolder() {
  wchar_t folder[MAX_PATH] = {};
  if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_DESKTOP, nullptr, SHGFP_TYPE_CURRENT, folder))) return {};
  return ToU16(folder);
}

}  // namespace quencfg
