// The program launcher of CHidWnd: a key bound to a program was pressed.
#include <windows.h>
#include <shellapi.h>

#include "quencfg/device/hid_wnd_win.h"
#include "quencfg/device/program_launch.h"
#include "quencfg/framework/folders.h"
#include "quencfg/framework/system_error.h"
#include "quencfg/framework/wide_win.h"
#include "quencfg/framework/writelog.h"

namespace quencfg {

void CHidWnd::LaunchProgramOfCell(WPARAM cell) {
  // The copy as the last full write loaded it: a changed program counts once applied.
  const ProgramLaunch launch = ResolveProgramLaunch(ProgramOfCell(settings_, cell), AppFolder());
  if (launch.file.empty()) return;
  SHELLEXECUTEINFOW execute{};
  execute.cbSize = sizeof execute;
  // A failure goes to the log: an error box would hold up the device thread, and with it
  // every write, until someone closes it.
  execute.fMask = SEE_MASK_FLAG_NO_UI;
  execute.lpVerb = L"open";
  execute.lpFile = AsWide(launch.file);
  execute.lpParameters = L"";
  execute.lpDirectory = launch.workingFolder.empty() ? nullptr : AsWide(launch.workingFolder);
  execute.nShow = SW_SHOWNORMAL;
  if (!::ShellExecuteExW(&execute)) {
    std::u16string reason = LastSystemErrorMessage();
    while (!reason.empty() && (reason.back() == u'\r' || reason.back() == u'\n' || reason.back() == u' ')) {
      reason.pop_back();
    }
    WriteLogString(u"Launch failed: " + launch.file + u" : " + reason);
  }
  ::Sleep(kPauseAfterLaunchMs);
}

}  // namespace quencfg
