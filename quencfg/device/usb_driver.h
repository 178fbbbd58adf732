#pragma once
// CUSBDriver, the HID transport: finds the keyboard's four collections by report ID,
// writes 8-byte feature reports, and runs the read thread that hands key events to
// the device thread. Everything but the read thread runs on the device thread.
//
// The collections are opened for overlapped I/O: a read that waits for a key press
// never holds up the device thread's calls on the same handle (its attributes, asked on
// every arrival and resume), and it can be ended at any time with the driver's stop
// event. The read thread costs nothing while it has nothing to read: it waits in a read
// of the input collection, or, without a readable input handle, until OpenDevice
// publishes one. A read that fails while the handle still answers is tried again after
// a short, growing pause, a bounded number of times; a handle that no longer answers is
// left until the device thread replaces or closes it. Handles are closed only by
// CloseDevice (or when OpenDevice replaces a handle that no longer answers), which first
// ends a read or query running on the input handle.
#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
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
// After a failed read of a handle that still answers, the read is tried again after
// this pause, doubled after every further failure, at most this many times in a row.
inline constexpr std::uint32_t kReadRetryFirstPauseMs = 10;
inline constexpr std::uint32_t kReadRetryLimit = 8;

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
  // Stops the read loop and closes the handles. A read thread that was started but has
  // not begun its loop yet must not outlive the driver: see ReadThreadDone.
  ~CUSBDriver();
  CUSBDriver(const CUSBDriver&) = delete;
  CUSBDriver& operator=(const CUSBDriver&) = delete;

  [[nodiscard]] std::uint32_t VendorId() const noexcept { return vendorId_; }
  [[nodiscard]] std::uint32_t ProductId() const noexcept { return productId_; }

  // Searches the HID devices and takes the recognised collections; returns how many
  // were recognised (0: the keyboard is absent, the handles stay as they were). A role
  // whose held handle still answers keeps it, and the newly opened one is closed; a held
  // handle that no longer answers is closed and replaced.
  int OpenDevice(std::uint32_t vendorId, std::uint32_t productId);
  // All four collections are held and answer.
  [[nodiscard]] bool HoldsAllCollections();
  [[nodiscard]] bool HoldsAnyCollection() const noexcept;
  // Ends a read or query running on the input handle, then closes and clears all four
  // handles.
  void CloseDevice();
  void SetNotifyWindow(NotifyWindow window) noexcept { notifyWindow_.store(window); }
  // Starts the read thread once; later calls do nothing. False when it could not start.
  bool StartReadThread();

  // Sends one 8-byte feature report; 1 when the platform call succeeded, else 0.
  int WriteFeature(HidHandle handle, const FeatureReport& report);
  // How many reports the platform refused since the driver was made: a write whose
  // count stayed the same reached the keyboard whole.
  [[nodiscard]] std::uint64_t FailedReports() const noexcept { return failedReports_; }

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

  // One read of the current input handle, as the read thread does it.
  void ReadPass();
  // The read thread's work: reads while there is a readable input handle and waits
  // without a clock while there is none (or it has given up the handle). Returns once
  // StopReading was called.
  void ReadLoop();
  // Makes ReadLoop return, ending a read running then, and waits until a running loop
  // has returned. The input handle stays.
  void StopReading();
  // True when no read thread was started, or the one started has left its loop: only
  // then may the driver go.
  [[nodiscard]] bool ReadThreadDone();
  // How often the read loop woke up to read: once per read, none while it waits.
  [[nodiscard]] std::uint64_t ReadWakeups() const noexcept { return readWakeups_.load(); }
  // True while the read loop waits for a readable input handle.
  [[nodiscard]] bool ReadLoopWaits();
  // Traces a received report and posts a key event to the notify window.
  void ReadCallback(const std::uint8_t* buffer, std::uint32_t length);

 private:
  static void ReadThreadMain(void* driver);
  [[nodiscard]] bool Answers(HidHandle handle);
  void CloseHandle(HidHandle handle);
  void PublishInput(HidHandle handle);
  // Waits until the read thread no longer uses `handle`, ending its read meanwhile.
  void InterruptRead(HidHandle handle);
  // With the read lock held: asks the read thread to end what it does now.
  void RequestInterrupt();
  [[nodiscard]] bool HasReadableInput() const noexcept;
  // With the read lock held: marks the read thread idle and waits until there is a
  // readable input handle (true) or the loop is to stop (false).
  bool WaitForReadableInput(std::unique_lock<std::mutex>& hold);
  // With the read lock held: reads `handle` once, and after a failed read decides
  // whether it is tried again; `failures` counts the failed reads in a row.
  void ReadOnce(std::unique_lock<std::mutex>& hold, HidHandle handle, std::uint32_t& failures);
  // Reads `handle` once; false when the read failed or was ended.
  bool ReadFrom(HidHandle handle);
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
  // Set to end the read running now; the read thread resets it before each read.
  HidEvent stopEvent_ = kNoHidEvent;
  enum class ReadThreadState { NotStarted, Starting, Running, Ended };
  // Guards the read loop's state below; the input handle is published under it too, so
  // that the waiting read loop sees every change.
  std::mutex readLock_;
  std::condition_variable readChanged_;
  ReadThreadState readThreadState_ = ReadThreadState::NotStarted;
  HidHandle busyHandle_ = kNoHidHandle;     // the handle the read thread reads or queries now
  bool interruptRequested_ = false;         // the stop event was set for what runs now
  HidHandle failedHandle_ = kNoHidHandle;   // given up: not read again
  std::uint64_t inputGeneration_ = 0;       // counts the input handles published
  bool readLoopWaits_ = false;
  bool stopReading_ = false;
  std::atomic<std::uint64_t> readWakeups_{0};
  HidDeviceList deviceList_;
  std::uint32_t featureLength_ = 0;
  std::uint64_t failedReports_ = 0;  // device thread only
};

}  // namespace quencfg
