// The platform table of the HID seam, against the real SetupAPI and HID library.
#include "quencfg/device/hid_api_win.h"

#include <gtest/gtest.h>

#include <setupapi.h>

#include <atomic>

#include "quencfg/device/usb_driver.h"
#include "quencfg/framework/handle_win.h"
#include "quencfg/framework/pause.h"

namespace quencfg {
namespace {

TEST(PlatformHidApi, DetailSizeIsTheStructureSize) {
  EXPECT_EQ(DeviceInterfaceDetailSize(), sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W));
#ifdef _WIN64
  EXPECT_EQ(DeviceInterfaceDetailSize(), 8u);
#endif
}

TEST(PlatformHidApi, WalksThePresentHidCollections) {
  const HidApi& api = PlatformHidApi();
  const DeviceSet set = api.getHidDeviceSet(api.context);
  ASSERT_NE(set, nullptr);
  std::u16string path;
  std::uint32_t index = 0;
  while (index < 256 && api.getDevicePath(api.context, set, index, &path) != InterfaceLookup::End) ++index;
  EXPECT_LT(index, 256u) << "the walk ends";
  api.destroyDeviceSet(api.context, set);
}

TEST(PlatformHidApi, DriverWithoutKeyboardSendsNothing) {
  CUSBDriver driver(PlatformHidApi(), SystemPauseClock());
  driver.SetLogSink(nullptr);
  // The test machine has no such keyboard; whatever it has is closed again.
  EXPECT_EQ(driver.OpenDevice(kKorvaneVendorId, kKorvaneProductId), 0);
  EXPECT_EQ(driver.Handles().command.load(), kNoHidHandle);
  driver.SendEndOfUpdate();
}

TEST(PlatformHidApi, ReadFromNoHandleFailsAtOnce) {
  const HidApi& api = PlatformHidApi();
  std::uint8_t buffer[16] = {};
  EXPECT_EQ(api.readInput(api.context, kNoHidHandle, buffer, sizeof buffer), -1);
}

TEST(PlatformHidApi, ReadDeliversWhatTheHandleHolds) {
  HANDLE readEnd = nullptr;
  HANDLE writeEnd = nullptr;
  ASSERT_TRUE(::CreatePipe(&readEnd, &writeEnd, nullptr, 0));
  UniqueKernelHandle reader(readEnd);
  UniqueKernelHandle writer(writeEnd);
  const std::uint8_t report[4] = {0x0D, 0x05, 0x00, 0x18};
  DWORD written = 0;
  ASSERT_TRUE(::WriteFile(writer.get(), report, sizeof report, &written, nullptr));
  const HidApi& api = PlatformHidApi();
  std::uint8_t buffer[16] = {};
  EXPECT_EQ(api.readInput(api.context, reinterpret_cast<HidHandle>(reader.get()), buffer, sizeof buffer), 4);
  EXPECT_EQ(buffer[3], 0x18);
}

TEST(PlatformHidApi, StartThreadRunsTheEntry) {
  struct Probe {
    std::atomic<int> runs{0};
    UniqueKernelHandle done{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  } probe;
  const HidApi& api = PlatformHidApi();
  auto entry = [](void* argument) {
    auto* p = static_cast<Probe*>(argument);
    ++p->runs;
    ::SetEvent(p->done.get());
  };
  ASSERT_TRUE(api.startThread(api.context, entry, &probe, kReadThreadStackSize));
  EXPECT_EQ(::WaitForSingleObject(probe.done.get(), 5000), WAIT_OBJECT_0);
  EXPECT_EQ(probe.runs.load(), 1);
}

}  // namespace
}  // namespace quencfg
