#include "quencfg/framework/sign_in_start.h"

#include <gtest/gtest.h>

namespace quencfg {
namespace {

TEST(SignInStart, CommandQuotesThePathAndAddsTheTraySwitch) {
  EXPECT_EQ(SignInCommand(u"C:\\Program Files\\Korvane\\Korvane.exe"),
            u"\"C:\\Program Files\\Korvane\\Korvane.exe\" /tray");
}

TEST(SignInStart, TraySwitchAmongTheArguments) {
  const struct {
    std::u16string_view arguments;
    bool hidden;
  } cases[] = {
      {u"", false},
      {u"/tray", true},
      {u"/TRAY", true},
      {u"-Tray", true},
      {u"\"/tray\"", true},
      {u"  /tray  ", true},
      {u"/other /tray", true},
      {u"/tray2", false},
      {u"/tra", false},
      {u"tray", false},
      {u"//tray", false},
      {u"\"C:\\My /tray folder\\x.profile\"", false},  // inside a quoted argument
      {u"/tray\t/other", true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(StartsInTray(c.arguments), c.hidden) << std::string(c.arguments.begin(), c.arguments.end());
  }
}

TEST(SignInStart, InstallerChoiceKeepsWhatTheUserHasOnAnUpgrade) {
  const struct {
    std::u16string_view property;
    bool upgrading;
    bool runValuePresent;
    bool installs;
  } cases[] = {
      {u"", false, false, true},   // a new install: on by default
      {u"0", false, false, false}, // STARTATSIGNIN=0
      {u"1", false, false, true},
      {u"", true, false, false},   // upgrade: the user had turned it off
      {u"", true, true, true},     // upgrade: the user has it on
      {u"1", true, false, true},   // a given value wins over the kept one
      {u"0", true, true, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(InstallsSignInStart(c.property, c.upgrading, c.runValuePresent), c.installs)
        << "property '" << std::string(c.property.begin(), c.property.end()) << "' upgrading " << c.upgrading
        << " value " << c.runValuePresent;
  }
}

}  // namespace
}  // namespace quencfg
