#pragma once
// The two process-wide folders: the program's own and the per-user data folder.
// Both end with the path separator, are set once during start-up and only read after.
#include <string>
#include <string_view>

namespace quencfg {

inline constexpr std::size_t kFolderCapacity = 260;  // including the terminating 0

const char16_t* AppFolder() noexcept;
const char16_t* DataFolder() noexcept;

// Store a folder, cut to the capacity. A folder cut short no longer ends with the
// separator; such a folder is refused (false) and the old value kept.
bool SetAppFolder(std::u16string_view folder) noexcept;
bool SetDataFolder(std::u16string_view folder) noexcept;

// The folder part of an executable path, up to and including its last separator.
std::u16string FolderOfPath(std::u16string_view path);

// The user's application-data folder (no trailing separator), created when missing.
std::u16string ApplicationDataFolder();

// The application-data folder followed by `relative` (which starts and ends with the
// separator). Every missing folder along `relative` is created; errors are ignored.
std::u16string ResolveDataFolder(std::u16string_view relative);

// The same walk below any base folder; the seam that the tests drive.
std::u16string ResolveFolderUnder(std::u16string_view base, std::u16string_view relative);

}  // namespace quencfg
