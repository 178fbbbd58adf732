#pragma once
// The text of a macro file as the library documents it: declaration, root, Setting,
// the name, the repeat count and all 80 event elements, one element per line.
#include <string>

#include "quencfg/framework/text.h"
#include "quencfg/model/macro_file.h"
#include "quencfg/model/number_text.h"

namespace quencfg::testing {

inline std::u16string MacroFileText(const MacroFile& m) {
  auto line = [](std::u16string_view name, int value) {
    // Appended piece by piece: mingw's GCC 12 warns falsely about the chain of operator+.
    std::u16string text(u"<");
    text.append(name).append(u">").append(FormatDecimal(value)).append(u"</").append(name).append(u">\r\n");
    return text;
  };
  std::u16string t = u"<?xml version=\"1.0\" encoding=\"utf-16\"?>\r\n<root>\r\n<Setting>\r\n<MacroName>";
  t += FieldText(m.MacroName);
  t += u"</MacroName>\r\n" + line(u"Repeat", m.Repeat);
  for (int k = 0; k < kMacroEventCount; ++k) {
    const std::u16string event = u"Event_" + FormatDecimal(k);
    t += u"<" + event + u">\r\n" + line(u"attributeH", m.events[k].attributeH) +
         line(u"attributeL", m.events[k].attributeL) + line(u"map", m.events[k].map) + u"</" + event + u">\r\n";
  }
  return t + u"</Setting>\r\n</root>\r\n";
}

}  // namespace quencfg::testing
