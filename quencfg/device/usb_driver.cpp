#include "quencfg/device/usb_driver.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "quencfg/framework/debug_output.h"
#include "quencfg/framework/messages.h"
#include "quencfg/framework/text.h"
#include "quencfg/framework/writelog.h"

namespace quencfg {
namespace {

constexpr char16_t kBranch[] = u"\u2514\u2500>";

enum class Role { None, Command, KeyMap, Macro, Input };

// A collection's role follows from the report ID it declares: the first feature value
// capability for the three feature collections, else the first input button capability.
Role RoleOf(const HidCollectionCaps& caps) noexcept {
  if (!caps.featureValues.empty()) {
    switch (caps.featureValues.front().reportId) {
      case kReportIdCommand: return Role::Command;
      case kReportIdKeymap: return Role::KeyMap;
      case kReportIdMacro: return Role::Macro;
      default: break;
    }
  }
  if (!caps.inputButtons.empty() && caps.inputButtons.front().reportId == kReportIdInput) return Role::Input;
  return Role::None;
}

template <typename... Args>
std::u16string Format(const char* format, Args... args) {
  char line[160];
  std::snprintf(line, sizeof line, format, args...);
  return AsciiToUtf16(line);
}

}  // namespace

void HidHandleGroup::Clear() noexcept {
  command.store(kNoHidHandle);
  keyMap.store(kNoHidHandle);
  macro.store(kNoHidHandle);
  input.store(kNoHidHandle);
}

CUSBDriver::CUSBDriver(const HidApi& api, PauseClock& clock)
    : api_(api), clock_(clock), log_([](std::u16string_view line) { WriteLogString(std::u16string(line)); }) {
  stopEvent_ = api_.createEvent(api_.context);
}

CUSBDriver::~CUSBDriver() {
  StopReading();
  CloseDevice();
  if (stopEvent_ != kNoHidEvent) api_.closeEvent(api_.context, stopEvent_);
}

void CUSBDriver::Log(std::u16string_view line) {
  if (log_) log_(line);
}

void CUSBDriver::LogCollection(int index, const HidCollectionCaps& caps) {
  Log(Format("%0.2d- Usage : 0x%x, UsagePage : 0x%x \r\n", index + 1, unsigned{caps.caps.usage},
             unsigned{caps.caps.usagePage}));
  Log(Format("FeatureReportByteLength : 0x%x(%d) \r\n", unsigned{caps.caps.featureReportByteLength},
             int{caps.caps.featureReportByteLength}));
}

int CUSBDriver::OpenDevice(std::uint32_t vendorId, std::uint32_t productId) {
  SearchHidDevices(api_, vendorId, productId, deviceList_);

  // Roles are settled before anything is published, so that a collection replaced by a
  // later one with the same report ID can be closed without the read thread seeing it.
  std::array<HidHandle, 4> found{};  // command, key map, macro, input
  auto take = [&](Role role, HidHandle handle) {
    HidHandle& slot = found[static_cast<std::size_t>(role) - 1];
    if (slot != kNoHidHandle) api_.closeHandle(api_.context, slot);
    slot = handle;
  };

  int recognised = 0;
  for (int i = 0; i < deviceList_.count; ++i) {
    const HidCollectionCaps& caps = deviceList_.collections[static_cast<std::size_t>(i)];
    const HidHandle handle = deviceList_.handles[static_cast<std::size_t>(i)];
    LogCollection(i, caps);
    const Role role = RoleOf(caps);
    if (role == Role::None) {
      api_.closeHandle(api_.context, handle);
      continue;
    }
    if (role == Role::Input) {
      Log(kBranch + Format("Value_buttonCapInput_ReportID : 0x%x \r\n", unsigned{kReportIdInput}));
    } else {
      Log(kBranch + Format("Value_CapFeature_ReportID : 0x%x \r\n", unsigned{caps.featureValues.front().reportId}));
      featureLength_ = caps.caps.featureReportByteLength;
    }
    take(role, handle);
    ++recognised;
  }

  std::atomic<HidHandle>* const slots[] = {&handles_.command, &handles_.keyMap, &handles_.macro, &handles_.input};
  for (std::size_t i = 0; i < found.size(); ++i) {
    const HidHandle fresh = found[i];
    if (fresh == kNoHidHandle) continue;
    const HidHandle held = slots[i]->load();
    // A repeated arrival must not reopen what is open.
    if (held != kNoHidHandle && Answers(held)) {
      CloseHandle(fresh);
      continue;
    }
    if (slots[i] == &handles_.input) {
      inputLength_.store(kInputReadLength);
      PublishInput(fresh);
      InterruptRead(held);
    } else {
      slots[i]->store(fresh);
    }
    CloseHandle(held);
  }
  return recognised;
}

bool CUSBDriver::HoldsAllCollections() {
  for (const std::atomic<HidHandle>* slot : {&handles_.command, &handles_.keyMap, &handles_.macro, &handles_.input}) {
    const HidHandle handle = slot->load();
    if (handle == kNoHidHandle || !Answers(handle)) return false;
  }
  return true;
}

bool CUSBDriver::HoldsAnyCollection() const noexcept {
  return handles_.command.load() != kNoHidHandle || handles_.keyMap.load() != kNoHidHandle ||
         handles_.macro.load() != kNoHidHandle || handles_.input.load() != kNoHidHandle;
}

void CUSBDriver::CloseDevice() {
  HidHandle input = kNoHidHandle;
  {
    std::lock_guard<std::mutex> hold(readLock_);
    input = handles_.input.exchange(kNoHidHandle);
  }
  // Nothing is closed under a running read.
  InterruptRead(input);
  CloseHandle(input);
  CloseHandle(handles_.command.exchange(kNoHidHandle));
  CloseHandle(handles_.keyMap.exchange(kNoHidHandle));
  CloseHandle(handles_.macro.exchange(kNoHidHandle));
}

bool CUSBDriver::Answers(HidHandle handle) {
  HidAttributes attributes;
  return handle != kInvalidHidHandle && api_.getAttributes(api_.context, handle, &attributes);
}

void CUSBDriver::CloseHandle(HidHandle handle) {
  if (handle != kNoHidHandle && handle != kInvalidHidHandle) api_.closeHandle(api_.context, handle);
}

void CUSBDriver::PublishInput(HidHandle handle) {
  {
    std::lock_guard<std::mutex> hold(readLock_);
    handles_.input.store(handle);
    ++inputGeneration_;
    // The platform reuses handle values: a failure of before says nothing about this one.
    failedHandle_ = kNoHidHandle;
  }
  readChanged_.notify_all();
}

void CUSBDriver::RequestInterrupt() {
  interruptRequested_ = true;
  if (stopEvent_ != kNoHidEvent) api_.setEvent(api_.context, stopEvent_);
}

void CUSBDriver::InterruptRead(HidHandle handle) {
  if (handle == kNoHidHandle) return;
  std::unique_lock<std::mutex> hold(readLock_);
  if (busyHandle_ != handle) return;
  RequestInterrupt();
  // An overlapped read ends at once when its stop event is set; a query is short.
  readChanged_.wait(hold, [&] { return busyHandle_ != handle; });
}

bool CUSBDriver::HasReadableInput() const noexcept {
  const HidHandle handle = handles_.input.load();
  return handle != kNoHidHandle && handle != kInvalidHidHandle && handle != failedHandle_;
}

bool CUSBDriver::ReadLoopWaits() {
  std::lock_guard<std::mutex> hold(readLock_);
  return readLoopWaits_;
}

bool CUSBDriver::WaitForReadableInput(std::unique_lock<std::mutex>& hold) {
  busyHandle_ = kNoHidHandle;
  readChanged_.notify_all();
  readLoopWaits_ = true;
  readChanged_.wait(hold, [this] { return stopReading_ || HasReadableInput(); });
  readLoopWaits_ = false;
  return !stopReading_;
}

void CUSBDriver::ReadLoop() {
  std::unique_lock<std::mutex> hold(readLock_);
  readThreadState_ = ReadThreadState::Running;
  std::uint64_t generation = 0;
  std::uint32_t failures = 0;
  while (WaitForReadableInput(hold)) {
    if (generation != inputGeneration_) {
      generation = inputGeneration_;
      failures = 0;
    }
    ReadOnce(hold, handles_.input.load(), failures);
  }
  busyHandle_ = kNoHidHandle;
  readThreadState_ = ReadThreadState::Ended;
  readChanged_.notify_all();
}

void CUSBDriver::ReadOnce(std::unique_lock<std::mutex>& hold, HidHandle handle, std::uint32_t& failures) {
  // While busy with the handle, the device thread closes nothing under the read thread.
  busyHandle_ = handle;
  interruptRequested_ = false;
  if (stopEvent_ != kNoHidEvent) api_.resetEvent(api_.context, stopEvent_);
  hold.unlock();
  readWakeups_.fetch_add(1);
  const bool read = ReadFrom(handle);
  hold.lock();
  if (read) {
    failures = 0;
    return;
  }
  // A read ended on purpose: the handle is replaced or closed, or the loop stops.
  if (interruptRequested_) return;
  hold.unlock();
  const bool answers = Answers(handle);
  hold.lock();
  if (interruptRequested_) return;
  // A removed keyboard, or errors that do not pass: the handle is left to the device
  // thread, which closes or replaces it, and the loop waits for the next one.
  if (!answers || failures == kReadRetryLimit) {
    failedHandle_ = handle;
    return;
  }
  const std::uint32_t pauseMs = kReadRetryFirstPauseMs << failures;
  ++failures;
  busyHandle_ = kNoHidHandle;
  readChanged_.notify_all();
  const std::uint64_t generation = inputGeneration_;
  readChanged_.wait_for(hold, std::chrono::milliseconds(pauseMs), [&] {
    return stopReading_ || generation != inputGeneration_ || handles_.input.load() != handle;
  });
}

void CUSBDriver::StopReading() {
  std::unique_lock<std::mutex> hold(readLock_);
  stopReading_ = true;
  if (busyHandle_ != kNoHidHandle) RequestInterrupt();
  readChanged_.notify_all();
  // A thread only asked for has not touched the driver yet; it will return at once.
  readChanged_.wait(hold, [this] { return readThreadState_ != ReadThreadState::Running; });
}

bool CUSBDriver::ReadThreadDone() {
  std::lock_guard<std::mutex> hold(readLock_);
  return readThreadState_ == ReadThreadState::NotStarted || readThreadState_ == ReadThreadState::Ended;
}

bool CUSBDriver::StartReadThread() {
  {
    std::lock_guard<std::mutex> hold(readLock_);
    if (readThreadState_ != ReadThreadState::NotStarted) return true;
    readThreadState_ = ReadThreadState::Starting;
  }
  if (api_.startThread(api_.context, &CUSBDriver::ReadThreadMain, this, kReadThreadStackSize)) return true;
  std::lock_guard<std::mutex> hold(readLock_);
  readThreadState_ = ReadThreadState::NotStarted;
  return false;
}

int CUSBDriver::WriteFeature(HidHandle handle, const FeatureReport& report) {
  if (api_.setFeature(api_.context, handle, report.data(), static_cast<std::uint32_t>(report.size()))) return 1;
  ++failedReports_;
  return 0;
}

void CUSBDriver::ReadThreadMain(void* driver) { static_cast<CUSBDriver*>(driver)->ReadLoop(); }

void CUSBDriver::ReadPass() {
  const HidHandle handle = handles_.input.load();
  if (handle == kInvalidHidHandle) return;
  (void)ReadFrom(handle);
}

bool CUSBDriver::ReadFrom(HidHandle handle) {
  const std::uint32_t length = std::min<std::uint32_t>(inputLength_.load(), kInputReadLength);
  const std::int32_t delivered = api_.readInput(api_.context, handle, inputBuffer_.data(), length, stopEvent_);
  if (delivered < 0) return false;
  if (delivered == 0) return true;
  // Only the bytes this read delivered are handed on; the rest of the copy stays zero,
  // so a short report never carries bytes of an earlier one.
  const auto count = std::min(static_cast<std::uint32_t>(delivered), length);
  std::array<std::uint8_t, kInputBufferSize> received{};
  std::copy_n(inputBuffer_.begin(), count, received.begin());
  ReadCallback(received.data(), count);
  return true;
}

void CUSBDriver::ReadCallback(const std::uint8_t* buffer, std::uint32_t length) {
  std::array<unsigned, 8> head{};
  for (std::size_t i = 0; i < head.size() && i < length; ++i) head[i] = buffer[i];
  WriteDebugOutput(Format("ReadCallback-%d: %02x %02x %02x %02x %02x %02x %02x %02x\n", static_cast<int>(length),
                          head[0], head[1], head[2], head[3], head[4], head[5], head[6], head[7]));
  if (length < 4 || buffer[0] != kReportIdInput || buffer[1] != kInputEventKey) return;
  const NotifyWindow window = notifyWindow_.load();
  if (window == 0) return;
  api_.postMessage(api_.context, window, UM_DEVICEEVENT, buffer[3], 0);
}

}  // namespace quencfg
