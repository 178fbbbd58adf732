// Saves of the settings and profile files that the files refuse: the reason comes back
// to the caller, and the file keeps what it held.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "quencfg/framework/files.h"
#include "quencfg/model/profile_file.h"
#include "quencfg/model/settings_file.h"
#include "support/data_folder_scope.h"
#include "support/failing_file_writer.h"

namespace quencfg {
namespace {

TEST(RefusedSaves, TheReasonComesBackAndTheFileStaysAsItWas) {
  testing::DataFolderScope data;
  PrepareDataFolder();
  auto settings = std::make_unique<SettingsBlock>();
  ClearSettings(*settings);
  ASSERT_TRUE(WriteSettings(*settings));
  settings->Profile = 2;
  settings->profiles[0].keys[4].byBtnFuncType = BTNFUNC_DISABLE;

  const struct {
    const char* file;
    std::u16string path;
    std::function<FileWriteResult(FileWriter&)> save;
  } files[] = {
      {"settings", SettingsFilePath(), [&](FileWriter& writer) { return WriteSettings(*settings, writer); }},
      {"profile", ProfilePath(ProfileName(0), u""),
       [&](FileWriter& writer) { return WriteProfile(settings->profiles[0], ProfileName(0), u"", writer); }},
  };
  for (const auto& file : files) {
    for (const FileWriteStatus status :
         {FileWriteStatus::kReadOnly, FileWriteStatus::kInUse, FileWriteStatus::kDiskFull, FileWriteStatus::kFailed}) {
      SCOPED_TRACE(::testing::Message() << file.file << ", status " << static_cast<int>(status));
      const std::string before = ReadWholeFile(file.path).value_or("<missing>");
      testing::FailingFileWriter writer;
      writer.Fail(file.path, status);
      const FileWriteResult saved = file.save(writer);
      EXPECT_FALSE(saved);
      EXPECT_EQ(saved.status, status);
      EXPECT_EQ(writer.refused(), 1);
      EXPECT_EQ(ReadWholeFile(file.path).value_or("<missing>"), before);
    }
  }
  testing::FailingFileWriter healthy;
  EXPECT_TRUE(WriteSettings(*settings, healthy));
  EXPECT_TRUE(WriteProfile(settings->profiles[0], ProfileName(0), u"", healthy));
}

}  // namespace
}  // namespace quencfg
