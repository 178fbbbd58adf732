// KBHook.dll: system-wide low-level keyboard and mouse hooks that report every key and
// mouse-button press and release to one window as posted messages. The hooks live on a
// thread of their own with its own message loop, so input never waits for the
// program's user-interface thread; all input passes on unchanged.
#include <windows.h>

#include <atomic>

#include "quencfg/framework/thread_win.h"
#include "quencfg/kbhook/kbhook_contract_win.h"

namespace {

using quencfg::kHookExtendedFlag;
using quencfg::kHookReleaseFlag;
using quencfg::UM_HOOKEVENT;

constexpr DWORD kThreadWaitMs = 5000;

HMODULE g_module = nullptr;
std::atomic<HWND> g_target{nullptr};
std::atomic<bool> g_enabled{false};

// The hook thread, started by installhook and ended by removehook.
SRWLOCK g_threadLock = SRWLOCK_INIT;
quencfg::StartedThread g_thread;

void Report(WPARAM what, LPARAM flags) {
  if (!g_enabled.load()) return;
  if (HWND target = g_target.load()) ::PostMessageW(target, UM_HOOKEVENT, what, flags);
}

LRESULT CALLBACK KeyboardProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) {
    const auto* info = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
    LPARAM flags = 0;
    if (info->flags & LLKHF_EXTENDED) flags |= kHookExtendedFlag;
    if (info->flags & LLKHF_UP) flags |= kHookReleaseFlag;
    Report(info->vkCode, flags);
  }
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK MouseProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) {
    switch (wParam) {
      case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
        Report(wParam, 0);
        break;
      case WM_LBUTTONUP: case WM_RBUTTONUP: case WM_MBUTTONUP:
        Report(wParam, kHookReleaseFlag);
        break;
      default:
        break;
    }
  }
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

struct ThreadStart {
  HANDLE ready = nullptr;
  bool hooked = false;
  HMODULE selfReference = nullptr;
};

DWORD WINAPI HookThread(void* parameter) {
  auto* start = static_cast<ThreadStart*>(parameter);
  // The thread keeps the DLL loaded until it has unhooked, even if the program
  // unloads it early; it drops that reference as its very last step.
  HMODULE selfReference = start->selfReference;
  HHOOK keyboard = ::SetWindowsHookExW(WH_KEYBOARD_LL, KeyboardProc, g_module, 0);
  HHOOK mouse = ::SetWindowsHookExW(WH_MOUSE_LL, MouseProc, g_module, 0);
  MSG msg;
  ::PeekMessageW(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);  // the queue exists before anyone posts
  start->hooked = keyboard != nullptr && mouse != nullptr;
  const bool hooked = start->hooked;
  ::SetEvent(start->ready);  // `start` is gone after this
  if (hooked) quencfg::RunMessageLoop();
  if (keyboard) ::UnhookWindowsHookEx(keyboard);
  if (mouse) ::UnhookWindowsHookEx(mouse);
  ::FreeLibraryAndExitThread(selfReference, 0);
}

void StopHookThread() {
  if (!g_thread.handle) return;
  ::PostThreadMessageW(g_thread.id, WM_QUIT, 0, 0);
  ::WaitForSingleObject(g_thread.handle.get(), kThreadWaitMs);
  g_thread = {};
}

bool StartHookThread() {
  if (g_thread.handle) return true;
  quencfg::UniqueKernelHandle ready(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!ready) return false;
  ThreadStart start;
  start.ready = ready.get();
  if (!::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCWSTR>(&HookThread),
                            &start.selfReference)) {
    return false;
  }
  g_thread = quencfg::StartThread(&HookThread, &start);
  if (!g_thread.handle) {
    ::FreeLibrary(start.selfReference);
    return false;
  }
  ::WaitForSingleObject(ready.get(), INFINITE);
  if (!start.hooked) {
    ::WaitForSingleObject(g_thread.handle.get(), kThreadWaitMs);  // it ends on its own
    g_thread = {};
    return false;
  }
  return true;
}

class ThreadLockScope {
 public:
  ThreadLockScope() { ::AcquireSRWLockExclusive(&g_threadLock); }
  ~ThreadLockScope() { ::ReleaseSRWLockExclusive(&g_threadLock); }
  ThreadLockScope(const ThreadLockScope&) = delete;
  ThreadLockScope& operator=(const ThreadLockScope&) = delete;
};

}  // namespace

extern "C" {

// From now on every press and release is reported to `window`.
int __cdecl installhook(HWND window) {
  ThreadLockScope lock;
  g_target.store(window);
  g_enabled.store(true);
  return StartHookThread() ? 1 : 0;
}

// 1 lets the installed hooks report, 0 keeps them quiet.
int __cdecl enablehook(int enable) {
  g_enabled.store(enable != 0);
  return 1;
}

// Ends the reporting and removes the hooks.
int __cdecl removehook() {
  ThreadLockScope lock;
  g_enabled.store(false);
  g_target.store(nullptr);
  StopHookThread();
  return 1;
}

}  // extern "C"

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void*) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_module = instance;
    ::DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}
