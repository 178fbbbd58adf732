// The window framework on real windows: routing, modal runs, owners of handles.
#include "quencfg/framework/window_win.h"

#include <gtest/gtest.h>

#include "quencfg/framework/gdi_win.h"
#include "quencfg/framework/handle_win.h"
#include "quencfg/framework/thread_win.h"

namespace quencfg {
namespace {

constexpr UINT kPing = WM_APP + 1;
constexpr UINT kFinish = WM_APP + 2;

class ProbeWindow : public Window {
 public:
  int pings = 0;
  bool sawCreate = false;
  bool preTranslated = false;

  bool Make(HWND parent = nullptr) {
    WindowCreateParams params;
    params.className = L"KorvaneTestProbe";
    params.title = L"probe";
    params.style = WS_POPUP;
    params.width = 50;
    params.height = 40;
    params.parent = parent;
    return Create(params);
  }

 protected:
  bool CreateForModal(HWND owner) override { return Make(owner); }
  bool PreTranslateMessage(MSG& msg) override {
    if (msg.message == kPing && msg.wParam == 42) {
      preTranslated = true;
      return true;  // swallowed before dispatch
    }
    return false;
  }
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_CREATE: sawCreate = true; return 0;
      case kPing: ++pings; return 7;
      case kFinish: EndModal(static_cast<INT_PTR>(wParam)); return 0;
      default: return DefaultHandling(message, wParam, lParam);
    }
  }
};

TEST(Window, RoutesMessagesToItsObject) {
  ProbeWindow probe;
  ASSERT_TRUE(probe.Make());
  EXPECT_TRUE(probe.sawCreate);
  EXPECT_EQ(Window::FromHandle(probe.hwnd()), &probe);
  EXPECT_EQ(::SendMessageW(probe.hwnd(), kPing, 0, 0), 7);
  EXPECT_EQ(probe.pings, 1);
  HWND handle = probe.hwnd();
  probe.Destroy();
  EXPECT_FALSE(::IsWindow(handle));
  EXPECT_EQ(probe.hwnd(), nullptr);
}

TEST(Window, DestroyedFromOutsideDetachesTheObject) {
  ProbeWindow probe;
  ASSERT_TRUE(probe.Make());
  ::DestroyWindow(probe.hwnd());
  EXPECT_EQ(probe.hwnd(), nullptr);
}

TEST(Window, ModalRunEndsWithItsResultAndReenablesTheOwner) {
  ProbeWindow owner;
  ASSERT_TRUE(owner.Make());
  ProbeWindow dialog;
  ::PostMessageW(nullptr, 0, 0, 0);  // harmless thread message
  ASSERT_TRUE(dialog.Make(owner.hwnd()));
  ::PostMessageW(dialog.hwnd(), kPing, 42, 0);
  ::PostMessageW(dialog.hwnd(), kPing, 0, 0);
  ::PostMessageW(dialog.hwnd(), kFinish, 5, 0);
  EXPECT_EQ(dialog.DoModal(owner.hwnd()), 5);
  EXPECT_TRUE(dialog.preTranslated);
  EXPECT_EQ(dialog.pings, 1);
  EXPECT_TRUE(::IsWindowEnabled(owner.hwnd()));
}

TEST(Window, ModalRunShowsTheWindowWithItsShowCommand) {
  const struct {
    int showCommand;
    bool visible;
  } cases[] = {{SW_SHOW, true}, {SW_HIDE, false}};
  for (const auto& c : cases) {
    ProbeWindow dialog;
    ASSERT_TRUE(dialog.Make());
    ::PostMessageW(dialog.hwnd(), kFinish, 4, 0);
    EXPECT_EQ(dialog.DoModal(nullptr, c.showCommand), 4);
    EXPECT_EQ(::IsWindowVisible(dialog.hwnd()) != FALSE, c.visible) << "show command " << c.showCommand;
  }
}

TEST(Window, ModalRunLeavesAQuitForTheOuterLoop) {
  ProbeWindow dialog;
  ASSERT_TRUE(dialog.Make());
  ::PostQuitMessage(3);
  EXPECT_EQ(dialog.DoModal(), 0);
  MSG msg{};
  ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 3u);
}

TEST(Window, PostToAGoneWindowFails) {
  ProbeWindow probe;
  ASSERT_TRUE(probe.Make());
  HWND handle = probe.hwnd();
  probe.Destroy();
  EXPECT_FALSE(PostToWindow(handle, kPing));
  EXPECT_FALSE(PostToWindow(nullptr, kPing));
}

TEST(GdiOwners, MoveTransfersOwnershipOnce) {
  OwnedBrush a(::CreateSolidBrush(RGB(1, 2, 3)));
  HBRUSH raw = a.get();
  ASSERT_NE(raw, nullptr);
  OwnedBrush b(std::move(a));
  EXPECT_EQ(a.get(), nullptr);
  EXPECT_EQ(b.get(), raw);
  b.reset();
  EXPECT_EQ(::GetObjectType(raw), 0u) << "deleted exactly when its owner let go";

  HBRUSH stock = static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));
  { GdiObject<HBRUSH, false> borrowed(stock); }
  EXPECT_EQ(::GetObjectType(stock), static_cast<DWORD>(OBJ_BRUSH)) << "a borrowed object is never deleted";
}

TEST(GdiOwners, SelectScopeRestoresThePreviousObject) {
  MemoryDc dc(nullptr);
  ASSERT_NE(dc.get(), nullptr);
  OwnedBitmap bitmap(::CreateCompatibleBitmap(dc.get(), 4, 4));
  HGDIOBJ before = ::GetCurrentObject(dc.get(), OBJ_BITMAP);
  {
    SelectScope select(dc.get(), bitmap.get());
    EXPECT_EQ(::GetCurrentObject(dc.get(), OBJ_BITMAP), bitmap.get());
  }
  EXPECT_EQ(::GetCurrentObject(dc.get(), OBJ_BITMAP), before);
}

DWORD WINAPI PostBack(LPVOID parameter) {
  ::PostThreadMessageW(static_cast<DWORD>(reinterpret_cast<UINT_PTR>(parameter)), kPing, 9, 0);
  return 4;
}

TEST(Threads, StartedThreadRunsAndReturnsItsCode) {
  MSG msg{};
  ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);  // make sure this thread has a queue
  StartedThread thread = StartThread(&PostBack, reinterpret_cast<LPVOID>(UINT_PTR{::GetCurrentThreadId()}), 4096);
  ASSERT_TRUE(thread.handle);
  ASSERT_EQ(::WaitForSingleObject(thread.handle.get(), 10000), WAIT_OBJECT_0);
  DWORD code = 0;
  ::GetExitCodeThread(thread.handle.get(), &code);
  EXPECT_EQ(code, 4u);
  ASSERT_TRUE(::PeekMessageW(&msg, nullptr, kPing, kPing, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 9u);
}

}  // namespace
}  // namespace quencfg
