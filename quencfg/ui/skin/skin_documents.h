#pragma once
// The three process-wide skin and language documents and the one lookup by which every
// window reads them: section (a child of the root) and key (a child of the section).
//
//   SkinDocument()    Languages\Skins.xml             background images
//   LayoutDocument()  Languages\KeyboardButtons.xml, then Languages\Buttons.xml
//   StringDocument()  Languages\<code>\Strings.xml    every text and GLOBAL/FONT
//
// The strings document is also read by the device and progress threads, and a lookup
// moves the document's position; so every document has a lock held for a whole lookup
// or load.
#include <mutex>
#include <string>
#include <string_view>

#include "quencfg/model/xml_document.h"
#include "quencfg/ui/skin/skin_rect.h"

namespace quencfg {

// The text of <section><key> below the root, or empty when either is missing. Moves
// the document's navigation position.
std::u16string LookupString(XmlDocument& document, std::u16string_view section, std::u16string_view key);

// An XmlDocument with the lock that makes it safe to share between threads.
class SharedSkinDocument {
 public:
  // Replaces the content by the file's; a missing or unreadable file leaves it empty.
  // Returns what LoadFile says (callers do not need to check it).
  bool Load(std::u16string_view path);
  [[nodiscard]] std::u16string Lookup(std::u16string_view section, std::u16string_view key);
  [[nodiscard]] SkinRect LookupRect(std::u16string_view section, std::u16string_view key);

 private:
  std::mutex lock_;
  XmlDocument document_;
};

SharedSkinDocument& SkinDocument();
SharedSkinDocument& LayoutDocument();
SharedSkinDocument& StringDocument();

std::u16string LookupString(SharedSkinDocument& document, std::u16string_view section, std::u16string_view key);

// AppFolder() + "Languages\" + file name, with this platform's separator.
std::u16string LanguagesFilePath(std::u16string_view fileName);

}  // namespace quencfg
