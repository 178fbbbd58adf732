#include <windows.h>

#include "quencfg/app/quencfg_app_win.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // The system takes no command-line options.
  quencfg::CQuencfgApp app;
  return app.Run();
}
