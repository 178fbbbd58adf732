// The rows of the macro event list: texts and images by kind of event.
#include "quencfg/ui/keyassign/macro_event_rows.h"

#include <gtest/gtest.h>

#include "quencfg/framework/text.h"

namespace quencfg {
namespace {

std::u16string FakeName(std::uint8_t code) {
  char text[16];
  std::snprintf(text, sizeof text, "C%02x", code);
  return AsciiToUtf16(text);
}

TEST(MacroEventRows, TextAndImageByKind) {
  struct Case {
    MacroEvent event;
    const char16_t* text;
    int image;
  };
  const Case cases[] = {
      {MakeMacroEvent(true, 150, 0x04), u"C04       150ms", 4024},
      {MakeMacroEvent(false, 150, 0x04), u"C04       150ms", 4025},
      {MacroEvent{0x80, 0x00, 0x04}, u"C04", 4024},  // no delay: the name alone
      {MakeMacroEvent(true, 32767, 0xB7), u"LB     32767ms", 4021},
      {MacroEvent{0x00, 0x00, 0xB8}, u"RB         ", 4020},
      {MakeMacroEvent(true, 7, 0xB9), u"MB         7ms", 4021},
      {MakeMacroEvent(true, 25, 0xBE), u"Relative X:-25", 4022},
      {MakeMacroEvent(true, 25, 0xBF), u"Relative X:25", 4022},
      {MakeMacroEvent(false, 3, 0xBC), u"Relative Y:3", 4023},
      {MakeMacroEvent(false, 3, 0xBD), u"Relative Y:-3", 4023},
  };
  for (const Case& c : cases) {
    const MacroEventRow row = EventRow(c.event, FakeName);
    EXPECT_EQ(row.text, c.text) << Utf16ToUtf8(c.text);
    EXPECT_EQ(row.image, c.image) << Utf16ToUtf8(c.text);
  }
}

TEST(MacroEventRows, OneRowPerEventUpToTheFirstZeroEvent) {
  MacroEvents events{};
  for (auto& event : events) event = MakeMacroEvent(true, 5, 0x04);
  EXPECT_EQ(EventRows(events, FakeName).size(), 80u);
  events[3] = MacroEvent{};
  EXPECT_EQ(EventRows(events, FakeName).size(), 3u);
}

TEST(MacroEventRows, RecordedRowsAndMovedRows) {
  EXPECT_EQ(RecordedRowText(u"A", 150, false), u"A                 150ms");
  EXPECT_EQ(RecordedRowText(u"A", 20, true), u"A                  20 ms");
  EXPECT_EQ(RecordedRowImage(true, true), 4021);
  EXPECT_EQ(RecordedRowImage(false, false), 4025);
  EXPECT_EQ(MovedRowImage(MakeMacroEvent(true, 3, 0xB7)), 4024) << "a moved row shows the key images";
  EXPECT_EQ(MovedRowImage(MakeMacroEvent(false, 3, 0xBE)), 4025);
}

}  // namespace
}  // namespace quencfg
