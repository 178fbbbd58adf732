#include "quencfg/device/usb_driver.h"

#include <algorithm>
#include <cstdio>

#include "quencfg/framework/clock.h"
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
    : api_(api), clock_(clock), log_([](std::u16string_view line) { WriteLogString(std::u16string(line)); }) {}

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

  if (found[0] != kNoHidHandle) handles_.command.store(found[0]);
  if (found[1] != kNoHidHandle) handles_.keyMap.store(found[1]);
  if (found[2] != kNoHidHandle) handles_.macro.store(found[2]);
  if (found[3] != kNoHidHandle) {
    inputLength_.store(kInputReadLength);
    handles_.input.store(found[3]);
  }
  return recognised;
}

bool CUSBDriver::StartReadThread() {
  if (readThreadStarted_.exchange(true)) return true;
  if (api_.startThread(api_.context, &CUSBDriver::ReadThreadMain, this, kReadThreadStackSize)) return true;
  readThreadStarted_.store(false);
  return false;
}

int CUSBDriver::WriteFeature(HidHandle handle, const FeatureReport& report) {
  return api_.setFeature(api_.context, handle, report.data(), static_cast<std::uint32_t>(report.size())) ? 1 : 0;
}

void CUSBDriver::ReadThreadMain(void* driver) {
  auto* self = static_cast<CUSBDriver*>(driver);
  for (;;) {
    self->ReadPass();
    SleepMs(kReadRetryPauseMs);
  }
}

void CUSBDriver::ReadPass() {
  const HidHandle handle = handles_.input.load();
  if (handle == kInvalidHidHandle) return;
  const std::uint32_t length = std::min<std::uint32_t>(inputLength_.load(), kInputReadLength);
  const std::int32_t delivered = api_.readInput(api_.context, handle, inputBuffer_.data(), length);
  if (delivered <= 0) return;
  // Only the bytes this read delivered are handed on; the rest of the copy stays zero,
  // so a short report never carries bytes of an earlier one.
  const auto count = std::min(static_cast<std::uint32_t>(delivered), length);
  std::array<std::uint8_t, kInputBufferSize> received{};
  std::copy_n(inputBuffer_.begin(), count, received.begin());
  ReadCallback(received.data(), count);
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
