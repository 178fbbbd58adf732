#include "quencfg/framework/writelog.h"

#include <cstdio>
#include <mutex>

#include "quencfg/framework/debug_output.h"
#include "quencfg/framework/files.h"
#include "quencfg/framework/folders.h"
#include "quencfg/framework/text.h"

namespace quencfg {
namespace {

std::mutex& LogLock() {
  static std::mutex lock;
  return lock;
}

std::u16string TimePrefix(const LocalTime& t) {
  char prefix[32];
  std::snprintf(prefix, sizeof prefix, "%02d:%02d:%02d:%03d ::  ", t.hour, t.minute, t.second,
                t.millisecond);
  return AsciiToUtf16(prefix);
}

// The 8-bit line is UTF-8, cut so that it fits the buffer with its terminator and never
// ends inside a multi-byte character.
std::string ToLogBytes(std::u16string_view line) {
  std::string bytes = Utf16ToUtf8(line);
  if (bytes.size() >= kLogBufferBytes) {
    std::size_t cut = kLogBufferBytes - 1;
    while (cut > 0 && (static_cast<unsigned char>(bytes[cut]) & 0xC0) == 0x80) --cut;
    bytes.resize(cut);
  }
  return bytes;
}

// What a text-mode stream writes: LF becomes CR LF on Windows.
std::string TextModeBytes(std::string_view bytes) {
#ifdef _WIN32
  std::string out;
  out.reserve(bytes.size() + 8);
  for (char c : bytes) {
    if (c == '\n') out.push_back('\r');
    out.push_back(c);
  }
  return out;
#else
  return std::string(bytes);
#endif
}

}  // namespace

std::u16string LogFilePath(const LocalTime& when, std::u16string_view dataFolder) {
  char date[16];
  std::snprintf(date, sizeof date, "%04d%02d%02d_", when.year % 10000, when.month % 100, when.day % 100);
  std::u16string path(dataFolder);
  path += AsciiToUtf16(date);
  path += LogTag;
  path += u".log";
  return path;
}

void WriteLogStringAt(const LocalTime& when, std::u16string_view dataFolder, std::u16string_view message) {
  std::u16string line = TimePrefix(when);
  line.append(message);
  const std::string bytes = ToLogBytes(line);
  const std::u16string path = LogFilePath(when, dataFolder);
  const bool pathFits = Utf16ToUtf8(path).size() < kLogBufferBytes;

  std::lock_guard<std::mutex> hold(LogLock());
  WriteDebugOutput(Utf8ToUtf16(bytes) + u"\n");
  if (pathFits && !dataFolder.empty()) {
    (void)AppendToFile(path, TextModeBytes(bytes + "\n"));
  }
}

void WriteLogString(std::u16string message) {
  WriteLogStringAt(CurrentLocalTime(), DataFolder(), message);
}

}  // namespace quencfg
