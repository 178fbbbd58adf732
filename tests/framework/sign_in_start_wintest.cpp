// The Run value of start at sign-in in the test prefix's registry.
#include "quencfg/framework/sign_in_start_win.h"

#include <windows.h>
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "quencfg/framework/sign_in_start.h"
#include "quencfg/framework/wide_win.h"
#include "support/run_value_scope_win.h"

namespace quencfg {
namespace {

TEST(SignInStartValue, ToggleWritesTheCommandOfThisProgramThenRemovesIt) {
  testing::RunValueScope scope;  // starts without the value, restores it afterwards
  EXPECT_FALSE(SignInStartEnabled());

  ASSERT_TRUE(ToggleSignInStart());
  EXPECT_TRUE(SignInStartEnabled());
  wchar_t module[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, module, MAX_PATH);
  EXPECT_EQ(testing::RunValue(), std::optional(SignInCommand(ToU16(module))));

  ASSERT_TRUE(ToggleSignInStart());
  EXPECT_FALSE(SignInStartEnabled());
  EXPECT_EQ(testing::RunValue(), std::nullopt);
  EXPECT_TRUE(DisableSignInStart()) << "removing a value that is not there is no failure";
}

TEST(SignInStartValue, AValueNamingAnotherProgramCountsAsOn) {
  testing::RunValueScope scope;
  ASSERT_TRUE(EnableSignInStart(u"D:\\Elsewhere\\Korvane.exe"));
  EXPECT_TRUE(SignInStartEnabled());
  EXPECT_EQ(testing::RunValue(), std::optional<std::u16string>(u"\"D:\\Elsewhere\\Korvane.exe\" /tray"));
  ASSERT_TRUE(ToggleSignInStart());
  EXPECT_FALSE(SignInStartEnabled()) << "the menu item turns it off";
}

}  // namespace
}  // namespace quencfg
