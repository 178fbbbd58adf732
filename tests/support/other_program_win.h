#pragma once
// Another program on the same desktop: Wine's notepad, a top-level window of another
// process, placed beside the windows under test. A test clicks into it and types there
// with real input, as a user switching programs does, and reads back what it got.
#include <windows.h>

#include <string>

#include "support/process_win.h"

namespace quencfg::testing {

class OtherProgram {
 public:
  OtherProgram();
  // Waits for its window and moves it to the lower right of the screen, clear of the
  // windows under test. False when it did not come up.
  bool Open();
  [[nodiscard]] HWND window() const noexcept { return window_; }
  // The screen point in its text area that a click into it aims at, as xdotool's
  // "x y" arguments.
  [[nodiscard]] std::wstring TextAreaPoint() const;
  // The text typed into it so far.
  [[nodiscard]] std::wstring Text() const;

 private:
  ChildProcess process_;
  HWND window_ = nullptr;
  HWND edit_ = nullptr;
};

}  // namespace quencfg::testing
