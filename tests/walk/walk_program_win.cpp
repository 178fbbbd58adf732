// KorvaneWalk.exe: the real program (application object, windows, device thread) with
// the keyboard double behind the HID seam, for the random walk of tests/walk/walk.py.
// Two files connect it to the walker, both named by the environment:
// - KORVANE_WALK_REPORTS: every feature report the program sends is appended as one
//   line "report <accepted 0|1> <hex bytes>", so the walker decodes what the keyboard
//   holds with its own reader; "start <process id>" opens each run.
// - KORVANE_WALK_PLUG: the walker writes "<number> plug" or "<number> unplug"; the
//   keyboard double follows it (the device window is told as the platform tells it)
//   and the number is written to the same name + ".done". At start the file's last
//   word decides whether the keyboard is plugged in.
// Nothing else differs from Korvane.exe.
#include <windows.h>
#include <dbt.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "device/fake_hid.h"
#include "quencfg/app/quencfg_app_win.h"
#include "quencfg/framework/messages.h"
#include "quencfg/framework/pause.h"
#include "quencfg/framework/sign_in_start.h"
#include "quencfg/framework/wide_win.h"

namespace {

using quencfg::testing::FakeHidMachine;

std::wstring EnvironmentValue(const wchar_t* name) {
  wchar_t value[1024] = {};
  const DWORD length = ::GetEnvironmentVariableW(name, value, 1024);
  return length > 0 && length < 1024 ? std::wstring(value, length) : std::wstring();
}

// Appends one line to a file that several runs share, whole lines at a time.
void AppendLine(const std::wstring& path, const std::string& line) {
  if (path.empty()) return;
  HANDLE file = ::CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  ::WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  ::CloseHandle(file);
}

std::string ReadSmallFile(const std::wstring& path) {
  HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  char buffer[256] = {};
  DWORD read = 0;
  ::ReadFile(file, buffer, sizeof(buffer) - 1, &read, nullptr);
  ::CloseHandle(file);
  return std::string(buffer, read);
}

// The keyboard double with its two files.
class WalkKeyboard {
 public:
  WalkKeyboard() : machine_(quencfg::SystemPauseClock()) {
    machine_.AddKeyboard();
    machine_.SetReadsBlock(true);  // a read waits for a key, as on the real keyboard
    api_ = machine_.Api();
    api_.context = this;
    api_.setFeature = [](void* context, quencfg::HidHandle handle, const std::uint8_t* report, std::uint32_t length) {
      return static_cast<WalkKeyboard*>(context)->SetFeature(handle, report, length);
    };
    ForwardToMachine();
    reportsPath_ = EnvironmentValue(L"KORVANE_WALK_REPORTS");
    plugPath_ = EnvironmentValue(L"KORVANE_WALK_PLUG");
    AppendLine(reportsPath_, "start " + std::to_string(::GetCurrentProcessId()) + "\n");
    const std::string plug = ReadSmallFile(plugPath_);
    if (plug.find("unplug") != std::string::npos) machine_.Unplug();
    lastCommand_ = plug;
  }

  [[nodiscard]] const quencfg::HidApi& Api() const noexcept { return api_; }

  // Follows the plug file on a thread of its own until the process ends.
  void WatchPlugFile() {
    if (plugPath_.empty()) return;
    ::CreateThread(
        nullptr, 0,
        [](LPVOID self) -> DWORD {
          static_cast<WalkKeyboard*>(self)->PlugLoop();
          return 0;
        },
        this, 0, nullptr);
  }

 private:
  // Every other call goes to the machine with its own context.
  void ForwardToMachine() {
    const quencfg::HidApi& real = machine_.Api();
    forward_ = real;
    api_.getHidDeviceSet = [](void* c) { return Forward(c).getHidDeviceSet(Forward(c).context); };
    api_.getDevicePath = [](void* c, quencfg::DeviceSet set, std::uint32_t index, std::u16string* path) {
      return Forward(c).getDevicePath(Forward(c).context, set, index, path);
    };
    api_.destroyDeviceSet = [](void* c, quencfg::DeviceSet set) { Forward(c).destroyDeviceSet(Forward(c).context, set); };
    api_.openDevice = [](void* c, const std::u16string& path, bool readWrite, quencfg::HidIo io) {
      return Forward(c).openDevice(Forward(c).context, path, readWrite, io);
    };
    api_.closeHandle = [](void* c, quencfg::HidHandle h) { Forward(c).closeHandle(Forward(c).context, h); };
    api_.getCollectionCaps = [](void* c, quencfg::HidHandle h, quencfg::HidCollectionCaps* caps) {
      return Forward(c).getCollectionCaps(Forward(c).context, h, caps);
    };
    api_.getAttributes = [](void* c, quencfg::HidHandle h, quencfg::HidAttributes* a) {
      return Forward(c).getAttributes(Forward(c).context, h, a);
    };
    api_.readInput = [](void* c, quencfg::HidHandle h, std::uint8_t* b, std::uint32_t n, quencfg::HidEvent stop) {
      return Forward(c).readInput(Forward(c).context, h, b, n, stop);
    };
    api_.createEvent = [](void* c) { return Forward(c).createEvent(Forward(c).context); };
    api_.setEvent = [](void* c, quencfg::HidEvent e) { Forward(c).setEvent(Forward(c).context, e); };
    api_.resetEvent = [](void* c, quencfg::HidEvent e) { Forward(c).resetEvent(Forward(c).context, e); };
    api_.closeEvent = [](void* c, quencfg::HidEvent e) { Forward(c).closeEvent(Forward(c).context, e); };
    // Threads and posts are the platform's: the program runs as it does for real.
    api_.startThread = [](void*, void (*entry)(void*), void* argument, std::uint32_t stackSize) {
      struct Start {
        void (*entry)(void*);
        void* argument;
      };
      auto* start = new Start{entry, argument};
      HANDLE thread = ::CreateThread(
          nullptr, stackSize,
          [](LPVOID p) -> DWORD {
            const Start s = *static_cast<Start*>(p);
            delete static_cast<Start*>(p);
            s.entry(s.argument);
            return 0;
          },
          start, 0, nullptr);
      if (thread == nullptr) {
        delete start;
        return false;
      }
      ::CloseHandle(thread);
      return true;
    };
    api_.postMessage = [](void*, quencfg::NotifyWindow window, std::uint32_t message, std::uintptr_t wParam,
                          std::intptr_t lParam) {
      return ::PostMessageW(reinterpret_cast<HWND>(window), message, wParam, lParam) != FALSE;
    };
  }

  static const quencfg::HidApi& Forward(void* context) { return static_cast<WalkKeyboard*>(context)->forward_; }

  bool SetFeature(quencfg::HidHandle handle, const std::uint8_t* report, std::uint32_t length) {
    const bool accepted = forward_.setFeature(forward_.context, handle, report, length);
    std::string line = accepted ? "report 1" : "report 0";
    char hex[4];
    for (std::uint32_t i = 0; i < length; ++i) {
      std::snprintf(hex, sizeof(hex), " %02x", report[i]);
      line += hex;
    }
    AppendLine(reportsPath_, line + "\n");
    return accepted;
  }

  void PlugLoop() {
    for (;;) {
      ::Sleep(40);
      const std::string command = ReadSmallFile(plugPath_);
      if (command.empty() || command == lastCommand_) continue;
      lastCommand_ = command;
      const bool unplug = command.find("unplug") != std::string::npos;
      if (unplug) {
        machine_.Unplug();
      } else {
        machine_.Replug();
      }
      TellDeviceWindow(unplug ? DBT_DEVICEREMOVECOMPLETE : DBT_DEVICEARRIVAL);
      const std::wstring done = plugPath_ + L".done";
      HANDLE file = ::CreateFileW(done.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
      if (file != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        ::WriteFile(file, command.data(), static_cast<DWORD>(command.size()), &written, nullptr);
        ::CloseHandle(file);
      }
    }
  }

  // The platform's device-interface event for the keyboard, sent to the device window.
  static void TellDeviceWindow(WPARAM event) {
    const std::wstring name = L"\\\\?\\USB#VID_258A&PID_0090#5&2c1b3a&0&3#{a5dcbf10-6530-11d2-901f-00c04fb951ed}";
    std::vector<std::uint8_t> bytes(offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name) +
                                    (name.size() + 1) * sizeof(wchar_t));
    auto* record = reinterpret_cast<DEV_BROADCAST_DEVICEINTERFACE_W*>(bytes.data());
    record->dbcc_size = static_cast<DWORD>(bytes.size());
    record->dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    std::copy(name.begin(), name.end(), record->dbcc_name);
    HWND device = ::FindWindowW(nullptr, quencfg::AsWide(quencfg::kDeviceWindowTitle));
    DWORD_PTR result = 0;
    if (device != nullptr) {
      ::SendMessageTimeoutW(device, WM_DEVICECHANGE, event, reinterpret_cast<LPARAM>(bytes.data()), SMTO_NORMAL,
                            60000, &result);
    }
  }

  FakeHidMachine machine_;
  quencfg::HidApi api_;
  quencfg::HidApi forward_;
  std::wstring reportsPath_;
  std::wstring plugPath_;
  std::string lastCommand_;
};

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR arguments, int) {
  static WalkKeyboard keyboard;  // outlives the device thread, which runs until the process ends
  keyboard.WatchPlugFile();
  quencfg::DeviceThreadSetup setup;
  setup.hidApi = &keyboard.Api();
  quencfg::CQuencfgApp app(quencfg::StartsInTray(arguments != nullptr ? quencfg::AsU16(arguments) : u""),
                           std::move(setup));
  return app.Run();
}
