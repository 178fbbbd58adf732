#include "quencfg/ui/keyassign/key_name_document.h"

#include "quencfg/framework/folders.h"
#include "quencfg/ui/keyassign/key_names.h"
#include "quencfg/ui/skin/skin_documents.h"

namespace quencfg {
namespace {

constexpr std::u16string_view kKeyTableSection = u"KEYTABLE";

}  // namespace

std::u16string KeyNameFile::StoredName(std::u16string_view elementName) {
  if (document_.Text().empty()) document_.LoadFile(pathOfFile_());
  return LookupString(document_, kKeyTableSection, elementName);
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
