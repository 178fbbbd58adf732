// The macro editor's edits of the event buffer: each edit of a table is checked against
// the buffer it leaves and the bytes of the macro file saved from it, and undone again;
// the 80-event limit at each insert; pairs of press and release kept whole.
#include "quencfg/ui/keyassign/macro_event_editor.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "quencfg/framework/files.h"
#include "quencfg/framework/text.h"
#include "quencfg/model/macro_library.h"
#include "quencfg/ui/keyassign/macro_editor.h"
#include "support/data_folder_scope.h"
#include "support/macro_file_text.h"

namespace quencfg {
namespace {

constexpr std::uint8_t kA = 0x04, kB = 0x05, kC = 0x06, kX = 0x1B;

MacroEvent Press(int delay, std::uint8_t map) { return MakeMacroEvent(true, delay, map); }
MacroEvent Release(int delay, std::uint8_t map) { return MakeMacroEvent(false, delay, map); }

// A held, B typed inside it, A let go, then a right click.
const std::vector<MacroEvent> kStart = {Press(100, kA),   Press(50, kB),    Release(60, kB),
                                        Release(70, kA),  Press(5, 0xB8),   Release(9, 0xB8)};

MacroBuffer BufferOf(const std::vector<MacroEvent>& events) {
  MacroBuffer buffer;
  for (std::size_t i = 0; i < events.size(); ++i) buffer.events[i] = events[i];
  buffer.eventCount = static_cast<int>(events.size());
  return buffer;
}

std::vector<MacroEvent> InUse(const MacroBuffer& buffer) {
  return std::vector<MacroEvent>(buffer.events.begin(), buffer.events.begin() + buffer.eventCount);
}

std::vector<MacroEvent> With(std::vector<MacroEvent> events, std::size_t at, MacroEvent event) {
  events[at] = event;
  return events;
}

std::vector<MacroEvent> Without(std::vector<MacroEvent> events, std::vector<std::size_t> rowsHighestFirst) {
  for (std::size_t row : rowsHighestFirst) events.erase(events.begin() + static_cast<std::ptrdiff_t>(row));
  return events;
}

std::vector<MacroEvent> Inserted(std::vector<MacroEvent> events, std::size_t at, std::uint8_t map) {
  events.insert(events.begin() + static_cast<std::ptrdiff_t>(at), {Press(20, map), Release(20, map)});
  return events;
}

struct EditCase {
  const char* name;
  std::function<EventEditOutcome(MacroEventEditor&)> edit;
  EventEditStatus status;
  int selected;
  std::vector<MacroEvent> expected;
};

std::vector<EditCase> EditCases() {
  using S = EventEditStatus;
  return {
      {"delay edited", [](auto& e) { return e.SetDelay(1, u"250"); }, S::kDone, 1, With(kStart, 1, Press(250, kB))},
      {"delay with spaces", [](auto& e) { return e.SetDelay(2, u" 7 "); }, S::kDone, 2, With(kStart, 2, Release(7, kB))},
      {"delay above the range", [](auto& e) { return e.SetDelay(0, u"40000"); }, S::kDone, 0,
       With(kStart, 0, MacroEvent{0xFF, 0xFF, kA})},
      {"delay of a release above the range", [](auto& e) { return e.SetDelay(3, u"99999999999"); }, S::kDone, 3,
       With(kStart, 3, MacroEvent{0x7F, 0xFF, kA})},
      {"delay below the range", [](auto& e) { return e.SetDelay(4, u"0"); }, S::kDone, 4,
       With(kStart, 4, Press(1, 0xB8))},
      {"negative delay", [](auto& e) { return e.SetDelay(4, u"-30"); }, S::kDone, 4, With(kStart, 4, Press(1, 0xB8))},
      {"delay not a number", [](auto& e) { return e.SetDelay(1, u"12ms"); }, S::kNotANumber, 1, kStart},
      {"delay empty", [](auto& e) { return e.SetDelay(1, u""); }, S::kNotANumber, 1, kStart},
      {"delay without a row", [](auto& e) { return e.SetDelay(kNoRow, u"5"); }, S::kNothingSelected, kNoRow, kStart},
      {"pause waits before the next event", [](auto& e) { return e.InsertPause(0, u"300"); }, S::kDone, 1,
       With(kStart, 1, Press(350, kB))},
      {"pause kept to the range", [](auto& e) { return e.InsertPause(2, u"32760"); }, S::kDone, 3,
       With(kStart, 3, Release(32767, kA))},
      {"pause after the last row", [](auto& e) { return e.InsertPause(5, u"300"); }, S::kNoEventAfterPause, 5,
       kStart},
      {"pause at the end", [](auto& e) { return e.InsertPause(kNoRow, u"300"); }, S::kNoEventAfterPause, kNoRow,
       kStart},
      {"pause not a number", [](auto& e) { return e.InsertPause(0, u"x"); }, S::kNotANumber, 0, kStart},
      {"key pair after a row", [](auto& e) { return e.InsertKeyPair(1, kC); }, S::kDone, 2, Inserted(kStart, 2, kC)},
      {"key pair at the end", [](auto& e) { return e.InsertKeyPair(kNoRow, kC); }, S::kDone, 6,
       Inserted(kStart, 6, kC)},
      {"key of a press and its release", [](auto& e) { return e.ChangeKey(0, kX); }, S::kDone, 0,
       With(With(kStart, 0, Press(100, kX)), 3, Release(70, kX))},
      {"key of a release and its press", [](auto& e) { return e.ChangeKey(2, kX); }, S::kDone, 2,
       With(With(kStart, 1, Press(50, kX)), 2, Release(60, kX))},
      {"mouse button becomes a key", [](auto& e) { return e.ChangeKey(5, kX); }, S::kDone, 5,
       With(With(kStart, 4, Press(5, kX)), 5, Release(9, kX))},
      {"delete a release with its press", [](auto& e) { return e.Delete(3); }, S::kDone, 0, Without(kStart, {3, 0})},
      {"delete a press with its release", [](auto& e) { return e.Delete(1); }, S::kDone, 1, Without(kStart, {2, 1})},
      {"delete the last pair", [](auto& e) { return e.Delete(5); }, S::kDone, 3, Without(kStart, {5, 4})},
  };
}

class MacroEventEditorTable : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(CreateFolder(data_.path() + u"Macros")); }
  // The macro "m" with the start events, loaded in a fresh editor.
  void LoadStart(MacroEditor& editor) {
    MacroFile macro;
    std::memset(&macro, 0, sizeof macro);
    macro.Repeat = 2;
    CopyToField(macro.MacroName, u"m");
    for (std::size_t i = 0; i < kStart.size(); ++i) macro.events[i] = kStart[i];
    WriteMacro(macro, u"m");
    editor.LoadMacroLibrary();
    KeySlot slot;
    std::memset(&slot, 0, sizeof slot);
    CopyToField(slot.MacroName, u"m");
    editor.SelectSlotMacro(slot);
  }
  static std::string ExpectedFile(const std::vector<MacroEvent>& events) {
    MacroFile macro;
    std::memset(&macro, 0, sizeof macro);
    macro.Repeat = 2;
    CopyToField(macro.MacroName, u"m");
    for (std::size_t i = 0; i < events.size(); ++i) macro.events[i] = events[i];
    return testing::Utf16FileBytes(testing::MacroFileText(macro));
  }
  testing::DataFolderScope data_;
};

TEST_F(MacroEventEditorTable, EachEditChangesBufferAndFileAndIsUndone) {
  for (const EditCase& c : EditCases()) {
    SCOPED_TRACE(c.name);
    MacroEditor editor;
    LoadStart(editor);
    MacroEventEditor& events = editor.events();
    ASSERT_EQ(InUse(events.buffer()), kStart);
    const EventEditOutcome outcome = c.edit(events);
    EXPECT_EQ(outcome.status, c.status);
    EXPECT_EQ(outcome.selected, c.selected);
    EXPECT_EQ(InUse(events.buffer()), c.expected);
    EXPECT_EQ(CountEventsInUse(events.buffer().events), events.buffer().eventCount);
    const bool changed = c.expected != kStart;
    EXPECT_EQ(editor.HasUnsavedEdits(u"m", u"2"), changed);
    EXPECT_EQ(events.undoSteps(), changed ? 1 : 0) << "an edit that changes nothing is no step";

    editor.SaveMacro(u"m", u"2", nullptr);
    EXPECT_EQ(ReadWholeFile(MacroPath(u"m")).value_or(""), ExpectedFile(c.expected));
    EXPECT_FALSE(editor.HasUnsavedEdits(u"m", u"2"));

    EXPECT_EQ(events.Undo(), changed);
    EXPECT_EQ(InUse(events.buffer()), kStart);
    EXPECT_EQ(CountEventsInUse(events.buffer().events), static_cast<int>(kStart.size()));
    EXPECT_EQ(editor.HasUnsavedEdits(u"m", u"2"), changed) << "the undone edit was saved";
  }
}

TEST(MacroEventEditor, EveryInsertStopsAtEightyEvents) {
  struct Case {
    int loaded;
    EventEditStatus pair;
  };
  for (const Case c : {Case{0, EventEditStatus::kDone}, Case{77, EventEditStatus::kDone},
                       Case{78, EventEditStatus::kDone}, Case{79, EventEditStatus::kFull},
                       Case{80, EventEditStatus::kFull}}) {
    std::vector<MacroEvent> loaded;
    for (int i = 0; i < c.loaded; ++i) loaded.push_back(MakeMacroEvent(i % 2 == 0, 10, kA));
    for (int afterRow : {kNoRow, 0}) {
      MacroEventEditor editor;
      editor.Load(BufferOf(loaded));
      EXPECT_EQ(editor.InsertKeyPair(afterRow, kC).status, c.pair) << c.loaded;
      const int expected = c.pair == EventEditStatus::kDone ? c.loaded + 2 : c.loaded;
      EXPECT_EQ(editor.used(), expected) << c.loaded;
      EXPECT_EQ(CountEventsInUse(editor.buffer().events), expected) << c.loaded;
      // A pause adds no event, so it fits in a full macro too.
      if (c.loaded >= 2) {
        EXPECT_EQ(editor.InsertPause(0, u"5").status, EventEditStatus::kDone) << c.loaded;
      }
      EXPECT_EQ(editor.used(), expected);
    }
  }
}

TEST(MacroEventEditor, PartnersAreMatchedInnermostFirst) {
  // A pressed twice (the keyboard sees nesting), B released without a press.
  const MacroBuffer buffer =
      BufferOf({Press(1, kA), Press(1, kA), Release(1, kB), Release(1, kA), Release(1, kA), Press(1, kC)});
  const int partners[] = {4, 3, kNoRow, 1, 0, kNoRow};
  for (int row = 0; row < 6; ++row) EXPECT_EQ(PartnerOf(buffer, row), partners[row]) << row;
  EXPECT_EQ(PartnerOf(buffer, 6), kNoRow);
  EXPECT_EQ(PartnerOf(buffer, kNoRow), kNoRow);

  // An event without a partner is deleted alone, as before.
  MacroEventEditor editor;
  editor.Load(buffer);
  const EventEditOutcome deleted = editor.Delete(2);
  EXPECT_EQ(deleted.partner, kNoRow);
  EXPECT_EQ(InUse(editor.buffer()), (std::vector<MacroEvent>{Press(1, kA), Press(1, kA), Release(1, kA),
                                                             Release(1, kA), Press(1, kC)}));
  EXPECT_EQ(editor.ChangeKey(4, kX).partner, kNoRow);
  EXPECT_EQ(editor.buffer().events[4], Press(1, kX));
}

TEST(MacroEventEditor, MovementRowsHaveNoKeyToChange) {
  MacroEventEditor editor;
  editor.Load(BufferOf({MakeMacroEvent(false, 25, kMacroMoveXMinus)}));
  EXPECT_EQ(editor.ChangeKey(0, kA).status, EventEditStatus::kNotAKey);
  EXPECT_EQ(editor.buffer().events[0].map, kMacroMoveXMinus);
  EXPECT_EQ(editor.undoSteps(), 0);
}

TEST(MacroEventEditor, UndoGoesBackStepByStepAndKeepsTheLatestSteps) {
  MacroEventEditor editor;
  editor.Load(BufferOf(kStart));
  std::vector<MacroBuffer> states = {editor.buffer()};
  for (int i = 0; i < 12; ++i) {
    if (i % 3 == 0) editor.SetDelay(i % 6, FormatDecimal(500 + i));
    if (i % 3 == 1) editor.InsertKeyPair(0, static_cast<std::uint8_t>(0x10 + i));
    if (i % 3 == 2) editor.Move(EventEdit::kDown, 0);
    states.push_back(editor.buffer());
  }
  EXPECT_EQ(editor.undoSteps(), 12);
  for (int i = 11; i >= 0; --i) {
    ASSERT_TRUE(editor.Undo()) << i;
    EXPECT_EQ(InUse(editor.buffer()), InUse(states[static_cast<std::size_t>(i)])) << i;
  }
  EXPECT_FALSE(editor.Undo());
  EXPECT_FALSE(editor.HasUnsavedEdits());

  for (int i = 0; i < kUndoSteps + 8; ++i) editor.SetDelay(0, FormatDecimal(1000 + i));
  int undone = 0;
  while (editor.Undo()) ++undone;
  EXPECT_EQ(undone, kUndoSteps);
  EXPECT_EQ(EventValue(editor.buffer().events[0]), 1007) << "the oldest steps went";
}

TEST(MacroEventEditor, ARecordingRunIsOneStepAndLoadingDropsTheSteps) {
  MacroEventEditor editor;
  editor.Load(BufferOf({Press(1, kA)}));
  editor.BeginOutsideChange();
  editor.buffer().events[1] = Release(30, kA);
  editor.buffer().events[2] = Press(30, kB);
  editor.buffer().eventCount = 3;
  editor.EndOutsideChange();
  EXPECT_EQ(editor.undoSteps(), 1);
  EXPECT_TRUE(editor.HasUnsavedEdits());
  editor.BeginOutsideChange();
  editor.EndOutsideChange();  // a run that stored nothing
  EXPECT_EQ(editor.undoSteps(), 1);
  editor.MarkSaved();
  EXPECT_FALSE(editor.HasUnsavedEdits());
  ASSERT_TRUE(editor.Undo());
  EXPECT_EQ(InUse(editor.buffer()), std::vector<MacroEvent>{Press(1, kA)});
  EXPECT_EQ(editor.buffer().events[1], MacroEvent{});
  EXPECT_TRUE(editor.HasUnsavedEdits());
  editor.Clear();
  editor.Load(BufferOf({}));
  EXPECT_EQ(editor.undoSteps(), 0);
  EXPECT_FALSE(editor.HasUnsavedEdits());
}

// A macro loaded while a recorder run is under way (another macro picked, a new one
// made) starts a history of its own: the end of the run gives no step back into the
// macro that was edited before.
TEST(MacroEventEditor, AMacroLoadedDuringARunHasNoStepIntoThePreviousMacro) {
  MacroEventEditor editor;
  editor.Load(BufferOf({Press(1, kA), Release(30, kA)}));
  editor.BeginOutsideChange();
  editor.Load(BufferOf({}));  // New during the run
  editor.buffer().events[0] = Press(1, kB);
  editor.buffer().eventCount = 1;
  editor.EndOutsideChange();
  ASSERT_EQ(editor.undoSteps(), 1) << "the run in the new macro";
  ASSERT_TRUE(editor.Undo());
  EXPECT_TRUE(InUse(editor.buffer()).empty()) << "back to the new macro as it was made";
  EXPECT_FALSE(editor.Undo());

  editor.Load(BufferOf({Press(5, kC)}));
  editor.BeginOutsideChange();
  editor.Load(BufferOf({Press(7, kX)}));  // another macro picked, nothing recorded since
  editor.EndOutsideChange();
  EXPECT_EQ(editor.undoSteps(), 0);
  EXPECT_EQ(InUse(editor.buffer()), std::vector<MacroEvent>{Press(7, kX)});
  EXPECT_FALSE(editor.HasUnsavedEdits());
}

TEST(MacroEventEditor, DelayTextIsANumberOrNothing) {
  struct Case {
    const char16_t* text;
    bool isNumber;
    int value;
    bool clamped;
  };
  const Case cases[] = {{u"20", true, 20, false},     {u"  32767", true, 32767, false}, {u"32768", true, 32767, true},
                        {u"0", true, 1, true},        {u"+5", true, 5, false},          {u"-1", true, 1, true},
                        {u"", false, 0, false},       {u" ", false, 0, false},          {u"5 5", false, 0, false},
                        {u"1e3", false, 0, false},    {u"-", false, 0, false},          {u"\uFF15", false, 0, false}};
  for (const Case& c : cases) {
    const DelayText parsed = ParseDelayText(c.text);
    EXPECT_EQ(parsed.isNumber, c.isNumber) << Utf16ToUtf8(c.text);
    EXPECT_EQ(parsed.value, c.value) << Utf16ToUtf8(c.text);
    EXPECT_EQ(parsed.clamped, c.clamped) << Utf16ToUtf8(c.text);
  }
}

TEST_F(MacroEventEditorTable, UnsavedEditsOfNameAndRepeatAndRefusedNames) {
  MacroFile other;
  std::memset(&other, 0, sizeof other);
  WriteMacro(other, u"other");
  MacroEditor editor;
  LoadStart(editor);
  EXPECT_FALSE(editor.HasUnsavedEdits(u"m", u"2"));
  EXPECT_FALSE(editor.HasUnsavedEdits(u"", u"2")) << "an empty name saves under the old one";
  EXPECT_FALSE(editor.HasUnsavedEdits(u"m", u"02"));
  EXPECT_TRUE(editor.HasUnsavedEdits(u"m2", u"2"));
  EXPECT_TRUE(editor.HasUnsavedEdits(u"m", u"3"));

  EXPECT_EQ(editor.RenameRefusal(u"m"), NameRefusal::kNone);
  EXPECT_EQ(editor.RenameRefusal(u""), NameRefusal::kNone);
  EXPECT_EQ(editor.RenameRefusal(u"fresh name"), NameRefusal::kNone);
  EXPECT_EQ(editor.RenameRefusal(u"other"), NameRefusal::kInUse);
  EXPECT_EQ(editor.RenameRefusal(u"a/b"), NameRefusal::kUnusable);
  EXPECT_EQ(editor.RenameRefusal(u"CON"), NameRefusal::kUnusable);
  // What SaveMacro does agrees: the refused name keeps the old one.
  EXPECT_EQ(editor.SaveMacro(u"other", u"2", nullptr), u"m");
  EXPECT_EQ(editor.SaveMacro(u"fresh name", u"2", nullptr), u"fresh name");
}

}  // namespace
}  // namespace quencfg
