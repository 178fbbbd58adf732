#include "quencfg/ui/skin/skin_documents.h"

#include "quencfg/framework/folders.h"
#include "quencfg/framework/paths.h"

namespace quencfg {

std::u16string LookupString(XmlDocument& document, std::u16string_view section, std::u16string_view key) {
  document.ResetPosition();
  // With the position reset, the first search takes the root and looks among its
  // children; each further round looks for the section nested in the one entered.
  while (document.FindChildElement(section)) {
    document.EnterElement();
    if (document.FindChildElement(key)) return document.GetChildText();
  }
  return std::u16string();
}

bool SharedSkinDocument::Load(std::u16string_view path) {
  std::lock_guard<std::mutex> hold(lock_);
  return document_.LoadFile(path);
}

std::u16string SharedSkinDocument::Lookup(std::u16string_view section, std::u16string_view key) {
  std::lock_guard<std::mutex> hold(lock_);
  return LookupString(document_, section, key);
}

SkinRect SharedSkinDocument::LookupRect(std::u16string_view section, std::u16string_view key) {
  return ParseSkinRect(Lookup(section, key));
}

SharedSkinDocument& SkinDocument() {
  static SharedSkinDocument document;
  return document;
}

SharedSkinDocument& LayoutDocument() {
  static SharedSkinDocument document;
  return document;
}

SharedSkinDocument& StringDocument() {
  static SharedSkinDocument document;
  return document;
}

std::u16string LookupString(SharedSkinDocument& document, std::u16string_view section, std::u16string_view key) {
  return document.Lookup(section, key);
}

std::u16string LanguagesFilePath(std::u16string_view fileName) {
  std::u16string path = AppFolder();
  path += u"Languages";
  path += kPathSeparator;
  path += fileName;
  return path;
}

}  // namespace quencfg
