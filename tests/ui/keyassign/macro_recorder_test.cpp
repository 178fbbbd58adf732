// The recorder's algorithm on the event buffer: timing, the held-key and repeat
// filters, the mouse and keypad Enter codes, and the 80-event limit.
#include "quencfg/ui/keyassign/macro_recorder.h"

#include <gtest/gtest.h>

#include <vector>

#include "quencfg/framework/text.h"
#include "quencfg/ui/keyassign/macro_event_edits.h"

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

// `count` events that leave no key held: pairs of a press and its release, and for an
// odd count first a release of a key pressed before the macro began.
MacroBuffer BufferOfReleasedKeys(int count) {
  MacroBuffer buffer;
  int i = 0;
  if (count % 2 != 0) buffer.events[static_cast<std::size_t>(i++)] = MakeMacroEvent(false, 5, 0x08);
  for (; i < count; i += 2) {
    buffer.events[static_cast<std::size_t>(i)] = MakeMacroEvent(true, 5, 0x07);
    buffer.events[static_cast<std::size_t>(i) + 1] = MakeMacroEvent(false, 5, 0x07);
  }
  buffer.eventCount = count;
  return buffer;
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

// A stored 0 ends the macro wherever it stands, so a key without a code is left out
// and the keys around it keep their delays.
TEST_F(Recorder, AKeyWithoutACodeIsSkipped) {
  Hook('A', kPress, 100);
  for (const std::uint32_t flags : {kPress, kRelease}) {
    const HookEventResult skipped = Hook(0x07, flags, 200);  // a VK no row of the table has
    EXPECT_FALSE(skipped.stored);
    EXPECT_EQ(skipped.answer, 0);
  }
  Hook('A', kRelease, 300);
  ASSERT_EQ(buffer.eventCount, 2);
  EXPECT_EQ(At(1), (MacroEvent{0x00, 200, 0x04}));
  EXPECT_EQ(At(2), MacroEvent{});
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

// The hook reports the STOP click before the button acts: the run's latest press, a
// left-button press, and its release when it came first are the click, and the stop
// takes them out. Every other event stays byte for byte.
TEST(RecorderStop, TheClickThatStopsTheRunIsTakenOut) {
  constexpr std::uint32_t kLeftDown = 0x201, kLeftUp = 0x202, kRightDown = 0x204, kRightUp = 0x205;
  struct HookCall {
    std::uint32_t w, flags;
  };
  enum class Stop { kRecordButton, kOtherPage };
  struct Case {
    const char* what;
    std::vector<HookCall> calls;
    Stop stop;
    std::vector<int> maps;  // what stays, in order
  };
  const Case cases[] = {
      {"a b, then press and release on STOP",
       {{'A', kPress}, {'A', kRelease}, {'B', kPress}, {'B', kRelease}, {kLeftDown, kPress}, {kLeftUp, kRelease}},
       Stop::kRecordButton, {0x04, 0x04, 0x05, 0x05}},
      {"the button acted before the release was reported",
       {{'A', kPress}, {'A', kRelease}, {kLeftDown, kPress}}, Stop::kRecordButton, {0x04, 0x04}},
      {"a click of the macro stays, the later STOP click goes",
       {{kLeftDown, kPress}, {kLeftUp, kRelease}, {'A', kPress}, {'A', kRelease}, {kLeftDown, kPress},
        {kLeftUp, kRelease}},
       Stop::kRecordButton, {0xB7, 0xB7, 0x04, 0x04}},
      {"a key let go during the click stays",
       {{'A', kPress}, {kLeftDown, kPress}, {'A', kRelease}, {kLeftUp, kRelease}}, Stop::kRecordButton,
       {0x04, 0x04}},
      {"a key pressed after the last click: that click was not the stop",
       {{kLeftDown, kPress}, {kLeftUp, kRelease}, {'A', kPress}}, Stop::kRecordButton, {0xB7, 0xB7, 0x04}},
      {"a right click is never the STOP click",
       {{'A', kPress}, {'A', kRelease}, {kRightDown, kPress}, {kRightUp, kRelease}}, Stop::kRecordButton,
       {0x04, 0x04, 0xB8, 0xB8}},
      {"a click on another page's button ends the run the same way",
       {{'A', kPress}, {'A', kRelease}, {kLeftDown, kPress}, {kLeftUp, kRelease}}, Stop::kOtherPage,
       {0x04, 0x04}},
  };
  for (const Case& c : cases) {
    MacroRecorder recorder(FakeName);
    MacroBuffer buffer;
    ASSERT_EQ(recorder.PressRecordButton(false), RecordButtonAction::kStarted);
    std::uint32_t now = 1000;
    for (const HookCall& call : c.calls) recorder.HandleHookEvent(buffer, call.w, call.flags, now += 25);
    const MacroBuffer before = buffer;
    if (c.stop == Stop::kRecordButton) {
      EXPECT_EQ(recorder.PressRecordButton(false), RecordButtonAction::kStopped) << c.what;
    } else {
      recorder.StopRecording();
    }
    const RemovedEvents removed = recorder.TakeOutStoppingClick(buffer);
    std::vector<int> maps;
    for (int i = 0; i < buffer.eventCount; ++i) maps.push_back(buffer.events[static_cast<std::size_t>(i)].map);
    EXPECT_EQ(maps, c.maps) << c.what;
    EXPECT_EQ(removed.count, before.eventCount - buffer.eventCount) << c.what;
    // What stays is what was recorded, delays and all.
    std::vector<MacroEvent> kept(before.events.begin(), before.events.begin() + before.eventCount);
    for (int i = 0; i < removed.count; ++i) kept.erase(kept.begin() + removed.indexes[static_cast<std::size_t>(i)]);
    ASSERT_EQ(static_cast<int>(kept.size()), buffer.eventCount) << c.what;
    for (std::size_t i = 0; i < kept.size(); ++i) EXPECT_EQ(buffer.events[i], kept[i]) << c.what << ", event " << i;
    EXPECT_EQ(CountEventsInUse(buffer.events), buffer.eventCount) << c.what;
    EXPECT_EQ(recorder.TakeOutStoppingClick(buffer).count, 0) << c.what << ": once only";
  }
}

TEST(RecorderStop, EventsFromBeforeTheRunAreNeverTakenOut) {
  MacroRecorder recorder(FakeName);
  MacroBuffer buffer;
  buffer.events[0] = MakeMacroEvent(true, 1, 0x04);
  buffer.events[1] = MakeMacroEvent(true, 9, kMacroLeftButton);  // a loaded macro ending with a click
  buffer.events[2] = MakeMacroEvent(false, 9, kMacroLeftButton);
  buffer.eventCount = 3;
  const MacroBuffer loaded = buffer;
  recorder.PressRecordButton(false);
  recorder.PressRecordButton(false);  // stopped by a click the hook did not see
  EXPECT_EQ(recorder.TakeOutStoppingClick(buffer).count, 0);
  EXPECT_EQ(buffer.eventCount, 3);
  EXPECT_TRUE(buffer.events == loaded.events);

  // Nor from another macro loaded during the run.
  recorder.PressRecordButton(false);
  recorder.HandleHookEvent(buffer, 0x201, kPress, 100);
  recorder.ForgetStoppingClick();
  recorder.PressRecordButton(false);
  EXPECT_EQ(recorder.TakeOutStoppingClick(buffer).count, 0);
  EXPECT_EQ(buffer.eventCount, 4);
  // And nothing while the run goes on.
  recorder.PressRecordButton(false);
  recorder.HandleHookEvent(buffer, 0x202, kRelease, 110);
  recorder.HandleHookEvent(buffer, 0x201, kPress, 120);
  EXPECT_EQ(recorder.TakeOutStoppingClick(buffer).count, 0);
  EXPECT_EQ(buffer.eventCount, 6);
}

// Near the limit every press keeps room for its release: a recording never ends with
// a key or button down because the 80 events ran out.
TEST(RecorderLimit, EveryPressKeepsRoomForItsRelease) {
  constexpr std::uint32_t kLeftShift = 0xA0;  // key code 0xE1
  struct Case {
    const char* what;
    int releasedBefore;  // events already stored, no key held
    std::vector<std::pair<std::uint32_t, std::uint32_t>> calls;
    int stored;  // events in the buffer afterwards
    bool limitReached;
    std::vector<MacroEvent> tail;  // the last events of the buffer
  };
  const Case cases[] = {
      {"a press at 78 fits with its release", 78, {{'A', kPress}, {'A', kRelease}}, 80, false,
       {{0x80, 1, 0x04}, {0x00, 10, 0x04}}},
      {"then a press cannot fit: the limit", 78, {{'A', kPress}, {'A', kRelease}, {'B', kPress}}, 80, true,
       {{0x80, 1, 0x04}, {0x00, 10, 0x04}}},
      {"a press at 79 cannot get its release", 79, {{'B', kPress}}, 79, true, {}},
      {"Shift held: A keeps room for both releases", 76, {{kLeftShift, kPress}, {'A', kPress}}, 78, false,
       {{0x80, 1, 0xE1}, {0x80, 10, 0x04}}},
      {"Shift held when the limit comes: it is let go there", 76,
       {{kLeftShift, kPress}, {'A', kPress}, {'A', kRelease}, {'B', kPress}}, 80, true,
       {{0x80, 10, 0x04}, {0x00, 10, 0x04}, {0x00, 10, 0xE1}}},
      {"two keys held: both let go, the later first", 75, {{kLeftShift, kPress}, {'A', kPress}, {'B', kPress}}, 79,
       true, {{0x80, 10, 0x04}, {0x00, 10, 0x04}, {0x00, 1, 0xE1}}},
      {"a release of a key pressed before the run leaves room for the held ones", 78,
       {{kLeftShift, kPress}, {'C', kRelease}}, 80, true, {{0x80, 1, 0xE1}, {0x00, 10, 0xE1}}},
  };
  for (const Case& c : cases) {
    MacroRecorder recorder(FakeName);
    MacroBuffer buffer = BufferOfReleasedKeys(c.releasedBefore);
    const MacroBuffer loaded = buffer;
    recorder.PressRecordButton(false);
    std::uint32_t now = 1000;
    bool limitReached = false;
    for (const auto& [w, flags] : c.calls) {
      limitReached = recorder.HandleHookEvent(buffer, w, flags, now += 10).limitReached || limitReached;
    }
    EXPECT_EQ(buffer.eventCount, c.stored) << c.what;
    EXPECT_EQ(limitReached, c.limitReached) << c.what;
    EXPECT_EQ(recorder.recording(), !c.limitReached) << c.what;
    if (c.limitReached) {
      EXPECT_EQ(ReleasesOwed(buffer), 0) << c.what << ": no key left down";
    }
    for (int i = 0; i < c.releasedBefore; ++i) {
      EXPECT_EQ(buffer.events[static_cast<std::size_t>(i)], loaded.events[static_cast<std::size_t>(i)]) << c.what;
    }
    const auto tailFrom = static_cast<std::size_t>(buffer.eventCount) - c.tail.size();
    for (std::size_t i = 0; i < c.tail.size(); ++i) {
      EXPECT_EQ(buffer.events[tailFrom + i], c.tail[i]) << c.what << ", tail " << i;
    }
    EXPECT_EQ(CountEventsInUse(buffer.events), buffer.eventCount) << c.what;
  }
}

TEST(RecorderLimit, ReleasesAtTheLimitAreListedAsTheRecorderListsThem) {
  MacroRecorder recorder(FakeName);
  MacroBuffer buffer = BufferOfReleasedKeys(76);
  recorder.PressRecordButton(false);
  recorder.HandleHookEvent(buffer, 0xA0, kPress, 100);
  recorder.HandleHookEvent(buffer, 0x201, kPress, 110);
  const HookEventResult full = recorder.HandleHookEvent(buffer, 'B', kPress, 150);
  ASSERT_TRUE(full.limitReached);
  ASSERT_EQ(full.closingRows.size(), 2u);
  EXPECT_EQ(full.closingRows[0].text, u"LB                  40ms");
  EXPECT_EQ(full.closingRows[0].image, 4020);
  EXPECT_EQ(full.closingRows[1].text, u"K10                   1ms");
  EXPECT_EQ(full.closingRows[1].image, 4025);
  EXPECT_EQ(buffer.eventCount, 80);
}

// A left click that does not fit may be the STOP click: it is dropped with its release
// and does not raise the warning. The next event that does not fit does.
TEST(RecorderLimit, ALeftClickThatDoesNotFitIsDroppedWithoutAWarning) {
  for (const int full : {79, 80}) {
    MacroRecorder recorder(FakeName);
    MacroBuffer buffer = BufferOfReleasedKeys(full);
    const MacroBuffer loaded = buffer;
    recorder.PressRecordButton(false);
    const HookEventResult down = recorder.HandleHookEvent(buffer, 0x201, kPress, 100);
    const HookEventResult up = recorder.HandleHookEvent(buffer, 0x202, kRelease, 110);
    EXPECT_FALSE(down.limitReached || up.limitReached) << full;
    EXPECT_FALSE(down.stored || up.stored) << full;
    EXPECT_TRUE(recorder.recording()) << full;
    // The STOP click: the run ends with the buffer as it was.
    EXPECT_EQ(recorder.PressRecordButton(false), RecordButtonAction::kStopped);
    EXPECT_EQ(recorder.TakeOutStoppingClick(buffer).count, 0) << full;
    EXPECT_TRUE(buffer.events == loaded.events) << full;
    EXPECT_EQ(buffer.eventCount, full);

    // A click elsewhere, then a key: the key raises the warning.
    recorder.PressRecordButton(false);
    recorder.HandleHookEvent(buffer, 0x201, kPress, 200);
    recorder.HandleHookEvent(buffer, 0x202, kRelease, 210);
    EXPECT_TRUE(recorder.HandleHookEvent(buffer, 'A', kPress, 220).limitReached) << full;
    EXPECT_EQ(buffer.eventCount, full);
  }
  // With room again the next left press is stored, and so is its release.
  MacroRecorder recorder(FakeName);
  MacroBuffer buffer = BufferOfReleasedKeys(80);
  recorder.PressRecordButton(false);
  recorder.HandleHookEvent(buffer, 0x201, kPress, 100);
  ClearEvents(buffer);  // a new macro during the run
  recorder.HandleHookEvent(buffer, 0x202, kRelease, 110);  // the dropped press's release
  recorder.HandleHookEvent(buffer, 0x201, kPress, 120);
  recorder.HandleHookEvent(buffer, 0x202, kRelease, 130);
  EXPECT_EQ(buffer.eventCount, 2);
  EXPECT_EQ(ReleasesOwed(buffer), 0);
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
