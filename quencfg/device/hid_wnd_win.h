#pragma once
// The device thread and its hidden window "Korvane_Hid".
#include <windows.h>

#include "quencfg/framework/window_win.h"

namespace quencfg {

class CHidWnd : public Window {
 public:
  bool CreateHidden();

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// The device thread's entry: creates the device window and runs its message loop
// until the process ends.
DWORD WINAPI DeviceThreadMain(LPVOID parameter);

}  // namespace quencfg
