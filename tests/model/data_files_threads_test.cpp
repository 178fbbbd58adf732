// The user-interface thread and the device thread use the same files: a read (which
// rewrites the file) must never overlap a write and bring back older content.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <memory>
#include <thread>

#include "quencfg/framework/files.h"
#include "quencfg/model/profile_file.h"
#include "quencfg/model/settings_file.h"
#include "support/data_folder_scope.h"

namespace quencfg {
namespace {

using testing::DataFolderScope;

TEST(DataFilesThreads, ReadersNeverUndoAWrite) {
  DataFolderScope data;
  ASSERT_TRUE(CreateFolder(data.path() + u"Profiles"));
  constexpr int kWrites = 40;
  std::atomic<bool> writing{true};

  std::thread reader([&] {
    auto profile = std::make_unique<ProfileData>();
    auto settings = std::make_unique<SettingsBlock>();
    while (writing.load()) {
      ReadProfile(*profile, u"shared", u"");
      ReadSettings(*settings);
    }
  });

  auto profile = std::make_unique<ProfileData>();
  std::memset(profile.get(), 0, sizeof *profile);
  auto settings = std::make_unique<SettingsBlock>();
  ClearSettings(*settings);
  for (int i = 1; i <= kWrites; ++i) {
    profile->lighting.byLightEffect = static_cast<std::uint8_t>(i);
    profile->keys[i].byKeyNumber = static_cast<std::uint8_t>(i);
    WriteProfile(*profile, u"shared", u"");
    settings->Language = static_cast<std::uint8_t>(100 + i);
    WriteSettings(*settings);
  }
  writing = false;
  reader.join();

  auto last = std::make_unique<ProfileData>();
  std::memset(last.get(), 0, sizeof *last);
  ReadProfile(*last, u"shared", u"");
  EXPECT_EQ(last->lighting.byLightEffect, kWrites) << "the last write survived every concurrent rewrite";
  for (int i = 1; i <= kWrites; ++i) EXPECT_EQ(last->keys[i].byKeyNumber, i);
  auto lastSettings = std::make_unique<SettingsBlock>();
  ClearSettings(*lastSettings);
  ReadSettings(*lastSettings);
  EXPECT_EQ(lastSettings->Language, 100 + kWrites);
}

}  // namespace
}  // namespace quencfg
