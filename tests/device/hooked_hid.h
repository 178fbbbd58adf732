#pragma once
// The fake HID machine's calls with hooks in between: what the device thread's tests
// need to look at (or hold up) at a given call. Unhooked calls go straight through.
#include <functional>

#include "device/fake_hid.h"

namespace quencfg::testing {

class HookedHid {
 public:
  explicit HookedHid(FakeHidMachine& machine) : machine_(machine), inner_(machine.Api()) {
    api_ = inner_;
    api_.context = this;
    api_.getHidDeviceSet = [](void* c) {
      HookedHid& self = Self(c);
      if (self.onSearch) self.onSearch();
      return self.inner_.getHidDeviceSet(self.inner_.context);
    };
    api_.getDevicePath = [](void* c, DeviceSet set, std::uint32_t index, std::u16string* path) {
      return Self(c).inner_.getDevicePath(Self(c).inner_.context, set, index, path);
    };
    api_.destroyDeviceSet = [](void* c, DeviceSet set) {
      Self(c).inner_.destroyDeviceSet(Self(c).inner_.context, set);
    };
    api_.openDevice = [](void* c, const std::u16string& path, bool rw, HidIo io) {
      return Self(c).inner_.openDevice(Self(c).inner_.context, path, rw, io);
    };
    api_.closeHandle = [](void* c, HidHandle h) { Self(c).inner_.closeHandle(Self(c).inner_.context, h); };
    api_.getCollectionCaps = [](void* c, HidHandle h, HidCollectionCaps* caps) {
      return Self(c).inner_.getCollectionCaps(Self(c).inner_.context, h, caps);
    };
    api_.getAttributes = [](void* c, HidHandle h, HidAttributes* a) {
      HookedHid& self = Self(c);
      if (self.onAttributes) self.onAttributes(h);
      return self.inner_.getAttributes(self.inner_.context, h, a);
    };
    api_.setFeature = [](void* c, HidHandle h, const std::uint8_t* r, std::uint32_t n) {
      HookedHid& self = Self(c);
      if (self.onFeature) self.onFeature(r, n);
      return self.inner_.setFeature(self.inner_.context, h, r, n);
    };
    api_.readInput = [](void* c, HidHandle h, std::uint8_t* b, std::uint32_t n, HidEvent stop) {
      return Self(c).inner_.readInput(Self(c).inner_.context, h, b, n, stop);
    };
    api_.createEvent = [](void* c) { return Self(c).inner_.createEvent(Self(c).inner_.context); };
    api_.setEvent = [](void* c, HidEvent e) { Self(c).inner_.setEvent(Self(c).inner_.context, e); };
    api_.resetEvent = [](void* c, HidEvent e) { Self(c).inner_.resetEvent(Self(c).inner_.context, e); };
    api_.closeEvent = [](void* c, HidEvent e) { Self(c).inner_.closeEvent(Self(c).inner_.context, e); };
    api_.startThread = [](void* c, void (*entry)(void*), void* arg, std::uint32_t stack) {
      return Self(c).inner_.startThread(Self(c).inner_.context, entry, arg, stack);
    };
    api_.postMessage = [](void* c, NotifyWindow w, std::uint32_t m, std::uintptr_t wp, std::intptr_t lp) {
      HookedHid& self = Self(c);
      return self.post ? self.post(w, m, wp, lp) : self.inner_.postMessage(self.inner_.context, w, m, wp, lp);
    };
  }
  HookedHid(const HookedHid&) = delete;
  HookedHid& operator=(const HookedHid&) = delete;

  [[nodiscard]] const HidApi& Api() const noexcept { return api_; }
  [[nodiscard]] FakeHidMachine& Machine() noexcept { return machine_; }

  // Set before the calls start; called on the calling thread.
  std::function<void()> onSearch;
  std::function<void(HidHandle handle)> onAttributes;
  std::function<void(const std::uint8_t* report, std::uint32_t length)> onFeature;
  // Replaces the machine's recording post, e.g. by a real one.
  std::function<bool(NotifyWindow, std::uint32_t, std::uintptr_t, std::intptr_t)> post;

 private:
  static HookedHid& Self(void* context) { return *static_cast<HookedHid*>(context); }

  FakeHidMachine& machine_;
  HidApi inner_;
  HidApi api_;
};

}  // namespace quencfg::testing
