#include <windows.h>

#include "quencfg/framework/files.h"
#include "quencfg/framework/handle_win.h"
#include "quencfg/framework/text.h"
#include "quencfg/framework/wide_win.h"

namespace quencfg {
namespace {

DWORD Attributes(std::u16string_view path) { return ::GetFileAttributesW(ToWide(path).c_str()); }

bool WriteAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    const DWORD chunk = bytes.size() > 0x40000000u ? 0x40000000u : static_cast<DWORD>(bytes.size());
    DWORD written = 0;
    if (!::WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

FileWriteStatus StatusOfError(DWORD error) noexcept {
  switch (error) {
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
      return FileWriteStatus::kReadOnly;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_USER_MAPPED_FILE:
      return FileWriteStatus::kInUse;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return FileWriteStatus::kDiskFull;
    default:
      return FileWriteStatus::kFailed;
  }
}

// The failure of the step that failed: the temporary file is removed, the step's error
// stays the last error.
FileWriteResult FailedWrite(const std::wstring& temp) {
  const DWORD error = ::GetLastError();
  ::DeleteFileW(temp.c_str());
  ::SetLastError(error);
  return FileWriteResult{StatusOfError(error)};
}

// A move over a file that another program holds open is refused as access denied, as
// for a file the user may not change: a file that cannot be opened for replacing,
// because of how the other program shares it, is in use.
void TellInUseFromDenied(const std::wstring& target) {
  if (::GetLastError() != ERROR_ACCESS_DENIED) return;
  UniqueFileHandle probe(::CreateFileW(target.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  ::SetLastError(!probe && ::GetLastError() == ERROR_SHARING_VIOLATION ? ERROR_SHARING_VIOLATION
                                                                        : ERROR_ACCESS_DENIED);
}

// Which file a path reaches: its volume and its index there; nothing when it cannot be
// opened.
std::optional<BY_HANDLE_FILE_INFORMATION> FileIdentity(std::u16string_view path) {
  UniqueFileHandle file(::CreateFileW(ToWide(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  BY_HANDLE_FILE_INFORMATION info{};
  if (!file || !::GetFileInformationByHandle(file.get(), &info)) return std::nullopt;
  return info;
}

}  // namespace

bool PathExists(std::u16string_view path) { return Attributes(path) != INVALID_FILE_ATTRIBUTES; }

bool IsDirectory(std::u16string_view path) {
  const DWORD a = Attributes(path);
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool IsRegularFile(std::u16string_view path) {
  const DWORD a = Attributes(path);
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool CreateFolder(std::u16string_view path) {
  ::CreateDirectoryW(ToWide(path).c_str(), nullptr);
  return IsDirectory(path);
}

bool AppendToFile(std::u16string_view path, std::string_view bytes) {
  UniqueFileHandle file(::CreateFileW(ToWide(path).c_str(), FILE_APPEND_DATA,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  return file && WriteAll(file.get(), bytes);
}

std::optional<std::string> ReadWholeFile(std::u16string_view path) {
  UniqueFileHandle file(::CreateFileW(ToWide(path).c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart > 0x7FFFFFFF) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD read = 0;
    if (!::ReadFile(file.get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &read,
                    nullptr)) {
      return std::nullopt;
    }
    if (read == 0) break;
    done += read;
  }
  bytes.resize(done);
  return bytes;
}

FileWriteResult ReplaceFileContents(std::u16string_view path, std::string_view bytes) {
  const std::wstring target = ToWide(path);
  const std::wstring temp = target + L".tmp";
  // Windows refuses to move a file over a read-only one; Wine does not. Either way the
  // user's read-only mark is kept.
  const DWORD attributes = ::GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    ::SetLastError(ERROR_ACCESS_DENIED);
    return FileWriteResult{FileWriteStatus::kReadOnly};
  }
  {
    UniqueFileHandle file(::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return FileWriteResult{StatusOfError(::GetLastError())};
    if (!WriteAll(file.get(), bytes) || !::FlushFileBuffers(file.get())) {
      const DWORD error = ::GetLastError();
      file.reset();
      ::SetLastError(error);
      return FailedWrite(temp);
    }
  }
  if (!::MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    TellInUseFromDenied(target);
    return FailedWrite(temp);
  }
  return {};
}


bool DeleteFileAt(std::u16string_view path) { return ::DeleteFileW(ToWide(path).c_str()) != 0; }

bool CopyFileTo(std::u16string_view from, std::u16string_view to) {
  return ::CopyFileW(ToWide(from).c_str(), ToWide(to).c_str(), FALSE) != 0;
}

bool SameFile(std::u16string_view a, std::u16string_view b) {
  const auto first = FileIdentity(a);
  const auto second = FileIdentity(b);
  return first && second && first->dwVolumeSerialNumber == second->dwVolumeSerialNumber &&
         first->nFileIndexHigh == second->nFileIndexHigh && first->nFileIndexLow == second->nFileIndexLow;
}

bool RenameFile(std::u16string_view from, std::u16string_view to) {
  // Without MOVEFILE_REPLACE_EXISTING another file of that name stays.
  const std::wstring source = ToWide(from);
  const std::wstring target = ToWide(to);
  if (!SameFile(from, to)) return ::MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH) != 0;
  // A new spelling of its own name: some file systems (Wine's) answer such a rename
  // with success and keep the old spelling, so the file goes through a name of its own.
  const std::wstring step = source + L".rename";
  if (!::MoveFileExW(source.c_str(), step.c_str(), MOVEFILE_WRITE_THROUGH)) return false;
  if (::MoveFileExW(step.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH)) return true;
  ::MoveFileExW(step.c_str(), source.c_str(), MOVEFILE_WRITE_THROUGH);
  return false;
}

std::vector<std::u16string> ListFiles(std::u16string_view folder, std::u16string_view suffix) {
  std::vector<std::u16string> names;
  std::wstring pattern = ToWide(folder);
  pattern += L"*";
  WIN32_FIND_DATAW found{};
  UniqueFindHandle find(::FindFirstFileW(pattern.c_str(), &found));
  if (!find) return names;
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) continue;
    std::u16string name = ToU16(found.cFileName);
    if (EndsWithIgnoringAsciiCase(name, suffix)) names.push_back(std::move(name));
  } while (::FindNextFileW(find.get(), &found));
  return names;
}

}  // namespace quencfg
