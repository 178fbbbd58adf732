#include "quencfg/ui/keyassign/dialog_key_filter.h"

#include <gtest/gtest.h>

#include <vector>

namespace quencfg {
namespace {

constexpr std::uint32_t kEnter = 0x0D, kEscape = 0x1B, kSpace = 0x20;

TEST(DialogKeyFilter, TextFieldsKeepTheirEditingButtonsNeverSeeEnterEscapeOrSpace) {
  using A = DialogKeyAction;
  struct Case {
    const char* what;
    DialogKeyDown key;
    DialogKeyAction action;
  };
  const Case cases[] = {
      {"space on a button", {kSpace}, A::kSwallow},
      {"enter on a button", {kEnter}, A::kSwallow},
      {"escape on the dialog", {kEscape}, A::kSwallow},
      {"a letter on a button", {'A'}, A::kDispatch},
      {"space in the name field", {kSpace, false, false, true, true}, A::kDispatch},
      {"escape in the name field", {kEscape, false, false, true, true}, A::kDispatch},
      {"enter in the name field", {kEnter, false, false, true, true}, A::kDispatch},
      {"enter in the delay field", {kEnter, false, false, true, true, true}, A::kApplyDelay},
      {"space in the delay field", {kSpace, false, false, true, true, true}, A::kDispatch},
      {"enter in the pause field", {kEnter, false, false, true, true, false, true}, A::kInsertPause},
      {"a digit in the pause field", {'5', false, false, true, true, false, true}, A::kDispatch},
      {"ctrl+z on the event list", {'Z', true, false, true}, A::kUndo},
      {"ctrl+z in a text field is its own", {'Z', true, false, true, true}, A::kDispatch},
      {"ctrl+z on another page", {'Z', true}, A::kDispatch},
      {"z alone", {'Z', false, false, true}, A::kDispatch},
      {"any key while recording", {'A', false, true, true}, A::kSwallow},
      {"ctrl+z while capturing", {'Z', true, true, true}, A::kSwallow},
      {"space in a field while capturing", {kSpace, false, true, true, true}, A::kSwallow},
  };
  for (const Case& c : cases) EXPECT_EQ(ActionOfKeyDown(c.key), c.action) << c.what;
}

TEST(DialogKeyFilter, TheCapturedKeyNeverReachesTheDialogAfterwards) {
  struct Step {
    bool keyUp;
    std::uint32_t key;
    bool swallowed;
  };
  struct Case {
    const char* what;
    std::vector<Step> steps;
  };
  const Case cases[] = {
      {"down, auto-repeat and up of the key", {{false, 'B', true}, {false, 'B', true}, {true, 'B', true}, {false, 'B', false}}},
      {"a shift let go meanwhile", {{true, 0x10, false}, {false, 'B', true}, {true, 'B', true}}},
      {"another key ends the wait", {{false, 'C', false}, {false, 'B', false}, {true, 'B', false}}},
  };
  for (const Case& c : cases) {
    CapturedKeyLeftover leftover;
    EXPECT_FALSE(leftover.Swallows(false, 'B')) << "nothing captured";
    leftover.Expect('B');
    for (const Step& step : c.steps) EXPECT_EQ(leftover.Swallows(step.keyUp, step.key), step.swallowed) << c.what;
    EXPECT_FALSE(leftover.waiting()) << c.what;
  }
}

}  // namespace
}  // namespace quencfg
