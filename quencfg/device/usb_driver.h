#pragma once
// CUSBDriver, the HID transport: finds the keyboard's four collections by report ID,
// writes 8-byte feature reports, and runs the read thread that hands key events to
// the device thread. Everything but the read thread runs on the device thread.
#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "quencfg/device/device_reports.h"
#include "quencfg/device/hid_api.h"
#include "quencfg/device/hid_device_list.h"
#include "quencfg/framework/pause.h"
#include "quencfg/model/settings_block.h"

namespace quencfg {

inline constexpr std::uint32_t kKorvaneVendorId = 0x258A;
inline constexpr std::uint32_t kKorvaneProductId = 0x0090;

inline constexpr std::uint32_t kInputReadLength = 16;
inline constexpr std::size_t kInputBufferSize = 1000;
inline constexpr std::uint32_t kReadThreadStackSize = 4096;
inline constexpr std::uint32_t kReadRetryPauseMs = 10;

// The four collection handles, in this order; 0 where the collection is absent. The
// read thread reads the input handle while the device thread may replace or clear it.
struct HidHandleGroup {
  std::atomic<HidHandle> command{kNoHidHandle};
  std::atomic<HidHandle> keyMap{kNoHidHandle};
  std::atomic<HidHandle> macro{kNoHidHandle};
  std::atomic<HidHandle> input{kNoHidHandle};

  // What the device thread does when the keyboard is unplugged.
  void Clear() noexcept;
};

class CUSBDriver {
 public:
  using LogSink = std::function<void(std::u16string_view line)>;

  // The default log sink is the diagnostic log.
  CUSBDriver(const HidApi& api, PauseClock& clock);
  CUSBDriver(const CUSBDriver&) = delete;
  CUSBDriver& operator=(const CUSBDriver&) = delete;

  [[nodiscard]] std::uint32_t VendorId() const noexcept { return vendorId_; }
  [[nodiscard]] std::uint32_t ProductId() const noexcept { return productId_; }

  // Searches the HID devices and takes the recognised collections; returns how many
  // were recognised (0: the keyboard is absent, the handles stay as they were).
  int OpenDevice(std::uint32_t vendorId, std::uint32_t productId);
  void SetNotifyWindow(NotifyWindow window) noexcept { notifyWindow_.store(window); }
  // Starts the read thread once; later calls do nothing. False when it could not start.
  bool StartReadThread();

  // Sends one 8-byte feature report; 1 when the platform call succeeded, else 0.
  int WriteFeature(HidHandle handle, const FeatureReport& report);

  HidHandleGroup& Handles() noexcept { return handles_; }
  [[nodiscard]] const HidDeviceList& DeviceList() const noexcept { return deviceList_; }
  [[nodiscard]] std::uint32_t FeatureLength() const noexcept { return featureLength_; }
  [[nodiscard]] PauseClock& Clock() noexcept { return clock_; }
  void SetLogSink(LogSink sink) { log_ = std::move(sink); }

  // The senders of the protocol. Each returns at once, without pausing, when a handle
  // it needs is 0; otherwise it sends its reports and keeps the protocol's pauses.
  // Failed reports do not stop the ones after them.
  void SendReset();
  void SendEndOfUpdate();
  void SendLighting(const LightingSettings& lighting);
  void SendEffectColor(std::uint32_t color);
  void SendKeyColor(std::uint8_t cell, std::uint32_t color);
  void SendKeyMap(const KeyMapBlock& block);
  void SendMacro(std::uint8_t cell, const MacroBlock& block);

  // One pass of the read thread, without its 10 ms sleep.
  void ReadPass();
  // Traces a received report and posts a key event to the notify window.
  void ReadCallback(const std::uint8_t* buffer, std::uint32_t length);

 private:
  static void ReadThreadMain(void* driver);
  void Log(std::u16string_view line);
  void LogCollection(int index, const HidCollectionCaps& caps);
  void SendBlock(HidHandle handle, std::uint8_t reportId, std::span<const std::uint8_t> block,
                 std::uint32_t pauseMs);

  const HidApi& api_;
  PauseClock& clock_;
  LogSink log_;
  std::uint32_t vendorId_ = kKorvaneVendorId;
  std::uint32_t productId_ = kKorvaneProductId;
  HidHandleGroup handles_;
  // Used only by the read thread; kept for the driver's lifetime, since a read may be
  // blocked writing into it while the device thread reopens the keyboard.
  std::array<std::uint8_t, kInputBufferSize> inputBuffer_{};
  std::atomic<std::uint32_t> inputLength_{kInputReadLength};
  std::atomic<NotifyWindow> notifyWindow_{0};
  std::atomic<bool> readThreadStarted_{false};
  HidDeviceList deviceList_;
  std::uint32_t featureLength_ = 0;
};

}  // namespace quencfg
