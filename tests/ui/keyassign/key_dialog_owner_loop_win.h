#pragma once
// The main window's message loop while its key assignment dialog is open, for tests that
// drive the real dialog: what arrives is dispatched with the dialog's key filter first.
#include <windows.h>

#include <functional>
#include <utility>

#include "quencfg/ui/keyassign/key_assignment_dlg_win.h"

namespace quencfg::testing {

class KeyDialogOwnerLoop {
 public:
  // `observe`, when given, sees every message before the filter does.
  explicit KeyDialogOwnerLoop(CKeyAssignmentDlg& dialog, std::function<void(const MSG&)> observe = {})
      : dialog_(dialog), observe_(std::move(observe)) {}

  // Dispatches until `done` or the time is up.
  template <typename Done>
  void PumpUntil(Done done, DWORD milliseconds) {
    const DWORD start = ::GetTickCount();
    while (!done() && ::GetTickCount() - start < milliseconds) {
      MSG message;
      while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (observe_) observe_(message);
        if (dialog_.IsFor(message) && dialog_.FilterBeforeDispatch(message)) continue;
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
      }
      ::Sleep(5);
    }
  }
  void PumpFor(DWORD milliseconds) {
    PumpUntil([] { return false; }, milliseconds);
  }
  // Activation goes through the X server; keys sent before it ends go elsewhere.
  bool BringDialogToFront() {
    ::SetForegroundWindow(dialog_.hwnd());
    PumpUntil([this] { return ::GetForegroundWindow() == dialog_.hwnd(); }, 5000);
    PumpFor(100);
    return ::GetForegroundWindow() == dialog_.hwnd();
  }

 private:
  CKeyAssignmentDlg& dialog_;
  std::function<void(const MSG&)> observe_;
};

}  // namespace quencfg::testing
