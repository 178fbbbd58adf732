#pragma once
// The HID seam's platform table: SetupAPI, the HID library and the file calls.
#include <windows.h>

#include "quencfg/device/hid_api.h"

namespace quencfg {

// The HID device interface class {4D1E55B2-F16F-11CF-88CB-001111000030}: the keyboard's
// collections are found among its members, and their arrivals are announced with it.
inline constexpr GUID kHidInterfaceClass = {
    0x4D1E55B2, 0xF16F, 0x11CF, {0x88, 0xCB, 0x00, 0x11, 0x11, 0x00, 0x00, 0x30}};

const HidApi& PlatformHidApi() noexcept;

// The size field of the device interface detail data: sizeof the structure, which is
// 8 on 64-bit Windows (a 32-bit build's 6 makes the call fail there).
DWORD DeviceInterfaceDetailSize() noexcept;

}  // namespace quencfg
