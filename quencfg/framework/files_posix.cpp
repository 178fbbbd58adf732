#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "quencfg/framework/files.h"
#include "quencfg/framework/text.h"

namespace quencfg {
namespace {

namespace fs = std::filesystem;

fs::path ToPath(std::u16string_view path) { return fs::path(Utf16ToUtf8(path)); }

bool WriteAllAndSync(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return ::fsync(fd) == 0;
}

FileWriteStatus StatusOfErrno(int error) noexcept {
  switch (error) {
    case EACCES:
    case EPERM:
    case EROFS:
      return FileWriteStatus::kReadOnly;
    case EBUSY:
    case ETXTBSY:
      return FileWriteStatus::kInUse;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return FileWriteStatus::kDiskFull;
    default:
      return FileWriteStatus::kFailed;
  }
}

}  // namespace

bool PathExists(std::u16string_view path) {
  std::error_code ec;
  return fs::exists(ToPath(path), ec);
}

bool IsDirectory(std::u16string_view path) {
  std::error_code ec;
  return fs::is_directory(ToPath(path), ec);
}

bool IsRegularFile(std::u16string_view path) {
  std::error_code ec;
  return fs::is_regular_file(ToPath(path), ec);
}

bool CreateFolder(std::u16string_view path) {
  std::error_code ec;
  fs::create_directory(ToPath(path), ec);
  return IsDirectory(path);
}

bool AppendToFile(std::u16string_view path, std::string_view bytes) {
  std::FILE* file = std::fopen(ToPath(path).c_str(), "ab");
  if (file == nullptr) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}

std::optional<std::string> ReadWholeFile(std::u16string_view path) {
  // One read of the known size: documents of many megabytes load often.
  const int fd = ::open(ToPath(path).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  struct stat info {};
  errno = 0;
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    if (errno == 0) errno = S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
    ::close(fd);
    return std::nullopt;
  }
  std::string bytes(static_cast<std::size_t>(info.st_size), '\0');
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      ::close(fd);
      return std::nullopt;
    }
    if (n == 0) break;
    done += static_cast<std::size_t>(n);
  }
  ::close(fd);
  bytes.resize(done);
  return bytes;
}

FileWriteResult ReplaceFileContents(std::u16string_view path, std::string_view bytes) {
  const fs::path target = ToPath(path);
  fs::path temp = target;
  temp += ".tmp";
  // A rename would replace a read-only file here; Windows refuses to.
  struct stat existing {};
  if (::stat(target.c_str(), &existing) == 0 && S_ISREG(existing.st_mode) && (existing.st_mode & S_IWUSR) == 0) {
    errno = EACCES;
    return FileWriteResult{StatusOfErrno(errno)};
  }
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return FileWriteResult{StatusOfErrno(errno)};
  const bool written = WriteAllAndSync(fd, bytes);
  int error = written ? 0 : errno;
  if (::close(fd) != 0 && error == 0) error = errno;
  std::error_code ec;
  if (error == 0) {
    fs::rename(temp, target, ec);
    error = ec.value();
  }
  if (error == 0) return {};
  fs::remove(temp, ec);
  errno = error;  // the failed step's error stays the last one
  return FileWriteResult{StatusOfErrno(error)};
}

bool DeleteFileAt(std::u16string_view path) {
  std::error_code ec;
  return fs::remove(ToPath(path), ec);
}

bool CopyFileTo(std::u16string_view from, std::u16string_view to) {
  std::error_code ec;
  return fs::copy_file(ToPath(from), ToPath(to), fs::copy_options::overwrite_existing, ec);
}

bool SameFile(std::u16string_view a, std::u16string_view b) {
  std::error_code ec;
  return fs::equivalent(ToPath(a), ToPath(b), ec) && !ec;
}

bool RenameFile(std::u16string_view from, std::u16string_view to) {
  std::error_code ec;
  if (fs::exists(ToPath(to), ec) && !SameFile(from, to)) return false;
  fs::rename(ToPath(from), ToPath(to), ec);
  return !ec;
}

std::vector<std::u16string> ListFiles(std::u16string_view folder, std::u16string_view suffix) {
  std::vector<std::u16string> names;
  std::error_code ec;
  for (fs::directory_iterator it(ToPath(folder), ec), end; !ec && it != end; it.increment(ec)) {
    if (!it->is_regular_file(ec)) continue;
    std::u16string name = Utf8ToUtf16(it->path().filename().string());
    if (EndsWithIgnoringAsciiCase(name, suffix)) names.push_back(std::move(name));
  }
  return names;
}

}  // namespace quencfg
