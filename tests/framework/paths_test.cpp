#include "quencfg/framework/paths.h"

#include <gtest/gtest.h>

#include <utility>

#include "quencfg/framework/text.h"

namespace quencfg {
namespace {

TEST(Paths, FileNameOfPath) {
  const std::pair<std::u16string_view, std::u16string_view> cases[] = {
      {u"C:\\Tools\\app.exe", u"app.exe"},
      {u"C:app.exe", u"app.exe"},
      {u"\\\\server\\share\\run.bat", u"run.bat"},
      {u"/usr/bin/tool", u"tool"},
      {u"app.exe", u"app.exe"},
      {u"C:\\Tools\\", u""},
      {u"", u""},
  };
  for (const auto& [path, name] : cases) EXPECT_EQ(FileNameOfPath(path), name) << Utf16ToUtf8(path);
}

}  // namespace
}  // namespace quencfg
