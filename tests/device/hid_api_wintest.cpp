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
  EXPECT_EQ(api.readInput(api.context, kNoHidHandle, buffer, sizeof buffer, kNoHidEvent), -1);
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
  const auto handle = reinterpret_cast<HidHandle>(reader.get());
  EXPECT_EQ(api.readInput(api.context, handle, buffer, sizeof buffer, kNoHidEvent), 4);
  EXPECT_EQ(buffer[3], 0x18);
}

// The server end of a named pipe, and its client end opened through the platform table
// as a collection is opened: a handle whose reads wait until the server writes.
class PipePair {
 public:
  explicit PipePair(HidIo io) {
    const std::wstring name = L"\\\\.\\pipe\\korvane-hid-test-" + std::to_wstring(::GetCurrentProcessId());
    server_.reset(::CreateNamedPipeW(name.c_str(), PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE | PIPE_WAIT, 1, 64, 64, 0,
                                     nullptr));
    client_ = api_.openDevice(api_.context, std::u16string(name.begin(), name.end()), true, io);
  }
  ~PipePair() {
    if (client_ != kInvalidHidHandle) api_.closeHandle(api_.context, client_);
  }
  PipePair(const PipePair&) = delete;
  PipePair& operator=(const PipePair&) = delete;

  [[nodiscard]] bool Open() const { return server_ && client_ != kInvalidHidHandle; }
  [[nodiscard]] HidHandle Client() const { return client_; }
  bool Write(const std::uint8_t* bytes, DWORD count) {
    DWORD written = 0;
    return ::WriteFile(server_.get(), bytes, count, &written, nullptr) && written == count;
  }

 private:
  const HidApi& api_ = PlatformHidApi();
  UniqueKernelHandle server_;
  HidHandle client_ = kInvalidHidHandle;
};

// One read of the platform table on a thread of its own.
struct ReadOnThread {
  ReadOnThread(HidHandle handle, HidEvent stop) : handle(handle), stop(stop) {
    thread.reset(::CreateThread(nullptr, 0, &Run, this, 0, nullptr));
  }
  static DWORD WINAPI Run(LPVOID parameter) {
    auto* self = static_cast<ReadOnThread*>(parameter);
    const HidApi& api = PlatformHidApi();
    self->result = api.readInput(api.context, self->handle, self->buffer, sizeof self->buffer, self->stop);
    return 0;
  }
  bool Ended(DWORD waitMs) { return ::WaitForSingleObject(thread.get(), waitMs) == WAIT_OBJECT_0; }

  HidHandle handle;
  HidEvent stop;
  std::uint8_t buffer[16] = {};
  std::atomic<std::int32_t> result{-2};
  UniqueKernelHandle thread;
};

// An overlapped read waits for its report without holding the thread inside ReadFile:
// its stop event ends it (cancelled, nothing delivered), and a report ends the next one.
TEST(PlatformHidApi, OverlappedReadEndsWithItsStopEventOrItsReport) {
  PipePair pipe(HidIo::Overlapped);
  ASSERT_TRUE(pipe.Open());
  const HidApi& api = PlatformHidApi();
  const HidEvent stop = api.createEvent(api.context);
  ASSERT_NE(stop, kNoHidEvent);

  {
    ReadOnThread read(pipe.Client(), stop);
    EXPECT_FALSE(read.Ended(200)) << "the read waits for a report";
    api.setEvent(api.context, stop);
    const bool ended = read.Ended(5000);
    EXPECT_TRUE(ended) << "the stop event ended the read";
    if (!ended) {
      const std::uint8_t release[1] = {0};
      pipe.Write(release, 1);  // lets the read thread go, so that the test can end
      read.Ended(INFINITE);
    }
    EXPECT_EQ(read.result.load(), -1);
  }

  api.resetEvent(api.context, stop);
  {
    ReadOnThread read(pipe.Client(), stop);
    EXPECT_FALSE(read.Ended(100));
    const std::uint8_t report[4] = {0x0D, 0x05, 0x00, 0x18};
    ASSERT_TRUE(pipe.Write(report, sizeof report));
    ASSERT_TRUE(read.Ended(5000));
    EXPECT_EQ(read.result.load(), 4);
    EXPECT_EQ(read.buffer[3], 0x18);
  }
  api.closeEvent(api.context, stop);
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
