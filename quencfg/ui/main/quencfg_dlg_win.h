#pragma once
// The main window. For now a plain top-level window titled "Korvane" that shows
// itself on UM_SHOWMAIN and ends its modal run when closed.
#include <functional>
#include <utility>

#include "quencfg/framework/window_win.h"

namespace quencfg {

class CQuencfgDlg : public Window {
 public:
  // `onHelp` runs the application's help command (F1 or the help command ID).
  explicit CQuencfgDlg(std::function<void()> onHelp = {}) : onHelp_(std::move(onHelp)) {}

 protected:
  bool CreateForModal(HWND owner) override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void Paint();

  std::function<void()> onHelp_;
};

}  // namespace quencfg
