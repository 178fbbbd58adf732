// The editor's commands on the event buffer and the row moves they report.
#include "quencfg/ui/keyassign/macro_event_edits.h"

#include <gtest/gtest.h>

#include <vector>

namespace quencfg {
namespace {

// A buffer of `count` events whose maps are 1, 2, 3, ...
MacroBuffer Numbered(int count) {
  MacroBuffer buffer;
  for (int i = 0; i < count; ++i) {
    buffer.events[static_cast<std::size_t>(i)] = MakeMacroEvent(true, 10, static_cast<std::uint8_t>(i + 1));
  }
  buffer.eventCount = count;
  return buffer;
}

std::vector<int> Maps(const MacroBuffer& buffer) {
  std::vector<int> maps;
  for (const MacroEvent& event : buffer.events) {
    if (IsEndOfEvents(event)) break;
    maps.push_back(event.map);
  }
  return maps;
}

TEST(MacroEventEdits, MovesAndDeletes) {
  struct Case {
    EventEdit edit;
    int selected;
    std::vector<int> maps;
    EventEditResult result;
  };
  const Case cases[] = {
      {EventEdit::kUp, 2, {1, 3, 2, 4}, {true, 2, 1, 1}},
      {EventEdit::kDown, 1, {1, 3, 2, 4}, {true, 1, 2, 2}},
      {EventEdit::kTop, 2, {3, 1, 2, 4}, {true, 2, 0, 0}},
      {EventEdit::kBottom, 1, {1, 3, 4, 2}, {true, 1, 3, 3}},
      {EventEdit::kDelete, 1, {1, 3, 4}, {true, 1, kNoRow, 1}},
      {EventEdit::kDelete, 3, {1, 2, 3}, {true, 3, kNoRow, 2}},
      // Nothing to do: the edges, no selection, a selection past the end.
      {EventEdit::kUp, 0, {1, 2, 3, 4}, {false, kNoRow, kNoRow, 0}},
      {EventEdit::kTop, 0, {1, 2, 3, 4}, {false, kNoRow, kNoRow, 0}},
      {EventEdit::kDown, 3, {1, 2, 3, 4}, {false, kNoRow, kNoRow, 3}},
      {EventEdit::kBottom, 3, {1, 2, 3, 4}, {false, kNoRow, kNoRow, 3}},
      {EventEdit::kDelete, kNoRow, {1, 2, 3, 4}, {false, kNoRow, kNoRow, kNoRow}},
      {EventEdit::kUp, 4, {1, 2, 3, 4}, {false, kNoRow, kNoRow, 4}},
  };
  for (const Case& c : cases) {
    MacroBuffer buffer = Numbered(4);
    const EventEditResult result = ApplyEventEdit(buffer, c.edit, c.selected);
    EXPECT_EQ(Maps(buffer), c.maps) << static_cast<int>(c.edit) << " at " << c.selected;
    EXPECT_EQ(buffer.eventCount, static_cast<int>(c.maps.size()));
    EXPECT_EQ(result.changed, c.result.changed);
    EXPECT_EQ(result.from, c.result.from);
    EXPECT_EQ(result.to, c.result.to);
    EXPECT_EQ(result.selected, c.result.selected);
  }
}

TEST(MacroEventEdits, DeletingTheOnlyRowLeavesAnAllZeroBuffer) {
  MacroBuffer buffer = Numbered(1);
  const EventEditResult result = ApplyEventEdit(buffer, EventEdit::kDelete, 0);
  EXPECT_EQ(result.selected, kNoRow);
  EXPECT_EQ(buffer.eventCount, 0);
  for (const MacroEvent& event : buffer.events) EXPECT_TRUE(IsEndOfEvents(event));
}

TEST(MacroEventEdits, FullBufferEdgesAndClear) {
  MacroBuffer buffer = Numbered(80);
  EXPECT_TRUE(ApplyEventEdit(buffer, EventEdit::kTop, 79).changed);
  EXPECT_EQ(buffer.events[0].map, 80);
  EXPECT_EQ(buffer.events[79].map, 79);
  EXPECT_TRUE(ApplyEventEdit(buffer, EventEdit::kDelete, 79).changed);
  EXPECT_EQ(buffer.eventCount, 79);
  EXPECT_TRUE(IsEndOfEvents(buffer.events[79]));
  ClearEvents(buffer);
  EXPECT_EQ(buffer.eventCount, 0);
  EXPECT_EQ(CountEventsInUse(buffer.events), 0);
}

}  // namespace
}  // namespace quencfg
