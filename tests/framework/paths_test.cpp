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

TEST(Paths, StartsWithScheme) {
  const std::pair<std::u16string_view, bool> cases[] = {
      {u"https://example.com/", true}, {u"mailto:someone@example.com", true}, {u"ms-settings:display", true},
      {u"git+ssh://host/repo", true},  {u"C:\\Tools\\app.exe", false},     {u"C:app.exe", false},
      {u"\\\\server\\share", false},   {u"1http://x", false},                {u"https", false},
      {u"http//x:y", false},           {u":x", false},                        {u"", false},
  };
  for (const auto& [text, scheme] : cases) EXPECT_EQ(StartsWithScheme(text), scheme) << Utf16ToUtf8(text);
}

}  // namespace
}  // namespace quencfg
