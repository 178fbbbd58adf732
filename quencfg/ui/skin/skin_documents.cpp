#include "quencfg/ui/skin/skin_documents.h"

#include <utility>

#include "quencfg/framework/folders.h"
#include "quencfg/framework/paths.h"
#include "quencfg/ui/skin/skin_language.h"
#include "quencfg/ui/skin/skin_scale.h"

namespace quencfg {

std::optional<std::u16string> FindString(XmlDocument& document, std::u16string_view section,
                                         std::u16string_view key) {
  document.ResetPosition();
  // With the position reset, the first search takes the root and looks among its
  // children; each further round looks for the section nested in the one entered.
  while (document.FindChildElement(section)) {
    document.EnterElement();
    if (document.FindChildElement(key)) return document.GetChildText();
  }
  return std::nullopt;
}

std::u16string LookupString(XmlDocument& document, std::u16string_view section, std::u16string_view key) {
  return FindString(document, section, key).value_or(std::u16string());
}

bool SharedSkinDocument::Load(std::u16string_view path) {
  std::lock_guard<std::mutex> hold(lock_);
  const bool loaded = document_.LoadFile(path);
  const std::u16string fallback = fallbackPath_ ? fallbackPath_() : std::u16string();
  if (fallback.empty() || fallback == path) {
    fallback_ = XmlDocument();
  } else {
    fallback_.LoadFile(fallback);
  }
  return loaded;
}

std::u16string SharedSkinDocument::Lookup(std::u16string_view section, std::u16string_view key) {
  std::lock_guard<std::mutex> hold(lock_);
  if (auto text = FindString(document_, section, key)) return std::move(*text);
  return LookupString(fallback_, section, key);
}

SkinRect SharedSkinDocument::LookupRect(std::u16string_view section, std::u16string_view key) {
  return ScaleSkinRect(ParseSkinRect(Lookup(section, key)), SkinDpi());
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
  static SharedSkinDocument document(EnglishStringsFilePath);
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
