// The device thread's request handling: reload from the data folder, then the full
// write through the fake machine, rebuilt by the keyboard model, with the progress
// steps that the progress window receives.
#include "quencfg/device/device_sync.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "device/fake_hid.h"
#include "device/keyboard_model.h"
#include "quencfg/device/device_blocks.h"
#include "quencfg/device/key_cells.h"
#include "quencfg/framework/files.h"
#include "quencfg/framework/text.h"
#include "quencfg/model/macro_library.h"
#include "quencfg/model/profile_file.h"
#include "quencfg/model/settings_file.h"
#include "support/data_folder_scope.h"
#include "support/fake_pause_clock.h"

namespace quencfg {
namespace {

using testing::DataFolderScope;
using testing::FakeHidMachine;
using testing::FakePauseClock;
using testing::KeyboardCollectionIds;
using testing::KeyboardModel;

struct RecordingProgress final : ProgressTarget {
  std::vector<std::string> seen;
  void Open() override { seen.push_back("open"); }
  void Position(int percent) override { seen.push_back(std::to_string(percent)); }
  void Close() override { seen.push_back("close"); }
};

std::vector<std::string> Steps(std::initializer_list<const char*> names) {
  return std::vector<std::string>(names.begin(), names.end());
}

struct SyncFixture {
  DataFolderScope data;
  FakePauseClock clock;
  FakeHidMachine machine{clock};
  CUSBDriver driver{machine.Api(), clock};
  std::unique_ptr<SettingsBlock> copy = std::make_unique<SettingsBlock>();
  RecordingProgress progress;
  KeyboardLighting keyboardLighting;

  explicit SyncFixture(bool keyboardPresent = true) {
    PrepareDataFolder();
    driver.SetLogSink(nullptr);
    if (keyboardPresent) {
      machine.AddKeyboard();
      driver.OpenDevice(kKorvaneVendorId, kKorvaneProductId);
    }
  }

  void EditProfile(int index, const std::function<void(ProfileData&)>& edit) {
    auto profile = std::make_unique<ProfileData>();
    ReadProfile(*profile, ProfileName(index), u"");
    edit(*profile);
    WriteProfile(*profile, ProfileName(index), u"");
  }

  void SetCurrentProfile(int index) {
    auto settings = std::make_unique<SettingsBlock>();
    ClearSettings(*settings);
    settings->Profile = static_cast<std::uint8_t>(index);
    WriteSettings(*settings);
  }

  // What an earlier write left on the keyboard: the current profile's lighting as
  // its file holds it now.
  void KeyboardHoldsTheCurrentLighting() {
    auto files = std::make_unique<SettingsBlock>();
    ReloadSettings(*files);
    keyboardLighting.Written(CurrentProfile(*files).lighting);
  }

  KeyboardModel Write(SyncRequest request) {
    RunFullWrite(driver, *copy, progress, request, keyboardLighting);
    KeyboardModel model(KeyboardCollectionIds());
    model.Replay(machine.Features());
    return model;
  }
};

std::vector<std::string> KeyColorSteps() {
  std::vector<std::string> steps;
  for (int slot = 0; slot < kKeyboardKeyCount; ++slot) steps.push_back("key-color " + std::to_string(SlotCell(slot)));
  for (int cell : {0, 20, 40, 60, 80, 100, 122}) steps.push_back("key-color " + std::to_string(cell));
  return steps;
}

std::vector<std::string> operator+(std::vector<std::string> first, const std::vector<std::string>& second) {
  first.insert(first.end(), second.begin(), second.end());
  return first;
}

TEST(DeviceSync, RequestsWriteWhatTheyAskFor) {
  enum class Held { Unknown, Other, Same };  // what the keyboard holds of the lighting
  struct Case {
    const char* name;
    SyncRequest request;
    std::uint8_t effect;
    Held held;
    std::vector<std::string> steps;
  };
  const std::vector<Case> cases = {
      {"apply without lighting", {false, false}, 16, Held::Same, Steps({"keymap", "end"})},
      {"apply without lighting, the keyboard's unknown", {false, false}, 16, Held::Unknown,
       Steps({"keymap", "lighting", "effect-color", "end"})},
      {"apply without lighting, the keyboard holds another", {false, false}, 5, Held::Other,
       Steps({"keymap", "lighting", "end"})},
      {"apply, other effect", {true, false}, 5, Held::Same, Steps({"keymap", "lighting", "end"})},
      {"apply, effect 16", {true, false}, 16, Held::Same, Steps({"keymap", "lighting", "effect-color", "end"})},
      {"apply, effect 19", {true, false}, 19, Held::Same,
       Steps({"keymap", "lighting"}) + KeyColorSteps() + Steps({"end"})},
      {"reset ignores the lighting flag", {false, true}, 16, Held::Same,
       Steps({"reset", "keymap", "lighting", "effect-color", "end"})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SyncFixture f;
    if (c.held == Held::Other) f.KeyboardHoldsTheCurrentLighting();
    f.EditProfile(0, [&](ProfileData& p) {
      p.lighting.byLightEffect = c.effect;
      p.lighting.byLightColor = 0x563412;
    });
    if (c.held == Held::Same) f.KeyboardHoldsTheCurrentLighting();
    const KeyboardModel model = f.Write(c.request);
    EXPECT_EQ(model.errors, std::vector<std::string>{});
    EXPECT_EQ(model.steps, c.steps);
    if (model.effectColor) {
      EXPECT_EQ(*model.effectColor, 0x563412u);
    }
  }
}

TEST(DeviceSync, ProgressStepsFollowTheWrite) {
  SyncFixture apply;
  apply.KeyboardHoldsTheCurrentLighting();
  apply.Write({false, false});
  EXPECT_EQ(apply.progress.seen, Steps({"open", "20", "20", "40", "50", "70", "50", "60", "90", "100", "close"}));

  SyncFixture reset;
  reset.Write({false, true});
  EXPECT_EQ(reset.progress.seen, Steps({"open", "20", "30", "20", "40", "50", "70", "50", "60", "70", "80", "90",
                                        "100", "close"}));
}

TEST(DeviceSync, WritesTheCurrentProfileAsTheFilesHoldIt) {
  SyncFixture f;
  f.EditProfile(2, [](ProfileData& p) {
    p.keys[14].byBtnFuncType = BTNFUNC_KEY;
    p.keys[14].byKeyNumber = 0x29;
  });
  f.SetCurrentProfile(2);
  const KeyboardModel model = f.Write({false, false});
  ASSERT_TRUE(model.keyMap.has_value());
  EXPECT_EQ((*model.keyMap)[41], 0x29);
  EXPECT_EQ(f.copy->Profile, 2);
  EXPECT_EQ(f.copy->profiles[2].keys[14].byKeyNumber, 0x29);
}

TEST(DeviceSync, MacroKeysSendTheLibraryMacro) {
  SyncFixture f;
  MacroFile macro{};
  macro.Repeat = 258;
  macro.events[0] = MacroEvent{0x80, 0x05, 0x04};
  WriteMacro(macro, u"Macro1");
  f.EditProfile(0, [](ProfileData& p) {
    p.keys[0].byBtnFuncType = BTNFUNC_MACRO;
    CopyToField(p.keys[0].MacroName, u"Macro1");
  });
  f.KeyboardHoldsTheCurrentLighting();
  const KeyboardModel model = f.Write({false, false});
  EXPECT_EQ(model.steps, Steps({"macro 21", "keymap", "end"}));
  ASSERT_EQ(model.macros.count(21), 1u);
  EXPECT_EQ(model.macros.at(21)[0], 0x01);
  EXPECT_EQ(model.macros.at(21)[1], 0x02);
  EXPECT_EQ(model.macros.at(21)[4], 0x04);
}

TEST(DeviceSync, WithoutKeyboardNothingIsSentButEveryStepRuns) {
  SyncFixture f(false);
  f.SetCurrentProfile(1);
  f.Write({true, true});
  EXPECT_TRUE(f.machine.Features().empty());
  EXPECT_EQ(f.progress.seen.front(), "open");
  EXPECT_EQ(f.progress.seen.back(), "close");
  EXPECT_EQ(f.copy->Profile, 1) << "the files were reloaded";
}

TEST(DeviceSync, UnplugBetweenWritesSendsNothingAndReplugRestores) {
  SyncFixture f;
  f.machine.Unplug();
  f.driver.Handles().Clear();
  f.Write({true, false});
  EXPECT_TRUE(f.machine.Features().empty());

  f.machine.Replug();
  ASSERT_GT(f.driver.OpenDevice(kKorvaneVendorId, kKorvaneProductId), 0);
  const KeyboardModel model = f.Write({false, false});
  EXPECT_TRUE(model.errors.empty());
  EXPECT_EQ(model.steps, Steps({"keymap", "lighting", "end"})) << "the write without keyboard left none known";
}

// What the keyboard holds is known only from a write it took whole: one without the
// keyboard, or one whose reports it refused, leaves it unknown, so the next request
// sends the lighting again.
TEST(DeviceSync, TheLightingIsKnownOnlyAfterAWriteTheKeyboardTookWhole) {
  struct Case {
    const char* name;
    bool present;
    bool refuses;
    bool knownAfter;
  };
  const Case cases[] = {
      {"accepted", true, false, true},
      {"no keyboard", false, false, false},
      {"reports refused", true, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SyncFixture f(c.present);
    f.machine.SetFeatureFails(c.refuses);
    f.Write({true, false});
    const LightingSettings& current = CurrentProfile(*f.copy).lighting;
    EXPECT_EQ(f.keyboardLighting.Holds(current), c.knownAfter);

    // A write that sends no lighting leaves what the keyboard holds as it was.
    f.machine.SetFeatureFails(false);
    if (c.knownAfter) {
      f.machine.ClearFeatures();
      const KeyboardModel model = f.Write({false, false});
      EXPECT_EQ(model.steps, Steps({"keymap", "end"}));
      EXPECT_TRUE(f.keyboardLighting.Holds(current));
    }
  }
}

TEST(DeviceReload, MissingSettingsFileIsCreatedFromClearedSettings) {
  DataFolderScope data;
  PrepareDataFolder();
  ASSERT_FALSE(SettingsFileExists());
  auto copy = std::make_unique<SettingsBlock>();
  copy->Profile = 2;
  copy->Language = 7;
  ReloadSettings(*copy);
  EXPECT_TRUE(SettingsFileExists());
  EXPECT_EQ(copy->Profile, 0);
  EXPECT_EQ(copy->Language, kLanguageDefault);
}

TEST(DeviceReload, ProfilesAreReadOverTheCopyWithoutClearingIt) {
  DataFolderScope data;
  PrepareDataFolder();
  ASSERT_TRUE(DeleteFileAt(ProfilePath(ProfileName(1), u"")));
  auto settings = std::make_unique<SettingsBlock>();
  ClearSettings(*settings);
  WriteSettings(*settings);  // a missing settings file would clear the copy
  auto copy = std::make_unique<SettingsBlock>();
  copy->profiles[1].keys[5].byKeyNumber = 0x77;
  copy->profiles[0].keys[5].byKeyNumber = 0x77;
  ReloadSettings(*copy);
  EXPECT_EQ(copy->profiles[1].keys[5].byKeyNumber, 0x77) << "a missing file keeps the copy";
  EXPECT_NE(copy->profiles[0].keys[5].byKeyNumber, 0x77) << "an existing file replaces it";
}

TEST(DeviceReload, CurrentProfileOutOfRangeFallsBackToTheFirst) {
  auto settings = std::make_unique<SettingsBlock>();
  settings->Profile = 7;
  EXPECT_EQ(&CurrentProfile(*settings), &settings->profiles[0]);
  settings->Profile = 2;
  EXPECT_EQ(&CurrentProfile(*settings), &settings->profiles[2]);
}

}  // namespace
}  // namespace quencfg
