#include "quencfg/ui/keyassign/key_name_document.h"

#include "quencfg/app/folders.h"
#include "quencfg/ui/keyassign/key_names.h"

namespace quencfg {
namespace {

constexpr std::u16string_view kKeyTableSection = u"KEYTABLE";

// The section/key lookup the skin files use: the section among the root's children,
// then the entry among the section's; a missing entry looks for a nested section.
std::u16string LookupEntry(XmlDocument& document, std::u16string_view section, std::u16string_view key) {
  document.ResetPosition();
  while (document.FindChildElement(section)) {
    document.EnterElement();
    if (document.FindChildElement(key)) return document.GetChildText();
  }
  return {};
}

}  // namespace

std::u16string KeyNameFile::StoredName(std::u16string_view elementName) {
  if (document_.Text().empty()) document_.LoadFile(pathOfFile_());
  return LookupEntry(document_, kKeyTableSection, elementName);
}

KeyNameFile& KeyNameDocument() {
  static KeyNameFile file([] { return std::u16string(AppFolder()) + u"table.xml"; });
  return file;
}

std::u16string KeyNameForVirtualKey(std::uint32_t value) {
  KeyNameFile& names = KeyNameDocument();
  return KeyNameForVirtualKey(value, *CurrentKeyboardLayout(),
                              [&names](std::u16string_view element) { return names.StoredName(element); });
}

}  // namespace quencfg
