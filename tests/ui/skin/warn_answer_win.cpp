#include "ui/skin/warn_answer_win.h"

#include <windows.h>

#include <string>
#include <utility>

#include "quencfg/ui/skin/warn_dlg_win.h"
#include "support/process_win.h"
#include "ui/skin/control_host_win.h"

namespace quencfg::testing {
namespace {

constexpr UINT kAnswerDelayMs = 30;
constexpr DWORD kRealClickWaitMs = 5000;
bool g_confirm = true;
std::vector<AskedWarning> g_asked;
bool g_realClick = false;
DWORD g_armedAt = 0;
int g_answered = 0;
int g_latestType = 0;

// The warning open on this thread, or null.
CWarnDlg* OpenWarning() {
  CWarnDlg* found = nullptr;
  ::EnumThreadWindows(
      ::GetCurrentThreadId(),
      [](HWND candidate, LPARAM parameter) -> BOOL {
        auto* warning = dynamic_cast<CWarnDlg*>(Window::FromHandle(candidate));
        if (warning == nullptr) return TRUE;
        *reinterpret_cast<CWarnDlg**>(parameter) = warning;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

void ClickThroughTheXServer(HWND button) {
  RECT place{};
  ::GetWindowRect(button, &place);
  const std::wstring at =
      std::to_wstring((place.left + place.right) / 2) + L" " + std::to_wstring((place.top + place.bottom) / 2);
  StartXdotool(L"mousemove " + at + L" click 1");
}

void CALLBACK Answer(HWND, UINT, UINT_PTR id, DWORD) {
  CWarnDlg* warning = OpenWarning();
  // A real click opens its warning only once the X server has delivered it: wait a while.
  if (warning == nullptr && g_realClick && ::GetTickCount() - g_armedAt < kRealClickWaitMs) return;
  ::KillTimer(nullptr, id);
  if (warning == nullptr) return;
  ++g_answered;
  g_latestType = warning->warningType();
  g_asked.push_back(AskedWarning{warning->warningType(), warning->MessageText()});
  HWND button = g_confirm ? warning->okButton().hwnd() : warning->cancelButton().hwnd();
  if (button == nullptr || !::IsWindowVisible(button)) {
    ::PostMessageW(warning->hwnd(), WM_CLOSE, 0, 0);
  } else if (g_realClick) {
    ClickThroughTheXServer(button);
  } else {
    Click(button);
  }
}

void Arm(bool confirm, bool realClick) {
  g_confirm = confirm;
  g_realClick = realClick;
  g_armedAt = ::GetTickCount();
  ::SetTimer(nullptr, 0, kAnswerDelayMs, &Answer);
}

}  // namespace

void AnswerNextWarning(bool confirm) { Arm(confirm, false); }

void AnswerNextWarningWithARealClick(bool confirm) { Arm(confirm, true); }

int WarningsAnswered() { return g_answered; }

int LatestAnsweredWarningType() { return g_latestType; }

std::vector<AskedWarning> TakeAskedWarnings() { return std::exchange(g_asked, {}); }

}  // namespace quencfg::testing
