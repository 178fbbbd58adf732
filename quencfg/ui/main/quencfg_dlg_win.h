#pragma once
// The main window. For now a plain top-level window titled "Korvane" that shows
// itself on UM_SHOWMAIN and ends its modal run when closed.
#include "quencfg/framework/window_win.h"

namespace quencfg {

class CQuencfgDlg : public Window {
 protected:
  bool CreateForModal(HWND owner) override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void Paint();
};

}  // namespace quencfg
