#pragma once
// The warning dialog runs modally: a test answers it as the user would, with a click on
// its OK or Cancel button once it is open.
#include <windows.h>

#include <string>
#include <vector>

namespace quencfg::testing {

// Arms a one-shot timer of this thread that clicks OK (`confirm`) or Cancel of the
// warning dialog open when it fires; call it just before the step that opens one. A
// warning without the button asked for (one that only informs has no Cancel) is
// closed by the system instead, so that a test never hangs on it. The answer is given
// up when no warning is open as the timer fires.
void AnswerNextWarning(bool confirm);
// The same with the button that answers `result` (IDOK, IDCANCEL or an answer of the
// warning's own), waiting a while for a warning that another thread's message opens;
// when `screenshot` names a file, the screen is saved there first. Answers armed one
// after another answer the warnings in the order they open.
void AnswerNextWarningWith(INT_PTR result, std::u16string screenshot = {});
// OK or Cancel with a real click through the X server (xdotool), which the key
// dialog's hook sees as the user's click.
void AnswerNextWarningWithARealClick(bool confirm);

// What the warnings answered so far said, in order: their type and message text.
struct AskedWarning {
  int type = 0;
  std::u16string message;
};
std::vector<AskedWarning> TakeAskedWarnings();

// How many warnings the armed answers found open so far (a running count), and the
// type of the latest one (0: none yet).
int WarningsAnswered();
int LatestAnsweredWarningType();

}  // namespace quencfg::testing
