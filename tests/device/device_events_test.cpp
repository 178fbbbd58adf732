// Device-change names, the program of a key event and the progress bar arithmetic.
#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>

#include "quencfg/device/device_interface_name.h"
#include "quencfg/device/program_launch.h"
#include "quencfg/device/usb_driver.h"
#include "quencfg/framework/text.h"
#include "quencfg/ui/progress/progress_marker.h"

namespace quencfg {
namespace {

TEST(DeviceInterfaceName, VendorAndProductIdDigitsDecide) {
  struct Case {
    std::u16string name;
    bool keyboard;
  };
  const Case cases[] = {
      {u"\\\\?\\USB#VID_258A&PID_0090#6&1a2b3c&0&2#{a5dcbf10-6530-11d2-901f-00c04fb951ed}", true},
      {u"\\\\?\\USB#VID_046D&PID_0090#other", false},  // another maker's product 0090
      {u"\\\\?\\USB#VID_258B&PID_0090#other", false},
      {u"\\\\?\\USB#VID_258A&PID_0091#x", false},
      {u"\\\\?\\usb#vid_258a&pid_0090#x", true},   // the case of hex digits carries no meaning
      {u"\\\\?\\USB#VID_258A&PID_00A0#x", false},
      {u"\\\\?\\USB#VID_258A&PID_009", false},     // one digit short
      {u"\\\\?\\USB#VID_258A&PID_0090", true},     // exactly long enough
      {u"\\\\?\\USB#VID_258A", false},             // vendor digits only
      {u"", false},
      {u"\\\\?\\BTHENUM#VID_258A&PID_0090", false},  // another bus: the digits stand elsewhere
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsKeyboardInterfaceName(c.name, kKorvaneVendorId, kKorvaneProductId), c.keyboard)
        << Utf16ToUtf8(c.name);
  }
  EXPECT_TRUE(IsKeyboardInterfaceName(u"\\\\?\\USB#VID_258A&PID_00AB#x", kKorvaneVendorId, 0xAB));
  EXPECT_TRUE(IsKeyboardInterfaceName(u"\\\\?\\USB#VID_258a&PID_00ab#x", kKorvaneVendorId, 0xAB));
  EXPECT_FALSE(IsKeyboardInterfaceName(u"\\\\?\\USB#VID_258A&PID_00AC#x", kKorvaneVendorId, 0xAB));
  EXPECT_FALSE(IsKeyboardInterfaceName(u"\\\\?\\USB#VID_258A&PID_1234#x", kKorvaneVendorId, 0x12345));
  EXPECT_FALSE(IsKeyboardInterfaceName(u"\\\\?\\USB#VID_0258A&PID_0090", 0x1258A, kKorvaneProductId));
}

TEST(DeviceInterfaceName, ReadsNothingPastTheGivenLength) {
  // The digits follow in memory but lie outside the view.
  const std::u16string whole = u"\\\\?\\USB#VID_258A&PID_0090";
  EXPECT_FALSE(IsKeyboardInterfaceName(std::u16string_view(whole).substr(0, 24), kKorvaneVendorId, kKorvaneProductId));
}

struct LaunchFixture {
  std::unique_ptr<SettingsBlock> settings = std::make_unique<SettingsBlock>();
  LaunchFixture() {
    CopyToField(settings->profiles[0].keys[3].launch, u"C:\\profile1.exe");
    CopyToField(settings->profiles[1].keys[3].launch, u"C:\\profile2.exe");
    CopyToField(settings->profiles[1].keys[0].launch, u"C:\\escape.exe");
    CopyToField(settings->profiles[1].keys[70].launch, u"C:\\keyless-slot.exe");
    settings->Profile = 1;
  }
};

TEST(ProgramOfCell, TakesTheSlotOfTheCellFromTheCurrentProfile) {
  LaunchFixture f;
  struct Case {
    std::uintptr_t cell;
    std::u16string program;
  };
  const Case cases[] = {
      {24, u"C:\\profile2.exe"},  // cell 24 is slot 3
      {21, u"C:\\escape.exe"},
      {22, u""},                  // a key without a program
      {0, u""},                   // cell 0 carries no key, although slots 63.. point at it
      {14, u""},                  // row 0: no key
      {119, u""},
      {255, u""},
      {256 + 24, u""},            // beyond a byte: not a cell
      {UINTPTR_MAX, u""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ProgramOfCell(*f.settings, c.cell), c.program) << c.cell;
  }
  f.settings->Profile = 0;
  EXPECT_EQ(ProgramOfCell(*f.settings, 24), u"C:\\profile1.exe");
}

TEST(ProgramOfCell, UnterminatedFieldStaysInsideTheSlot) {
  LaunchFixture f;
  auto& launch = f.settings->profiles[1].keys[3].launch;
  for (char16_t& unit : launch) unit = u'x';
  EXPECT_EQ(ProgramOfCell(*f.settings, 24).size(), static_cast<std::size_t>(kLaunchCapacity));
}

TEST(ResolveProgramLaunch, StartsLikeAShortcutWhateverTheCurrentFolder) {
  const std::u16string base = u"C:\\Program Files\\Korvane\\";
  struct Case {
    std::u16string program;
    std::u16string file;
    std::u16string folder;
  };
  const Case cases[] = {
      {u"C:\\Tools\\app.exe", u"C:\\Tools\\app.exe", u"C:\\Tools\\"},
      {u"c:/tools/app.exe", u"c:/tools/app.exe", u"c:/tools/"},
      {u"\"C:\\My Tools\\app.exe\"", u"C:\\My Tools\\app.exe", u"C:\\My Tools\\"},
      {u"D:\\app.exe", u"D:\\app.exe", u"D:\\"},
      {u"\\\\server\\share\\app.exe", u"\\\\server\\share\\app.exe", u"\\\\server\\share\\"},
      {u"\\Tools\\app.exe", u"\\Tools\\app.exe", u"\\Tools\\"},
      {u"Tools\\app.exe", base + u"Tools\\app.exe", base + u"Tools\\"},
      {u".\\app.exe", base + u".\\app.exe", base + u".\\"},
      {u"..\\Other\\app.exe", base + u"..\\Other\\app.exe", base + u"..\\Other\\"},
      {u"notepad.exe", u"notepad.exe", base},
      {u" calc ", u"calc", base},
      {u"https://example.com/a:b", u"https://example.com/a:b", u""},
      {u"mailto:someone@example.com", u"mailto:someone@example.com", u""},
      {u"", u"", u""},
      {u"\"\"", u"", u""},
  };
  for (const Case& c : cases) {
    const ProgramLaunch launch = ResolveProgramLaunch(c.program, base);
    EXPECT_EQ(Utf16ToUtf8(launch.file), Utf16ToUtf8(c.file)) << Utf16ToUtf8(c.program);
    EXPECT_EQ(Utf16ToUtf8(launch.workingFolder), Utf16ToUtf8(c.folder)) << Utf16ToUtf8(c.program);
  }
}

TEST(ProgressMarker, PositionOutsideTheRangeBecomesTheMinimum) {
  const MarkerRange percent{0, 100};
  struct Case {
    int value;
    int position;
  };
  const Case cases[] = {{0, 0}, {50, 50}, {100, 100}, {101, 0}, {150, 0}, {-1, 0}, {INT_MIN, 0}, {INT_MAX, 0}};
  for (const Case& c : cases) EXPECT_EQ(ClampMarkerPosition(c.value, percent), c.position) << c.value;
  EXPECT_EQ(ClampMarkerPosition(50, MarkerRange{}), 0) << "the range after creation is 0..10";
}

TEST(ProgressMarker, FillCoversTheShareOfTheWidth) {
  struct Case {
    int position;
    MarkerRange range;
    int width;
    int fill;
  };
  const Case cases[] = {
      {0, {0, 100}, 750, 0},     {50, {0, 100}, 750, 375},  {100, {0, 100}, 750, 750},
      {33, {0, 100}, 750, 247},  // truncated
      {5, {0, 10}, 750, 375},    {7, {7, 7}, 750, 0},       // empty range
      {150, {0, 100}, 750, 750}, {-5, {0, 100}, 750, 0},    {INT_MAX, {0, 100}, INT_MAX, INT_MAX},
      {50, {0, 100}, 0, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MarkerFillWidth(c.position, c.range, c.width), c.fill) << c.position << " of " << c.width;
  }
}

}  // namespace
}  // namespace quencfg
