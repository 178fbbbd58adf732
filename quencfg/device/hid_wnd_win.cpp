#include "quencfg/device/hid_wnd_win.h"

#include "quencfg/app/messages.h"
#include "quencfg/app/window_refs_win.h"
#include "quencfg/framework/thread_win.h"
#include "quencfg/framework/wide_win.h"

namespace quencfg {

bool CHidWnd::CreateHidden() {
  WindowCreateParams params;
  params.className = L"KorvaneDeviceWindow";
  params.title = AsWide(kDeviceWindowTitle);
  params.style = WS_POPUP;
  params.x = 1;
  params.y = 1;
  params.width = 1;
  params.height = 1;
  return Create(params);
}

LRESULT CHidWnd::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefaultHandling(message, wParam, lParam);
}

DWORD WINAPI DeviceThreadMain(LPVOID) {
  // The window lives as long as the process: the thread is never joined and ends
  // with it, so the object is deliberately not destroyed at static shutdown.
  auto* window = new CHidWnd;
  SetDeviceWindow(window);
  if (!window->CreateHidden()) return 1;
  return static_cast<DWORD>(RunMessageLoop());
}

}  // namespace quencfg
