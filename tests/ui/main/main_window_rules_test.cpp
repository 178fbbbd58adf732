#include "quencfg/ui/main/main_window_rules.h"

#include <gtest/gtest.h>

#include <string>

#include "quencfg/framework/paths.h"
#include "quencfg/model/settings_block.h"

namespace quencfg {
namespace {

TEST(MainWindowRules, KeysCarryingAnAssignmentAreMarked) {
  const struct {
    std::int32_t function;
    bool marked;
  } cases[] = {{BTNFUNC_DEFAULT, false}, {BTNFUNC_DISABLE, false}, {466, false}, {BTNFUNC_KEY, true},
               {BTNFUNC_LAUNCH, true},   {BTNFUNC_MACRO, true},    {-1, false},  {513, false}};
  for (const auto& c : cases) EXPECT_EQ(SlotShowsAssignment(c.function), c.marked) << c.function;
}

TEST(MainWindowRules, DragStripIsTheTopBandWithRightAndBottomExcluded) {
  const struct {
    int x, y;
    bool inside;
  } cases[] = {{0, 0, true},    {1199, 47, true},  {1200, 10, false}, {10, 48, false},
               {-1, 10, false}, {10, -1, false},   {600, 20, true}};
  for (const auto& c : cases) EXPECT_EQ(InDragStrip(c.x, c.y), c.inside) << c.x << "," << c.y;
}

TEST(MainWindowRules, DragStripScalesWithTheDpi) {
  const struct {
    int dpi, x, y;
    bool inside;
  } cases[] = {{96, 1199, 47, true},   {96, 1250, 60, false},  {144, 1799, 71, true}, {144, 1800, 10, false},
               {144, 10, 72, false},   {192, 2399, 95, true},  {192, 2400, 10, false}, {192, 10, 96, false},
               {120, 1499, 59, true},  {120, 1500, 59, false}};
  for (const auto& c : cases) EXPECT_EQ(InDragStrip(c.x, c.y, c.dpi), c.inside) << c.dpi << ": " << c.x << "," << c.y;
}

TEST(MainWindowRules, AnImportMakesOnlyTheNextApplyWriteTheLighting) {
  bool importPending = false;
  EXPECT_EQ(TakeApplyWriteKind(false, importPending), 0);
  EXPECT_EQ(TakeApplyWriteKind(true, importPending), 1);
  importPending = true;
  EXPECT_EQ(TakeApplyWriteKind(false, importPending), 1);
  EXPECT_FALSE(importPending);
  EXPECT_EQ(TakeApplyWriteKind(false, importPending), 0);
}

// Whether the keyboard holds the profile's lighting already is the device thread's to
// know: the main window asks for the lighting only when the user shows it or imported.
TEST(MainWindowRules, AnApplyAsksForTheLightingWhenShownOrImported) {
  const struct {
    bool panelVisible, importPending;
    int writeKind;
  } cases[] = {{false, false, 0}, {true, false, 1}, {false, true, 1}, {true, true, 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "panel " << c.panelVisible << ", import " << c.importPending);
    bool importPending = c.importPending;
    EXPECT_EQ(TakeApplyWriteKind(c.panelVisible, importPending), c.writeKind);
    EXPECT_FALSE(importPending) << "every apply takes the import";
  }
}

std::u16string KeyInBrackets(std::u16string_view key) {
  std::u16string text(u"[");
  text += key;
  text += u"]";
  return text;
}

TEST(MainWindowRules, AFailedSaveNamesTheFileWhyAndThatTheKeyboardWasNotChanged) {
  const std::u16string path = NativeRelativePath(u"C:\\Users\\me\\Korvane\\Profiles\\Profile 2.profile");
  const struct {
    FileWriteStatus status;
    std::u16string reason;
  } cases[] = {
      {FileWriteStatus::kReadOnly, u"[SAVE_FAILED_READONLY]"},
      {FileWriteStatus::kInUse, u"[SAVE_FAILED_IN_USE]"},
      {FileWriteStatus::kDiskFull, u"[SAVE_FAILED_DISK_FULL]"},
      {FileWriteStatus::kFailed, u"[SAVE_FAILED]"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SaveFailureMessage(path, c.status, &KeyInBrackets),
              u"Profile 2.profile\n" + c.reason + u"\n[SAVE_FAILED_KEYBOARD]");
  }
}

TEST(MainWindowRules, OnlyTheKnownLanguageNumbersAreLanguages) {
  for (int command : {101, 106, 108, 110, 111}) EXPECT_EQ(MenuCommandLanguage(command), command);
  for (int command : {0, 100, 102, 107, 109, 112, 131, kImportCommand, kExportCommand})
    EXPECT_FALSE(MenuCommandLanguage(command).has_value()) << command;
}

TEST(MainWindowRules, TheSettingsMenuChecksTheLanguageInUseAndStartAtSignIn) {
  const struct {
    int command;
    std::uint8_t language;
    bool signInStart;
    bool checked;
  } cases[] = {
      {101, 101, false, true},   {106, 101, false, false}, {108, 108, true, true},
      {106, 106, false, true},   {110, 110, false, true},  {101, 108, false, false},
      {kImportCommand, 101, true, false}, {kExportCommand, 101, true, false},
      {kStartWithWindowsCommand, 101, true, true}, {kStartWithWindowsCommand, 101, false, false},
      {4242, 101, true, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SettingsMenuItemChecked(c.command, c.language, c.signInStart), c.checked)
        << c.command << " with language " << int{c.language};
  }
}

TEST(MainWindowRules, EachKeyboardStateHasItsText) {
  EXPECT_EQ(KeyboardStatusKey(KeyboardState::Absent), u"KEYBOARD_ABSENT");
  EXPECT_EQ(KeyboardStatusKey(KeyboardState::Connected), u"KEYBOARD_CONNECTED");
  EXPECT_EQ(KeyboardStatusKey(KeyboardState::Writing), u"KEYBOARD_WRITING");
  EXPECT_EQ(KeyboardStatusKey(KeyboardState::ChangesWaiting), u"KEYBOARD_CHANGES_WAITING");
  EXPECT_EQ(KeyboardStatusKey(static_cast<KeyboardState>(9)), u"KEYBOARD_ABSENT");
}

}  // namespace
}  // namespace quencfg
