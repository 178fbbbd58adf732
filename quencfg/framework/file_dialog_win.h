#pragma once
// The common open and save file dialogs, with the filters written the way the program
// writes them ("Name(*.ext)|*.ext|"): '|' separates description and pattern pairs.
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace quencfg {

struct FileDialogRequest {
  HWND owner = nullptr;
  std::u16string_view filter;          // "Profile File(*.profile)|*.profile|"
  std::u16string_view initialName;     // shown in the name field, e.g. "*.profile"
  std::u16string_view defaultExtension;  // with or without the leading dot
  std::u16string_view initialFolder;
  DWORD flags = 0;
};

// The chosen path, or nothing when the user cancels (or the dialog fails).
std::optional<std::u16string> ShowOpenFileDialog(const FileDialogRequest& request);
std::optional<std::u16string> ShowSaveFileDialog(const FileDialogRequest& request);

// The dialog's filter string: every '|' becomes a null, ended by a second null.
std::u16string FileDialogFilter(std::u16string_view filter);

// The user's desktop folder, or empty when the shell does not know it.
std::u16string DesktopFolder();

}  // namespace quencfg
