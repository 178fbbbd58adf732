// The device thread as the rest of the system meets it: its window found by its class
// and the title "Korvane_Hid", requests posted to it, device changes and tray
// notifications sent to it, and what it posts to the main window ("Korvane") and to the
// progress thread. The fake HID machine stands behind the seam; the keyboard model
// rebuilds what it got. The read thread runs, and its reads wait for a report as the
// keyboard's do, so that every test also shows that nothing the device thread does
// waits for a key press.
#include "quencfg/device/hid_wnd_win.h"

#include <gtest/gtest.h>

#include <dbt.h>

#include <cctype>
#include <cwchar>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "device/fake_hid.h"
#include "device/hooked_hid.h"
#include "device/keyboard_model.h"
#include "quencfg/device/hid_api_win.h"
#include "quencfg/device/key_cells.h"
#include "quencfg/device/progress_thread_win.h"
#include "quencfg/framework/files.h"
#include "quencfg/framework/folders.h"
#include "quencfg/framework/messages.h"
#include "quencfg/framework/program_windows_win.h"
#include "quencfg/framework/text.h"
#include "quencfg/framework/wide_win.h"
#include "quencfg/model/profile_file.h"
#include "quencfg/model/settings_file.h"
#include "quencfg/ui/progress/progress_dlg_win.h"
#include "quencfg/ui/skin/skin_documents.h"
#include "quencfg/framework/writelog.h"
#include "support/data_folder_scope.h"
#include "support/fake_pause_clock.h"
#include "support/foreign_window_win.h"
#include "support/gdiplus_session_win.h"
#include "support/process_win.h"
#include "support/screenshot_win.h"
#include "support/temp_folder.h"

namespace quencfg {
namespace {

using testing::DataFolderScope;
using testing::FakeHidMachine;
using testing::FakePauseClock;
using testing::HookedHid;
using testing::KeyboardCollectionIds;
using testing::KeyboardModel;

constexpr DWORD kWaitMs = 15000;

// Runs `done` until it holds, serving this thread's messages meanwhile.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = kWaitMs) {
  const DWORD start = ::GetTickCount();
  while (!done()) {
    if (::GetTickCount() - start > timeoutMs) return false;
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
    ::Sleep(5);
  }
  return true;
}

// The thread messages a progress thread receives, in order.
class ProgressRecorder {
 public:
  void Record(UINT message, WPARAM wParam) {
    std::lock_guard<std::mutex> hold(lock_);
    switch (message) {
      case UM_PROGRESSOPEN:
        seen_.push_back("open");
        break;
      case UM_PROGRESSCLOSE:
        seen_.push_back("close");
        ++closes_;
        break;
      case UM_PROGRESSPOS:
        seen_.push_back(std::to_string(wParam));
        break;
      default:
        seen_.push_back("other " + std::to_string(message));
        break;
    }
    changed_.notify_all();
  }
  bool WaitForCloses(int count) {
    std::unique_lock<std::mutex> hold(lock_);
    return changed_.wait_for(hold, std::chrono::milliseconds(kWaitMs), [&] { return closes_ >= count; });
  }
  void Reset() {
    std::lock_guard<std::mutex> hold(lock_);
    seen_.clear();
    closes_ = 0;
  }
  std::vector<std::string> Seen() {
    std::lock_guard<std::mutex> hold(lock_);
    return seen_;
  }

 private:
  std::mutex lock_;
  std::condition_variable changed_;
  std::vector<std::string> seen_;
  int closes_ = 0;
};

ProgressRecorder* g_recorder = nullptr;

DWORD WINAPI RecordingProgressThread(LPVOID parameter) {
  SignalQueueReady(parameter);
  MSG message{};
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (message.hwnd == nullptr && g_recorder != nullptr) g_recorder->Record(message.message, message.wParam);
  }
  return 0;
}

// The device thread's window object, found as the main window finds it: by its class
// and title, in this process.
CHidWnd* DeviceWindowObject() { return static_cast<CHidWnd*>(Window::FromHandle(FindOwnWindow(kDeviceWindowName))); }

// A main window of this process, as the device thread looks for it, that records what
// is posted to it.

class MainWindowProbe : public Window {
 public:
  struct Posted {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
  };
  MainWindowProbe() {
    WindowCreateParams params;
    params.className = AsWide(kMainWindowClass);
    params.title = AsWide(kMainWindowTitle);
    params.style = WS_POPUP;
    params.width = 10;
    params.height = 10;
    Create(params);
  }
  std::vector<Posted> posted;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == UM_SHOWMAIN || message == UM_EXITAPP || message == UM_TRAYNOTIFY || message == WM_CLOSE) {
      posted.push_back(Posted{message, wParam, lParam});
      return 0;
    }
    return DefaultHandling(message, wParam, lParam);
  }
};

// A device-change record of a device interface.
struct InterfaceEvent {
  explicit InterfaceEvent(const std::wstring& name, DWORD type = DBT_DEVTYP_DEVICEINTERFACE,
                          const GUID& interfaceClass = GUID{})
      : bytes(offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name) + (name.size() + 1) * sizeof(wchar_t)) {
    auto* record = reinterpret_cast<DEV_BROADCAST_DEVICEINTERFACE_W*>(bytes.data());
    record->dbcc_size = static_cast<DWORD>(bytes.size());
    record->dbcc_devicetype = type;
    record->dbcc_classguid = interfaceClass;
    std::copy(name.begin(), name.end(), record->dbcc_name);
  }
  LPARAM lParam() { return reinterpret_cast<LPARAM>(bytes.data()); }
  std::vector<std::uint8_t> bytes;  // zero-filled, so the name ends with 0
};

const std::wstring kKeyboardInterface =
    L"\\\\?\\USB#VID_258A&PID_0090#5&2c1b3a&0&3#{a5dcbf10-6530-11d2-901f-00c04fb951ed}";

// The standard fake keyboard's input collection.
constexpr int kInputCollection = 3;

// An interface event of one of the keyboard's HID collections, as the platform sends it
// to a window registered for the HID interface class.
InterfaceEvent HidCollectionEvent(int collection) {
  const std::wstring number = std::to_wstring(collection + 1);
  return InterfaceEvent(L"\\\\?\\HID#VID_258A&PID_0090&Col0" + number + L"#8&1f3a2b&0&000" + number +
                            L"#{4d1e55b2-f16f-11cf-88cb-001111000030}",
                        DBT_DEVTYP_DEVICEINTERFACE, kHidInterfaceClass);
}

// Whether the shell holds the device window's icon: it takes a change only then.
bool ShellHoldsTrayIcon(HWND device);

class DeviceThreadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(::FindWindowW(nullptr, AsWide(kDeviceWindowTitle)), nullptr) << "a device window is left over";
    g_recorder = &recorder;
    machine.SetReadsBlock(true);
    machine.SetStartedThreadsRun(true);
    hid.post = [](NotifyWindow window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
      return ::PostMessageW(reinterpret_cast<HWND>(window), message, wParam, lParam) != FALSE;
    };
    // Whenever the device thread asks about the input collection, the read thread has
    // already started its read there, as it may well have on a real machine.
    hid.onAttributes = [this](HidHandle handle) {
      if (::GetCurrentThreadId() != thread.id || machine.ThreadRequests().empty()) return;
      if (handle != Device().Driver().Handles().input.load()) return;
      PumpUntil([&] { return machine.PendingReads() == 1; }, 1000);
    };
    setup.hidApi = &hid.Api();
    setup.clock = &clock;
    setup.progressThread = &RecordingProgressThread;
    setup.trayText = [](std::u16string_view section, std::u16string_view key) {
      return LookupString(StringDocument(), section, key);
    };
  }

  void TearDown() override {
    Stop();
    g_recorder = nullptr;
    EXPECT_EQ(machine.Misuse(), std::vector<std::string>{});
    if (!machine.WaitForStartedThreadsToEnd(std::chrono::milliseconds(kWaitMs))) {
      // It would go on using the fake after the test: stop here, with what was found.
      ADD_FAILURE() << "the read thread still runs after its device thread ended";
      std::fflush(nullptr);
      std::abort();
    }
  }

  void Start() {
    thread = StartThread(&DeviceThreadMain, &setup);
    ASSERT_TRUE(thread.handle);
    ASSERT_TRUE(PumpUntil([] { return ProgressThreadId() != 0 && DeviceWindowObject() != nullptr; }))
        << "the device window finished its creation";
    window = FindOwnWindow(kDeviceWindowName);
    ASSERT_NE(window, nullptr);
  }

  void Stop() {
    if (!thread.handle) return;
    ::PostThreadMessageW(thread.id, WM_QUIT, 0, 0);
    EXPECT_EQ(::WaitForSingleObject(thread.handle.get(), kWaitMs), WAIT_OBJECT_0);
    thread.handle.reset();
  }

  CHidWnd& Device() { return *DeviceWindowObject(); }

  void EditProfile(int index, const std::function<void(ProfileData&)>& edit) {
    PrepareDataFolder();
    auto profile = std::make_unique<ProfileData>();
    ReadProfile(*profile, ProfileName(index), u"");
    edit(*profile);
    WriteProfile(*profile, ProfileName(index), u"");
  }

  // Posts a request as the main window does and waits for its progress window to close.
  void Request(WPARAM lighting, LPARAM reset, int closesBefore = 0) {
    ASSERT_TRUE(::PostMessageW(::FindWindowW(nullptr, AsWide(kDeviceWindowTitle)), UM_DEVICESYNC, lighting, reset));
    ASSERT_TRUE(recorder.WaitForCloses(closesBefore + 1));
  }

  KeyboardModel Replay() {
    KeyboardModel model(KeyboardCollectionIds());
    model.Replay(machine.Features());
    return model;
  }

  bool HandlesSet() { return Device().Driver().Handles().command.load() != kNoHidHandle; }

  // True once the read thread waits in a read of the keyboard's input collection.
  bool ReadPending() { return PumpUntil([&] { return machine.PendingReads() == 1; }); }

  // A key press of the keyboard, as the read thread receives it.
  void PressKeyOfCell(std::uint8_t cell) {
    machine.DeliverInput(kInputCollection, {0x0D, 0x05, 0x00, cell, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
  }

  // Sends the keyboard's arrival while its collections appear one per search, in the
  // given order; returns how long the device thread paused meanwhile.
  std::uint32_t ArriveOneCollectionPerSearch(const std::vector<std::uint8_t>& appearing) {
    std::size_t next = 0;
    hid.onSearch = [&] {
      if (next < appearing.size()) machine.Add(testing::KeyboardCollection(appearing[next++]));
    };
    std::uint32_t before = 0;
    for (const auto& pause : clock.pauses()) before += pause.milliseconds;
    InterfaceEvent arrival(kKeyboardInterface);
    ::SendMessageW(window, WM_DEVICECHANGE, DBT_DEVICEARRIVAL, arrival.lParam());
    hid.onSearch = nullptr;
    std::uint32_t after = 0;
    for (const auto& pause : clock.pauses()) after += pause.milliseconds;
    return after - before;
  }

  // Right-clicks the tray icon as the shell reports it; the open menu's window, or null.
  HWND OpenTrayMenu() {
    ::SendNotifyMessageW(window, UM_TRAYNOTIFY, kTrayIconId, WM_RBUTTONDOWN);
    HWND menuWindow = nullptr;
    PumpUntil([&] {
      menuWindow = ::FindWindowW(L"#32768", nullptr);
      return menuWindow != nullptr && ::IsWindowVisible(menuWindow);
    });
    return menuWindow;
  }

  // A command script at `marker`'s side that leaves `marker` behind, made the program of
  // key slot 3 (cell 24) of profile 1.
  void GiveSlot3AProgram(const std::u16string& marker) {
    const std::u16string script = data.path() + u"launch me.cmd";
    const std::string body = "@echo launched> \"" + Utf16ToUtf8(marker) + "\"\r\n";
    ASSERT_TRUE(ReplaceFileContents(script, body));
    EditProfile(0, [&](ProfileData& p) {
      p.keys[3].byBtnFuncType = BTNFUNC_LAUNCH;
      CopyToField(p.keys[3].launch, script);
    });
  }

  DataFolderScope data;
  FakePauseClock clock;
  FakeHidMachine machine{clock};
  HookedHid hid{machine};
  ProgressRecorder recorder;
  DeviceThreadSetup setup;
  StartedThread thread;
  HWND window = nullptr;
};

std::vector<std::string> Steps(std::initializer_list<const char*> names) {
  return std::vector<std::string>(names.begin(), names.end());
}

TEST_F(DeviceThreadTest, FirstStartPreparesTheDataFolderBeforeTheSearch) {
  bool profileAtSearch = false;
  int searches = 0;
  hid.onSearch = [&] {
    ++searches;
    profileAtSearch = PathExists(ProfilePath(ProfileName(0), u""));
  };
  machine.AddKeyboard();
  Start();
  EXPECT_EQ(searches, 1);
  EXPECT_TRUE(profileAtSearch) << "the factory profiles were written before the keyboard was searched";
  EXPECT_TRUE(SettingsFileExists()) << "the reload created the settings file";
  for (int i = 0; i < PROFILE_COUNT; ++i) EXPECT_TRUE(PathExists(ProfilePath(ProfileName(i), u""))) << i;
  EXPECT_TRUE(Device().TrayIconShown());
  EXPECT_TRUE(ReadPending()) << "the read thread reads the keyboard";
  EXPECT_EQ(machine.ThreadRequests().size(), 1u);

  Request(0, 0);
  const KeyboardModel model = Replay();
  EXPECT_TRUE(model.errors.empty());
  ASSERT_TRUE(model.keyMap.has_value());
  EXPECT_TRUE(std::equal(DefaultKeyMap.begin(), DefaultKeyMap.end(), model.keyMap->begin()))
      << "the factory profile keeps every key's default";
}

TEST_F(DeviceThreadTest, RequestsWriteTheCurrentProfile) {
  struct Case {
    const char* name;
    WPARAM lighting;
    LPARAM reset;
    std::uint8_t effect;
    std::vector<std::string> firstSteps;  // the steps up to the 9th; the last one is "end"
    std::size_t stepCount;
    std::vector<std::string> progress;
  };
  const std::vector<std::string> plain =
      Steps({"open", "20", "20", "40", "50", "70", "50", "60", "90", "100", "close"});
  const std::vector<std::string> lit =
      Steps({"open", "20", "20", "40", "50", "70", "50", "60", "70", "80", "90", "100", "close"});
  const std::vector<Case> cases = {
      {"apply with effect 16", 1, 0, 16, Steps({"keymap", "lighting", "effect-color", "end"}), 4, lit},
      // The keyboard holds that lighting now: no need to send it again.
      {"apply without lighting", 0, 0, 16, Steps({"keymap", "end"}), 2, plain},
      {"apply without lighting, another effect", 0, 0, 5, Steps({"keymap", "lighting", "end"}), 3, lit},
      {"apply with effect 19", 1, 0, 19, Steps({"keymap", "lighting", "key-color 21"}), 2 + 70 + 1, lit},
      {"reset", 0, 1, 3, Steps({"reset", "keymap", "lighting", "end"}), 4,
       Steps({"open", "20", "30", "20", "40", "50", "70", "50", "60", "70", "80", "90", "100", "close"})},
  };
  machine.AddKeyboard();
  Start();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    machine.ClearFeatures();
    recorder.Reset();
    EditProfile(1, [&](ProfileData& p) {
      p.lighting.byLightEffect = c.effect;
      p.lighting.byLightColor = 0x00FF8040;
      p.lighting.keyColors.coLightRGB[3] = 0x123456;
      p.keys[14].byBtnFuncType = BTNFUNC_KEY;
      p.keys[14].byKeyNumber = 0x29;
    });
    auto settings = std::make_unique<SettingsBlock>();
    ClearSettings(*settings);
    settings->Profile = 1;
    WriteSettings(*settings);

    Request(c.lighting, c.reset);
    const KeyboardModel model = Replay();
    EXPECT_EQ(model.errors, std::vector<std::string>{});
    ASSERT_EQ(model.steps.size(), c.stepCount);
    EXPECT_TRUE(std::equal(c.firstSteps.begin(), c.firstSteps.end(), model.steps.begin()));
    EXPECT_EQ(model.steps.back(), "end");
    ASSERT_TRUE(model.keyMap.has_value());
    EXPECT_EQ((*model.keyMap)[41], 0x29) << "profile 2, the current one, was written";
    if (c.effect == 16 && c.lighting != 0) {
      EXPECT_EQ(model.effectColor, 0x00FF8040u);
    }
    if (c.effect == 19) {
      EXPECT_EQ(model.keyColors.at(24), 0x123456u);
    }
    EXPECT_EQ(recorder.Seen(), c.progress);
  }
}

TEST_F(DeviceThreadTest, TwoRequestsInQuickSuccessionGiveTwoCompleteWrites) {
  machine.AddKeyboard();
  Start();
  Request(1, 0);  // the keyboard holds the current lighting from now on
  machine.ClearFeatures();
  recorder.Reset();
  ASSERT_TRUE(::PostMessageW(window, UM_DEVICESYNC, 0, 0));
  ASSERT_TRUE(::PostMessageW(window, UM_DEVICESYNC, 1, 0));
  ASSERT_TRUE(recorder.WaitForCloses(2));
  const KeyboardModel model = Replay();
  EXPECT_TRUE(model.errors.empty());
  EXPECT_EQ(model.endsOfUpdate, 2);
  const std::vector<std::string> seen = recorder.Seen();
  ASSERT_FALSE(seen.empty());
  const auto secondOpen = std::find(seen.begin() + 1, seen.end(), "open");
  ASSERT_NE(secondOpen, seen.end());
  EXPECT_EQ(*(secondOpen - 1), "close") << "the second write starts after the first has closed";
  EXPECT_EQ(std::count(seen.begin(), seen.end(), "80"), 1) << "only the second asked for the lighting";
}

TEST_F(DeviceThreadTest, KeyboardPluggedInLaterIsOpenedAndReadFrom) {
  Start();
  EXPECT_TRUE(Device().TrayIconShown()) << "the program can be reached without a keyboard";
  EXPECT_FALSE(HandlesSet());
  EXPECT_TRUE(machine.ThreadRequests().empty()) << "no read thread without a keyboard";

  machine.AddKeyboard();
  InterfaceEvent arrival(kKeyboardInterface);
  ::SendMessageW(window, WM_DEVICECHANGE, DBT_DEVICEARRIVAL, arrival.lParam());
  EXPECT_TRUE(Device().TrayIconShown());
  EXPECT_TRUE(HandlesSet());
  EXPECT_EQ(machine.ThreadRequests().size(), 1u) << "the first arrival starts the read thread";
  ASSERT_TRUE(ReadPending());

  // The platform announces the removal before the read has noticed it.
  InterfaceEvent removal(kKeyboardInterface);
  ::SendMessageW(window, WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE, removal.lParam());
  EXPECT_TRUE(Device().TrayIconShown()) << "the icon stays without the keyboard";
  EXPECT_EQ(Device().Driver().Handles().input.load(), kNoHidHandle);
  EXPECT_FALSE(HandlesSet());
  EXPECT_EQ(machine.PendingReads(), 0) << "the read of the removed keyboard was ended";
  EXPECT_EQ(machine.OpenHandleCount(), 0);

  machine.Unplug();
  machine.Replug();
  ::SendMessageW(window, WM_DEVICECHANGE, DBT_DEVICEARRIVAL, arrival.lParam());
  EXPECT_TRUE(Device().TrayIconShown());
  EXPECT_TRUE(HandlesSet());
  EXPECT_EQ(machine.ThreadRequests().size(), 1u) << "the read thread is started once";
  EXPECT_TRUE(ReadPending()) << "and reads the keyboard plugged in again";
}

TEST_F(DeviceThreadTest, OtherDevicesEventsChangeNothing) {
  machine.AddKeyboard();
  Start();
  ASSERT_TRUE(Device().TrayIconShown());
  const std::wstring others[] = {
      L"\\\\?\\USB#VID_258A&PID_0091#5&2c1b3a&0&3#{a5dcbf10-6530-11d2-901f-00c04fb951ed}",
      // another maker's device whose product digits read 0090
      L"\\\\?\\USB#VID_046D&PID_0090#7&1f2e3d&0&1#{a5dcbf10-6530-11d2-901f-00c04fb951ed}",
      L"\\\\?\\USB#VID_258A&PID_009",  // too short to hold the digits
      L"",
  };
  for (const std::wstring& name : others) {
    InterfaceEvent removal(name);
    ::SendMessageW(window, WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE, removal.lParam());
    EXPECT_TRUE(Device().TrayIconShown());
    EXPECT_TRUE(HandlesSet());
  }
  InterfaceEvent volume(kKeyboardInterface, DBT_DEVTYP_VOLUME);
  ::SendMessageW(window, WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE, volume.lParam());
  ::SendMessageW(window, WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE, 0);
  // A record whose size says it ends before the digits, though memory goes on.
  InterfaceEvent cut(kKeyboardInterface);
  reinterpret_cast<DEV_BROADCAST_DEVICEINTERFACE_W*>(cut.bytes.data())->dbcc_size =
      offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name) + 20 * sizeof(wchar_t);
  ::SendMessageW(window, WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE, cut.lParam());
  EXPECT_TRUE(Device().TrayIconShown());
  EXPECT_TRUE(HandlesSet());
}

bool HoldsAll(CUSBDriver& driver) {
  HidHandleGroup& handles = driver.Handles();
  return handles.command.load() != kNoHidHandle && handles.keyMap.load() != kNoHidHandle &&
         handles.macro.load() != kNoHidHandle && handles.input.load() != kNoHidHandle;
}

// A keyboard whose collections show up one per search after its arrival event: the
// arrival keeps opening until it holds them all, within about two seconds.
TEST_F(DeviceThreadTest, ArrivalWaitsForCollectionsThatAppearOneAfterAnother) {
  Start();
  const std::uint32_t paused =
      ArriveOneCollectionPerSearch({kReportIdCommand, kReportIdKeymap, kReportIdMacro, kReportIdInput});
  EXPECT_TRUE(HoldsAll(Device().Driver()));
  EXPECT_TRUE(Device().TrayIconShown());
  EXPECT_EQ(paused, kPauseBeforeReopenMs + 3 * kArrivalRetryPauseMs) << "no retry once all are open";
  EXPECT_EQ(machine.OpenHandleCount(), 4) << "every retry closed what it found again";
  EXPECT_TRUE(machine.Misuse().empty());

  Request(0, 0);
  const KeyboardModel model = Replay();
  EXPECT_TRUE(model.errors.empty());
  EXPECT_TRUE(model.keyMap.has_value()) << "key map writes reach the keyboard";
  EXPECT_EQ(model.endsOfUpdate, 1);
}

TEST_F(DeviceThreadTest, ArrivalRetriesAreBoundedWhenACollectionNeverComes) {
  Start();
  const std::uint32_t paused = ArriveOneCollectionPerSearch({kReportIdCommand, kReportIdKeymap, kReportIdMacro});
  EXPECT_FALSE(HoldsAll(Device().Driver()));
  EXPECT_NE(Device().Driver().Handles().keyMap.load(), kNoHidHandle);
  EXPECT_TRUE(Device().TrayIconShown()) << "what was found is used";
  EXPECT_GE(paused, kArrivalRetryLimitMs - kArrivalRetryPauseMs);
  EXPECT_LE(paused, kPauseBeforeReopenMs + kArrivalRetryLimitMs);
  EXPECT_EQ(machine.OpenHandleCount(), 3);
  EXPECT_TRUE(machine.Misuse().empty());
}

TEST_F(DeviceThreadTest, RepeatedArrivalsOfAnOpenKeyboardReopenNothing) {
  machine.AddKeyboard();
  Start();
  ASSERT_TRUE(ReadPending()) << "the arrivals come while the read thread waits for a key";
  int searches = 0;
  hid.onSearch = [&] { ++searches; };
  const HidHandle command = Device().Driver().Handles().command.load();
  const HidHandle input = Device().Driver().Handles().input.load();
  InterfaceEvent arrival(kKeyboardInterface);
  for (int i = 0; i < 3; ++i) ::SendMessageW(window, WM_DEVICECHANGE, DBT_DEVICEARRIVAL, arrival.lParam());
  EXPECT_EQ(searches, 0);
  EXPECT_EQ(Device().Driver().Handles().command.load(), command);
  EXPECT_EQ(Device().Driver().Handles().input.load(), input);
  EXPECT_EQ(machine.OpenHandleCount(), 4);
  EXPECT_TRUE(Device().TrayIconShown());
  hid.onSearch = nullptr;
}

TEST_F(DeviceThreadTest, FiftyUnplugReplugCyclesLeaveTheOpenHandlesWhereTheyStarted) {
  machine.AddKeyboard();
  Start();
  const int atStart = machine.OpenHandleCount();
  ASSERT_EQ(atStart, 4);
  InterfaceEvent removal(kKeyboardInterface);
  InterfaceEvent arrival(kKeyboardInterface);
  for (int cycle = 0; cycle < 50; ++cycle) {
    ASSERT_TRUE(ReadPending()) << cycle;
    machine.Unplug();
    ::SendMessageW(window, WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE, removal.lParam());
    ASSERT_EQ(machine.OpenHandleCount(), 0) << cycle << ": the removal closed the keyboard's handles";
    ASSERT_TRUE(Device().TrayIconShown());
    machine.Replug();
    ::SendMessageW(window, WM_DEVICECHANGE, DBT_DEVICEARRIVAL, arrival.lParam());
    ASSERT_EQ(machine.OpenHandleCount(), atStart) << cycle;
    ASSERT_TRUE(Device().TrayIconShown());
  }
  EXPECT_TRUE(HoldsAll(Device().Driver()));
  EXPECT_TRUE(machine.Misuse().empty());
}

TEST_F(DeviceThreadTest, ResumeReopensTheKeyboardAndTheTrayIconFollows) {
  machine.AddKeyboard();
  Start();
  const HidHandle before = Device().Driver().Handles().keyMap.load();
  ASSERT_TRUE(ReadPending()) << "the system sleeps while the read thread waits for a key";
  machine.Unplug();  // reset during sleep, without removal and arrival events
  machine.Replug();
  ::SendMessageW(window, WM_POWERBROADCAST, PBT_APMRESUMESUSPEND, 0);  // the automatic one decides
  EXPECT_EQ(Device().Driver().Handles().keyMap.load(), before);
  ::SendMessageW(window, WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
  EXPECT_TRUE(Device().Driver().HoldsAllCollections()) << "the handles of after the resume answer";
  EXPECT_EQ(machine.OpenHandleCount(), 4) << "the dead ones were closed";
  EXPECT_TRUE(Device().TrayIconShown());
  Request(0, 0);
  EXPECT_TRUE(Replay().keyMap.has_value());

  machine.Unplug();  // gone during sleep
  ::SendMessageW(window, WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
  EXPECT_FALSE(Device().Driver().HoldsAnyCollection());
  EXPECT_TRUE(Device().TrayIconShown());
  EXPECT_EQ(machine.OpenHandleCount(), 0);
  EXPECT_TRUE(machine.Misuse().empty());
}

// Plugging the keyboard in again and waking the system both come while the read thread
// waits for a key: after each, the keyboard takes a whole write and its keys are read.
TEST_F(DeviceThreadTest, ReplugsAndResumesWithAReadPendingEachLeaveAWorkingKeyboard) {
  enum class Event { Replug, Resume };
  struct Case {
    const char* name;
    Event event;
    int times;
  };
  const Case cases[] = {{"replug", Event::Replug, 50}, {"resume", Event::Resume, 20}};
  machine.AddKeyboard();
  Start();
  InterfaceEvent removal(kKeyboardInterface);
  InterfaceEvent arrival(kKeyboardInterface);
  int writes = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (int i = 0; i < c.times; ++i) {
      ASSERT_TRUE(ReadPending()) << i;
      machine.Unplug();  // a resume finds a keyboard that was reset during sleep
      if (c.event == Event::Replug) ::SendMessageW(window, WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE, removal.lParam());
      machine.Replug();
      if (c.event == Event::Replug) {
        ::SendMessageW(window, WM_DEVICECHANGE, DBT_DEVICEARRIVAL, arrival.lParam());
      } else {
        ::SendMessageW(window, WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
      }
      machine.ClearFeatures();
      Request(0, 0, writes++);
      const KeyboardModel model = Replay();
      ASSERT_EQ(model.errors, std::vector<std::string>{}) << i;
      ASSERT_EQ(model.endsOfUpdate, 1) << i << ": the write after it completed";
      ASSERT_TRUE(model.keyMap.has_value()) << i;

      const int readsBefore = machine.ReadCalls();
      PressKeyOfCell(22);
      ASSERT_TRUE(PumpUntil([&] { return machine.ReadCalls() > readsBefore && machine.PendingReads() == 1; }))
          << i << ": the key was read and the next read waits";
    }
  }
  EXPECT_EQ(machine.OpenHandleCount(), 4);
}

// The device thread ends while its read thread waits for a key: the read is ended, the
// read thread returns, and nothing of the keyboard stays open.
TEST_F(DeviceThreadTest, EndingTheDeviceThreadEndsAPendingRead) {
  machine.AddKeyboard();
  Start();
  ASSERT_TRUE(ReadPending());
  Stop();
  EXPECT_TRUE(machine.WaitForStartedThreadsToEnd(std::chrono::milliseconds(kWaitMs)));
  EXPECT_EQ(machine.PendingReads(), 0);
  EXPECT_EQ(machine.OpenHandleCount(), 0) << "the keyboard's handles were closed";
  EXPECT_EQ(machine.OpenEventCount(), 0);
}

// A read that fails while the keyboard is still there (a passing error of the device)
// does not end reading: the next program key still starts its program.
TEST_F(DeviceThreadTest, AReadErrorOnAKeyboardStillThereDoesNotSilenceProgramKeys) {
  const std::u16string marker = data.path() + u"launched.txt";
  GiveSlot3AProgram(marker);
  machine.AddKeyboard();
  Start();
  ASSERT_TRUE(ReadPending());
  machine.FailReads(kInputCollection, 3);  // the pending read and the next two
  PressKeyOfCell(24);
  EXPECT_TRUE(PumpUntil([&] { return PathExists(marker); })) << "the script of slot 3 ran";
  EXPECT_TRUE(ReadPending());
}

// On a first plug-in, Windows may still be installing the keyboard's drivers when the
// USB device arrives: its HID collections appear one by one, seconds later, each
// announced by an interface arrival of its own. Each is opened as it appears, without
// waiting and without another USB arrival, and the keyboard's opening is logged once.
TEST_F(DeviceThreadTest, CollectionsAppearingLongAfterTheArrivalAreOpenedAsTheyAppear) {
  Start();
  InterfaceEvent arrival(kKeyboardInterface);
  ::SendMessageW(window, WM_DEVICECHANGE, DBT_DEVICEARRIVAL, arrival.lParam());
  ASSERT_FALSE(Device().Driver().HoldsAnyCollection()) << "no collection within the arrival's retries";
  clock.Pause(5000);  // the first collection appears five seconds after the arrival
  const std::size_t pausesBefore = clock.pauses().size();

  const std::vector<std::uint8_t> appearing = {kReportIdInput, kReportIdCommand, kReportIdKeymap, kReportIdMacro};
  for (std::uint8_t reportId : appearing) {
    SCOPED_TRACE(reportId);
    InterfaceEvent collectionArrival = HidCollectionEvent(machine.Add(testing::KeyboardCollection(reportId)));
    ::SendMessageW(window, WM_DEVICECHANGE, DBT_DEVICEARRIVAL, collectionArrival.lParam());
    EXPECT_TRUE(Device().TrayIconShown());
  }
  EXPECT_TRUE(HoldsAll(Device().Driver()));
  EXPECT_EQ(clock.pauses().size(), pausesBefore) << "what has appeared is opened at once";
  EXPECT_EQ(machine.OpenHandleCount(), 4);
  ASSERT_TRUE(ReadPending());

  Request(0, 0);
  KeyboardModel model(KeyboardCollectionIds(appearing));
  model.Replay(machine.Features());
  EXPECT_EQ(model.errors, std::vector<std::string>{});
  EXPECT_TRUE(model.keyMap.has_value());
  EXPECT_EQ(model.endsOfUpdate, 1);

  // A collection's removal comes beside the device's own, which does the work.
  InterfaceEvent collectionRemoval = HidCollectionEvent(0);
  ::SendMessageW(window, WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE, collectionRemoval.lParam());
  EXPECT_TRUE(HoldsAll(Device().Driver()));
  EXPECT_TRUE(Device().TrayIconShown());

  const auto log = ReadWholeFile(LogFilePath(CurrentLocalTime(), DataFolder()));
  ASSERT_TRUE(log.has_value());
  auto count = [&](const char* text) {
    std::size_t found = 0;
    for (std::size_t at = log->find(text); at != std::string::npos; at = log->find(text, at + 1)) ++found;
    return found;
  };
  EXPECT_EQ(count("Device Open Success"), 1u);
  EXPECT_EQ(count("Device Removed"), 0u);
}

// Holds the device thread at the first key map packet of a write until released.
class WriteHold {
 public:
  explicit WriteHold(HookedHid& hid) {
    hid.onFeature = [this](const std::uint8_t* report, std::uint32_t) {
      if (report[0] != kReportIdKeymap) return;
      std::unique_lock<std::mutex> hold(lock_);
      if (held_) return;
      held_ = true;
      changed_.notify_all();
      changed_.wait(hold, [this] { return released_; });
    };
  }
  ~WriteHold() { Release(); }  // never leaves the device thread stuck
  WriteHold(const WriteHold&) = delete;
  WriteHold& operator=(const WriteHold&) = delete;

  bool WaitUntilHeld() {
    std::unique_lock<std::mutex> hold(lock_);
    return changed_.wait_for(hold, std::chrono::milliseconds(kWaitMs), [this] { return held_; });
  }
  void Release() {
    std::lock_guard<std::mutex> hold(lock_);
    released_ = true;
    changed_.notify_all();
  }

 private:
  std::mutex lock_;
  std::condition_variable changed_;
  bool held_ = false;
  bool released_ = false;
};

TEST_F(DeviceThreadTest, UnplugDuringAWriteLetsItEndAndReplugRestoresEverything) {
  machine.AddKeyboard();
  WriteHold hold(hid);
  Start();
  ASSERT_TRUE(::PostMessageW(window, UM_DEVICESYNC, 1, 0));
  ASSERT_TRUE(hold.WaitUntilHeld());
  machine.Unplug();
  hold.Release();
  // The platform's removal event reaches the busy device thread when the write is over.
  InterfaceEvent removal(kKeyboardInterface);
  ::SendMessageW(window, WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE, removal.lParam());
  ASSERT_TRUE(recorder.WaitForCloses(1)) << "the write ran to its end";
  ASSERT_TRUE(PumpUntil([&] { return !HandlesSet(); }));
  EXPECT_TRUE(Device().WriteWaiting()) << "cut off, the write waits for the keyboard";
  const std::size_t afterFirstWrite = machine.Features().size();
  ASSERT_TRUE(::PostMessageW(window, UM_DEVICESYNC, 1, 0));
  ::SendMessageW(window, WM_NULL, 0, 0);
  PumpUntil([] { return false; }, 200);
  const std::size_t afterTwoWrites = machine.Features().size();
  EXPECT_EQ(afterTwoWrites, afterFirstWrite) << "without handles the second request sends nothing";
  const std::vector<std::string> progressSeen = recorder.Seen();
  EXPECT_EQ(std::count(progressSeen.begin(), progressSeen.end(), "open"), 1) << "and shows no progress window";
  EXPECT_TRUE(Device().WriteWaiting());
  EXPECT_TRUE(Device().TrayIconShown());
  EXPECT_FALSE(HandlesSet());
  for (const auto& record : machine.Features()) {
    if (record.bytes[0] == kReportIdKeymap && record.bytes[1] > 1) {
      EXPECT_FALSE(record.accepted);
    }
  }
  EXPECT_EQ(Replay().endsOfUpdate, 0) << "nothing after the unplug reached the keyboard";

  machine.Replug();
  InterfaceEvent arrival(kKeyboardInterface);
  ::SendMessageW(window, WM_DEVICECHANGE, DBT_DEVICEARRIVAL, arrival.lParam());
  EXPECT_TRUE(Device().TrayIconShown());
  ASSERT_TRUE(recorder.WaitForCloses(2)) << "the keyboard that came back got the write by itself";
  EXPECT_FALSE(Device().WriteWaiting());
  std::vector<testing::FeatureRecord> third = machine.Features();
  third.erase(third.begin(), third.begin() + static_cast<std::ptrdiff_t>(afterTwoWrites));
  KeyboardModel model(KeyboardCollectionIds());
  model.Replay(third);
  EXPECT_TRUE(model.errors.empty());
  EXPECT_EQ(model.endsOfUpdate, 1);
  EXPECT_TRUE(model.keyMap.has_value());
  EXPECT_TRUE(model.lighting.has_value());
}

TEST_F(DeviceThreadTest, TrayCommandsPostToTheMainWindow) {
  machine.AddKeyboard();
  Start();
  MainWindowProbe main;
  ASSERT_TRUE(main.IsCreated());

  ::PostMessageW(window, WM_COMMAND, ID_TRAY_LAUNCH, 0);
  ASSERT_TRUE(PumpUntil([&] { return main.posted.size() == 1; }));
  EXPECT_EQ(main.posted[0].message, UM_SHOWMAIN);
  EXPECT_EQ(main.posted[0].wParam, 0u);
  EXPECT_EQ(main.posted[0].lParam, 0);

  ::PostMessageW(window, WM_COMMAND, 0x0010, 0);  // not a menu command: forwards nothing
  ::PostMessageW(window, WM_COMMAND, ID_TRAY_EXIT, 0);
  ASSERT_TRUE(PumpUntil([&] { return main.posted.size() == 3; }));
  EXPECT_EQ(main.posted[1].message, static_cast<UINT>(WM_CLOSE));
  EXPECT_EQ(main.posted[1].lParam, reinterpret_cast<LPARAM>(window));
  EXPECT_EQ(main.posted[2].message, UM_EXITAPP);
  EXPECT_FALSE(Device().TrayIconShown()) << "exit removes the icon";
  PumpUntil([] { return false; }, 100);
  EXPECT_EQ(main.posted.size(), 3u);
}

TEST_F(DeviceThreadTest, TrayCommandsWithoutMainWindowStillRemoveTheIcon) {
  machine.AddKeyboard();
  Start();
  ::PostMessageW(window, WM_COMMAND, ID_TRAY_EXIT, 0);
  ASSERT_TRUE(PumpUntil([&] { return !Device().TrayIconShown(); }));
}

TEST_F(DeviceThreadTest, DoubleClickShowsTheMainWindow) {
  machine.AddKeyboard();
  Start();
  MainWindowProbe probe;  // hidden, found by its title
  ASSERT_FALSE(::IsWindowVisible(probe.hwnd()));

  ::SendMessageW(window, UM_TRAYNOTIFY, kTrayIconId, WM_LBUTTONDBLCLK);
  EXPECT_TRUE(::IsWindowVisible(probe.hwnd()));
  ASSERT_TRUE(PumpUntil([&] { return probe.posted.size() == 1; }));
  EXPECT_EQ(probe.posted[0].message, UM_TRAYNOTIFY);
  EXPECT_EQ(probe.posted[0].wParam, kTrayIconId);
  EXPECT_EQ(probe.posted[0].lParam, WM_LBUTTONDBLCLK);

  ::SendMessageW(window, UM_TRAYNOTIFY, kTrayIconId, WM_MOUSEMOVE);  // nothing
}

TEST_F(DeviceThreadTest, RightClickMenuOffersLaunchAndExit) {
  const std::u16string savedApp = AppFolder();
  ASSERT_TRUE(SetAppFolder(ToU16(KORVANE_TEST_APP_DIR)));
  StringDocument().Load(LanguagesFilePath(u"EN\\Strings.xml"));
  machine.AddKeyboard();
  Start();
  MainWindowProbe main;

  HWND menuWindow = OpenTrayMenu();
  ASSERT_NE(menuWindow, nullptr);
  testing::GdiplusSession gdiplus;
  EXPECT_TRUE(testing::SaveScreen(u"tray-menu.png"));

  const auto menu = reinterpret_cast<HMENU>(::SendMessageW(menuWindow, MN_GETHMENU, 0, 0));
  ASSERT_NE(menu, nullptr);
  ASSERT_EQ(::GetMenuItemCount(menu), 5);
  wchar_t text[64] = {};
  EXPECT_EQ(::GetMenuItemID(menu, 0), ID_TRAY_STATUS);
  ::GetMenuStringW(menu, 0, text, 64, MF_BYPOSITION);
  EXPECT_STREQ(text, L"Keyboard connected");
  EXPECT_TRUE(::GetMenuState(menu, 0, MF_BYPOSITION) & MF_GRAYED) << "a state to read, not a command";
  EXPECT_TRUE(::GetMenuState(menu, 1, MF_BYPOSITION) & MF_SEPARATOR);
  EXPECT_EQ(::GetMenuItemID(menu, 2), ID_TRAY_LAUNCH);
  ::GetMenuStringW(menu, 2, text, 64, MF_BYPOSITION);
  EXPECT_STREQ(text, L"Open Korvane");
  EXPECT_EQ(::GetMenuDefaultItem(menu, FALSE, 0), ID_TRAY_LAUNCH) << "launch is the bold default";
  EXPECT_TRUE(::GetMenuState(menu, 3, MF_BYPOSITION) & MF_SEPARATOR);
  EXPECT_EQ(::GetMenuItemID(menu, 4), ID_TRAY_EXIT);
  ::GetMenuStringW(menu, 4, text, 64, MF_BYPOSITION);
  EXPECT_STREQ(text, L"Exit");

  // Choosing the launch item from the keyboard, as a user would: the first Down lands on
  // the grayed line (which Enter could not choose), the second, past the separator, on
  // the launch item.
  ::PostMessageW(menuWindow, WM_KEYDOWN, VK_DOWN, 0);
  ::PostMessageW(menuWindow, WM_KEYDOWN, VK_DOWN, 0);
  ::PostMessageW(menuWindow, WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_TRUE(PumpUntil([&] { return !main.posted.empty(); }));
  if (!main.posted.empty()) {
    EXPECT_EQ(main.posted[0].message, UM_SHOWMAIN);
  }
  PumpUntil([&] { return ::FindWindowW(L"#32768", nullptr) == nullptr || !::IsWindowVisible(menuWindow); }, 2000);

  StringDocument().Load(u"");
  SetAppFolder(savedApp);
}

// Without a keyboard the icon is there all the same: its tooltip and its menu say that
// no keyboard is connected, in the user's language, and follow the keyboard when it
// comes and goes; Exit ends the program, keyboard or not.
TEST_F(DeviceThreadTest, WithoutAKeyboardTheTrayIconSaysSoAndItsExitIsThere) {
  struct AppFolderRestore {
    std::u16string saved = AppFolder();
    ~AppFolderRestore() {
      StringDocument().Load(u"");
      SetAppFolder(saved);
    }
  } restore;
  ASSERT_TRUE(SetAppFolder(ToU16(KORVANE_TEST_APP_DIR)));
  struct Language {
    const char16_t* code;
    std::wstring absent;
    std::wstring connected;
    std::wstring exit;
  };
  const Language languages[] = {
      {u"EN", L"No keyboard connected", L"Keyboard connected", L"Exit"},
      {u"CS", L"\u672A\u8FDE\u63A5\u952E\u76D8", L"\u952E\u76D8\u5DF2\u8FDE\u63A5", L"\u9000\u51FA"},
      {u"ES", L"Ning\u00FAn teclado conectado", L"Teclado conectado", L"Salir"},
  };
  StringDocument().Load(LanguagesFilePath(u"EN\\Strings.xml"));
  Start();
  MainWindowProbe main;
  testing::GdiplusSession gdiplus;
  ASSERT_TRUE(Device().TrayIconShown()) << "the icon without a keyboard";
  ASSERT_TRUE(ShellHoldsTrayIcon(window));
  for (const Language& language : languages) {
    SCOPED_TRACE(Utf16ToUtf8(language.code));
    StringDocument().Load(LanguagesFilePath(std::u16string(language.code) + u"\\Strings.xml"));
    // As the main window tells after a language change.
    ::PostMessageW(window, UM_LANGUAGECHANGED, 0, 0);
    ::SendMessageW(window, WM_NULL, 0, 0);
    PumpUntil([] { return false; }, 100);
    EXPECT_EQ(std::wstring(Device().TrayIconRecord().szTip), L"Korvane\n" + language.absent);

    HWND menuWindow = OpenTrayMenu();
    ASSERT_NE(menuWindow, nullptr);
    const auto menu = reinterpret_cast<HMENU>(::SendMessageW(menuWindow, MN_GETHMENU, 0, 0));
    wchar_t text[64] = {};
    ::GetMenuStringW(menu, 0, text, 64, MF_BYPOSITION);
    EXPECT_EQ(std::wstring(text), language.absent);
    ::GetMenuStringW(menu, 4, text, 64, MF_BYPOSITION);
    EXPECT_EQ(std::wstring(text), language.exit);
    EXPECT_FALSE(::GetMenuState(menu, 4, MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED)) << "Exit is always there";
    PumpUntil([] { return false; }, 200);
    EXPECT_TRUE(testing::SaveScreen(u"tray-menu-no-keyboard-" + std::u16string(language.code) + u".png"));
    ::PostMessageW(menuWindow, WM_KEYDOWN, VK_ESCAPE, 0);
    PumpUntil([&] { return !::IsWindowVisible(menuWindow); }, 2000);

    if (&language == &languages[0]) {
      machine.AddKeyboard();
    } else {
      machine.Replug();
    }
    InterfaceEvent arrival(kKeyboardInterface);
    ::SendMessageW(window, WM_DEVICECHANGE, DBT_DEVICEARRIVAL, arrival.lParam());
    EXPECT_EQ(std::wstring(Device().TrayIconRecord().szTip), L"Korvane\n" + language.connected);
    EXPECT_TRUE(ShellHoldsTrayIcon(window));
    machine.Unplug();
    InterfaceEvent removal(kKeyboardInterface);
    ::SendMessageW(window, WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE, removal.lParam());
    EXPECT_EQ(std::wstring(Device().TrayIconRecord().szTip), L"Korvane\n" + language.absent);
  }

  ::PostMessageW(window, WM_COMMAND, ID_TRAY_EXIT, 0);
  ASSERT_TRUE(PumpUntil([&] { return main.posted.size() == 2; }));
  EXPECT_EQ(main.posted[0].message, static_cast<UINT>(WM_CLOSE));
  EXPECT_EQ(main.posted[1].message, UM_EXITAPP);
  EXPECT_FALSE(Device().TrayIconShown());
  EXPECT_FALSE(ShellHoldsTrayIcon(window)) << "the exit took the icon away";
  // The user stays (the quit question's answer): the icon comes back, keyboard or not.
  ::PostMessageW(window, UM_KEEPRUNNING, 0, 0);
  EXPECT_TRUE(PumpUntil([&] { return ShellHoldsTrayIcon(window); }));
}

TEST_F(DeviceThreadTest, KeyEventForCell24StartsTheProgramOfSlot3) {
  const std::u16string marker = data.path() + u"launched.txt";
  GiveSlot3AProgram(marker);
  machine.AddKeyboard();  // collection 3 is the input collection
  Start();

  // A key without a program, then the launch key, as the keyboard reports them.
  PressKeyOfCell(22);
  PressKeyOfCell(24);
  EXPECT_TRUE(PumpUntil([&] { return PathExists(marker); })) << "the script of slot 3 ran";
}

std::string Lowered(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == '\\' || text.back() == ' ')) {
    text.pop_back();
  }
  return text;
}

// A program key starts its program as a shortcut does: in the program's own folder, a
// relative path taken from the program's folder of Korvane, and a failed start logged
// with the system's reason.
TEST_F(DeviceThreadTest, ProgramKeysStartLikeShortcuts) {
  struct AppFolderRestore {
    std::u16string saved = AppFolder();
    ~AppFolderRestore() { SetAppFolder(saved); }
  } restore;
  testing::TempFolder appFolder;  // stands for the folder of Korvane.exe
  ASSERT_TRUE(SetAppFolder(appFolder.path()));
  const std::u16string toolsFolder = appFolder.path() + u"Tools\\";
  const std::u16string ownFolder = data.path() + u"Own Folder\\";
  ASSERT_TRUE(CreateFolder(toolsFolder));
  ASSERT_TRUE(CreateFolder(ownFolder));
  // Each script writes the folder it runs in to the marker.
  const std::u16string marker = data.path() + u"started in.txt";
  const std::string body = "@cd > \"" + Utf16ToUtf8(marker) + "\"\r\n";
  ASSERT_TRUE(ReplaceFileContents(ownFolder + u"own.cmd", body));
  ASSERT_TRUE(ReplaceFileContents(toolsFolder + u"tool.cmd", body));
  machine.AddKeyboard();
  Start();

  struct Case {
    const char* name;
    std::u16string program;
    std::u16string startedIn;  // empty: the start fails
  };
  const Case cases[] = {
      {"absolute path", ownFolder + u"own.cmd", ownFolder},
      {"relative path", u"Tools\\tool.cmd", toolsFolder},
      {"missing program", data.path() + u"no such program.exe", u""},
  };
  int requests = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DeleteFileAt(marker);
    EditProfile(0, [&](ProfileData& p) {
      p.keys[3].byBtnFuncType = BTNFUNC_LAUNCH;
      CopyToField(p.keys[3].launch, c.program);
    });
    Request(0, 0, requests++);  // the device thread takes the program with the next write
    ASSERT_TRUE(::PostMessageW(window, UM_DEVICEEVENT, 24, 0));
    if (!c.startedIn.empty()) {
      ASSERT_TRUE(PumpUntil([&] {
        const auto text = ReadWholeFile(marker);
        return text && !text->empty() && text->back() == '\n';
      })) << "the program started";
      EXPECT_EQ(Lowered(*ReadWholeFile(marker)), Lowered(Utf16ToUtf8(c.startedIn)));
    } else {
      const std::u16string log = LogFilePath(CurrentLocalTime(), DataFolder());
      const std::string want = "Launch failed: " + Utf16ToUtf8(c.program) + " : ";
      std::string line;
      ASSERT_TRUE(PumpUntil([&] {
        const auto text = ReadWholeFile(log);
        const std::size_t at = text ? text->find(want) : std::string::npos;
        if (at == std::string::npos) return false;
        line = text->substr(at, text->find('\n', at) - at);
        return true;
      })) << "the failed start was logged";
      EXPECT_GT(Lowered(line).size(), want.size()) << "with the system's reason: " << line;
    }
  }
}

// The tray menu runs a modal loop on the device thread, which hands what arrives
// meanwhile to the device window's procedure: each request is served after the menu
// has closed, none is lost, and they keep their order.
TEST_F(DeviceThreadTest, RequestsArrivingWhileTheTrayMenuIsOpenAreServedInOrderAfterIt) {
  const std::u16string marker = data.path() + u"launched.txt";
  GiveSlot3AProgram(marker);
  machine.AddKeyboard();
  Start();
  Request(1, 0);  // the keyboard holds the current lighting from now on
  machine.ClearFeatures();
  recorder.Reset();
  MainWindowProbe main;
  HWND menuWindow = OpenTrayMenu();
  ASSERT_NE(menuWindow, nullptr);
  const auto menu = reinterpret_cast<HMENU>(::SendMessageW(menuWindow, MN_GETHMENU, 0, 0));
  ASSERT_NE(menu, nullptr);

  ASSERT_TRUE(::PostMessageW(window, UM_DEVICESYNC, 0, 0));
  ASSERT_TRUE(::PostMessageW(window, UM_DEVICEEVENT, 24, 0));
  ASSERT_TRUE(::PostMessageW(window, WM_COMMAND, ID_TRAY_LAUNCH, 0));
  ASSERT_TRUE(::PostMessageW(window, UM_DEVICESYNC, 1, 0));
  // The menu takes its keys after the requests: once it shows the highlight, it has
  // handed them all to the window.
  ::PostMessageW(menuWindow, WM_KEYDOWN, VK_DOWN, 0);
  ASSERT_TRUE(PumpUntil([&] { return (::GetMenuState(menu, 0, MF_BYPOSITION) & MF_HILITE) != 0; }));
  EXPECT_TRUE(recorder.Seen().empty()) << "no write runs inside the menu's loop";
  EXPECT_FALSE(PathExists(marker));

  ::PostMessageW(menuWindow, WM_KEYDOWN, VK_ESCAPE, 0);
  ASSERT_TRUE(recorder.WaitForCloses(2)) << "both writes ran";
  EXPECT_TRUE(PumpUntil([&] { return PathExists(marker); })) << "the key's program started";
  EXPECT_TRUE(PumpUntil([&] { return !main.posted.empty(); }));
  if (!main.posted.empty()) {
    EXPECT_EQ(main.posted[0].message, UM_SHOWMAIN) << "the tray command was served";
  }
  const std::vector<std::string> seen = recorder.Seen();
  const auto secondOpen = std::find(seen.begin() + 1, seen.end(), "open");
  ASSERT_NE(secondOpen, seen.end());
  EXPECT_EQ(*(secondOpen - 1), "close") << "one write after the other";
  EXPECT_EQ(std::count(seen.begin(), secondOpen, "80"), 0) << "the first request had no lighting";
  EXPECT_EQ(std::count(secondOpen, seen.end(), "80"), 1) << "the second one had";
  const KeyboardModel model = Replay();
  EXPECT_TRUE(model.errors.empty());
  EXPECT_EQ(model.endsOfUpdate, 2);
}

// A request sent to the device window, rather than posted, reaches its procedure while
// the thread waits for messages: it is served all the same.
TEST_F(DeviceThreadTest, ARequestSentToTheWindowIsServed) {
  machine.AddKeyboard();
  Start();
  ::SendMessageW(window, UM_DEVICESYNC, 1, 0);
  ASSERT_TRUE(recorder.WaitForCloses(1));
  const KeyboardModel model = Replay();
  EXPECT_EQ(model.endsOfUpdate, 1);
  EXPECT_TRUE(model.lighting.has_value());
}

// The program ends with its main window, while the device thread may be busy: the
// icon is removed from the ending thread all the same.
TEST_F(DeviceThreadTest, EndingTheProgramRemovesTheTrayIcon) {
  machine.AddKeyboard();
  Start();
  ASSERT_TRUE(Device().TrayIconShown());
  NOTIFYICONDATAW record = Device().TrayIconRecord();
  record.uFlags = NIF_TIP;
  ASSERT_TRUE(::Shell_NotifyIconW(NIM_MODIFY, &record)) << "the shell holds the icon";
  RemoveDeviceTrayIcon();
  EXPECT_FALSE(::Shell_NotifyIconW(NIM_MODIFY, &record)) << "the shell no longer knows the icon";
}

TEST_F(DeviceThreadTest, TrayIconUnderWine) {
  machine.AddKeyboard();
  Start();
  ASSERT_TRUE(Device().TrayIconShown()) << "Shell_NotifyIconW accepted the icon";
  const NOTIFYICONDATAW& record = Device().TrayIconRecord();
  EXPECT_EQ(record.cbSize, sizeof(NOTIFYICONDATAW));
#ifdef _WIN64
  EXPECT_NE(record.cbSize, 956u) << "the 64-bit record, not a 32-bit build's";
#endif
  EXPECT_EQ(record.hWnd, window);
  EXPECT_EQ(record.uID, kTrayIconId);
  EXPECT_EQ(record.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
  EXPECT_EQ(record.uCallbackMessage, UM_TRAYNOTIFY);
  EXPECT_NE(record.hIcon, nullptr);
  const std::wstring tip = record.szTip;
  EXPECT_EQ(tip.substr(0, tip.find(L'\n')), L"Korvane") << "the product's name, not an internal identifier";

  // This test program has no icon resource; the program has, as resource 220. For the
  // picture, the icon shows the program's own.
  const std::wstring program = testing::StagedProgram();
  HMODULE resources =
      ::LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(resources, nullptr);
  auto icon =
      static_cast<HICON>(::LoadImageW(resources, MAKEINTRESOURCEW(kTrayIconId), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
  EXPECT_NE(icon, nullptr) << "the program carries its tray icon";
  NOTIFYICONDATAW modified = record;
  modified.uFlags = NIF_ICON;
  modified.hIcon = icon;
  EXPECT_TRUE(::Shell_NotifyIconW(NIM_MODIFY, &modified));
  PumpUntil([] { return false; }, 500);
  testing::GdiplusSession gdiplus;
  EXPECT_TRUE(testing::SaveScreen(u"tray-icon.png"));
  if (icon != nullptr) ::DestroyIcon(icon);
  ::FreeLibrary(resources);
}

// The shell's side of the tray icon for the device thread: every call recorded, and a
// taskbar that is not there until a given add (a start at sign-in before Explorer has
// made it). Calls it answers go to the real shell.
class TaskbarStandIn {
 public:
  // The taskbar answers from add number `addsRefused` + 1 on.
  explicit TaskbarStandIn(int addsRefused) : addsRefused_(addsRefused) {}

  // The call for the device thread, which may outlive the test's body: it shares the
  // stand-in.
  static NotifyIconCall Call(const std::shared_ptr<TaskbarStandIn>& taskbar) {
    return [taskbar](DWORD action, NOTIFYICONDATAW* record) { return taskbar->Notify(action, record); };
  }
  // From now on the taskbar answers: it was made.
  void Appear() {
    std::lock_guard<std::mutex> hold(lock_);
    addsRefused_ = adds_;
  }
  // "add", "modify", "delete", with "-" for a call the missing taskbar refused.
  std::vector<std::string> Calls() {
    std::lock_guard<std::mutex> hold(lock_);
    return calls_;
  }
  int Adds() {
    std::lock_guard<std::mutex> hold(lock_);
    return adds_;
  }

 private:
  BOOL Notify(DWORD action, NOTIFYICONDATAW* record) {
    std::lock_guard<std::mutex> hold(lock_);
    if (action == NIM_ADD) ++adds_;
    const char* name = action == NIM_ADD ? "add" : action == NIM_MODIFY ? "modify" : "delete";
    if (adds_ <= addsRefused_) {
      calls_.push_back(std::string(name) + "-");
      return FALSE;
    }
    calls_.push_back(name);
    return ::Shell_NotifyIconW(action, record);
  }

  std::mutex lock_;
  std::vector<std::string> calls_;
  int adds_ = 0;
  int addsRefused_;
};

UINT TaskbarCreatedMessage() { return ::RegisterWindowMessageW(L"TaskbarCreated"); }

// Whether the shell holds the device window's icon: it takes a change only then.
bool ShellHoldsTrayIcon(HWND device) {
  NOTIFYICONDATAW record{};
  record.cbSize = sizeof record;
  record.hWnd = device;
  record.uID = kTrayIconId;
  record.uFlags = NIF_TIP;
  ::wcscpy(record.szTip, L"Korvane");
  return ::Shell_NotifyIconW(NIM_MODIFY, &record) != FALSE;
}

// Explorer restarted: the new taskbar knows none of the old one's icons until the
// programs add them again on the message it sends to every top-level window, sent by
// some systems and posted by others.
TEST_F(DeviceThreadTest, ANewTaskbarGetsTheIconAgain) {
  machine.AddKeyboard();
  Start();
  ASSERT_TRUE(ShellHoldsTrayIcon(window));
  for (const bool posted : {false, true}) {
    NOTIFYICONDATAW key{};
    key.cbSize = sizeof key;
    key.hWnd = window;
    key.uID = kTrayIconId;
    ASSERT_TRUE(::Shell_NotifyIconW(NIM_DELETE, &key)) << "the old taskbar went with its icons";
    ASSERT_FALSE(ShellHoldsTrayIcon(window));
    if (posted) {
      ::PostMessageW(window, TaskbarCreatedMessage(), 0, 0);
    } else {
      ::SendMessageW(window, TaskbarCreatedMessage(), 0, 0);
    }
    EXPECT_TRUE(PumpUntil([&] { return ShellHoldsTrayIcon(window); })) << (posted ? "posted" : "sent");
    EXPECT_TRUE(Device().TrayIconShown());
  }
  PumpUntil([] { return false; }, 300);
  testing::GdiplusSession gdiplus;
  EXPECT_TRUE(testing::SaveScreen(u"tray-icon-new-taskbar.png"));

  // Without the keyboard the icon stays, and a new taskbar gets it too.
  InterfaceEvent removal(kKeyboardInterface);
  ::SendMessageW(window, WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE, removal.lParam());
  ASSERT_TRUE(ShellHoldsTrayIcon(window));
  NOTIFYICONDATAW key{};
  key.cbSize = sizeof key;
  key.hWnd = window;
  key.uID = kTrayIconId;
  ASSERT_TRUE(::Shell_NotifyIconW(NIM_DELETE, &key));
  ::SendMessageW(window, TaskbarCreatedMessage(), 0, 0);
  EXPECT_TRUE(PumpUntil([&] { return ShellHoldsTrayIcon(window); }));
  EXPECT_TRUE(Device().TrayIconShown());
}

TEST_F(DeviceThreadTest, AnIconTheTaskbarRefusesIsAddedAgainUntilItIsTaken) {
  const auto taskbar = std::make_shared<TaskbarStandIn>(2);
  setup.notifyIcon = TaskbarStandIn::Call(taskbar);
  setup.trayAddRetryPausesMs = {50, 50, 50, 50};
  machine.AddKeyboard();
  Start();
  ASSERT_TRUE(PumpUntil([&] { return Device().TrayIconShown(); }));
  EXPECT_EQ(taskbar->Calls(), (std::vector<std::string>{"add-", "modify-", "add-", "modify-", "add"}));
  EXPECT_TRUE(ShellHoldsTrayIcon(window));
}

TEST_F(DeviceThreadTest, RetriesOfARefusedIconAreBoundedAndANewTaskbarStillGetsIt) {
  const auto taskbar = std::make_shared<TaskbarStandIn>(1000);
  setup.notifyIcon = TaskbarStandIn::Call(taskbar);
  setup.trayAddRetryPausesMs = {30, 30, 30};
  machine.AddKeyboard();
  Start();
  ASSERT_TRUE(PumpUntil([&] { return taskbar->Adds() == 4; })) << "the first add and three more";
  PumpUntil([] { return false; }, 500);
  EXPECT_EQ(taskbar->Adds(), 4) << "no more after the last pause";
  EXPECT_FALSE(Device().TrayIconShown());

  taskbar->Appear();
  ::SendMessageW(window, TaskbarCreatedMessage(), 0, 0);
  EXPECT_TRUE(Device().TrayIconShown()) << "added as soon as the taskbar said it is there";
  EXPECT_EQ(taskbar->Calls().back(), "add");
  EXPECT_TRUE(ShellHoldsTrayIcon(window));
}

// A window of another program titled "Korvane" (an Explorer window open on a folder of
// that name) is never taken for the main window.
TEST_F(DeviceThreadTest, TrayCommandsPassOverWindowsOfOtherProgramsWithTheMainWindowsTitle) {
  machine.AddKeyboard();
  Start();
  MainWindowProbe main;
  testing::ForeignWindow explorer(kMainWindowTitle);
  ASSERT_TRUE(explorer.IsCreated());
  ASSERT_EQ(::FindWindowW(nullptr, AsWide(kMainWindowTitle)), explorer.hwnd()) << "found first by its title alone";

  ::PostMessageW(window, WM_COMMAND, ID_TRAY_LAUNCH, 0);
  ASSERT_TRUE(PumpUntil([&] { return main.posted.size() == 1; }));
  ::SendMessageW(window, UM_TRAYNOTIFY, kTrayIconId, WM_LBUTTONDBLCLK);
  ::PostMessageW(window, UM_KEYBOARDSTATEQUERY, 0, 0);
  ::PostMessageW(window, WM_COMMAND, ID_TRAY_EXIT, 0);
  ASSERT_TRUE(PumpUntil([&] { return main.posted.size() == 4; }));
  std::vector<UINT> messages;
  for (const auto& posted : main.posted) messages.push_back(posted.message);
  EXPECT_EQ(messages, (std::vector<UINT>{UM_SHOWMAIN, UM_TRAYNOTIFY, WM_CLOSE, UM_EXITAPP}));
  EXPECT_TRUE(::IsWindowVisible(main.hwnd()));
  PumpUntil([] { return false; }, 200);
  EXPECT_TRUE(explorer.received.empty()) << "the other program's window got " << explorer.received.size();
  EXPECT_FALSE(::IsWindowVisible(explorer.hwnd()));
}

// The main window of another process, even one of this program's class, is not this
// program's to close: the tray's exit of a device thread with no main window of its own
// leaves it running.
TEST_F(DeviceThreadTest, TrayExitClosesNoMainWindowOfAnotherProcess) {
  machine.AddKeyboard();
  Start();
  testing::ChildProcess other(testing::StagedProgram());
  ASSERT_TRUE(other.started());
  HWND otherMain = testing::WaitForWindow(AsWide(kMainWindowTitle), other.id(), kWaitMs);
  ASSERT_NE(otherMain, nullptr);
  wchar_t className[64] = {};
  ::GetClassNameW(otherMain, className, 64);
  ASSERT_STREQ(className, AsWide(kMainWindowClass));

  ::PostMessageW(window, WM_COMMAND, ID_TRAY_LAUNCH, 0);
  ::PostMessageW(window, WM_COMMAND, ID_TRAY_EXIT, 0);
  ASSERT_TRUE(PumpUntil([&] { return !Device().TrayIconShown(); })) << "the exit was served";
  EXPECT_FALSE(other.WaitForExit(1000)) << "the other process's main window got WM_CLOSE";
  EXPECT_TRUE(::IsWindow(otherMain));

  ::PostMessageW(otherMain, WM_CLOSE, 0, 0);
  EXPECT_TRUE(other.WaitForExit(kWaitMs));
}

}  // namespace
}  // namespace quencfg

namespace quencfg {
namespace {

// The real program on a machine without the keyboard: a request from the main window
// shows no progress window, for nothing is written; the program goes on.
TEST(DeviceThreadInProgram, RequestWithoutKeyboardShowsNoProgressWindow) {
  ASSERT_EQ(::FindWindowW(nullptr, L"Korvane"), nullptr) << "an instance is already running";
  testing::ChildProcess program(testing::StagedProgram());
  ASSERT_TRUE(program.started());
  HWND main = testing::WaitForWindow(L"Korvane", program.id(), kWaitMs);
  HWND device = testing::WaitForWindow(L"Korvane_Hid", program.id(), kWaitMs);
  ASSERT_NE(main, nullptr);
  ASSERT_NE(device, nullptr);

  ASSERT_TRUE(::PostMessageW(device, UM_DEVICESYNC, 1, 1));
  ASSERT_NE(::SendMessageTimeoutW(device, WM_NULL, 0, 0, SMTO_NORMAL, kWaitMs, nullptr), 0) << "served";
  EXPECT_EQ(testing::WaitForWindow(kProgressWindowTitle, program.id(), 2000), nullptr)
      << "no progress window for a keyboard that is not there";

  ::PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_TRUE(program.WaitForExit(kWaitMs));
}

// A main window of this process that records the keyboard states posted to it.
class KeyboardStateProbe : public Window {
 public:
  KeyboardStateProbe() {
    WindowCreateParams params;
    params.className = AsWide(kMainWindowClass);
    params.title = AsWide(kMainWindowTitle);
    params.style = WS_POPUP;
    params.width = 10;
    params.height = 10;
    Create(params);
  }
  std::vector<KeyboardState> states;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == UM_KEYBOARDSTATE) states.push_back(static_cast<KeyboardState>(wParam));
    return DefaultHandling(message, wParam, lParam);
  }
};

TEST_F(DeviceThreadTest, TheKeyboardStateGoesToTheMainWindowAndAWriteWithoutKeyboardWaitsForIt) {
  Start();  // no keyboard yet
  KeyboardStateProbe main;
  ::PostMessageW(window, UM_KEYBOARDSTATEQUERY, 0, 0);
  ASSERT_TRUE(PumpUntil([&] { return main.states.size() == 1; }));
  EXPECT_EQ(main.states[0], KeyboardState::Absent) << "the answer to the query";

  // A sync request without a keyboard says nothing of writing: the changes wait.
  ::PostMessageW(window, UM_DEVICESYNC, 1, 0);
  ::PostMessageW(window, UM_KEYBOARDSTATEQUERY, 0, 0);
  ASSERT_TRUE(PumpUntil([&] { return main.states.size() >= 3; }));
  EXPECT_EQ(main.states, (std::vector<KeyboardState>{KeyboardState::Absent, KeyboardState::ChangesWaiting,
                                                     KeyboardState::ChangesWaiting}));
  EXPECT_TRUE(recorder.Seen().empty()) << "no progress window";

  main.states.clear();
  machine.AddKeyboard();
  InterfaceEvent arrival(kKeyboardInterface);
  ::SendMessageW(window, WM_DEVICECHANGE, DBT_DEVICEARRIVAL, arrival.lParam());
  ASSERT_TRUE(recorder.WaitForCloses(1)) << "the waiting write, on the arrival";
  Request(0, 0, 1);
  InterfaceEvent removal(kKeyboardInterface);
  ::SendMessageW(window, WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE, removal.lParam());
  ASSERT_TRUE(PumpUntil([&] { return main.states.size() >= 6; }));
  EXPECT_EQ(main.states, (std::vector<KeyboardState>{KeyboardState::Connected, KeyboardState::Writing,
                                                     KeyboardState::Connected, KeyboardState::Writing,
                                                     KeyboardState::Connected, KeyboardState::Absent}));
}

// Applies and resets made without the keyboard wait for it: when it is plugged in, one
// write brings it what they asked for together, report for report as the same request
// made with the keyboard there, and the progress window follows that write only.
TEST_F(DeviceThreadTest, RequestsMadeWithoutTheKeyboardAreWrittenOnceWhenItIsPluggedIn) {
  struct Case {
    const char* name;
    std::vector<std::pair<WPARAM, LPARAM>> requests;
    WPARAM lighting;  // the one request that does the same with the keyboard there
    LPARAM reset;
  };
  const Case cases[] = {
      {"apply", {{0, 0}}, 0, 0},
      {"apply with the lighting, then without", {{1, 0}, {0, 0}}, 1, 0},
      {"reset, then apply", {{0, 1}, {0, 0}}, 0, 1},
  };
  EditProfile(0, [](ProfileData& p) {
    p.keys[14].byBtnFuncType = BTNFUNC_KEY;
    p.keys[14].byKeyNumber = 0x29;
    p.lighting.byLightEffect = 16;
  });
  Start();
  InterfaceEvent arrival(kKeyboardInterface);
  InterfaceEvent removal(kKeyboardInterface);
  bool plugged = false;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (plugged) {
      machine.Unplug();
      ::SendMessageW(window, WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE, removal.lParam());
    }
    recorder.Reset();
    for (const auto& [lighting, reset] : c.requests) ASSERT_TRUE(::PostMessageW(window, UM_DEVICESYNC, lighting, reset));
    ::SendMessageW(window, WM_NULL, 0, 0);
    ASSERT_TRUE(PumpUntil([&] { return Device().WriteWaiting(); }));
    PumpUntil([] { return false; }, 100);
    EXPECT_TRUE(recorder.Seen().empty()) << "no progress window without the keyboard";

    if (plugged) {
      machine.Replug();
    } else {
      machine.AddKeyboard();
    }
    plugged = true;
    machine.ClearFeatures();
    ::SendMessageW(window, WM_DEVICECHANGE, DBT_DEVICEARRIVAL, arrival.lParam());
    ASSERT_TRUE(recorder.WaitForCloses(1));
    EXPECT_FALSE(Device().WriteWaiting());
    const std::vector<testing::FeatureRecord> waited = machine.Features();
    const std::vector<std::string> waitedProgress = recorder.Seen();
    const KeyboardModel model = Replay();
    EXPECT_EQ(model.errors, std::vector<std::string>{});
    EXPECT_EQ(model.endsOfUpdate, 1);
    ASSERT_TRUE(model.keyMap.has_value());
    EXPECT_EQ((*model.keyMap)[41], 0x29) << "the profile as saved";

    // The same request with the keyboard there, after a replug that makes the keyboard's
    // lighting unknown again, as it was for the waiting write.
    machine.Unplug();
    ::SendMessageW(window, WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE, removal.lParam());
    machine.Replug();
    ::SendMessageW(window, WM_DEVICECHANGE, DBT_DEVICEARRIVAL, arrival.lParam());
    machine.ClearFeatures();
    recorder.Reset();
    Request(c.lighting, c.reset);
    const std::vector<testing::FeatureRecord> direct = machine.Features();
    ASSERT_EQ(waited.size(), direct.size());
    for (std::size_t i = 0; i < waited.size(); ++i) {
      ASSERT_EQ(waited[i].bytes, direct[i].bytes) << "report " << i;
      // The pauses between the reports, on the fake clock.
      ASSERT_EQ(waited[i].timeUs - waited[0].timeUs, direct[i].timeUs - direct[0].timeUs) << "report " << i;
    }
    EXPECT_EQ(waitedProgress, recorder.Seen());
    PumpUntil([] { return false; }, 100);
    EXPECT_EQ(recorder.Seen().size(), waitedProgress.size()) << "one write each, no more";
  }
}

}  // namespace
}  // namespace quencfg
