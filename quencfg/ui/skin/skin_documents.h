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
//
// The strings document falls back to English: an entry that the loaded strings file
// lacks (or the whole file, when it is missing) is read from Languages\EN\Strings.xml,
// so no text is ever blank because a language is not shipped or not complete.
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "quencfg/model/xml_document.h"
#include "quencfg/ui/skin/skin_rect.h"

namespace quencfg {

// The text of <section><key> below the root, or empty when either is missing. Moves
// the document's navigation position.
std::u16string LookupString(XmlDocument& document, std::u16string_view section, std::u16string_view key);
// The same, but nothing when the section or the key is missing (an entry that is there
// with no text gives an empty string).
std::optional<std::u16string> FindString(XmlDocument& document, std::u16string_view section,
                                         std::u16string_view key);

// An XmlDocument with the lock that makes it safe to share between threads, and
// optionally a second document that answers for the entries the first one lacks.
class SharedSkinDocument {
 public:
  // The path of the file that answers for missing entries, asked at each load; an
  // empty path means none.
  using FallbackPath = std::function<std::u16string()>;

  SharedSkinDocument() = default;
  explicit SharedSkinDocument(FallbackPath fallbackPath) : fallbackPath_(std::move(fallbackPath)) {}

  // Replaces the content by the file's; a missing or unreadable file leaves it empty.
  // Also reloads the fallback file, unless it is the file just loaded. Returns what
  // LoadFile says of `path` (callers do not need to check it).
  bool Load(std::u16string_view path);
  // The entry's text from the loaded file, else from the fallback file, else empty.
  [[nodiscard]] std::u16string Lookup(std::u16string_view section, std::u16string_view key);
  // The entry as a rectangle, scaled from the file's 96-DPI coordinates to SkinDpi().
  [[nodiscard]] SkinRect LookupRect(std::u16string_view section, std::u16string_view key);

 private:
  FallbackPath fallbackPath_;
  std::mutex lock_;
  XmlDocument document_;
  XmlDocument fallback_;
};

SharedSkinDocument& SkinDocument();
SharedSkinDocument& LayoutDocument();
// Falls back to the English strings file (see the top of this file).
SharedSkinDocument& StringDocument();

std::u16string LookupString(SharedSkinDocument& document, std::u16string_view section, std::u16string_view key);

// AppFolder() + "Languages\" + file name, with this platform's separator.
std::u16string LanguagesFilePath(std::u16string_view fileName);

}  // namespace quencfg
