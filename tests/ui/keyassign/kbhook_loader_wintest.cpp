// The staged KBHook.dll through the program's loader: real low-level hooks under Wine,
// input injected with SendInput and through the X server with xdotool.
#include "quencfg/ui/keyassign/kbhook_loader_win.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "quencfg/framework/wide_win.h"

namespace quencfg {
namespace {

using Event = std::pair<WPARAM, LPARAM>;

constexpr DWORD kArrivalTimeoutMs = 5000;
constexpr DWORD kQuietPeriodMs = 400;

// A window that collects the hook's messages and the key messages it receives itself.
class EventSink {
 public:
  EventSink() {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = &EventSink::Procedure;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"KorvaneHookSink";
    ::RegisterClassW(&windowClass);
    hwnd_ = ::CreateWindowExW(0, L"KorvaneHookSink", L"hook sink", WS_POPUP | WS_VISIBLE, 100, 100, 200, 100,
                              nullptr, nullptr, windowClass.hInstance, this);
    ::SetForegroundWindow(hwnd_);
    ::SetFocus(hwnd_);
    // Activation goes through the X server; keys sent before it ends go elsewhere.
    const DWORD start = ::GetTickCount();
    while (::GetForegroundWindow() != hwnd_ && ::GetTickCount() - start < kArrivalTimeoutMs) Pump();
    PumpFor(50);
  }
  ~EventSink() { ::DestroyWindow(hwnd_); }
  EventSink(const EventSink&) = delete;
  EventSink& operator=(const EventSink&) = delete;

  HWND hwnd() const { return hwnd_; }

  // Pumps messages until `count` hook events have arrived or the time is up.
  std::vector<Event> WaitForEvents(std::size_t count, DWORD timeoutMs = kArrivalTimeoutMs) {
    const DWORD start = ::GetTickCount();
    while (events.size() < count && ::GetTickCount() - start < timeoutMs) Pump();
    return events;
  }
  void PumpFor(DWORD milliseconds) {
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < milliseconds) Pump();
  }
  void Clear() {
    events.clear();
    keyDowns.clear();
  }

  std::vector<Event> events;
  std::vector<WPARAM> keyDowns;

 private:
  static void Pump() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
    ::Sleep(5);
  }

  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
      auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
      ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<EventSink*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self != nullptr && message == UM_HOOKEVENT) self->events.emplace_back(wParam, lParam);
    if (self != nullptr && message == WM_KEYDOWN) self->keyDowns.push_back(wParam);
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
  }

  HWND hwnd_ = nullptr;
};

INPUT KeyInput(WORD virtualKey, bool release, bool extended = false) {
  INPUT input = {};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = virtualKey;
  input.ki.wScan = static_cast<WORD>(::MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = (release ? KEYEVENTF_KEYUP : 0) | (extended ? KEYEVENTF_EXTENDEDKEY : 0);
  return input;
}

INPUT MouseInput(DWORD flags) {
  INPUT input = {};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags;
  return input;
}

void Send(std::vector<INPUT> inputs) {
  ASSERT_EQ(::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)), inputs.size());
}

std::wstring AppFolderOfTests() { return KORVANE_TEST_APP_DIR; }

class KbHookTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(component.Load(ToU16(AppFolderOfTests()))) << "KBHook.dll is not staged";
    ASSERT_NE(sink.hwnd(), nullptr);
  }
  void TearDown() override { component.SetHook(false, nullptr); }

  EventSink sink;
  KbHookComponent component;
};

TEST(KbHookExports, UndecoratedNamesAndNothingMissing) {
  UniqueModule module(::LoadLibraryW((AppFolderOfTests() + L"KBHook.dll").c_str()));
  ASSERT_TRUE(module.valid());
  for (const char* name : {"installhook", "enablehook", "removehook"}) {
    EXPECT_NE(::GetProcAddress(module.get(), name), nullptr) << name;
  }
  EXPECT_EQ(::GetProcAddress(module.get(), "_installhook"), nullptr);
}

TEST(KbHookLoader, MissingComponentLeavesTheHookSwitchHarmless) {
  KbHookComponent component;
  EXPECT_FALSE(component.Load(u"Z:\\no\\such\\folder\\"));
  EXPECT_FALSE(component.loaded());
  component.SetHook(true, nullptr);
  EXPECT_FALSE(component.hookOn());
  component.SetHook(false, nullptr);
}

TEST_F(KbHookTest, ReportsKeyPressesAndReleasesWithTheirFlags) {
  component.SetHook(true, sink.hwnd());
  EXPECT_TRUE(component.hookOn());
  Send({KeyInput('A', false), KeyInput('A', true), KeyInput(VK_RIGHT, false, true), KeyInput(VK_RIGHT, true, true),
        KeyInput(VK_RETURN, false, true), KeyInput(VK_RETURN, true, true)});
  const std::vector<Event> expected = {{'A', 0x00}, {'A', 0x80}, {VK_RIGHT, 0x01}, {VK_RIGHT, 0x81},
                                       {VK_RETURN, 0x01}, {VK_RETURN, 0x81}};
  EXPECT_EQ(sink.WaitForEvents(expected.size()), expected);
}

TEST_F(KbHookTest, ReportsMouseButtonsAsTheirMessageNumbers) {
  component.SetHook(true, sink.hwnd());
  Send({MouseInput(MOUSEEVENTF_LEFTDOWN), MouseInput(MOUSEEVENTF_LEFTUP), MouseInput(MOUSEEVENTF_RIGHTDOWN),
        MouseInput(MOUSEEVENTF_RIGHTUP), MouseInput(MOUSEEVENTF_MIDDLEDOWN), MouseInput(MOUSEEVENTF_MIDDLEUP),
        MouseInput(MOUSEEVENTF_MOVE)});
  const std::vector<Event> expected = {{WM_LBUTTONDOWN, 0x00}, {WM_LBUTTONUP, 0x80}, {WM_RBUTTONDOWN, 0x00},
                                       {WM_RBUTTONUP, 0x80},   {WM_MBUTTONDOWN, 0x00}, {WM_MBUTTONUP, 0x80}};
  EXPECT_EQ(sink.WaitForEvents(expected.size()), expected);
  sink.PumpFor(kQuietPeriodMs);
  EXPECT_EQ(sink.events.size(), expected.size());  // the move is not reported
}

TEST_F(KbHookTest, InputStillReachesTheFocusedWindow) {
  component.SetHook(true, sink.hwnd());
  ASSERT_EQ(::GetFocus(), sink.hwnd());
  Send({KeyInput('B', false), KeyInput('B', true)});
  sink.WaitForEvents(2);
  sink.PumpFor(kQuietPeriodMs);
  EXPECT_EQ(sink.keyDowns, std::vector<WPARAM>{'B'});
}

TEST_F(KbHookTest, DisabledOrRemovedHookReportsNothing) {
  component.SetHook(true, sink.hwnd());
  Send({KeyInput('C', false), KeyInput('C', true)});
  ASSERT_EQ(sink.WaitForEvents(2).size(), 2u);

  const auto enablehook = reinterpret_cast<kbhook::EnableHookFunction>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"KBHook.dll"), "enablehook")));
  ASSERT_NE(enablehook, nullptr);
  sink.Clear();
  enablehook(0);
  Send({KeyInput('D', false), KeyInput('D', true)});
  sink.PumpFor(kQuietPeriodMs);
  EXPECT_TRUE(sink.events.empty());
  enablehook(1);
  Send({KeyInput('E', false), KeyInput('E', true)});
  EXPECT_EQ(sink.WaitForEvents(2), (std::vector<Event>{{'E', 0x00}, {'E', 0x80}}));

  component.SetHook(false, nullptr);
  EXPECT_FALSE(component.hookOn());
  sink.Clear();
  Send({KeyInput('F', false), KeyInput('F', true), MouseInput(MOUSEEVENTF_LEFTDOWN), MouseInput(MOUSEEVENTF_LEFTUP)});
  sink.PumpFor(kQuietPeriodMs);
  EXPECT_TRUE(sink.events.empty());

  // Switched on again after removal, it reports again.
  component.SetHook(true, sink.hwnd());
  Send({KeyInput('G', false), KeyInput('G', true)});
  EXPECT_EQ(sink.WaitForEvents(2), (std::vector<Event>{{'G', 0x00}, {'G', 0x80}}));
}

TEST_F(KbHookTest, UnloadingWhileHookedEndsTheReporting) {
  {
    KbHookComponent scoped;
    ASSERT_TRUE(scoped.Load(ToU16(AppFolderOfTests())));
    scoped.SetHook(true, sink.hwnd());
  }
  Send({KeyInput('H', false), KeyInput('H', true)});
  sink.PumpFor(kQuietPeriodMs);
  EXPECT_TRUE(sink.events.empty());
}

// Keys typed through the X server, as a user would, arrive like injected ones.
TEST_F(KbHookTest, KeysTypedWithXdotoolArrive) {
  component.SetHook(true, sink.hwnd());
  sink.PumpFor(kQuietPeriodMs);  // let the window take the X input focus
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  // Shift first: the X server may hand the first key of a new focus to Wine late.
  wchar_t command[] = L"Z:\\usr\\bin\\xdotool key --delay 50 shift x Right";
  if (!::CreateProcessW(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    GTEST_SKIP() << "xdotool cannot be started";
  }
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  const std::vector<Event> expected = {{'X', 0x00}, {'X', 0x80}, {VK_RIGHT, 0x01}, {VK_RIGHT, 0x81}};
  std::vector<Event> typed;
  const DWORD start = ::GetTickCount();
  while (typed.size() < expected.size() && ::GetTickCount() - start < kArrivalTimeoutMs) {
    sink.PumpFor(20);
    typed.clear();
    for (const Event& event : sink.events) {
      if (event.first != VK_LSHIFT && event.first != VK_SHIFT) typed.push_back(event);
    }
  }
  EXPECT_EQ(typed, expected);
}

}  // namespace
}  // namespace quencfg
