#pragma once
// The files-and-folders seam: the Win32 file API on Windows, std::filesystem natively.
// Paths are full UTF-16 paths in this platform's form (see paths.h).
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quencfg {

[[nodiscard]] bool PathExists(std::u16string_view path);
[[nodiscard]] bool IsDirectory(std::u16string_view path);
[[nodiscard]] bool IsRegularFile(std::u16string_view path);

// Creates one folder (its parent must exist). True when it exists afterwards.
bool CreateFolder(std::u16string_view path);

// Appends bytes to a file, creating it when missing.
[[nodiscard]] bool AppendToFile(std::u16string_view path, std::string_view bytes);

// The whole content of a file, or nothing when it cannot be read.
[[nodiscard]] std::optional<std::string> ReadWholeFile(std::u16string_view path);

// What became of a whole-file write; the reasons a user can do something about are
// told apart.
enum class FileWriteStatus {
  kWritten,
  kReadOnly,  // the file is read-only, or the user may not change it
  kInUse,     // another program holds the file open (a sync client, an editor)
  kDiskFull,
  kFailed,    // any other reason
};

struct FileWriteResult {
  FileWriteStatus status = FileWriteStatus::kWritten;
  explicit operator bool() const noexcept { return status == FileWriteStatus::kWritten; }
};

// Writes the whole file through a temporary file in the same folder, flushed to disk,
// then moved over the target. On any failure the previous file is left as it was, and
// the platform's error of the failed step stays the thread's last error. A read-only
// target is refused on every platform, as Windows refuses it.
[[nodiscard]] FileWriteResult ReplaceFileContents(std::u16string_view path, std::string_view bytes);

bool DeleteFileAt(std::u16string_view path);

[[nodiscard]] bool CopyFileTo(std::u16string_view from, std::u16string_view to);

// Whether both paths reach one existing file: on a file system that ignores case,
// "Macro 1" and "macro 1" name the same file; so does a second link to it.
[[nodiscard]] bool SameFile(std::u16string_view a, std::u16string_view b);

// Gives a file another name, never over another file. A new spelling of the same name
// ("Macro 1" to "macro 1") changes the name where the file system ignores case.
[[nodiscard]] bool RenameFile(std::u16string_view from, std::u16string_view to);

// Names (not paths) of the regular files in a folder whose name ends with `suffix`
// (compared without regard to ASCII case), in the order the platform lists them.
std::vector<std::u16string> ListFiles(std::u16string_view folder, std::u16string_view suffix);

}  // namespace quencfg
