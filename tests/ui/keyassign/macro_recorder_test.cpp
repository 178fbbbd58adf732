// The recorder's algorithm on the event buffer: timing, the held-key and repeat
// filters, the mouse and keypad Enter codes, and the 80-event limit.
#include "quencfg/ui/keyassign/macro_recorder.h"

#include <gtest/gtest.h>

#include <vector>

#include "quencfg/framework/text.h"

namespace quencfg {
namespace {

constexpr std::uint32_t kPress = 0x00;
constexpr std::uint32_t kRelease = 0x80;
constexpr std::uint32_t kExtendedPress = 0x01;
constexpr std::uint32_t kExtendedRelease = 0x81;

std::u16string FakeName(std::uint32_t vk) {
  char text[16];
  std::snprintf(text, sizeof text, "K%x", static_cast<unsigned>(vk));
  return AsciiToUtf16(text);
}

class Recorder : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(recorder.PressRecordButton(false), RecordButtonAction::kStarted); }
  HookEventResult Hook(std::uint32_t w, std::uint32_t flags, std::uint32_t now) {
    return recorder.HandleHookEvent(buffer, w, flags, now);
  }
  MacroEvent At(int i) const { return buffer.events[static_cast<std::size_t>(i)]; }

  MacroRecorder recorder{FakeName};
  MacroBuffer buffer;
};

TEST(MacroEventEncoding, PressBitAnd15BitValue) {
  struct Case {
    bool press;
    int value;
    MacroEvent bytes;
  };
  const Case cases[] = {
      {true, 1, {0x80, 0x01, 0x04}},     {false, 150, {0x00, 0x96, 0x04}}, {true, 32767, {0xFF, 0xFF, 0x04}},
      {false, 32767, {0x7F, 0xFF, 0x04}}, {true, 0x1234, {0x92, 0x34, 0x04}}, {false, 0x8001, {0x00, 0x01, 0x04}},
  };
  for (const Case& c : cases) {
    const MacroEvent event = MakeMacroEvent(c.press, c.value, 0x04);
    EXPECT_EQ(event, c.bytes) << c.value;
    EXPECT_EQ(IsPress(event), c.press);
    EXPECT_EQ(EventValue(event), c.value & 0x7FFF);
  }
}

TEST(MacroEventEncoding, LoadingStopsAtTheFirstZeroEventAndClearsWhatFollows) {
  MacroFile macro{};
  macro.events[0] = MakeMacroEvent(true, 1, 4);
  macro.events[1] = MakeMacroEvent(false, 9, 4);
  macro.events[3] = MakeMacroEvent(true, 5, 5);  // behind the end marker of a damaged file
  MacroBuffer buffer;
  LoadEvents(buffer, macro);
  EXPECT_EQ(buffer.eventCount, 2);
  EXPECT_TRUE(IsEndOfEvents(buffer.events[3]));
}

TEST_F(Recorder, PressAndReleaseInMeasuredMode) {
  const HookEventResult press = Hook('A', kPress, 5000);
  EXPECT_EQ(press.answer, 1);
  ASSERT_TRUE(press.stored);
  EXPECT_EQ(press.row.image, 4024);
  EXPECT_EQ(press.row.text, u"K41                   1ms");
  const HookEventResult release = Hook('A', kRelease, 5150);
  ASSERT_TRUE(release.stored);
  EXPECT_EQ(release.row.image, 4025);
  EXPECT_EQ(release.row.text, u"K41                 150ms");
  EXPECT_EQ(buffer.eventCount, 2);
  EXPECT_EQ(At(0), (MacroEvent{0x80, 0x01, 0x04}));
  EXPECT_EQ(At(1), (MacroEvent{0x00, 0x96, 0x04}));
}

TEST_F(Recorder, DelaysAreKeptBetween1And32767) {
  Hook('A', kPress, 1000);
  Hook('A', kRelease, 1000);            // no time passed: 1
  Hook('B', kPress, 1000 + 40000);      // 40 seconds
  Hook('B', kRelease, 1000 + 80000);
  EXPECT_EQ(At(1), (MacroEvent{0x00, 0x01, 0x04}));
  EXPECT_EQ(At(2), (MacroEvent{0xFF, 0xFF, 0x05}));
  EXPECT_EQ(At(3), (MacroEvent{0x7F, 0xFF, 0x05}));
}

TEST_F(Recorder, TickCountWrapAndClockGoingBack) {
  Hook('A', kPress, 0xFFFFFF00u);
  Hook('A', kRelease, 0x00000010u);  // wrapped: 0x110 ms later
  Hook('B', kPress, 0x00000005u);    // earlier than the last event: at least 1
  EXPECT_EQ(EventValue(At(1)), 0x110);
  EXPECT_EQ(EventValue(At(2)), 1);
}

TEST_F(Recorder, FixedDelayGivesEveryEvent20) {
  recorder.ToggleFixedDelay();
  const HookEventResult first = Hook('A', kPress, 100);
  Hook('A', kRelease, 9000);
  EXPECT_EQ(At(0), (MacroEvent{0x80, 0x14, 0x04}));
  EXPECT_EQ(At(1), (MacroEvent{0x00, 0x14, 0x04}));
  EXPECT_EQ(first.row.text, u"K41                  20 ms");
}

TEST_F(Recorder, HeldKeyGivesOnePress) {
  Hook('A', kPress, 100);
  for (std::uint32_t t = 130; t < 400; t += 30) EXPECT_EQ(Hook('A', kPress, t).answer, 0);
  Hook('B', kPress, 410);
  EXPECT_EQ(Hook('A', kPress, 420).answer, 0) << "A is still down";
  Hook('A', kRelease, 500);
  Hook('A', kPress, 600);
  ASSERT_EQ(buffer.eventCount, 4);
  EXPECT_EQ(At(3), (MacroEvent{0x80, 100, 0x04}));
}

TEST_F(Recorder, KeypadEnterAndMainEnter) {
  Hook(0x0D, kExtendedPress, 10);
  Hook(0x0D, kExtendedRelease, 20);
  Hook(0x0D, kPress, 30);
  Hook(0x0D, kRelease, 40);
  EXPECT_EQ(At(0).map, 0x58);
  EXPECT_EQ(At(1).map, 0x58);
  EXPECT_EQ(At(2).map, 0x28);
  EXPECT_EQ(At(3).map, 0x28);
}

TEST_F(Recorder, MouseButtons) {
  struct Case {
    std::uint32_t down, up;
    std::uint8_t code;
    const char16_t* name;
  };
  const Case cases[] = {{0x201, 0x202, 0xB7, u"LB"}, {0x204, 0x205, 0xB8, u"RB"}, {0x207, 0x208, 0xB9, u"MB"}};
  std::uint32_t now = 100;
  for (const Case& c : cases) {
    const HookEventResult down = Hook(c.down, kPress, now += 10);
    const HookEventResult up = Hook(c.up, kRelease, now += 10);
    EXPECT_EQ(down.row.image, 4021);
    EXPECT_EQ(up.row.image, 4020);
    EXPECT_EQ(down.row.text.substr(0, 2), c.name);
  }
  EXPECT_EQ(At(0), (MacroEvent{0x80, 0x01, 0xB7}));
  EXPECT_EQ(At(1), (MacroEvent{0x00, 10, 0xB7}));
  EXPECT_EQ(At(4).map, 0xB9);
  // A second click with the same button is not taken for a repeat.
  Hook(0x201, kPress, now += 10);
  Hook(0x202, kRelease, now += 10);
  EXPECT_EQ(buffer.eventCount, 8);
}

TEST_F(Recorder, UnexpectedFlagsStoreNothingButResetTheTimeBase) {
  Hook('A', kPress, 100);
  const HookEventResult odd = Hook('B', 0x10, 600);
  EXPECT_EQ(odd.answer, 1);
  EXPECT_FALSE(odd.stored);
  Hook('A', kRelease, 650);
  ASSERT_EQ(buffer.eventCount, 2);
  EXPECT_EQ(EventValue(At(1)), 50);
}

TEST_F(Recorder, The81stEventStopsAndWarnsOnce) {
  std::uint32_t now = 1000;
  for (int i = 0; i < 40; ++i) {
    Hook('A', kPress, now += 5);
    Hook('A', kRelease, now += 5);
  }
  ASSERT_EQ(buffer.eventCount, 80);
  const HookEventResult full = Hook('B', kPress, now += 5);
  EXPECT_EQ(full.answer, 0);
  EXPECT_TRUE(full.limitReached);
  EXPECT_FALSE(recorder.recording());
  EXPECT_EQ(buffer.eventCount, 80);
  // A new run on the full buffer warns again, once.
  EXPECT_EQ(recorder.PressRecordButton(false), RecordButtonAction::kStarted);
  EXPECT_TRUE(Hook('C', kPress, now += 5).limitReached);
  EXPECT_FALSE(Hook('D', kPress, now += 5).limitReached);
}

TEST(RecorderButton, EmptyNameDoesNothingAndIdleRecorderTakesNothing) {
  MacroRecorder recorder(FakeName);
  MacroBuffer buffer;
  EXPECT_EQ(recorder.PressRecordButton(true), RecordButtonAction::kNothing);
  EXPECT_FALSE(recorder.recording());
  EXPECT_EQ(recorder.HandleHookEvent(buffer, 'A', 0, 10).answer, 0);
  EXPECT_EQ(buffer.eventCount, 0);
  EXPECT_EQ(recorder.PressRecordButton(false), RecordButtonAction::kStarted);
  EXPECT_EQ(recorder.PressRecordButton(true), RecordButtonAction::kStopped) << "stopping needs no name";
}

TEST(RecorderButton, RecordingContinuesALoadedMacro) {
  MacroRecorder recorder(FakeName);
  MacroBuffer buffer;
  buffer.events[0] = MakeMacroEvent(true, 1, 0x05);
  buffer.eventCount = 1;
  recorder.PressRecordButton(false);
  recorder.HandleHookEvent(buffer, 'A', 0, 500);
  ASSERT_EQ(buffer.eventCount, 2);
  EXPECT_EQ(buffer.events[0].map, 0x05);
  EXPECT_EQ(buffer.events[1], (MacroEvent{0x80, 0x01, 0x04})) << "first of the run: its time base starts here";
}

}  // namespace
}  // namespace quencfg
