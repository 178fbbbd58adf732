#include "support/temp_folder.h"

#include <atomic>
#include <filesystem>
#include <string>
#include <system_error>

#include "quencfg/framework/text.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace quencfg::testing {
namespace {

namespace fs = std::filesystem;

int ProcessId() {
#ifdef _WIN32
  return static_cast<int>(::GetCurrentProcessId());
#else
  return static_cast<int>(::getpid());
#endif
}

fs::path FromU16(const std::u16string& text) {
#ifdef _WIN32
  return fs::path(std::wstring(text.begin(), text.end()));
#else
  return fs::path(Utf16ToUtf8(text));
#endif
}

std::u16string ToU16(const fs::path& path) {
#ifdef _WIN32
  const std::wstring wide = path.wstring();
  return std::u16string(wide.begin(), wide.end());
#else
  return Utf8ToUtf16(path.string());
#endif
}

}  // namespace

TempFolder::TempFolder() {
  // Process ids repeat between runs (always small under Wine), and a folder an earlier
  // run could not remove (a path too long for the file API) may still be there: only a
  // folder this call creates itself is used, never a leftover.
  static std::atomic<int> counter{0};
  const std::string prefix = "korvane-test-" + std::to_string(ProcessId()) + "-";
  fs::path folder;
  std::error_code ec;
  do {
    folder = fs::temp_directory_path() / (prefix + std::to_string(counter++));
  } while (!fs::create_directory(folder, ec) && counter < 1000000);
  path_ = ToU16(folder) + (folder.preferred_separator == '\\' ? u"\\" : u"/");
}

TempFolder::~TempFolder() {
  std::error_code ec;
  fs::remove_all(FromU16(path_), ec);
}

}  // namespace quencfg::testing
