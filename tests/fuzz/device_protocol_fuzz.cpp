// Bad input for the device protocol: an input report of any length and content read
// through the transport, then a profile of arbitrary bytes (unknown function values,
// names without terminator, any lighting) written to the fake keyboard.
// Layout: [n][n bytes of input report][profile bytes...].
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "device/fake_hid.h"
#include "quencfg/device/device_writes.h"
#include "support/fake_pause_clock.h"

using namespace quencfg;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::size_t reportLength = std::min<std::size_t>(data[0], size - 1);
  const std::uint8_t* report = data + 1;
  const std::uint8_t* rest = report + reportLength;
  const std::size_t restSize = size - 1 - reportLength;

  testing::FakePauseClock clock;
  testing::FakeHidMachine machine(clock);
  machine.AddKeyboard();
  CUSBDriver driver(machine.Api(), clock);
  driver.SetLogSink(nullptr);
  driver.OpenDevice(kKorvaneVendorId, kKorvaneProductId);
  driver.SetNotifyWindow(1);

  machine.DeliverInput(3, std::vector<std::uint8_t>(report, report + reportLength));
  driver.ReadPass();
  driver.ReadCallback(report, static_cast<std::uint32_t>(reportLength));

  auto profile = std::make_unique<ProfileData>();
  std::memcpy(profile.get(), rest, std::min(restSize, sizeof(ProfileData)));
  MacroSource library;
  library.listNames = [] { return std::vector<std::u16string>{u"Macro 1"}; };
  library.readMacro = [rest, restSize](MacroFile& macro, const std::u16string&) {
    std::memcpy(&macro, rest, std::min(restSize, sizeof(MacroFile)));
  };
  WriteKeysAndMacros(driver, *profile, library, nullptr);
  WriteLighting(driver, *profile, nullptr);
  for (const auto& sent : machine.Features()) {
    if (sent.bytes.size() != kFeatureReportLength) std::abort();
  }
  return 0;
}
