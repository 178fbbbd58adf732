// The macro page's library operations against a macro folder in a temporary data
// folder: the library is never empty, nothing is lost by a rename, and the slot follows.
#include "quencfg/ui/keyassign/macro_editor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "quencfg/framework/files.h"
#include "quencfg/framework/text.h"
#include "quencfg/model/macro_library.h"
#include "quencfg/ui/keyassign/macro_repeat.h"
#include "support/data_folder_scope.h"

namespace quencfg {
namespace {

MacroFile Stored(std::u16string_view name) {
  MacroFile macro;
  std::memset(&macro, 0, sizeof macro);
  ReadMacro(macro, name);
  return macro;
}

void Store(std::u16string_view name, int repeat, int events) {
  MacroFile macro;
  std::memset(&macro, 0, sizeof macro);
  macro.Repeat = static_cast<std::uint16_t>(repeat);
  CopyToField(macro.MacroName, name);
  for (int i = 0; i < events; ++i) macro.events[i] = MakeMacroEvent(i % 2 == 0, 10 + i, 0x04);
  WriteMacro(macro, name);
}

KeySlot SlotNaming(std::u16string_view name) {
  KeySlot slot;
  std::memset(&slot, 0, sizeof slot);
  CopyToField(slot.MacroName, name);
  return slot;
}

std::vector<std::u16string> Library() {
  std::vector<std::u16string> names;
  ListMacros(names);
  std::sort(names.begin(), names.end());
  return names;
}

class MacroLibraryPage : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(CreateFolder(data_.path() + u"Macros")); }
  testing::DataFolderScope data_;
  MacroEditor editor;
};

TEST_F(MacroLibraryPage, EmptyLibraryGetsMacro1AndTheSlotPlaysIt) {
  editor.LoadMacroLibrary();
  ASSERT_EQ(editor.macroNames(), std::vector<std::u16string>{u"Macro 1"});
  EXPECT_EQ(Stored(u"Macro 1").Repeat, 1);
  KeySlot slot = SlotNaming(u"gone");
  const MacroFields shown = editor.SelectSlotMacro(slot);
  EXPECT_EQ(shown.name, u"Macro 1");
  EXPECT_EQ(shown.repeat, u"1");
  EXPECT_EQ(slot.byBtnFuncType, BTNFUNC_MACRO);
  EXPECT_EQ(FieldText(slot.MacroName), u"Macro 1");
}

TEST_F(MacroLibraryPage, SelectsAndLoadsTheSlotsMacro) {
  Store(u"a", 3, 0);
  Store(u"b", 7, 5);
  editor.LoadMacroLibrary();
  KeySlot slot = SlotNaming(u"b");
  const MacroFields shown = editor.SelectSlotMacro(slot);
  EXPECT_EQ(shown.name, u"b");
  EXPECT_EQ(shown.repeat, u"7");
  EXPECT_EQ(editor.buffer().eventCount, 5);
  MacroFields picked;
  ASSERT_TRUE(editor.PickMacro(editor.macroNames()[0] == u"a" ? 0 : 1, &slot, picked));
  EXPECT_EQ(picked.name, u"a");
  EXPECT_EQ(editor.buffer().eventCount, 0);
  EXPECT_EQ(FieldText(slot.MacroName), u"a");
  EXPECT_FALSE(editor.PickMacro(2, &slot, picked));
}

TEST_F(MacroLibraryPage, NewMacroTakesTheNextFreeNameAndAnEmptyBuffer) {
  Store(u"Macro 1", 3, 4);
  editor.LoadMacroLibrary();
  KeySlot slot = SlotNaming(u"Macro 1");
  editor.SelectSlotMacro(slot);
  const MacroFields shown = editor.NewMacro(&slot);
  EXPECT_EQ(shown.name, u"Macro 2");
  EXPECT_EQ(shown.repeat, u"1");
  EXPECT_EQ(editor.SelectedName(), u"Macro 2");
  EXPECT_EQ(editor.buffer().eventCount, 0);
  EXPECT_EQ(FieldText(slot.MacroName), u"Macro 2");
  EXPECT_EQ(Library(), (std::vector<std::u16string>{u"Macro 1", u"Macro 2"}));
  EXPECT_EQ(Stored(u"Macro 1").Repeat, 3) << "the other macro is untouched";
}

TEST_F(MacroLibraryPage, DeleteKeepsTheLastMacro) {
  editor.LoadMacroLibrary();
  EXPECT_FALSE(editor.DeleteSelectedMacro());
  EXPECT_EQ(Library().size(), 1u);
  editor.NewMacro(nullptr);
  EXPECT_TRUE(editor.DeleteSelectedMacro());
  EXPECT_EQ(Library(), std::vector<std::u16string>{u"Macro 1"});
  EXPECT_EQ(editor.macroNames(), Library());
}

TEST_F(MacroLibraryPage, SaveWritesFieldsAndEvents) {
  Store(u"m", 2, 0);
  editor.LoadMacroLibrary();
  KeySlot slot = SlotNaming(u"m");
  editor.SelectSlotMacro(slot);
  editor.buffer().events[0] = MakeMacroEvent(true, 1, 0x04);
  editor.buffer().eventCount = 1;
  EXPECT_EQ(editor.SaveMacro(u"", u"12", &slot), u"m") << "an empty name field saves under the selected name";
  const MacroFile saved = Stored(u"m");
  EXPECT_EQ(saved.Repeat, 12);
  EXPECT_EQ(saved.events[0], MakeMacroEvent(true, 1, 0x04));
  EXPECT_EQ(FieldText(saved.MacroName), u"m");
}

TEST_F(MacroLibraryPage, RepeatCountIsKeptToItsLimitsWhenSaved) {
  editor.LoadMacroLibrary();
  const std::pair<const char16_t*, int> cases[] = {{u"99999", 65534}, {u"0", 1}, {u"", 1}, {u"65534", 65534}, {u"5", 5}};
  for (const auto& [field, stored] : cases) {
    editor.SaveMacro(u"Macro 1", field, nullptr);
    EXPECT_EQ(Stored(u"Macro 1").Repeat, stored) << Utf16ToUtf8(field);
  }
}

TEST_F(MacroLibraryPage, RenameWritesTheNewFileRemovesTheOldAndTheSlotFollows) {
  Store(u"old", 4, 3);
  editor.LoadMacroLibrary();
  KeySlot slot = SlotNaming(u"old");
  editor.SelectSlotMacro(slot);
  EXPECT_EQ(editor.SaveMacro(u"new", u"4", &slot), u"new");
  EXPECT_EQ(Library(), std::vector<std::u16string>{u"new"});
  EXPECT_EQ(Stored(u"new").events[2], MakeMacroEvent(true, 12, 0x04));
  EXPECT_EQ(FieldText(slot.MacroName), u"new");
  EXPECT_EQ(editor.SelectedName(), u"new");
  // A second save (OK pressed again) starts from the renamed macro.
  EXPECT_EQ(editor.SaveMacro(u"newer", u"4", &slot), u"newer");
  EXPECT_EQ(Library(), std::vector<std::u16string>{u"newer"});
}

TEST_F(MacroLibraryPage, RenameOntoAnotherMacroKeepsBoth) {
  Store(u"a", 4, 3);
  Store(u"b", 9, 1);
  editor.LoadMacroLibrary();
  KeySlot slot = SlotNaming(u"a");
  editor.SelectSlotMacro(slot);
  editor.buffer().eventCount = 0;
  editor.buffer().events.fill(MacroEvent{});
  EXPECT_EQ(editor.SaveMacro(u"b", u"6", &slot), u"a") << "the macro stays under its own name";
  EXPECT_EQ(Library(), (std::vector<std::u16string>{u"a", u"b"}));
  EXPECT_EQ(Stored(u"b").Repeat, 9);
  EXPECT_EQ(Stored(u"b").events[0], MakeMacroEvent(true, 10, 0x04));
  EXPECT_EQ(Stored(u"a").Repeat, 6) << "the edits are saved";
  EXPECT_EQ(Stored(u"a").events[0], MacroEvent{});
  EXPECT_EQ(FieldText(slot.MacroName), u"a");
}

TEST_F(MacroLibraryPage, RenameToANameNoFileCanHaveKeepsTheMacro) {
  Store(u"a", 4, 3);
  editor.LoadMacroLibrary();
  KeySlot slot = SlotNaming(u"a");
  editor.SelectSlotMacro(slot);
  for (const char16_t* bad : {u"x/y", u"..", u"a:b", u"q?"}) {
    EXPECT_EQ(editor.SaveMacro(bad, u"4", &slot), u"a") << Utf16ToUtf8(bad);
    EXPECT_EQ(Library(), std::vector<std::u16string>{u"a"});
    EXPECT_EQ(Stored(u"a").events[2], MakeMacroEvent(true, 12, 0x04));
  }
}

TEST_F(MacroLibraryPage, WithoutAMacroFolderNothingIsWrittenOrLost) {
  testing::DataFolderScope empty;  // no Macros folder
  MacroEditor bare;
  bare.LoadMacroLibrary();
  EXPECT_TRUE(bare.macroNames().empty());
  KeySlot slot = SlotNaming(u"x");
  const MacroFields shown = bare.SelectSlotMacro(slot);
  EXPECT_EQ(shown.name, u"");
  EXPECT_FALSE(bare.DeleteSelectedMacro());
  EXPECT_EQ(bare.SaveMacro(u"y", u"1", &slot), u"y");
  EXPECT_FALSE(PathExists(empty.path() + u"Macros"));
}

TEST(MacroRepeatField, CorrectionAfterTyping) {
  const std::pair<const char16_t*, const char16_t*> cases[] = {
      {u"0", u"1"}, {u"", u"1"}, {u"99999", u"65534"}, {u"65535", u"65534"}, {u"65534", nullptr}, {u"1", nullptr},
      {u"00042", nullptr}};
  for (const auto& [typed, shown] : cases) {
    const auto corrected = CorrectedRepeatText(typed);
    if (shown == nullptr) {
      EXPECT_FALSE(corrected.has_value()) << Utf16ToUtf8(typed);
    } else {
      EXPECT_EQ(corrected.value_or(u"?"), shown) << Utf16ToUtf8(typed);
    }
  }
}

}  // namespace
}  // namespace quencfg
