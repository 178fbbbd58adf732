#pragma once
// A fake HID machine behind the HID seam: collections of any vendor/product ID and
// report IDs in a chosen enumeration order, a log of every feature report with its
// time stamp, input reports waiting to be read, and the messages posted. Thread-safe,
// so that a read loop may run beside the device thread's calls.
//
// It keeps the platform's rules for handles as strictly as Windows does:
// - On a synchronous handle one call runs at a time: while a read waits there for a
//   report, any other call on that handle waits until the read ends. Such a wait is a
//   hang of the caller (the read ends only when the user presses a key), so it is
//   recorded as misuse; after kSerialisedWaitLimit the call goes on, so that a faulty
//   build reports instead of hanging the test run. A synchronous read never looks at
//   its stop event.
// - On an overlapped handle calls do not wait for one another, and a pending read ends
//   when a report comes, the device goes, or its stop event is set (then it is
//   cancelled and fails, as with ERROR_OPERATION_ABORTED).
// - Closing a handle under a running read, closing twice, or closing a handle never
//   opened is misuse.
// Started threads are only recorded, unless the machine is told to run them.
// Header-only: the write benchmark uses it too.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "quencfg/device/device_reports.h"
#include "quencfg/device/hid_api.h"
#include "quencfg/device/usb_driver.h"
#include "quencfg/framework/pause.h"

namespace quencfg::testing {

struct FakeCollection {
  std::uint16_t vendorId = kKorvaneVendorId;
  std::uint16_t productId = kKorvaneProductId;
  std::uint16_t usagePage = 0xFF00;
  std::uint16_t usage = 0x01;
  std::uint16_t featureReportLength = 8;
  // Report IDs of the capability arrays, in array order.
  std::vector<std::uint8_t> featureValueIds, featureButtonIds, inputButtonIds, inputValueIds;
  bool pathReadable = true;
  bool opensReadWrite = true;
  bool opensWithoutAccess = true;
  bool capsReadable = true;
  bool attributesReadable = true;
};

// The keyboard's collections: a feature collection declares 0x0A, 0x0B or 0x0C as its
// first feature value; the input collection 0x0D as its first input button.
inline FakeCollection KeyboardCollection(std::uint8_t reportId) {
  FakeCollection collection;
  if (reportId == kReportIdInput) {
    collection.usagePage = 0x000C;
    collection.inputButtonIds = {reportId};
    collection.featureReportLength = 0;
  } else {
    collection.featureValueIds = {reportId};
  }
  return collection;
}

struct FeatureRecord {
  std::int64_t timeUs = 0;
  int collection = -1;  // index in the machine, -1 for an unknown handle
  std::vector<std::uint8_t> bytes;
  bool accepted = false;
};

struct PostedMessage {
  NotifyWindow window;
  std::uint32_t message;
  std::uintptr_t wParam;
  std::intptr_t lParam;
};

struct ThreadRequest {
  void (*entry)(void*);
  void* argument;
  std::uint32_t stackSize;
};

// How long a call on a synchronous handle waits behind a pending read before the
// machine lets it go on (it has recorded the misuse by then).
inline constexpr std::chrono::milliseconds kSerialisedWaitLimit{3000};

class FakeHidMachine {
 public:
  explicit FakeHidMachine(PauseClock& clock) : clock_(clock) {
    api_.context = this;
    api_.getHidDeviceSet = [](void* c) { return Self(c).GetDeviceSet(); };
    api_.getDevicePath = [](void* c, DeviceSet set, std::uint32_t index, std::u16string* path) {
      return Self(c).GetDevicePath(set, index, path);
    };
    api_.destroyDeviceSet = [](void* c, DeviceSet set) { Self(c).DestroyDeviceSet(set); };
    api_.openDevice = [](void* c, const std::u16string& path, bool rw, HidIo io) {
      return Self(c).Open(path, rw, io);
    };
    api_.closeHandle = [](void* c, HidHandle h) { Self(c).Close(h); };
    api_.getCollectionCaps = [](void* c, HidHandle h, HidCollectionCaps* caps) { return Self(c).Caps(h, caps); };
    api_.getAttributes = [](void* c, HidHandle h, HidAttributes* a) { return Self(c).Attributes(h, a); };
    api_.setFeature = [](void* c, HidHandle h, const std::uint8_t* r, std::uint32_t n) {
      return Self(c).SetFeature(h, r, n);
    };
    api_.readInput = [](void* c, HidHandle h, std::uint8_t* b, std::uint32_t n, HidEvent stop) {
      return Self(c).Read(h, b, n, stop);
    };
    api_.createEvent = [](void* c) { return Self(c).CreateEvent(); };
    api_.setEvent = [](void* c, HidEvent e) { Self(c).SetEvent(e, true); };
    api_.resetEvent = [](void* c, HidEvent e) { Self(c).SetEvent(e, false); };
    api_.closeEvent = [](void* c, HidEvent e) { Self(c).CloseEvent(e); };
    api_.startThread = [](void* c, void (*entry)(void*), void* arg, std::uint32_t stack) {
      return Self(c).StartThread(entry, arg, stack);
    };
    api_.postMessage = [](void* c, NotifyWindow w, std::uint32_t m, std::uintptr_t wp, std::intptr_t lp) {
      return Self(c).Post(w, m, wp, lp);
    };
  }
  FakeHidMachine(const FakeHidMachine&) = delete;
  FakeHidMachine& operator=(const FakeHidMachine&) = delete;
  // Threads it runs must have ended (see WaitForStartedThreadsToEnd): one that still
  // used the machine after it went would fail at random, so that ends the test program.
  ~FakeHidMachine() {
    if (!WaitForStartedThreadsToEnd(std::chrono::milliseconds(0))) {
      std::fprintf(stderr, "FakeHidMachine: a thread it started still runs\n");
      std::fflush(nullptr);
      std::abort();
    }
    for (std::thread& thread : running_) thread.join();
  }

  [[nodiscard]] const HidApi& Api() const noexcept { return api_; }

  // Collections enumerate in the order they are added; returns the index.
  int Add(FakeCollection collection) {
    std::lock_guard<std::mutex> hold(lock_);
    collections_.push_back(Entry{std::move(collection), {}});
    return static_cast<int>(collections_.size()) - 1;
  }

  // The four keyboard collections in the given order of report IDs.
  void AddKeyboard(std::vector<std::uint8_t> order = {kReportIdCommand, kReportIdKeymap, kReportIdMacro,
                                                      kReportIdInput}) {
    for (std::uint8_t id : order) Add(KeyboardCollection(id));
  }

  // The device goes away: it no longer enumerates and its open handles stop working.
  void Unplug() {
    std::lock_guard<std::mutex> hold(lock_);
    unplugged_ = true;
    for (auto& [handle, state] : handles_) state.alive = false;
    readable_.notify_all();
  }
  // The device is back; handles of before stay dead, as after a real replug.
  void Replug() {
    std::lock_guard<std::mutex> hold(lock_);
    unplugged_ = false;
  }

  // Queues an input report on collection `index`.
  void DeliverInput(int index, std::vector<std::uint8_t> report) {
    std::lock_guard<std::mutex> hold(lock_);
    collections_.at(static_cast<std::size_t>(index)).pendingInput.push_back(std::move(report));
    readable_.notify_all();
  }

  // Off (the default): a read without a report waiting fails at once. On: it blocks, as
  // a read of the real keyboard does, until a report comes, the handle dies or is
  // closed, or (overlapped only) its stop event is set.
  void SetReadsBlock(bool block) {
    std::lock_guard<std::mutex> hold(lock_);
    readsBlock_ = block;
  }
  [[nodiscard]] int ReadCalls() const {
    std::lock_guard<std::mutex> hold(lock_);
    return readCalls_;
  }
  // Reads that their stop event ended.
  [[nodiscard]] int StoppedReads() const {
    std::lock_guard<std::mutex> hold(lock_);
    return stoppedReads_;
  }
  // The next `count` reads of collection `index` fail, a pending one at once, while its
  // handles still answer: errors of a device that is still there. 0 ends them.
  void FailReads(int index, int count) {
    std::lock_guard<std::mutex> hold(lock_);
    collections_.at(static_cast<std::size_t>(index)).failingReads = count;
    readable_.notify_all();
  }
  // Reads waiting for a report now, on any handle.
  [[nodiscard]] int PendingReads() const {
    std::lock_guard<std::mutex> hold(lock_);
    int pending = 0;
    for (const auto& [handle, state] : handles_) pending += state.runningReads;
    return pending;
  }

  // Off (the default): started threads are only recorded. On: each also runs, on a
  // thread of the machine's own.
  void SetStartedThreadsRun(bool run) {
    std::lock_guard<std::mutex> hold(lock_);
    runThreads_ = run;
  }
  // True once every thread the machine started has returned from its entry.
  bool WaitForStartedThreadsToEnd(std::chrono::milliseconds limit) {
    std::unique_lock<std::mutex> hold(lock_);
    return threadEnded_.wait_for(hold, limit, [this] { return runningThreads_ == 0; });
  }

  void SetFeatureFails(bool fails) {
    std::lock_guard<std::mutex> hold(lock_);
    setFeatureFails_ = fails;
  }
  void SetDeviceSetFails(bool fails) {
    std::lock_guard<std::mutex> hold(lock_);
    deviceSetFails_ = fails;
  }

  [[nodiscard]] std::vector<FeatureRecord> Features() const {
    std::lock_guard<std::mutex> hold(lock_);
    return features_;
  }
  void ClearFeatures() {
    std::lock_guard<std::mutex> hold(lock_);
    features_.clear();
  }
  [[nodiscard]] std::vector<PostedMessage> Posted() const {
    std::lock_guard<std::mutex> hold(lock_);
    return posted_;
  }
  [[nodiscard]] std::vector<ThreadRequest> ThreadRequests() const {
    std::lock_guard<std::mutex> hold(lock_);
    return threads_;
  }
  // Misuse of the platform: closing twice, closing a handle never opened, closing a
  // handle while a read on it runs.
  [[nodiscard]] std::vector<std::string> Misuse() const {
    std::lock_guard<std::mutex> hold(lock_);
    return misuse_;
  }
  [[nodiscard]] int OpenDeviceSets() const {
    std::lock_guard<std::mutex> hold(lock_);
    return openSets_;
  }
  // Collection index of a handle that is open (not closed); -1 otherwise.
  [[nodiscard]] int CollectionOfOpenHandle(HidHandle handle) const {
    std::lock_guard<std::mutex> hold(lock_);
    const auto found = handles_.find(handle);
    return found == handles_.end() || found->second.closed ? -1 : found->second.collection;
  }
  [[nodiscard]] int OpenHandleCount() const {
    std::lock_guard<std::mutex> hold(lock_);
    int open = 0;
    for (const auto& [handle, state] : handles_) open += state.closed ? 0 : 1;
    return open;
  }
  [[nodiscard]] bool OpenedReadWrite(HidHandle handle) const {
    std::lock_guard<std::mutex> hold(lock_);
    const auto found = handles_.find(handle);
    return found != handles_.end() && found->second.readWrite;
  }
  [[nodiscard]] bool OpenedOverlapped(HidHandle handle) const {
    std::lock_guard<std::mutex> hold(lock_);
    const auto found = handles_.find(handle);
    return found != handles_.end() && found->second.overlapped;
  }
  // Events created and not closed.
  [[nodiscard]] int OpenEventCount() const {
    std::lock_guard<std::mutex> hold(lock_);
    return static_cast<int>(events_.size());
  }

 private:
  struct Entry {
    FakeCollection config;
    std::deque<std::vector<std::uint8_t>> pendingInput;
    int failingReads = 0;
  };
  struct HandleState {
    int collection;
    bool readWrite;
    bool overlapped;
    bool alive = true;
    bool closed = false;
    int runningReads = 0;
  };

  static FakeHidMachine& Self(void* context) { return *static_cast<FakeHidMachine*>(context); }

  static std::u16string PathOf(int index) {
    std::u16string path = u"\\\\?\\hid#vid_258a&pid_0090&col";
    for (char c : std::to_string(index)) path.push_back(static_cast<char16_t>(c));
    return path;
  }

  DeviceSet GetDeviceSet() {
    std::lock_guard<std::mutex> hold(lock_);
    if (deviceSetFails_) return nullptr;
    ++openSets_;
    return &openSets_;
  }

  InterfaceLookup GetDevicePath(DeviceSet, std::uint32_t index, std::u16string* path) {
    std::lock_guard<std::mutex> hold(lock_);
    if (unplugged_ || index >= collections_.size()) return InterfaceLookup::End;
    if (!collections_[index].config.pathReadable) return InterfaceLookup::Unreadable;
    *path = PathOf(static_cast<int>(index));
    return InterfaceLookup::Found;
  }

  void DestroyDeviceSet(DeviceSet) {
    std::lock_guard<std::mutex> hold(lock_);
    --openSets_;
  }

  HidHandle Open(const std::u16string& path, bool readWrite, HidIo io) {
    std::lock_guard<std::mutex> hold(lock_);
    for (std::size_t i = 0; i < collections_.size(); ++i) {
      if (PathOf(static_cast<int>(i)) != path) continue;
      const FakeCollection& config = collections_[i].config;
      if (readWrite ? !config.opensReadWrite : !config.opensWithoutAccess) return kInvalidHidHandle;
      const HidHandle handle = nextHandle_;
      nextHandle_ += 4;
      handles_[handle] = HandleState{static_cast<int>(i), readWrite, io == HidIo::Overlapped};
      return handle;
    }
    return kInvalidHidHandle;
  }

  void Close(HidHandle handle) {
    std::unique_lock<std::mutex> hold(lock_);
    WaitBehindSynchronousRead(hold, handle, "close");
    const auto found = handles_.find(handle);
    if (found == handles_.end()) {
      misuse_.push_back("close of a handle never opened: " + std::to_string(handle));
    } else if (found->second.closed) {
      misuse_.push_back("second close of handle " + std::to_string(handle));
    } else {
      if (found->second.runningReads > 0) misuse_.push_back("close under a running read: " + std::to_string(handle));
      found->second.closed = true;
      readable_.notify_all();
    }
  }

  // A call on a synchronous handle waits while a read runs on it, as the platform makes
  // it wait; the wait is recorded as misuse. Called with the lock held.
  void WaitBehindSynchronousRead(std::unique_lock<std::mutex>& hold, HidHandle handle, const char* call) {
    auto busy = [&] {
      const auto found = handles_.find(handle);
      return found != handles_.end() && !found->second.overlapped && found->second.runningReads > 0;
    };
    if (!busy()) return;
    misuse_.push_back(std::string(call) + " on synchronous handle " + std::to_string(handle) +
                      " waits behind the read pending on it");
    readable_.wait_for(hold, kSerialisedWaitLimit, [&] { return !busy(); });
  }

  HidEvent CreateEvent() {
    std::lock_guard<std::mutex> hold(lock_);
    const HidEvent event = nextEvent_++;
    events_[event] = false;
    return event;
  }

  void SetEvent(HidEvent event, bool signalled) {
    std::lock_guard<std::mutex> hold(lock_);
    const auto found = events_.find(event);
    if (found == events_.end()) {
      misuse_.push_back("use of an event never created or closed: " + std::to_string(event));
      return;
    }
    found->second = signalled;
    readable_.notify_all();
  }

  void CloseEvent(HidEvent event) {
    std::lock_guard<std::mutex> hold(lock_);
    if (events_.erase(event) == 0) misuse_.push_back("close of an event never created: " + std::to_string(event));
  }

  // Called with the lock held.
  bool Signalled(HidEvent event) const {
    const auto found = events_.find(event);
    return found != events_.end() && found->second;
  }

  // The entry of an open, working handle; null otherwise. Called with the lock held.
  Entry* Working(HidHandle handle, int* index = nullptr) {
    const auto found = handles_.find(handle);
    if (found == handles_.end() || found->second.closed || !found->second.alive) return nullptr;
    if (index) *index = found->second.collection;
    return &collections_[static_cast<std::size_t>(found->second.collection)];
  }

  static std::vector<HidReportCap> CapsOf(const std::vector<std::uint8_t>& ids, std::uint16_t usagePage) {
    std::vector<HidReportCap> caps;
    for (std::uint8_t id : ids) caps.push_back(HidReportCap{id, usagePage, 0});
    return caps;
  }

  bool Caps(HidHandle handle, HidCollectionCaps* caps) {
    std::unique_lock<std::mutex> hold(lock_);
    WaitBehindSynchronousRead(hold, handle, "capabilities");
    Entry* entry = Working(handle);
    if (entry == nullptr || !entry->config.capsReadable) return false;
    const FakeCollection& config = entry->config;
    caps->caps = HidCaps{config.usage, config.usagePage, 16, 0, config.featureReportLength};
    caps->featureValues = CapsOf(config.featureValueIds, config.usagePage);
    caps->featureButtons = CapsOf(config.featureButtonIds, config.usagePage);
    caps->inputButtons = CapsOf(config.inputButtonIds, config.usagePage);
    caps->inputValues = CapsOf(config.inputValueIds, config.usagePage);
    return true;
  }

  bool Attributes(HidHandle handle, HidAttributes* attributes) {
    std::unique_lock<std::mutex> hold(lock_);
    WaitBehindSynchronousRead(hold, handle, "attributes");
    Entry* entry = Working(handle);
    if (entry == nullptr || !entry->config.attributesReadable) return false;
    *attributes = HidAttributes{entry->config.vendorId, entry->config.productId, 0x0100};
    return true;
  }

  bool SetFeature(HidHandle handle, const std::uint8_t* report, std::uint32_t length) {
    const std::int64_t now = clock_.NowMicroseconds();
    std::unique_lock<std::mutex> hold(lock_);
    WaitBehindSynchronousRead(hold, handle, "feature report");
    FeatureRecord record;
    record.timeUs = now;
    record.bytes.assign(report, report + length);
    const Entry* entry = Working(handle, &record.collection);
    record.accepted = entry != nullptr && !setFeatureFails_;
    features_.push_back(std::move(record));
    return features_.back().accepted;
  }

  std::int32_t Read(HidHandle handle, std::uint8_t* buffer, std::uint32_t length, HidEvent stop) {
    std::unique_lock<std::mutex> hold(lock_);
    ++readCalls_;
    WaitBehindSynchronousRead(hold, handle, "read");
    const auto found = handles_.find(handle);
    if (found == handles_.end() || found->second.closed) return -1;
    HandleState& state = found->second;
    // Only an overlapped read is waited for together with its stop event.
    auto stopped = [&] { return state.overlapped && Signalled(stop); };
    ++state.runningReads;
    Entry* entry = nullptr;
    readable_.wait(hold, [&] {
      entry = Working(handle);
      return !readsBlock_ || entry == nullptr || !entry->pendingInput.empty() || entry->failingReads > 0 ||
             stopped();
    });
    --state.runningReads;
    readable_.notify_all();  // calls waiting behind this read go on
    if (entry == nullptr) return -1;
    if (entry->failingReads > 0) {
      --entry->failingReads;
      return -1;
    }
    // A report that came before the stop was delivered: the cancel came too late.
    if (entry->pendingInput.empty()) {
      if (stopped()) ++stoppedReads_;
      return -1;
    }
    const std::vector<std::uint8_t> report = std::move(entry->pendingInput.front());
    entry->pendingInput.pop_front();
    const std::size_t count = report.size() < length ? report.size() : length;
    for (std::size_t i = 0; i < count; ++i) buffer[i] = report[i];
    return static_cast<std::int32_t>(count);
  }

  bool StartThread(void (*entry)(void*), void* argument, std::uint32_t stackSize) {
    std::lock_guard<std::mutex> hold(lock_);
    threads_.push_back(ThreadRequest{entry, argument, stackSize});
    if (runThreads_) {
      ++runningThreads_;
      running_.emplace_back([this, entry, argument] {
        entry(argument);
        std::lock_guard<std::mutex> ended(lock_);
        --runningThreads_;
        threadEnded_.notify_all();
      });
    }
    return true;
  }

  bool Post(NotifyWindow window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    std::lock_guard<std::mutex> hold(lock_);
    posted_.push_back(PostedMessage{window, message, wParam, lParam});
    return true;
  }

  PauseClock& clock_;
  HidApi api_;
  mutable std::mutex lock_;
  std::condition_variable readable_;
  bool readsBlock_ = false;
  int readCalls_ = 0;
  int stoppedReads_ = 0;
  std::vector<Entry> collections_;
  std::map<HidHandle, HandleState> handles_;
  HidHandle nextHandle_ = 0x1000;
  bool unplugged_ = false;
  bool setFeatureFails_ = false;
  bool deviceSetFails_ = false;
  int openSets_ = 0;
  std::vector<FeatureRecord> features_;
  std::vector<PostedMessage> posted_;
  std::vector<ThreadRequest> threads_;
  std::vector<std::string> misuse_;
  std::map<HidEvent, bool> events_;  // signalled or not
  HidEvent nextEvent_ = 0x9000;
  bool runThreads_ = false;
  std::vector<std::thread> running_;
  int runningThreads_ = 0;
  std::condition_variable threadEnded_;
};

}  // namespace quencfg::testing
