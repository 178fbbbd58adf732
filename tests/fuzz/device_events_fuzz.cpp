// Bad input for what the device thread takes from outside: device interface names of
// any length and content, key cells of any value over a profile of arbitrary bytes, and
// progress positions and ranges of any value.
// Layout: [4 bytes product ID][8 bytes cell][3 x 4 bytes position, minimum, maximum]
//         [4 bytes width][rest: the name as UTF-16 units, then profile bytes].
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "quencfg/device/device_interface_name.h"
#include "quencfg/device/program_launch.h"
#include "quencfg/device/usb_driver.h"
#include "quencfg/ui/progress/progress_marker.h"

using namespace quencfg;

namespace {

template <typename T>
T Take(const std::uint8_t*& data, std::size_t& size) {
  T value{};
  const std::size_t count = size < sizeof value ? size : sizeof value;
  std::memcpy(&value, data, count);
  data += count;
  size -= count;
  return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto productId = Take<std::uint32_t>(data, size);
  const auto cell = Take<std::uint64_t>(data, size);
  const auto position = Take<std::int32_t>(data, size);
  const MarkerRange range{Take<std::int32_t>(data, size), Take<std::int32_t>(data, size)};
  const auto width = Take<std::int32_t>(data, size);

  const int fill = MarkerFillWidth(position, range, width);
  if (fill < 0 || (width > 0 && fill > width)) std::abort();
  const int clamped = ClampMarkerPosition(position, range);
  if (clamped != position && clamped != range.minimum) std::abort();

  // The name ends where the buffer ends: nothing past it may be read.
  const std::size_t units = size / 2;
  auto name = std::make_unique<char16_t[]>(units == 0 ? 1 : units);
  std::memcpy(name.get(), data, units * 2);
  (void)IsKeyboardInterfaceName(std::u16string_view(name.get(), units), kKorvaneVendorId, productId);
  const ProgramLaunch launch = ResolveProgramLaunch(std::u16string_view(name.get(), units), u"C:\\Korvane\\");
  if (launch.file.size() > units + 11) std::abort();

  auto settings = std::make_unique<SettingsBlock>();
  std::memcpy(settings.get(), data, size < sizeof(SettingsBlock) ? size : sizeof(SettingsBlock));
  const std::u16string program = ProgramOfCell(*settings, static_cast<std::uintptr_t>(cell));
  if (program.size() >= kLaunchCapacity + 1) std::abort();
  return 0;
}
