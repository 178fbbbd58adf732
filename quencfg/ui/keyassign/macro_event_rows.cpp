#include "quencfg/ui/keyassign/macro_event_rows.h"

#include <cstdio>

#include "quencfg/framework/text.h"
#include "quencfg/ui/keyassign/key_codes.h"
#include "quencfg/ui/keyassign/key_name_document.h"
#include "quencfg/ui/keyassign/key_names.h"

namespace quencfg {
namespace {

constexpr std::uint32_t kFirstMouseShortName = 0xF0;

std::u16string Formatted(const char* format, int value) {
  char text[48];
  std::snprintf(text, sizeof text, format, value);
  return AsciiToUtf16(text);
}

// "%10d%s" with the value and "ms".
std::u16string DelayColumn(int value) {
  char text[48];
  std::snprintf(text, sizeof text, "%10d%s", value, "ms");
  return AsciiToUtf16(text);
}

MacroEventRow MovementRow(const MacroEvent& event) {
  const int value = EventValue(event);
  switch (event.map) {
    case kMacroMoveXPlus: return {Formatted("Relative X:%d", value), kRowImageMoveX};
    case kMacroMoveXMinus: return {Formatted("Relative X:-%d", value), kRowImageMoveX};
    case kMacroMoveYPlus: return {Formatted("Relative Y:%d", value), kRowImageMoveY};
    default: return {Formatted("Relative Y:-%d", value), kRowImageMoveY};
  }
}

bool IsMovementCode(std::uint8_t map) noexcept { return map >= kMacroMoveYPlus && map <= kMacroMoveXPlus; }

}  // namespace

std::u16string NameOfKeyCode(std::uint8_t keyCode) {
  return KeyNameForVirtualKey(VirtualKeyFromKeyCode(keyCode));
}

MacroEventRow EventRow(const MacroEvent& event, const KeyCodeNamer& nameOf) {
  const int value = EventValue(event);
  if (IsMouseButtonCode(event.map)) {
    MacroEventRow row;
    row.text = MouseButtonShortName(kFirstMouseShortName + (event.map - kMacroLeftButton));
    row.text += value != 0 ? DelayColumn(value) : u"         ";
    row.image = IsPress(event) ? kRowImageButtonPress : kRowImageButtonRelease;
    return row;
  }
  if (IsMovementCode(event.map)) return MovementRow(event);
  MacroEventRow row;
  row.text = nameOf(event.map);
  if (value != 0) row.text += DelayColumn(value);
  row.image = IsPress(event) ? kRowImageKeyPress : kRowImageKeyRelease;
  return row;
}

std::vector<MacroEventRow> EventRows(const MacroEvents& events, const KeyCodeNamer& nameOf) {
  std::vector<MacroEventRow> rows;
  for (const MacroEvent& event : events) {
    if (IsEndOfEvents(event)) break;
    rows.push_back(EventRow(event, nameOf));
  }
  return rows;
}

std::u16string RecordedRowText(std::u16string_view name, int delay, bool fixedDelay) {
  char column[48];
  if (fixedDelay) {
    std::snprintf(column, sizeof column, "%20d ms", delay);
  } else {
    std::snprintf(column, sizeof column, "%20d%s", delay, "ms");
  }
  std::u16string text(name);
  text += AsciiToUtf16(column);
  return text;
}

int RecordedRowImage(bool press, bool mouseButton) noexcept {
  if (mouseButton) return press ? kRowImageButtonPress : kRowImageButtonRelease;
  return press ? kRowImageKeyPress : kRowImageKeyRelease;
}

int MovedRowImage(const MacroEvent& event) noexcept {
  return IsPress(event) ? kRowImageKeyPress : kRowImageKeyRelease;
}

}  // namespace quencfg
