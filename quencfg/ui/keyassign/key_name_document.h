#pragma once
// The key name file table.xml beside the program, and key names under the current
// keyboard layout with the names it holds.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "quencfg/model/xml_document.h"

namespace quencfg {

// A key name file, read on first use and kept; read again while it holds no text
// (never read yet, or the file was missing), so a file that appears later is found.
class KeyNameFile {
 public:
  explicit KeyNameFile(std::function<std::u16string()> pathOfFile) : pathOfFile_(std::move(pathOfFile)) {}

  // The text of KEYTABLE / elementName; empty when the file, section or entry is missing.
  std::u16string StoredName(std::u16string_view elementName);

  XmlDocument& document() { return document_; }

 private:
  std::function<std::u16string()> pathOfFile_;
  XmlDocument document_;
};

// The process-wide key name file, AppFolder + "table.xml". User-interface thread only.
KeyNameFile& KeyNameDocument();

// The display name of a VK or mouse-button down message under the current layout, in
// the language of StringDocument where it names the key itself.
std::u16string KeyNameForVirtualKey(std::uint32_t value);

}  // namespace quencfg
