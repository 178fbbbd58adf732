#include "ui/skin/warn_answer_win.h"

#include <windows.h>

#include <deque>
#include <string>
#include <utility>

#include "quencfg/ui/skin/warn_dlg_win.h"
#include "support/process_win.h"
#include "support/screenshot_win.h"
#include "ui/skin/control_host_win.h"

namespace quencfg::testing {
namespace {

constexpr UINT kAnswerDelayMs = 30;
// A warning that another thread's message or a real click through the X server opens
// may come later: such an answer waits for it this long before it is given up. A plain
// answer is for the warning the next step opens on this thread, and is given up at once
// when none is open, so that it never answers a later question.
constexpr DWORD kPatientAnswerWaitMs = 5000;
struct PendingAnswer {
  INT_PTR result;
  std::u16string screenshot;
  bool realClick = false;
  DWORD waitMs = 0;
  DWORD armedAt = 0;
};
// Answered in order, one warning each: a warning that an answer opens gets the next.
std::deque<PendingAnswer> g_pending;
std::vector<AskedWarning> g_asked;
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

void Give(CWarnDlg& warning, const PendingAnswer& answer) {
  ++g_answered;
  g_latestType = warning.warningType();
  g_asked.push_back(AskedWarning{warning.warningType(), warning.MessageText()});
  if (!answer.screenshot.empty()) {
    ::RedrawWindow(warning.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    SaveScreen(answer.screenshot);
  }
  HWND button = warning.AnswerButton(answer.result);
  // A warning without the button asked for (one that only informs has no Cancel) is
  // closed by the system instead.
  if (button == nullptr || !::IsWindowVisible(button)) {
    ::PostMessageW(warning.hwnd(), WM_CLOSE, 0, 0);
  } else if (answer.realClick) {
    ClickThroughTheXServer(button);
  } else {
    Click(button);
  }
}

void CALLBACK Answer(HWND, UINT, UINT_PTR id, DWORD) {
  ::KillTimer(nullptr, id);
  if (g_pending.empty()) return;
  const PendingAnswer answer = g_pending.front();
  g_pending.pop_front();
  if (!g_pending.empty()) ::SetTimer(nullptr, 0, kAnswerDelayMs, &Answer);
  if (CWarnDlg* warning = OpenWarning()) {
    Give(*warning, answer);
  } else if (::GetTickCount() - answer.armedAt < answer.waitMs) {
    g_pending.push_front(answer);
    if (g_pending.size() == 1) ::SetTimer(nullptr, 0, kAnswerDelayMs, &Answer);
  }
}

void Arm(PendingAnswer answer) {
  answer.armedAt = ::GetTickCount();
  g_pending.push_back(std::move(answer));
  if (g_pending.size() == 1) ::SetTimer(nullptr, 0, kAnswerDelayMs, &Answer);
}

}  // namespace

void AnswerNextWarning(bool confirm) { Arm(PendingAnswer{confirm ? IDOK : IDCANCEL, {}, false, 0}); }

void AnswerNextWarningWith(INT_PTR result, std::u16string screenshot) {
  Arm(PendingAnswer{result, std::move(screenshot), false, kPatientAnswerWaitMs});
}

void AnswerNextWarningWithARealClick(bool confirm) {
  Arm(PendingAnswer{confirm ? IDOK : IDCANCEL, {}, true, kPatientAnswerWaitMs});
}

int WarningsAnswered() { return g_answered; }

int LatestAnsweredWarningType() { return g_latestType; }

std::vector<AskedWarning> TakeAskedWarnings() { return std::exchange(g_asked, {}); }

}  // namespace quencfg::testing
