#include "quencfg/device/hid_api_win.h"

#include <setupapi.h>
// The HID library headers declare C functions without saying so.
extern "C" {
#include <hidsdi.h>
#include <hidpi.h>
}

#include <cwchar>
#include <memory>

#include "quencfg/framework/thread_win.h"
#include "quencfg/framework/wide_win.h"

namespace quencfg {
namespace {

HANDLE AsHandle(HidHandle handle) noexcept { return reinterpret_cast<HANDLE>(handle); }

DeviceSet GetHidDeviceSet(void*) {
  HDEVINFO set = ::SetupDiGetClassDevsW(&kHidInterfaceClass, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
  return set == INVALID_HANDLE_VALUE ? nullptr : set;
}

InterfaceLookup GetDevicePath(void*, DeviceSet set, std::uint32_t index, std::u16string* path) {
  SP_DEVICE_INTERFACE_DATA interfaceData{};
  interfaceData.cbSize = sizeof interfaceData;
  if (!::SetupDiEnumDeviceInterfaces(set, nullptr, &kHidInterfaceClass, index, &interfaceData)) {
    return InterfaceLookup::End;
  }
  DWORD required = 0;
  ::SetupDiGetDeviceInterfaceDetailW(set, &interfaceData, nullptr, 0, &required, nullptr);
  if (required < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W)) return InterfaceLookup::Unreadable;
  // Allocated as an array of the structure so that it is aligned for it.
  const std::size_t count = (required + sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W) - 1) /
                            sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
  auto buffer = std::make_unique<SP_DEVICE_INTERFACE_DETAIL_DATA_W[]>(count);
  buffer[0].cbSize = DeviceInterfaceDetailSize();
  if (!::SetupDiGetDeviceInterfaceDetailW(set, &interfaceData, buffer.get(), required, nullptr, nullptr)) {
    return InterfaceLookup::Unreadable;
  }
  const std::size_t capacity = (required - offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_W, DevicePath)) / sizeof(WCHAR);
  *path = ToU16(std::wstring_view(buffer[0].DevicePath, ::wcsnlen(buffer[0].DevicePath, capacity)));
  return InterfaceLookup::Found;
}

void DestroyDeviceSet(void*, DeviceSet set) { ::SetupDiDestroyDeviceInfoList(set); }

HANDLE AsEvent(HidEvent event) noexcept { return reinterpret_cast<HANDLE>(event); }

HidHandle OpenDevice(void*, const std::u16string& path, bool readWrite, HidIo io) {
  const DWORD access = readWrite ? GENERIC_READ | GENERIC_WRITE : 0;
  const DWORD flags = io == HidIo::Overlapped ? FILE_FLAG_OVERLAPPED : 0;
  HANDLE handle = ::CreateFileW(AsWide(path), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, flags, nullptr);
  return reinterpret_cast<HidHandle>(handle);
}

void CloseDeviceHandle(void*, HidHandle handle) { ::CloseHandle(AsHandle(handle)); }

template <typename PlatformCap>
std::vector<HidReportCap> ToReportCaps(const std::vector<PlatformCap>& platform) {
  std::vector<HidReportCap> caps;
  caps.reserve(platform.size());
  for (const PlatformCap& cap : platform) {
    caps.push_back(HidReportCap{cap.ReportID, cap.UsagePage, cap.IsRange ? cap.Range.UsageMin : cap.NotRange.Usage});
  }
  return caps;
}

std::vector<HidReportCap> ButtonCaps(HIDP_REPORT_TYPE type, USHORT announced, PHIDP_PREPARSED_DATA data) {
  if (announced == 0) return {};
  std::vector<HIDP_BUTTON_CAPS> platform(announced);
  USHORT length = announced;
  if (::HidP_GetSpecificButtonCaps(type, 0, 0, 0, platform.data(), &length, data) != HIDP_STATUS_SUCCESS) return {};
  platform.resize(length < announced ? length : announced);
  return ToReportCaps(platform);
}

std::vector<HidReportCap> ValueCaps(HIDP_REPORT_TYPE type, USHORT announced, PHIDP_PREPARSED_DATA data) {
  if (announced == 0) return {};
  std::vector<HIDP_VALUE_CAPS> platform(announced);
  USHORT length = announced;
  if (::HidP_GetSpecificValueCaps(type, 0, 0, 0, platform.data(), &length, data) != HIDP_STATUS_SUCCESS) return {};
  platform.resize(length < announced ? length : announced);
  return ToReportCaps(platform);
}

bool GetCollectionCaps(void*, HidHandle handle, HidCollectionCaps* out) {
  PHIDP_PREPARSED_DATA data = nullptr;
  if (!::HidD_GetPreparsedData(AsHandle(handle), &data)) return false;
  HIDP_CAPS caps{};
  const bool ok = ::HidP_GetCaps(data, &caps) == HIDP_STATUS_SUCCESS;
  if (ok) {
    out->caps = HidCaps{caps.Usage, caps.UsagePage, caps.InputReportByteLength, caps.OutputReportByteLength,
                        caps.FeatureReportByteLength};
    out->inputButtons = ButtonCaps(HidP_Input, caps.NumberInputButtonCaps, data);
    out->outputButtons = ButtonCaps(HidP_Output, caps.NumberOutputButtonCaps, data);
    out->featureButtons = ButtonCaps(HidP_Feature, caps.NumberFeatureButtonCaps, data);
    out->inputValues = ValueCaps(HidP_Input, caps.NumberInputValueCaps, data);
    out->outputValues = ValueCaps(HidP_Output, caps.NumberOutputValueCaps, data);
    out->featureValues = ValueCaps(HidP_Feature, caps.NumberFeatureValueCaps, data);
  }
  ::HidD_FreePreparsedData(data);
  return ok;
}

bool GetAttributes(void*, HidHandle handle, HidAttributes* out) {
  HIDD_ATTRIBUTES attributes{};
  attributes.Size = sizeof attributes;
  if (!::HidD_GetAttributes(AsHandle(handle), &attributes)) return false;
  *out = HidAttributes{attributes.VendorID, attributes.ProductID, attributes.VersionNumber};
  return true;
}

bool SetFeature(void*, HidHandle handle, const std::uint8_t* report, std::uint32_t length) {
  // The platform takes a non-const buffer but does not write to it.
  return ::HidD_SetFeature(AsHandle(handle), const_cast<std::uint8_t*>(report), length) != FALSE;
}

// Waits for the pending read or for `stop`; a read that `stop` ends is cancelled, and
// its end is waited for all the same: the record and the buffer are in use until then.
bool WaitForRead(HANDLE handle, OVERLAPPED& overlapped, HidEvent stop, DWORD* delivered) {
  if (stop != kNoHidEvent) {
    const HANDLE waits[] = {overlapped.hEvent, AsEvent(stop)};
    if (::WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0) ::CancelIoEx(handle, &overlapped);
  }
  // A read that completed before the cancel reached it keeps what it delivered.
  return ::GetOverlappedResult(handle, &overlapped, delivered, TRUE) != FALSE;
}

std::int32_t ReadInput(void*, HidHandle handle, std::uint8_t* buffer, std::uint32_t length, HidEvent stop) {
  UniqueKernelHandle event(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!event) return -1;
  OVERLAPPED overlapped{};
  overlapped.hEvent = event.get();
  DWORD delivered = 0;
  if (!::ReadFile(AsHandle(handle), buffer, length, &delivered, &overlapped)) {
    if (::GetLastError() != ERROR_IO_PENDING) return -1;
    if (!WaitForRead(AsHandle(handle), overlapped, stop, &delivered)) return -1;
  }
  return static_cast<std::int32_t>(delivered);
}

HidEvent CreateStopEvent(void*) { return reinterpret_cast<HidEvent>(::CreateEventW(nullptr, TRUE, FALSE, nullptr)); }
void SetStopEvent(void*, HidEvent event) { ::SetEvent(AsEvent(event)); }
void ResetStopEvent(void*, HidEvent event) { ::ResetEvent(AsEvent(event)); }
void CloseStopEvent(void*, HidEvent event) { ::CloseHandle(AsEvent(event)); }

struct ThreadStart {
  void (*entry)(void*);
  void* argument;
};

// The start of a new thread, taken over and freed before the thread's work begins.
ThreadStart TakeStart(LPVOID parameter) { return *std::unique_ptr<ThreadStart>(static_cast<ThreadStart*>(parameter)); }

DWORD WINAPI ThreadTrampoline(LPVOID parameter) {
  const ThreadStart start = TakeStart(parameter);
  start.entry(start.argument);
  return 0;
}

bool StartDeviceThread(void*, void (*entry)(void*), void* argument, std::uint32_t stackSize) {
  auto start = std::make_unique<ThreadStart>(ThreadStart{entry, argument});
  // The thread runs until the process ends; its handle is not needed afterwards.
  const StartedThread thread = StartThread(&ThreadTrampoline, start.get(), stackSize);
  if (!thread.handle) return false;
  static_cast<void>(start.release());  // the thread owns it now
  return true;
}

bool PostToWindow(void*, NotifyWindow window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
  return ::PostMessageW(reinterpret_cast<HWND>(window), message, wParam, lParam) != FALSE;
}

}  // namespace

DWORD DeviceInterfaceDetailSize() noexcept { return sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W); }

const HidApi& PlatformHidApi() noexcept {
  static const HidApi api = [] {
    HidApi table;
    table.getHidDeviceSet = &GetHidDeviceSet;
    table.getDevicePath = &GetDevicePath;
    table.destroyDeviceSet = &DestroyDeviceSet;
    table.openDevice = &OpenDevice;
    table.closeHandle = &CloseDeviceHandle;
    table.getCollectionCaps = &GetCollectionCaps;
    table.getAttributes = &GetAttributes;
    table.setFeature = &SetFeature;
    table.readInput = &ReadInput;
    table.createEvent = &CreateStopEvent;
    table.setEvent = &SetStopEvent;
    table.resetEvent = &ResetStopEvent;
    table.closeEvent = &CloseStopEvent;
    table.startThread = &StartDeviceThread;
    table.postMessage = &PostToWindow;
    return table;
  }();
  return api;
}

}  // namespace quencfg
