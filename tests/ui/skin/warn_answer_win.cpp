#include "ui/skin/warn_answer_win.h"

#include <windows.h>

#include "quencfg/ui/skin/warn_dlg_win.h"
#include "ui/skin/control_host_win.h"

namespace quencfg::testing {
namespace {

constexpr UINT kAnswerDelayMs = 30;
bool g_confirm = true;

void CALLBACK Answer(HWND, UINT, UINT_PTR id, DWORD) {
  ::KillTimer(nullptr, id);
  ::EnumThreadWindows(
      ::GetCurrentThreadId(),
      [](HWND candidate, LPARAM) -> BOOL {
        auto* warning = dynamic_cast<CWarnDlg*>(Window::FromHandle(candidate));
        if (warning == nullptr) return TRUE;
        Click(g_confirm ? warning->okButton().hwnd() : warning->cancelButton().hwnd());
        return FALSE;
      },
      0);
}

}  // namespace

void AnswerNextWarning(bool confirm) {
  g_confirm = confirm;
  ::SetTimer(nullptr, 0, kAnswerDelayMs, &Answer);
}

}  // namespace quencfg::testing
