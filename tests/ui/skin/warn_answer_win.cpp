#include "ui/skin/warn_answer_win.h"

#include <windows.h>

#include <deque>
#include <utility>

#include "quencfg/ui/skin/warn_dlg_win.h"
#include "support/screenshot_win.h"
#include "ui/skin/control_host_win.h"

namespace quencfg::testing {
namespace {

constexpr UINT kAnswerDelayMs = 30;
// A warning that another thread's message opens may come later: an answer waits for
// it this long before it is given up.
constexpr DWORD kAnswerWaitMs = 5000;
struct PendingAnswer {
  INT_PTR result;
  std::u16string screenshot;
  DWORD armedAt = 0;
};
// Answered in order, one warning each: a warning that an answer opens gets the next.
std::deque<PendingAnswer> g_pending;
std::vector<AskedWarning> g_asked;

void CALLBACK Answer(HWND, UINT, UINT_PTR id, DWORD) {
  ::KillTimer(nullptr, id);
  if (g_pending.empty()) return;
  const PendingAnswer answer = g_pending.front();
  g_pending.pop_front();
  if (!g_pending.empty()) ::SetTimer(nullptr, 0, kAnswerDelayMs, &Answer);
  const BOOL notFound = ::EnumThreadWindows(
      ::GetCurrentThreadId(),
      [](HWND candidate, LPARAM pending) -> BOOL {
        auto* warning = dynamic_cast<CWarnDlg*>(Window::FromHandle(candidate));
        if (warning == nullptr) return TRUE;
        const auto& answer = *reinterpret_cast<const PendingAnswer*>(pending);
        g_asked.push_back(AskedWarning{warning->warningType(), warning->MessageText()});
        if (!answer.screenshot.empty()) {
          ::RedrawWindow(warning->hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
          SaveScreen(answer.screenshot);
        }
        Click(warning->AnswerButton(answer.result));
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&answer));
  if (notFound && ::GetTickCount() - answer.armedAt < kAnswerWaitMs) {
    g_pending.push_front(answer);
    if (g_pending.size() == 1) ::SetTimer(nullptr, 0, kAnswerDelayMs, &Answer);
  }
}

}  // namespace

void AnswerNextWarning(bool confirm) { AnswerNextWarningWith(confirm ? IDOK : IDCANCEL); }

void AnswerNextWarningWith(INT_PTR result, std::u16string screenshot) {
  g_pending.push_back(PendingAnswer{result, std::move(screenshot), ::GetTickCount()});
  if (g_pending.size() == 1) ::SetTimer(nullptr, 0, kAnswerDelayMs, &Answer);
}

std::vector<AskedWarning> TakeAskedWarnings() { return std::exchange(g_asked, {}); }

}  // namespace quencfg::testing
