#pragma once
// The HID seam: the SetupAPI, HID library and file calls of the transport as a table
// of function pointers over portable types. The Windows table calls the platform;
// tests install a fake machine. `context` is passed back to every function.
#include <cstdint>
#include <string>
#include <vector>

namespace quencfg {

// A platform handle as an integer: 0 means none; all bits set is the platform's
// invalid-handle value.
using HidHandle = std::uintptr_t;
inline constexpr HidHandle kNoHidHandle = 0;
inline constexpr HidHandle kInvalidHidHandle = ~HidHandle{0};

using NotifyWindow = std::uintptr_t;  // a window handle as an integer; 0 = none
using DeviceSet = void*;              // a device information set; null = none
// A manual-reset event as an integer; 0 means none.
using HidEvent = std::uintptr_t;
inline constexpr HidEvent kNoHidEvent = 0;

// The part of HIDD_ATTRIBUTES the transport reads.
struct HidAttributes {
  std::uint16_t vendorId = 0;
  std::uint16_t productId = 0;
  std::uint16_t versionNumber = 0;
};

// The part of HIDP_CAPS the transport reads.
struct HidCaps {
  std::uint16_t usage = 0;
  std::uint16_t usagePage = 0;
  std::uint16_t inputReportByteLength = 0;
  std::uint16_t outputReportByteLength = 0;
  std::uint16_t featureReportByteLength = 0;
};

// One element of a button or value capability array (HIDP_BUTTON_CAPS, HIDP_VALUE_CAPS).
struct HidReportCap {
  std::uint8_t reportId = 0;
  std::uint16_t usagePage = 0;
  std::uint16_t usage = 0;
};

// A collection's capabilities with its six arrays; an array is empty when the
// collection announces none of that kind.
struct HidCollectionCaps {
  HidCaps caps;
  std::vector<HidReportCap> inputButtons, outputButtons, featureButtons;
  std::vector<HidReportCap> inputValues, outputValues, featureValues;
};

// How a handle is opened. On a synchronous handle the platform runs one call at a time:
// while a read waits for a report, every other call on that handle (attributes,
// capabilities, feature reports, a second read) waits behind it. An overlapped handle
// has no such order, and its reads can be ended with a stop event.
enum class HidIo { Synchronous, Overlapped };

enum class InterfaceLookup {
  Found,       // the member's device path was read
  End,         // no member at that index: the walk ends
  Unreadable,  // the member exists but its path could not be read
};

struct HidApi {
  void* context = nullptr;

  // SetupDiGetClassDevsW for the present HID interfaces; null on failure.
  DeviceSet (*getHidDeviceSet)(void* context) = nullptr;
  // SetupDiEnumDeviceInterfaces and SetupDiGetDeviceInterfaceDetailW for one member.
  InterfaceLookup (*getDevicePath)(void* context, DeviceSet set, std::uint32_t index,
                                   std::u16string* path) = nullptr;
  void (*destroyDeviceSet)(void* context, DeviceSet set) = nullptr;

  // CreateFileW, OPEN_EXISTING, shared read/write, FILE_FLAG_OVERLAPPED for overlapped
  // I/O; kInvalidHidHandle on failure.
  HidHandle (*openDevice)(void* context, const std::u16string& path, bool readWrite, HidIo io) = nullptr;
  void (*closeHandle)(void* context, HidHandle handle) = nullptr;

  // Preparsed data, HidP_GetCaps and the specific button and value caps of all usages.
  bool (*getCollectionCaps)(void* context, HidHandle handle, HidCollectionCaps* caps) = nullptr;
  bool (*getAttributes)(void* context, HidHandle handle, HidAttributes* attributes) = nullptr;

  // HidD_SetFeature; its success is passed through.
  bool (*setFeature)(void* context, HidHandle handle, const std::uint8_t* report,
                     std::uint32_t length) = nullptr;

  // ReadFile with an overlapped record that carries a fresh event. When the read is
  // pending, waits for that event together with `stop`; when `stop` comes first, the read
  // is cancelled (CancelIoEx) and its end waited for, so that nothing is written into
  // `buffer` after the return. On a synchronous handle ReadFile itself waits for the
  // report and `stop` is never looked at. Returns the number of bytes delivered, or -1
  // when the read failed or was cancelled.
  std::int32_t (*readInput)(void* context, HidHandle handle, std::uint8_t* buffer, std::uint32_t length,
                            HidEvent stop) = nullptr;

  // CreateEventW (manual reset, not signalled, unnamed), SetEvent, ResetEvent and
  // CloseHandle of an event; createEvent gives kNoHidEvent on failure.
  HidEvent (*createEvent)(void* context) = nullptr;
  void (*setEvent)(void* context, HidEvent event) = nullptr;
  void (*resetEvent)(void* context, HidEvent event) = nullptr;
  void (*closeEvent)(void* context, HidEvent event) = nullptr;

  // CreateThread with the requested stack size; the thread is never joined.
  bool (*startThread)(void* context, void (*entry)(void* argument), void* argument,
                      std::uint32_t stackSize) = nullptr;

  // PostMessageW.
  bool (*postMessage)(void* context, NotifyWindow window, std::uint32_t message,
                      std::uintptr_t wParam, std::intptr_t lParam) = nullptr;
};

}  // namespace quencfg
