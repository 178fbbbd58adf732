#include "ui/skin/warn_answer_win.h"

#include <windows.h>

#include <utility>

#include "quencfg/ui/skin/warn_dlg_win.h"
#include "ui/skin/control_host_win.h"

namespace quencfg::testing {
namespace {

constexpr UINT kAnswerDelayMs = 30;
bool g_confirm = true;
std::vector<AskedWarning> g_asked;

void CALLBACK Answer(HWND, UINT, UINT_PTR id, DWORD) {
  ::KillTimer(nullptr, id);
  ::EnumThreadWindows(
      ::GetCurrentThreadId(),
      [](HWND candidate, LPARAM) -> BOOL {
        auto* warning = dynamic_cast<CWarnDlg*>(Window::FromHandle(candidate));
        if (warning == nullptr) return TRUE;
        g_asked.push_back(AskedWarning{warning->warningType(), warning->MessageText()});
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

std::vector<AskedWarning> TakeAskedWarnings() { return std::exchange(g_asked, {}); }

}  // namespace quencfg::testing
