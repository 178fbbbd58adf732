#include "quencfg/device/hid_device_list.h"

namespace quencfg {
namespace {

bool IsOpen(HidHandle handle) noexcept { return handle != kNoHidHandle && handle != kInvalidHidHandle; }

// Read and write access first; without access rights a collection can still be
// queried and sent feature reports. Overlapped, so that the read thread's wait for a
// key press on the input collection never holds up a call of the device thread.
HidHandle OpenCollection(const HidApi& api, const std::u16string& path) {
  const HidHandle handle = api.openDevice(api.context, path, true, HidIo::Overlapped);
  if (IsOpen(handle)) return handle;
  return api.openDevice(api.context, path, false, HidIo::Overlapped);
}

void ClearList(HidDeviceList& list) {
  list.count = 0;
  list.attributes = HidAttributes{};
  list.collections.fill(HidCollectionCaps{});
  list.handles.fill(kNoHidHandle);
}

// Records or closes one opened collection.
void ExamineCollection(const HidApi& api, HidHandle handle, HidDeviceList& list) {
  HidCollectionCaps caps;
  if (!api.getCollectionCaps(api.context, handle, &caps)) caps = HidCollectionCaps{};
  HidAttributes attributes;
  const bool matches = api.getAttributes(api.context, handle, &attributes) &&
                       attributes.vendorId == list.vendorIdWanted &&
                       attributes.productId == list.productIdWanted;
  if (!matches || list.count >= kHidDeviceListCapacity) {
    api.closeHandle(api.context, handle);
    return;
  }
  const auto index = static_cast<std::size_t>(list.count);
  list.collections[index] = std::move(caps);
  list.handles[index] = handle;
  list.attributes = attributes;
  ++list.count;
}

}  // namespace

void SearchHidDevices(const HidApi& api, std::uint32_t vendorId, std::uint32_t productId, HidDeviceList& list) {
  list.vendorIdWanted = vendorId;
  list.productIdWanted = productId;
  ClearList(list);
  const DeviceSet set = api.getHidDeviceSet(api.context);
  if (set == nullptr) return;
  std::u16string path;
  for (std::uint32_t index = 0;; ++index) {
    const InterfaceLookup lookup = api.getDevicePath(api.context, set, index, &path);
    if (lookup == InterfaceLookup::End) break;
    if (lookup == InterfaceLookup::Unreadable) continue;
    const HidHandle handle = OpenCollection(api, path);
    if (IsOpen(handle)) ExamineCollection(api, handle, list);
  }
  api.destroyDeviceSet(api.context, set);
}

}  // namespace quencfg
