#pragma once
// The HID seam's platform table: SetupAPI, the HID library and the file calls.
#include <windows.h>

#include "quencfg/device/hid_api.h"

namespace quencfg {

const HidApi& PlatformHidApi() noexcept;

// The size field of the device interface detail data: sizeof the structure, which is
// 8 on 64-bit Windows (a 32-bit build's 6 makes the call fail there).
DWORD DeviceInterfaceDetailSize() noexcept;

}  // namespace quencfg
