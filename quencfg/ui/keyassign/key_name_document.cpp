#include "quencfg/ui/keyassign/key_name_document.h"

#include "quencfg/framework/folders.h"
#include "quencfg/ui/keyassign/key_names.h"
#include "quencfg/ui/skin/skin_documents.h"

namespace quencfg {
namespace {

constexpr std::u16string_view kKeyTableSection = u"KEYTABLE";
// The strings file's section of key names of the language's own.
constexpr std::u16string_view kLanguageKeyNamesSection = u"KEY_NAMES";

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
  const KeyNameLookup storedName = LocalisedKeyNames(
      [](std::u16string_view element) { return StringDocument().Lookup(kLanguageKeyNamesSection, element); },
      [&names](std::u16string_view element) { return names.StoredName(element); });
  return KeyNameForVirtualKey(value, *CurrentKeyboardLayout(), storedName);
}

}  // namespace quencfg
