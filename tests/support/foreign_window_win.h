#pragma once
// A window of another program that carries one of the program's window titles, as an
// Explorer window open on a folder called Korvane does. It stands on top of the other
// top-level windows, where a search by title alone finds it first, and it records the
// messages the program's own windows exchange, so that a test can show it got none.
#include <windows.h>

#include <vector>

#include "quencfg/framework/window_win.h"

namespace quencfg::testing {

class ForeignWindow : public Window {
 public:
  // Hidden; the class name defaults to that of Explorer's folder windows.
  explicit ForeignWindow(const char16_t* title, const wchar_t* className = L"CabinetWClass");

  // The program's messages that reached it (its own, closing, commands, showing).
  std::vector<UINT> received;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

}  // namespace quencfg::testing
