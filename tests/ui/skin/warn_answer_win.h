#pragma once
// The warning dialog runs modally: a test answers it as the user would, with a click on
// its OK or Cancel button once it is open.
#include <string>
#include <vector>

namespace quencfg::testing {

// Arms a one-shot timer of this thread that clicks OK (`confirm`) or Cancel of the
// warning dialog open when it fires; call it just before the step that opens one.
void AnswerNextWarning(bool confirm);

// What the warnings answered so far said, in order: their type and message text.
struct AskedWarning {
  int type = 0;
  std::u16string message;
};
std::vector<AskedWarning> TakeAskedWarnings();

}  // namespace quencfg::testing
