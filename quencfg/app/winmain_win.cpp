#include <windows.h>

#include "quencfg/app/quencfg_app_win.h"
#include "quencfg/framework/sign_in_start.h"
#include "quencfg/framework/wide_win.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR arguments, int) {
  // The one option: the tray switch of a start at sign-in.
  quencfg::CQuencfgApp app(quencfg::StartsInTray(arguments != nullptr ? quencfg::AsU16(arguments) : u""));
  return app.Run();
}
