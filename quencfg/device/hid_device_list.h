#pragma once
// The device search: every present HID collection whose vendor and product ID match,
// with its capabilities and its open handle, in enumeration order.
#include <array>
#include <cstdint>

#include "quencfg/device/hid_api.h"

namespace quencfg {

inline constexpr int kHidDeviceListCapacity = 15;

struct HidDeviceList {
  std::uint32_t productIdWanted = 0;
  std::uint32_t vendorIdWanted = 0;
  std::int32_t count = 0;
  HidAttributes attributes;  // of the last collection recorded
  std::array<HidCollectionCaps, kHidDeviceListCapacity> collections;
  std::array<HidHandle, kHidDeviceListCapacity> handles{};
};

// Fills `list` afresh. Collections that do not match, and matching ones beyond the
// capacity, are closed; the recorded handles belong to the caller.
void SearchHidDevices(const HidApi& api, std::uint32_t vendorId, std::uint32_t productId, HidDeviceList& list);

}  // namespace quencfg
