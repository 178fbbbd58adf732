// The HID double keeps the platform's rules for a handle with a read pending, so that
// the transport's tests fail where Windows would hang.
#include "device/fake_hid.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "support/eventually.h"
#include "support/fake_pause_clock.h"

namespace quencfg {
namespace {

using testing::Eventually;
using testing::FakeHidMachine;
using testing::FakePauseClock;

// The first collection's handle, opened as the transport opens it.
HidHandle OpenFirstCollection(const HidApi& api, HidIo io) {
  const DeviceSet set = api.getHidDeviceSet(api.context);
  std::u16string path;
  const InterfaceLookup lookup = api.getDevicePath(api.context, set, 0, &path);
  api.destroyDeviceSet(api.context, set);
  return lookup == InterfaceLookup::Found ? api.openDevice(api.context, path, true, io) : kInvalidHidHandle;
}

// On a synchronous handle a query waits until the pending read has ended (and that is
// reported), and the read does not look at its stop event. On an overlapped handle the
// query answers at once and the stop event ends the read.
TEST(FakeHidMachine, ACallWaitsBehindAPendingReadOnlyOnASynchronousHandle) {
  struct Case {
    const char* name;
    HidIo io;
    bool serialised;
  };
  for (const Case c : {Case{"synchronous", HidIo::Synchronous, true}, Case{"overlapped", HidIo::Overlapped, false}}) {
    SCOPED_TRACE(c.name);
    FakePauseClock clock;
    FakeHidMachine machine(clock);
    machine.SetReadsBlock(true);
    machine.AddKeyboard({kReportIdInput});
    const HidApi& api = machine.Api();
    const HidHandle handle = OpenFirstCollection(api, c.io);
    ASSERT_NE(handle, kInvalidHidHandle);
    const HidEvent stop = api.createEvent(api.context);

    std::atomic<std::int32_t> read{-2};
    std::thread reader([&] {
      std::uint8_t buffer[16] = {};
      read.store(api.readInput(api.context, handle, buffer, sizeof buffer, stop));
    });
    ASSERT_TRUE(Eventually([&] { return machine.PendingReads() == 1; }));
    std::atomic<bool> answered{false};
    std::thread query([&] {
      HidAttributes attributes;
      (void)api.getAttributes(api.context, handle, &attributes);
      answered.store(true);
    });
    if (c.serialised) {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
      EXPECT_FALSE(answered.load()) << "the query waits behind the read";
    } else {
      EXPECT_TRUE(Eventually([&] { return answered.load(); }));
    }

    api.setEvent(api.context, stop);
    if (c.serialised) {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
      EXPECT_EQ(machine.PendingReads(), 1) << "a synchronous read does not look at its stop event";
      machine.DeliverInput(0, {0x0D, 0x05, 0x00, 0x18});  // the user presses a key
    }
    reader.join();
    query.join();
    EXPECT_EQ(read.load(), c.serialised ? 4 : -1);
    EXPECT_EQ(machine.StoppedReads(), c.serialised ? 0 : 1);
    EXPECT_EQ(machine.Misuse().size(), c.serialised ? 1u : 0u);
    api.closeHandle(api.context, handle);
    api.closeEvent(api.context, stop);
    EXPECT_EQ(machine.OpenEventCount(), 0);
  }
}

}  // namespace
}  // namespace quencfg
