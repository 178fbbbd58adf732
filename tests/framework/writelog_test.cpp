#include "quencfg/framework/writelog.h"

#include <gtest/gtest.h>

#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "quencfg/framework/debug_output.h"
#include "quencfg/framework/files.h"
#include "quencfg/framework/paths.h"
#include "support/temp_folder.h"

namespace quencfg {
namespace {

using testing::TempFolder;

#ifdef _WIN32
constexpr const char* kEol = "\r\n";
#else
constexpr const char* kEol = "\n";
#endif

// Captures what reaches the debugger output while a test runs.
class DebugCapture {
 public:
  DebugCapture() {
    std::lock_guard<std::mutex> hold(Lock());
    Lines().clear();
    SetDebugOutputHook(&Record);
  }
  ~DebugCapture() { SetDebugOutputHook(nullptr); }
  std::vector<std::u16string> lines() const {
    std::lock_guard<std::mutex> hold(Lock());
    return Lines();
  }

 private:
  static std::mutex& Lock() {
    static std::mutex m;
    return m;
  }
  static std::vector<std::u16string>& Lines() {
    static std::vector<std::u16string> lines;
    return lines;
  }
  static void Record(std::u16string_view text) {
    std::lock_guard<std::mutex> hold(Lock());
    Lines().emplace_back(text);
  }
};

const LocalTime kAfternoon{2026, 12, 8, 14, 3, 9, 72};

std::string ReadLog(const LocalTime& when, const TempFolder& dir) {
  return ReadWholeFile(LogFilePath(when, dir.path())).value_or("<missing>");
}

TEST(WriteLog, LineFormatAndFileName) {
  TempFolder dir;
  DebugCapture debug;
  WriteLogStringAt(kAfternoon, dir.path(), u"STEP CreateDlg");
  EXPECT_EQ(LogFilePath(kAfternoon, dir.path()), dir.path() + u"20261208_VornKeyboardPlugin.log");
  EXPECT_EQ(ReadLog(kAfternoon, dir), std::string("14:03:09:072 ::  STEP CreateDlg") + kEol);
  ASSERT_EQ(debug.lines().size(), 1u);
  EXPECT_EQ(debug.lines()[0], u"14:03:09:072 ::  STEP CreateDlg\n");
}

TEST(WriteLog, MessagesAreWrittenLiterally) {
  TempFolder dir;
  WriteLogStringAt(kAfternoon, dir.path(), u"C:\\100%s%d\\");
  WriteLogStringAt(kAfternoon, dir.path(), u"line\r\n");
  WriteLogStringAt(kAfternoon, dir.path(), u"\u2514\u2500>Device Removed");
#ifdef _WIN32
  const std::string crlfMessage = "line\r\r\n\r\n";  // a text-mode stream turns each LF into CR LF
#else
  const std::string crlfMessage = "line\r\n\n";
#endif
  EXPECT_EQ(ReadLog(kAfternoon, dir),
            std::string("14:03:09:072 ::  C:\\100%s%d\\") + kEol + "14:03:09:072 ::  " + crlfMessage +
                "14:03:09:072 ::  \xE2\x94\x94\xE2\x94\x80>Device Removed" + kEol);
}

TEST(WriteLog, MidnightStartsANewFile) {
  TempFolder dir;
  const LocalTime before{2026, 12, 31, 23, 59, 59, 999};
  const LocalTime after{2027, 1, 1, 0, 0, 0, 0};
  WriteLogStringAt(before, dir.path(), u"a");
  WriteLogStringAt(after, dir.path(), u"b");
  EXPECT_NE(LogFilePath(before, dir.path()), LogFilePath(after, dir.path()));
  EXPECT_EQ(ReadLog(before, dir), std::string("23:59:59:999 ::  a") + kEol);
  EXPECT_EQ(ReadLog(after, dir), std::string("00:00:00:000 ::  b") + kEol);
}

TEST(WriteLog, MissingFolderReachesOnlyTheDebugger) {
  TempFolder dir;
  DebugCapture debug;
  const std::u16string missing = dir / NativeRelativePath(u"nope\\");
  WriteLogStringAt(kAfternoon, missing, u"hello");
  EXPECT_FALSE(PathExists(LogFilePath(kAfternoon, missing)));
  ASSERT_EQ(debug.lines().size(), 1u);
  EXPECT_EQ(debug.lines()[0], u"14:03:09:072 ::  hello\n");
}

TEST(WriteLog, LongLinesAreCutInsideTheBufferAtACharacterBoundary) {
  TempFolder dir;
  const std::u16string longMessage(400, u'\u00e9');  // two bytes each
  WriteLogStringAt(kAfternoon, dir.path(), longMessage);
  std::string text = ReadLog(kAfternoon, dir);
  const std::string eol = kEol;
  ASSERT_GE(text.size(), eol.size());
  text.resize(text.size() - eol.size());
  EXPECT_LE(text.size(), kLogBufferBytes - 1);
  EXPECT_EQ(text.size() % 2, 17 % 2) << "prefix of 17 bytes, then whole two-byte characters";
}

TEST(WriteLog, PathTooLongForTheBufferIsNotWritten) {
  TempFolder dir;
  std::u16string deep = dir.path() + std::u16string(240, u'd');
  ASSERT_TRUE(CreateFolder(deep) || true);
  deep += NativeRelativePath(u"\\");
  DebugCapture debug;
  WriteLogStringAt(kAfternoon, deep, u"x");
  EXPECT_EQ(debug.lines().size(), 1u);
  EXPECT_FALSE(PathExists(LogFilePath(kAfternoon, deep)));
}

TEST(WriteLog, TwoThreadsKeepLinesWhole) {
  TempFolder dir;
  constexpr int kLinesPerThread = 300;
  auto writer = [&](char16_t mark) {
    const std::u16string message(80, mark);
    for (int i = 0; i < kLinesPerThread; ++i) WriteLogStringAt(kAfternoon, dir.path(), message);
  };
  std::thread a(writer, u'a');
  std::thread b(writer, u'b');
  a.join();
  b.join();

  std::istringstream lines(ReadLog(kAfternoon, dir));
  std::string line;
  int count = 0;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::string body = line.substr(17);
    ASSERT_EQ(body.size(), 80u) << line;
    EXPECT_TRUE(body == std::string(80, 'a') || body == std::string(80, 'b')) << line;
    ++count;
  }
  EXPECT_EQ(count, 2 * kLinesPerThread);
}

}  // namespace
}  // namespace quencfg
