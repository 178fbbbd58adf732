// Ratio program: a full write of a profile with three macro keys, a launch key and
// effect 19 against the fake keyboard with the real clock. Prints the measured time
// divided by the sum of the pauses the protocol mandates (goal: at most 1.03).
// Usage: hid_write_bench [label]   (the label prefixes the figures)
#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>

#include "device/fake_hid.h"
#include "device/full_write.h"
#include "quencfg/framework/pause.h"
#include "quencfg/framework/text.h"

namespace {

using namespace quencfg;

// The real clock, adding up the pauses asked for.
class SummingClock final : public PauseClock {
 public:
  explicit SummingClock(PauseClock& real) : real_(real) {}
  std::int64_t NowMicroseconds() noexcept override { return real_.NowMicroseconds(); }
  void Pause(std::uint32_t milliseconds) noexcept override {
    mandatedMs_ += milliseconds;
    real_.Pause(milliseconds);
  }
  void BeginPreciseTiming() noexcept override { real_.BeginPreciseTiming(); }
  void EndPreciseTiming() noexcept override { real_.EndPreciseTiming(); }
  [[nodiscard]] std::int64_t mandatedMs() const noexcept { return mandatedMs_; }

 private:
  PauseClock& real_;
  std::int64_t mandatedMs_ = 0;
};

std::unique_ptr<ProfileData> BenchProfile() {
  auto profile = std::make_unique<ProfileData>();
  const std::u16string_view names[] = {u"Macro 1", u"Macro 2", u"Macro 3"};
  const int macroSlots[] = {0, 14, 29};
  for (int i = 0; i < 3; ++i) {
    profile->keys[macroSlots[i]].byBtnFuncType = BTNFUNC_MACRO;
    CopyToField(profile->keys[macroSlots[i]].MacroName, names[i]);
  }
  profile->keys[3].byBtnFuncType = BTNFUNC_LAUNCH;
  CopyToField(profile->keys[3].launch, u"C:\\Windows\\notepad.exe");
  profile->lighting.byLightEffect = 19;
  profile->lighting.byLightBright = 4;
  profile->lighting.byLightSpeed = 2;
  for (int slot = 0; slot < KEY_COUNT; ++slot) profile->lighting.keyColors.coLightRGB[slot] = 0x00FF00;
  return profile;
}

MacroSource BenchLibrary() {
  MacroSource source;
  source.listNames = [] { return std::vector<std::u16string>{u"Macro 1", u"Macro 2", u"Macro 3"}; };
  source.readMacro = [](MacroFile& macro, const std::u16string& name) {
    macro.Repeat = 1;
    CopyToField(macro.MacroName, name);
    for (int k = 0; k < kMacroEventCount; ++k) macro.events[k] = MacroEvent{0x80, 0x14, 0x04};
  };
  return source;
}

struct Run {
  double measuredMs;
  double mandatedMs;
  std::size_t reports;
};

Run WriteOnce() {
  SummingClock clock(SystemPauseClock());
  testing::FakeHidMachine machine(clock);
  machine.AddKeyboard();
  CUSBDriver driver(machine.Api(), clock);
  driver.SetLogSink(nullptr);
  driver.OpenDevice(kKorvaneVendorId, kKorvaneProductId);
  const auto profile = BenchProfile();
  const std::int64_t start = clock.NowMicroseconds();
  testing::RunFullWrite(driver, *profile, BenchLibrary(), true, false);
  const std::int64_t end = clock.NowMicroseconds();
  return Run{static_cast<double>(end - start) / 1000.0, static_cast<double>(clock.mandatedMs()),
             machine.Features().size()};
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
  std::string label = argc > 1 ? argv[1] : "hid_write_windows";
#else
  std::string label = argc > 1 ? argv[1] : "hid_write_native";
#endif
  constexpr int kRuns = 2;
  Run worst{0, 1, 0};
  for (int i = 0; i < kRuns; ++i) {
    const Run run = WriteOnce();
    if (run.measuredMs / run.mandatedMs > worst.measuredMs / worst.mandatedMs) worst = run;
  }
  std::printf("%s_reports: %zu\n", label.c_str(), worst.reports);
  std::printf("%s_mandated_ms: %.0f\n", label.c_str(), worst.mandatedMs);
  std::printf("%s_measured_ms: %.1f\n", label.c_str(), worst.measuredMs);
  std::printf("%s_ratio: %.4f\n", label.c_str(), worst.measuredMs / worst.mandatedMs);
  return 0;
}
