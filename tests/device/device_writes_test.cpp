// Full writes of a profile through the fake machine, rebuilt by the keyboard model.
#include "quencfg/device/device_writes.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>

#include "device/fake_hid.h"
#include "device/full_write.h"
#include "device/keyboard_model.h"
#include "quencfg/device/device_blocks.h"
#include "quencfg/device/key_cells.h"
#include "quencfg/framework/text.h"
#include "support/fake_pause_clock.h"

namespace quencfg {
namespace {

using testing::FakeHidMachine;
using testing::FakePauseClock;
using testing::KeyboardCollectionIds;
using testing::KeyboardModel;
using testing::RunFullWrite;

MacroFile MakeMacro(std::uint16_t repeat, std::uint8_t firstKey) {
  MacroFile macro{};
  macro.Repeat = repeat;
  macro.events[0] = MacroEvent{0x80, 0x01, firstKey};
  macro.events[1] = MacroEvent{0x00, 0x14, firstKey};
  return macro;
}

// A macro library in memory; it records which names were read.
struct FakeLibrary {
  std::vector<std::u16string> names;
  std::map<std::u16string, MacroFile> files;  // names without a file cannot be read
  std::vector<std::u16string> reads;

  MacroSource Source() {
    MacroSource source;
    source.listNames = [this] { return names; };
    source.readMacro = [this](MacroFile& macro, const std::u16string& name) {
      reads.push_back(name);
      const auto found = files.find(name);
      if (found != files.end()) macro = found->second;
    };
    return source;
  }
};

struct WriteFixture {
  FakePauseClock clock;
  FakeHidMachine machine{clock};
  CUSBDriver driver{machine.Api(), clock};
  std::unique_ptr<ProfileData> profile = std::make_unique<ProfileData>();
  FakeLibrary library;
  std::vector<int> progress;

  explicit WriteFixture(bool keyboardPresent = true) {
    driver.SetLogSink(nullptr);
    if (keyboardPresent) {
      machine.AddKeyboard();
      EXPECT_EQ(driver.OpenDevice(kKorvaneVendorId, kKorvaneProductId), 4);
    }
  }

  void SetKey(int slot, std::int32_t function, std::u16string_view macroName = u"") {
    profile->keys[slot].byBtnFuncType = function;
    CopyToField(profile->keys[slot].MacroName, macroName);
  }

  KeyboardModel Write(bool lighting, bool reset) {
    RunFullWrite(driver, *profile, library.Source(), lighting, reset, &progress);
    KeyboardModel model(KeyboardCollectionIds());
    model.Replay(machine.Features());
    return model;
  }
};

std::vector<std::string> Steps(std::initializer_list<std::string> steps) { return steps; }

TEST(FullWrite, AllDefaultProfileSendsTheDefaultKeyMapOnly) {
  WriteFixture f;
  const KeyboardModel model = f.Write(false, false);
  EXPECT_TRUE(model.errors.empty()) << model.errors.front();
  EXPECT_EQ(model.steps, Steps({"keymap", "end"}));
  ASSERT_TRUE(model.keyMap.has_value());
  for (int cell = 0; cell < kKeyCellCount; ++cell) EXPECT_EQ((*model.keyMap)[cell], DefaultKeyMap[cell]);
  EXPECT_TRUE(model.macros.empty());
  EXPECT_FALSE(model.lighting.has_value());
  EXPECT_EQ(f.progress, (std::vector<int>{20, 40, 50, 70, 50, 60, 90, 100}));
  EXPECT_EQ(f.clock.totalPauseMs(), 200 + 23 * 60 + 200 + 20);
}

TEST(FullWrite, MacroKeysSendTheirMacrosBeforeTheKeyMap) {
  WriteFixture f;
  f.library.names = {u"Macro 1", u"Macro 2", u"macro 2"};
  f.library.files = {{u"Macro 1", MakeMacro(1, 0x04)}, {u"Macro 2", MakeMacro(258, 0x05)},
                     {u"macro 2", MakeMacro(7, 0x06)}};
  f.SetKey(0, BTNFUNC_MACRO, u"Macro 2");
  f.SetKey(14, BTNFUNC_MACRO, u"Gone");      // not in the library: the first macro
  f.SetKey(29, BTNFUNC_MACRO, u"Macro 2");   // a macro used twice is sent twice
  f.SetKey(70, BTNFUNC_MACRO, u"macro 2");   // no key: sent for cell 0
  f.SetKey(3, BTNFUNC_LAUNCH);
  const KeyboardModel model = f.Write(false, false);
  EXPECT_TRUE(model.errors.empty()) << model.errors.front();
  EXPECT_EQ(model.steps, Steps({"macro 21", "macro 41", "macro 62", "macro 0", "keymap", "end"}));
  EXPECT_EQ(f.library.reads, (std::vector<std::u16string>{u"Macro 2", u"Macro 1", u"Macro 2", u"macro 2"}));
  EXPECT_EQ(model.macros.at(21), BuildMacroBlock(MakeMacro(258, 0x05)));
  EXPECT_EQ(model.macros.at(21)[0], 0x01);
  EXPECT_EQ(model.macros.at(21)[1], 0x02);
  EXPECT_EQ(model.macros.at(41), BuildMacroBlock(MakeMacro(1, 0x04)));
  EXPECT_EQ(model.macros.at(0), BuildMacroBlock(MakeMacro(7, 0x06)));
  const KeyMapBlock& keyMap = *model.keyMap;
  EXPECT_EQ(keyMap[21], kKeycodeMacro);
  EXPECT_EQ(keyMap[41], kKeycodeMacro);
  EXPECT_EQ(keyMap[0], kKeycodeMacro);
  EXPECT_EQ(keyMap[24], kKeycodeLaunch);
  EXPECT_EQ(f.clock.totalPauseMs(), 4 * (200 + 41 + 100) + 200 + 23 * 60 + 200 + 20);
}

TEST(FullWrite, MacroCommandForSlotZeroAddressesCellTwentyOnePlusOne) {
  WriteFixture f;
  f.library.names = {u"A"};
  f.SetKey(0, BTNFUNC_MACRO, u"A");
  f.Write(false, false);
  const auto sent = f.machine.Features();
  ASSERT_GE(sent.size(), 42u);
  EXPECT_EQ(sent[0].bytes, (std::vector<std::uint8_t>{0x0A, 0x05, 0x01, 0x16, 0x01, 0, 0, 0}));
  for (int n = 1; n <= kMacroPacketCount; ++n) {
    EXPECT_EQ(sent[static_cast<std::size_t>(n)].bytes[0], 0x0C);
    EXPECT_EQ(sent[static_cast<std::size_t>(n)].bytes[1], n);
  }
}

TEST(FullWrite, UnreadableMacroSendsAnEmptyBlock) {
  WriteFixture f;
  f.library.names = {u"Broken"};  // listed, but no readable file
  f.SetKey(5, BTNFUNC_MACRO, u"Broken");
  const KeyboardModel model = f.Write(false, false);
  EXPECT_TRUE(model.errors.empty()) << model.errors.front();
  EXPECT_EQ(model.macros.at(26), MacroBlock{});
}

TEST(FullWrite, EmptyLibrarySkipsTheUploadButKeepsTheMacroCode) {
  WriteFixture f;
  f.SetKey(5, BTNFUNC_MACRO, u"Macro 1");
  const KeyboardModel model = f.Write(false, false);
  EXPECT_TRUE(model.errors.empty()) << model.errors.front();
  EXPECT_EQ(model.steps, Steps({"keymap", "end"}));
  EXPECT_EQ((*model.keyMap)[26], kKeycodeMacro);
  EXPECT_TRUE(f.library.reads.empty());
  EXPECT_EQ(f.clock.totalPauseMs(), 200 + 23 * 60 + 200 + 20);
}

TEST(FullWrite, MissingLibraryFunctionsActLikeAnEmptyLibrary) {
  WriteFixture f;
  f.SetKey(5, BTNFUNC_MACRO, u"Macro 1");
  WriteKeysAndMacros(f.driver, *f.profile, MacroSource{}, nullptr);
  KeyboardModel model(KeyboardCollectionIds());
  model.Replay(f.machine.Features());
  EXPECT_EQ(model.steps, Steps({"keymap"}));
}

TEST(FullWrite, LightingWithOtherEffectSendsOnlyTheLightingCommand) {
  WriteFixture f;
  f.profile->lighting.byLightEffect = 5;
  f.profile->lighting.byLightBright = 3;
  f.profile->lighting.byLightSpeed = 1;
  f.profile->lighting.byLightColorType = 3;
  const KeyboardModel model = f.Write(true, false);
  EXPECT_TRUE(model.errors.empty()) << model.errors.front();
  EXPECT_EQ(model.steps, Steps({"keymap", "lighting", "end"}));
  EXPECT_EQ(model.lighting->effect, 5);
  EXPECT_EQ(model.lighting->brightness, 3);
  EXPECT_EQ(model.lighting->speed, 1);
  EXPECT_EQ(model.lighting->colorMode, 7);
  EXPECT_EQ(f.progress, (std::vector<int>{20, 40, 50, 70, 50, 60, 70, 80, 90, 100}));
}

TEST(FullWrite, EffectSixteenSendsTheEffectColor) {
  WriteFixture f;
  f.profile->lighting.byLightEffect = 16;
  f.profile->lighting.byLightColorType = 3;
  f.profile->lighting.byLightColor = 0x563412;
  const KeyboardModel model = f.Write(true, false);
  EXPECT_TRUE(model.errors.empty()) << model.errors.front();
  EXPECT_EQ(model.steps, Steps({"keymap", "lighting", "effect-color", "end"}));
  EXPECT_EQ(model.lighting->colorMode, 3);
  EXPECT_EQ(model.effectColor, 0x563412u);
  const auto sent = f.machine.Features();
  EXPECT_EQ(sent[sent.size() - 2].bytes, (std::vector<std::uint8_t>{0x0A, 0x0B, 0x00, 0x04, 0x12, 0x34, 0x56, 0}));
}

TEST(FullWrite, EffectNineteenSendsSeventyKeyColors) {
  WriteFixture f;
  f.profile->lighting.byLightEffect = 19;
  for (int slot = 0; slot < KEY_COUNT; ++slot) {
    f.profile->lighting.keyColors.coLightRGB[slot] = 0x010000u * static_cast<std::uint32_t>(slot) + 0x80;
  }
  const KeyboardModel model = f.Write(true, false);
  EXPECT_TRUE(model.errors.empty()) << model.errors.front();
  std::vector<std::string> colorSteps;
  for (const std::string& step : model.steps) {
    if (step.rfind("key-color", 0) == 0) colorSteps.push_back(step);
  }
  ASSERT_EQ(colorSteps.size(), 70u);
  EXPECT_EQ(std::vector<std::string>(colorSteps.end() - 7, colorSteps.end()),
            (std::vector<std::string>{"key-color 0", "key-color 20", "key-color 40", "key-color 60", "key-color 80",
                                      "key-color 100", "key-color 122"}));
  EXPECT_EQ(model.keyColors.at(24), 0x030080u);  // slot 3
  EXPECT_EQ(model.keyColors.at(82), 0x3E0080u);  // slot 62
  for (int cell : {0, 20, 40, 60, 80, 100, 122}) EXPECT_EQ(model.keyColors.at(cell), 0u) << cell;
  EXPECT_EQ(model.keyColors.size(), 70u);
  EXPECT_EQ(model.steps.back(), "end");
}

TEST(FullWrite, ResetGoesFirstAndWritesTheLighting) {
  WriteFixture f;
  f.profile->lighting.byLightEffect = 3;
  const KeyboardModel model = f.Write(false, true);
  EXPECT_TRUE(model.errors.empty()) << model.errors.front();
  EXPECT_EQ(model.steps, Steps({"reset", "keymap", "lighting", "end"}));
  EXPECT_EQ(f.progress, (std::vector<int>{30, 20, 40, 50, 70, 50, 60, 70, 80, 90, 100}));
}

TEST(FullWrite, EveryPauseHoldsPreciseTiming) {
  WriteFixture f;
  f.library.names = {u"A"};
  f.SetKey(0, BTNFUNC_MACRO, u"A");
  f.profile->lighting.byLightEffect = 19;
  f.Write(true, true);
  ASSERT_FALSE(f.clock.pauses().empty());
  for (const auto& pause : f.clock.pauses()) EXPECT_TRUE(pause.precise);
  EXPECT_EQ(f.clock.preciseDepth(), 0) << "precise timing ends with the write";
}

TEST(FullWrite, WithoutKeyboardOnlyTheServicePausesRemain) {
  WriteFixture f(false);
  f.library.names = {u"A"};
  f.SetKey(0, BTNFUNC_MACRO, u"A");
  f.profile->lighting.byLightEffect = 16;
  f.Write(true, true);
  EXPECT_TRUE(f.machine.Features().empty());
  EXPECT_EQ(f.clock.totalPauseMs(), 200 + 100 + 200);
}

TEST(KeyboardModel, CatchesShortPausesAndBrokenSequences) {
  WriteFixture f;
  f.Write(false, false);
  auto sent = f.machine.Features();
  {
    auto early = sent;
    early[5].timeUs -= 1000;  // key map packet 5 one millisecond early
    KeyboardModel model(KeyboardCollectionIds());
    model.Replay(early);
    EXPECT_FALSE(model.errors.empty());
  }
  {
    auto missing = sent;
    missing.erase(missing.begin() + 3);
    KeyboardModel model(KeyboardCollectionIds());
    model.Replay(missing);
    EXPECT_FALSE(model.errors.empty());
    EXPECT_FALSE(model.keyMap.has_value());
  }
  {
    auto wrongCollection = sent;
    wrongCollection[2].collection = 0;
    KeyboardModel model(KeyboardCollectionIds());
    model.Replay(wrongCollection);
    EXPECT_FALSE(model.errors.empty());
  }
}

}  // namespace
}  // namespace quencfg
