// The program launcher of CHidWnd: a key bound to a program was pressed.
#include <windows.h>
#include <shellapi.h>

#include "quencfg/device/hid_wnd_win.h"
#include "quencfg/device/program_launch.h"
#include "quencfg/framework/wide_win.h"

namespace quencfg {

void CHidWnd::LaunchProgramOfCell(WPARAM cell) {
  // The copy as the last full write loaded it: a changed program counts once applied.
  const std::u16string program = ProgramOfCell(settings_, cell);
  if (program.empty()) return;
  // Failures (missing file, no association) are not reported.
  ::ShellExecuteW(nullptr, L"open", AsWide(program), L"", nullptr, SW_SHOWNORMAL);
  ::Sleep(kPauseAfterLaunchMs);
}

}  // namespace quencfg
