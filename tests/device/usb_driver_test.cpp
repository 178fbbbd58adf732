// The transport over the fake HID machine: recognition of the keyboard's collections,
// handle ownership, the read pass and the senders' handle checks.
#include "quencfg/device/usb_driver.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <thread>

#include "device/fake_hid.h"
#include "quencfg/framework/debug_output.h"
#include "quencfg/framework/messages.h"
#include "support/eventually.h"
#include "support/fake_pause_clock.h"

namespace quencfg {
namespace {

using testing::Eventually;
using testing::FakeCollection;
using testing::FakeHidMachine;
using testing::FakePauseClock;
using testing::KeyboardCollection;

// A driver over a fresh fake machine, with the log captured.
struct DriverFixture {
  FakePauseClock clock;
  FakeHidMachine machine{clock};
  CUSBDriver driver{machine.Api(), clock};
  std::vector<std::u16string> log;

  DriverFixture() {
    driver.SetLogSink([this](std::u16string_view line) { log.emplace_back(line); });
  }
  int Open() { return driver.OpenDevice(driver.VendorId(), driver.ProductId()); }
  int RoleCollection(const std::atomic<HidHandle>& handle) const {
    return machine.CollectionOfOpenHandle(handle.load());
  }
};

TEST(OpenDevice, RolesFollowReportIdsInAnyEnumerationOrder) {
  const std::vector<std::vector<std::uint8_t>> orders = {
      {0x0A, 0x0B, 0x0C, 0x0D}, {0x0D, 0x0C, 0x0B, 0x0A}, {0x0B, 0x0D, 0x0A, 0x0C}, {0x0C, 0x0A, 0x0D, 0x0B}};
  for (const auto& order : orders) {
    DriverFixture f;
    f.machine.AddKeyboard(order);
    EXPECT_EQ(f.Open(), 4);
    auto indexOf = [&](std::uint8_t id) {
      return static_cast<int>(std::find(order.begin(), order.end(), id) - order.begin());
    };
    EXPECT_EQ(f.RoleCollection(f.driver.Handles().command), indexOf(0x0A));
    EXPECT_EQ(f.RoleCollection(f.driver.Handles().keyMap), indexOf(0x0B));
    EXPECT_EQ(f.RoleCollection(f.driver.Handles().macro), indexOf(0x0C));
    EXPECT_EQ(f.RoleCollection(f.driver.Handles().input), indexOf(0x0D));
    EXPECT_EQ(f.machine.OpenHandleCount(), 4);
    EXPECT_EQ(f.machine.OpenDeviceSets(), 0) << "the device set is released";
  }
}

TEST(OpenDevice, OtherDevicesAndUnknownCollectionsAreClosed) {
  DriverFixture f;
  FakeCollection otherProduct = KeyboardCollection(0x0A);
  otherProduct.productId = 0x0091;
  FakeCollection otherVendor = KeyboardCollection(0x0B);
  otherVendor.vendorId = 0x1234;
  FakeCollection plainKeyboard;  // the keyboard's own boot collection: no report ID of ours
  plainKeyboard.inputButtonIds = {0x01};
  FakeCollection unknownFeature = KeyboardCollection(0x07);
  f.machine.Add(otherProduct);
  f.machine.Add(otherVendor);
  f.machine.Add(plainKeyboard);
  f.machine.Add(unknownFeature);
  f.machine.AddKeyboard();
  EXPECT_EQ(f.Open(), 4);
  EXPECT_EQ(f.driver.DeviceList().count, 6) << "the two matching collections without a role are recorded";
  EXPECT_EQ(f.machine.OpenHandleCount(), 4) << "everything without a role is closed";
  EXPECT_EQ(f.RoleCollection(f.driver.Handles().command), 4);
  EXPECT_TRUE(f.machine.Misuse().empty());
}

TEST(OpenDevice, FeatureRoleWinsOverInputReport) {
  DriverFixture f;
  FakeCollection both = KeyboardCollection(0x0A);
  both.inputButtonIds = {0x0D};
  f.machine.Add(both);
  EXPECT_EQ(f.Open(), 1);
  EXPECT_EQ(f.RoleCollection(f.driver.Handles().command), 0);
  EXPECT_EQ(f.driver.Handles().input.load(), kNoHidHandle);
}

TEST(OpenDevice, OnlyTheFirstCapabilityDecides) {
  DriverFixture f;
  FakeCollection laterFeature;
  laterFeature.featureValueIds = {0x07, 0x0A};
  FakeCollection unknownFeatureThenInput;
  unknownFeatureThenInput.featureValueIds = {0x07};
  unknownFeatureThenInput.inputButtonIds = {0x0D};
  FakeCollection inputValueOnly;  // an input report in a value, not a button
  inputValueOnly.inputValueIds = {0x0D};
  f.machine.Add(laterFeature);
  f.machine.Add(unknownFeatureThenInput);
  f.machine.Add(inputValueOnly);
  EXPECT_EQ(f.Open(), 1);
  EXPECT_EQ(f.driver.Handles().command.load(), kNoHidHandle);
  EXPECT_EQ(f.RoleCollection(f.driver.Handles().input), 1);
  EXPECT_EQ(f.machine.OpenHandleCount(), 1);
}

TEST(OpenDevice, NoKeyboardLeavesHandlesAsTheyWere) {
  DriverFixture f;
  f.machine.AddKeyboard();
  ASSERT_EQ(f.Open(), 4);
  const HidHandle command = f.driver.Handles().command.load();
  f.machine.Unplug();
  EXPECT_EQ(f.Open(), 0);
  EXPECT_EQ(f.driver.Handles().command.load(), command);
  f.machine.SetDeviceSetFails(true);
  EXPECT_EQ(f.Open(), 0);
  EXPECT_EQ(f.driver.Handles().command.load(), command);
}

TEST(OpenDevice, UnopenableAndUnreadableCollectionsAreSkipped) {
  DriverFixture f;
  FakeCollection noAccessOnly = KeyboardCollection(0x0A);
  noAccessOnly.opensReadWrite = false;
  FakeCollection unopenable = KeyboardCollection(0x0B);
  unopenable.opensReadWrite = false;
  unopenable.opensWithoutAccess = false;
  FakeCollection noPath = KeyboardCollection(0x0B);
  noPath.pathReadable = false;
  FakeCollection noCaps = KeyboardCollection(0x0B);
  noCaps.capsReadable = false;
  FakeCollection noAttributes = KeyboardCollection(0x0B);
  noAttributes.attributesReadable = false;
  f.machine.Add(noAccessOnly);
  f.machine.Add(unopenable);
  f.machine.Add(noPath);
  f.machine.Add(noCaps);
  f.machine.Add(noAttributes);
  f.machine.Add(KeyboardCollection(0x0C));  // the walk goes on past all of them
  EXPECT_EQ(f.Open(), 2);
  EXPECT_EQ(f.RoleCollection(f.driver.Handles().command), 0);
  EXPECT_FALSE(f.machine.OpenedReadWrite(f.driver.Handles().command.load()));
  EXPECT_EQ(f.driver.Handles().keyMap.load(), kNoHidHandle);
  EXPECT_EQ(f.RoleCollection(f.driver.Handles().macro), 5);
  EXPECT_EQ(f.machine.OpenHandleCount(), 2);
}

TEST(OpenDevice, SixteenthMatchingCollectionIsClosed) {
  DriverFixture f;
  for (int i = 0; i < 15; ++i) {
    FakeCollection filler;
    filler.featureValueIds = {0x30};
    f.machine.Add(filler);
  }
  f.machine.Add(KeyboardCollection(0x0A));  // 16th: beyond the list
  f.machine.Add(KeyboardCollection(0x0B));
  EXPECT_EQ(f.Open(), 0);
  EXPECT_EQ(f.driver.DeviceList().count, kHidDeviceListCapacity);
  EXPECT_EQ(f.driver.Handles().command.load(), kNoHidHandle);
  EXPECT_EQ(f.machine.OpenHandleCount(), 0);
  EXPECT_TRUE(f.machine.Misuse().empty());
}

TEST(OpenDevice, LaterCollectionWithTheSameReportIdReplacesTheEarlier) {
  DriverFixture f;
  f.machine.Add(KeyboardCollection(0x0A));
  f.machine.Add(KeyboardCollection(0x0A));
  EXPECT_EQ(f.Open(), 2);
  EXPECT_EQ(f.RoleCollection(f.driver.Handles().command), 1);
  EXPECT_EQ(f.machine.OpenHandleCount(), 1) << "the replaced handle of the same search is closed";
}

TEST(OpenDevice, ReplugTakesTheNewHandles) {
  DriverFixture f;
  f.machine.AddKeyboard();
  ASSERT_EQ(f.Open(), 4);
  const HidHandle before = f.driver.Handles().input.load();
  f.machine.Unplug();
  f.driver.Handles().Clear();
  EXPECT_EQ(f.driver.Handles().command.load(), kNoHidHandle);
  EXPECT_EQ(f.driver.Handles().input.load(), kNoHidHandle);
  f.machine.Replug();
  ASSERT_EQ(f.Open(), 4);
  EXPECT_NE(f.driver.Handles().input.load(), before);
  EXPECT_EQ(f.RoleCollection(f.driver.Handles().input), 3);
}

TEST(OpenDevice, LogsEachCollectionAndItsRole) {
  DriverFixture f;
  f.machine.AddKeyboard({0x0A, 0x0D});
  ASSERT_EQ(f.Open(), 2);
  const std::vector<std::u16string> want = {
      u"01- Usage : 0x1, UsagePage : 0xff00 \r\n",
      u"FeatureReportByteLength : 0x8(8) \r\n",
      u"\u2514\u2500>Value_CapFeature_ReportID : 0xa \r\n",
      u"02- Usage : 0x1, UsagePage : 0xc \r\n",
      u"FeatureReportByteLength : 0x0(0) \r\n",
      u"\u2514\u2500>Value_buttonCapInput_ReportID : 0xd \r\n",
  };
  EXPECT_EQ(f.log, want);
  EXPECT_EQ(f.driver.FeatureLength(), 8u);
}

TEST(WriteFeature, SendsEightBytesAndPassesTheResultThrough) {
  DriverFixture f;
  f.machine.AddKeyboard();
  ASSERT_EQ(f.Open(), 4);
  const FeatureReport report = EndOfUpdateReport();
  EXPECT_EQ(f.driver.WriteFeature(f.driver.Handles().command.load(), report), 1);
  f.machine.SetFeatureFails(true);
  EXPECT_EQ(f.driver.WriteFeature(f.driver.Handles().command.load(), report), 0);
  const auto sent = f.machine.Features();
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(sent[0].bytes, std::vector<std::uint8_t>(report.begin(), report.end()));
}

TEST(Senders, WithoutHandlesSendNothingAndDoNotPause) {
  DriverFixture f;
  auto everySender = [](CUSBDriver& d) {
    d.SendReset();
    d.SendEndOfUpdate();
    d.SendLighting(LightingSettings{});
    d.SendEffectColor(0x123456);
    d.SendKeyColor(21, 0xFF);
    d.SendKeyMap(KeyMapBlock{});
    d.SendMacro(21, MacroBlock{});
  };
  everySender(f.driver);  // never opened
  f.machine.AddKeyboard();
  ASSERT_EQ(f.Open(), 4);
  f.machine.Unplug();
  f.driver.Handles().Clear();  // what the device thread does on removal
  everySender(f.driver);
  EXPECT_TRUE(f.machine.Features().empty());
  EXPECT_TRUE(f.clock.pauses().empty());
}

TEST(Senders, KeyMapNeedsBothHandlesMacroToo) {
  DriverFixture f;
  f.machine.AddKeyboard({0x0A});  // command collection only
  ASSERT_EQ(f.Open(), 1);
  f.driver.SendKeyMap(KeyMapBlock{});
  f.driver.SendMacro(21, MacroBlock{});
  EXPECT_TRUE(f.machine.Features().empty());
  f.driver.SendKeyColor(21, 0);
  EXPECT_EQ(f.machine.Features().size(), 1u);
}

TEST(Senders, FailedReportsDoNotStopTheRest) {
  DriverFixture f;
  f.machine.AddKeyboard();
  ASSERT_EQ(f.Open(), 4);
  f.machine.SetFeatureFails(true);
  f.driver.SendKeyMap(KeyMapBlock{});
  EXPECT_EQ(f.machine.Features().size(), 1u + kKeymapPacketCount);
  EXPECT_EQ(f.clock.totalPauseMs(), 200 + 23 * 60);
}

// Captures the debugger output.
class DebugCapture {
 public:
  DebugCapture() {
    Lines().clear();
    SetDebugOutputHook(&Record);
  }
  ~DebugCapture() { SetDebugOutputHook(nullptr); }
  static std::vector<std::u16string>& Lines() {
    static std::vector<std::u16string> lines;
    return lines;
  }

 private:
  static void Record(std::u16string_view text) { Lines().emplace_back(text); }
};

struct ReadCase {
  const char* name;
  std::vector<std::uint8_t> report;
  bool posts;
  std::u16string trace;
};

TEST(ReadPass, KeyEventsArePostedEverythingElseOnlyTraced) {
  const std::vector<std::uint8_t> full = {0x0D, 0x05, 0x00, 0x18, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
  const ReadCase cases[] = {
      {"key event", full, true, u"ReadCallback-16: 0d 05 00 18 01 02 03 04\n"},
      {"other event", {0x0D, 0x04, 0x00, 0x18}, false, u"ReadCallback-4: 0d 04 00 18 00 00 00 00\n"},
      {"other report", {0x0E, 0x05, 0x00, 0x18}, false, u"ReadCallback-4: 0e 05 00 18 00 00 00 00\n"},
      {"too short for a cell", {0x0D, 0x05, 0x00}, false, u"ReadCallback-3: 0d 05 00 00 00 00 00 00\n"},
      {"longer than a read", std::vector<std::uint8_t>(40, 0x0D), false,
       u"ReadCallback-16: 0d 0d 0d 0d 0d 0d 0d 0d\n"},
      {"empty", {}, false, u""},
  };
  for (const ReadCase& c : cases) {
    DriverFixture f;
    DebugCapture debug;
    f.machine.AddKeyboard();
    ASSERT_EQ(f.Open(), 4);
    f.driver.SetNotifyWindow(0x777);
    f.machine.DeliverInput(3, c.report);
    f.driver.ReadPass();
    const auto posted = f.machine.Posted();
    if (c.posts) {
      ASSERT_EQ(posted.size(), 1u) << c.name;
      EXPECT_EQ(posted[0].window, 0x777u);
      EXPECT_EQ(posted[0].message, UM_DEVICEEVENT);
      EXPECT_EQ(posted[0].wParam, 0x18u);
      EXPECT_EQ(posted[0].lParam, 0);
    } else {
      EXPECT_TRUE(posted.empty()) << c.name;
    }
    if (c.trace.empty()) {
      EXPECT_TRUE(DebugCapture::Lines().empty()) << c.name;
    } else {
      EXPECT_EQ(DebugCapture::Lines(), std::vector<std::u16string>{c.trace}) << c.name;
    }
  }
}

TEST(ReadPass, ShortReportDoesNotCarryBytesOfAnEarlierOne) {
  DriverFixture f;
  f.machine.AddKeyboard();
  ASSERT_EQ(f.Open(), 4);
  f.driver.SetNotifyWindow(1);
  f.machine.DeliverInput(3, {0x0D, 0x05, 0x00, 0x18});
  f.machine.DeliverInput(3, {0x0D, 0x05});
  f.driver.ReadPass();
  f.driver.ReadPass();
  EXPECT_EQ(f.machine.Posted().size(), 1u);
}

TEST(ReadPass, WithoutNotifyWindowOrInputHandleNothingIsPosted) {
  DriverFixture f;
  f.driver.ReadPass();  // no handle at all: the read fails
  f.machine.AddKeyboard();
  ASSERT_EQ(f.Open(), 4);
  f.machine.DeliverInput(3, {0x0D, 0x05, 0x00, 0x18});
  f.driver.ReadPass();
  EXPECT_TRUE(f.machine.Posted().empty());
}

TEST(StartReadThread, StartsOnceWithTheRequestedStack) {
  DriverFixture f;
  EXPECT_TRUE(f.driver.StartReadThread());
  EXPECT_TRUE(f.driver.StartReadThread());
  const auto requests = f.machine.ThreadRequests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].stackSize, 4096u);
  EXPECT_EQ(requests[0].argument, &f.driver);
}

// The read loop beside unplugging and replugging on another thread: every key event
// read reaches the notify window, and nothing is read from a closed handle.
TEST(ReadPass, RunsBesideReplugs) {
  DriverFixture f;
  f.machine.AddKeyboard();
  ASSERT_EQ(f.Open(), 4);
  f.driver.SetNotifyWindow(9);
  std::atomic<bool> stop{false};
  std::thread reader([&] {
    while (!stop.load()) f.driver.ReadPass();
  });
  for (int round = 0; round < 50; ++round) {
    f.machine.DeliverInput(3, {0x0D, 0x05, 0x00, static_cast<std::uint8_t>(round)});
    f.machine.Unplug();
    f.driver.Handles().Clear();
    f.machine.Replug();
    f.Open();
  }
  stop.store(true);
  reader.join();
  for (const auto& message : f.machine.Posted()) EXPECT_EQ(message.window, 9u);
  EXPECT_TRUE(f.machine.Misuse().empty());
}

// The driver's read loop on a thread of its own, over reads that block as the
// keyboard's do; stopped and joined at the end.
struct ReadLoopFixture : DriverFixture {
  std::thread reader;
  ReadLoopFixture() {
    machine.SetReadsBlock(true);
    driver.SetNotifyWindow(7);
    reader = std::thread([this] { driver.ReadLoop(); });
  }
  ~ReadLoopFixture() {
    driver.StopReading();
    reader.join();
  }
  bool ReadRunning(int calls) {
    return Eventually([&] { return machine.ReadCalls() == calls && !driver.ReadLoopWaits(); });
  }
};

std::vector<std::uint8_t> KeyReport(std::uint8_t cell) { return {0x0D, 0x05, 0x00, cell}; }

TEST(ReadLoop, WaitsWithoutWakingUpUntilThereIsSomethingToRead) {
  ReadLoopFixture f;
  ASSERT_TRUE(Eventually([&] { return f.driver.ReadLoopWaits(); }));
  // Whatever time passes, a loop without a keyboard does nothing.
  std::this_thread::sleep_for(std::chrono::milliseconds(60));
  EXPECT_EQ(f.driver.ReadWakeups(), 0u);
  EXPECT_EQ(f.machine.ReadCalls(), 0) << "no read is tried without an input handle";

  f.machine.AddKeyboard();
  ASSERT_EQ(f.Open(), 4);
  ASSERT_TRUE(f.ReadRunning(1)) << "the opened keyboard woke the loop, which now blocks in its read";
  f.machine.DeliverInput(3, KeyReport(24));
  ASSERT_TRUE(Eventually([&] { return f.machine.Posted().size() == 1; }));
  ASSERT_TRUE(f.ReadRunning(2));

  f.machine.Unplug();  // the blocked read fails
  ASSERT_TRUE(Eventually([&] { return f.driver.ReadLoopWaits(); }));
  std::this_thread::sleep_for(std::chrono::milliseconds(60));
  EXPECT_EQ(f.driver.ReadWakeups(), 2u) << "one wake-up per read, none to retry the dead handle";
  EXPECT_EQ(f.machine.ReadCalls(), 2);

  f.driver.CloseDevice();
  f.machine.Replug();
  ASSERT_EQ(f.Open(), 4);
  f.machine.DeliverInput(3, KeyReport(25));
  ASSERT_TRUE(Eventually([&] { return f.machine.Posted().size() == 2; })) << "the new handle is read";
  EXPECT_EQ(f.machine.Posted()[1].wParam, 25u);
  EXPECT_TRUE(f.machine.Misuse().empty());
}

// Closing while the keyboard is still there (resume, a reopen): the blocked read only
// ends when it is cancelled, and the handle is closed only after it has.
TEST(CloseDevice, EndsTheBlockedReadBeforeClosingAnything) {
  ReadLoopFixture f;
  f.machine.AddKeyboard();
  ASSERT_EQ(f.Open(), 4);
  ASSERT_TRUE(f.ReadRunning(1));
  f.driver.CloseDevice();
  EXPECT_EQ(f.machine.StoppedReads(), 1);
  EXPECT_TRUE(f.machine.Misuse().empty()) << "nothing was closed under the running read";
  EXPECT_EQ(f.machine.OpenHandleCount(), 0);
  EXPECT_FALSE(f.driver.HoldsAnyCollection());
  EXPECT_TRUE(Eventually([&] { return f.driver.ReadLoopWaits(); }));
}

// A read that fails while its handle still answers (a passing error of the device) is
// tried again after a short pause, as often as it takes within the bound.
TEST(ReadLoop, AFailedReadIsTriedAgainWhileTheHandleAnswers) {
  ReadLoopFixture f;
  f.machine.AddKeyboard();
  ASSERT_EQ(f.Open(), 4);
  ASSERT_TRUE(f.ReadRunning(1));
  f.machine.FailReads(3, 3);  // the pending read and the next two
  f.machine.DeliverInput(3, KeyReport(24));
  ASSERT_TRUE(Eventually([&] { return f.machine.Posted().size() == 1; })) << "the key pressed meanwhile is read";
  EXPECT_EQ(f.machine.Posted()[0].wParam, 24u);
  EXPECT_TRUE(f.ReadRunning(5)) << "three failed reads, the one that delivered, and the next";
  EXPECT_TRUE(f.machine.Misuse().empty());
}

// Reads that keep failing although the handle answers (say, a collection that opened
// without read access) are not tried forever: after the bounded retries the loop waits
// for another input handle, and reads that one.
TEST(ReadLoop, ReadsThatKeepFailingAreGivenUpUntilTheHandleIsReplaced) {
  ReadLoopFixture f;
  f.machine.AddKeyboard();
  ASSERT_EQ(f.Open(), 4);
  ASSERT_TRUE(f.ReadRunning(1));
  f.machine.FailReads(3, 1000);
  ASSERT_TRUE(Eventually([&] { return f.driver.ReadLoopWaits(); }));
  EXPECT_EQ(f.machine.ReadCalls(), 1 + static_cast<int>(kReadRetryLimit));

  f.machine.FailReads(3, 0);
  f.driver.CloseDevice();
  ASSERT_EQ(f.Open(), 4);
  f.machine.DeliverInput(3, KeyReport(25));
  ASSERT_TRUE(Eventually([&] { return f.machine.Posted().size() == 1; })) << "the new handle is read";
  EXPECT_TRUE(f.machine.Misuse().empty());
}

// Every call the device thread makes on the input handle while a read waits there
// returns without waiting for the read: the handles are overlapped.
TEST(ReadLoop, AReadWaitingForAKeyHoldsUpNoCallOfTheDeviceThread) {
  ReadLoopFixture f;
  f.machine.AddKeyboard();
  ASSERT_EQ(f.Open(), 4);
  ASSERT_TRUE(f.ReadRunning(1));
  EXPECT_TRUE(f.machine.OpenedOverlapped(f.driver.Handles().input.load()));
  EXPECT_TRUE(f.driver.HoldsAllCollections());
  ASSERT_EQ(f.Open(), 4) << "a repeated arrival";
  EXPECT_EQ(f.machine.PendingReads(), 1) << "the read still waits";
  EXPECT_TRUE(f.machine.Misuse().empty());
}

TEST(CloseDevice, FiftyUnplugReplugCyclesLeaveNoHandleOpen) {
  struct Case {
    const char* name;
    bool closeBeforeUnplug;  // the keyboard still answers when it is closed
  };
  for (const Case c : {Case{"removal", false}, Case{"reopen of a present keyboard", true}}) {
    SCOPED_TRACE(c.name);
    ReadLoopFixture f;
    f.machine.AddKeyboard();
    const int before = f.machine.OpenHandleCount();
    for (int cycle = 0; cycle < 50; ++cycle) {
      ASSERT_EQ(f.Open(), 4) << cycle;
      ASSERT_TRUE(Eventually([&] { return !f.driver.ReadLoopWaits(); }));
      if (c.closeBeforeUnplug) f.driver.CloseDevice();
      f.machine.Unplug();
      if (!c.closeBeforeUnplug) f.driver.CloseDevice();
      f.machine.Replug();
      ASSERT_EQ(f.machine.OpenHandleCount(), before) << cycle;
    }
    EXPECT_TRUE(f.machine.Misuse().empty());
  }
}

TEST(OpenDevice, RepeatedOpenKeepsHandlesThatAnswerAndReplacesDeadOnes) {
  DriverFixture f;
  f.machine.AddKeyboard();
  ASSERT_EQ(f.Open(), 4);
  const HidHandle command = f.driver.Handles().command.load();
  const HidHandle input = f.driver.Handles().input.load();
  EXPECT_TRUE(f.driver.HoldsAllCollections());
  ASSERT_EQ(f.Open(), 4);
  EXPECT_EQ(f.driver.Handles().command.load(), command) << "an open keyboard is not reopened";
  EXPECT_EQ(f.driver.Handles().input.load(), input);
  EXPECT_EQ(f.machine.OpenHandleCount(), 4);

  // A reset of the keyboard that no removal event announced: the handles are dead.
  f.machine.Unplug();
  f.machine.Replug();
  EXPECT_FALSE(f.driver.HoldsAllCollections());
  ASSERT_EQ(f.Open(), 4);
  EXPECT_NE(f.driver.Handles().command.load(), command);
  EXPECT_EQ(f.RoleCollection(f.driver.Handles().command), 0);
  EXPECT_EQ(f.machine.OpenHandleCount(), 4) << "the dead handles were closed";
  EXPECT_TRUE(f.machine.Misuse().empty());
}

}  // namespace
}  // namespace quencfg
