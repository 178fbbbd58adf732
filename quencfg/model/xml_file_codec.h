#pragma once
// Bytes of an XML file to the document's UTF-16 text and back: byte-order marks, the
// declared encoding, the UTF-8 test, zero-unit removal and the code-page conversions.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quencfg {

struct DecodedXmlFile {
  bool ok = false;           // false when the bytes could not be converted
  std::u16string text;
  std::uint32_t flags = 0;   // XmlDocument::BOM_* of the mark found
  std::u16string diagnostic; // "UTF-16LE BOM +length 40 " ...
};

[[nodiscard]] DecodedXmlFile DecodeXmlFile(std::string_view bytes);

struct EncodedXmlFile {
  bool ok = false;  // false when the chosen encoding cannot be written here
  bool sameAsExpected = false;  // the bytes equal `expected`; then `bytes` may be left empty
  std::string bytes;
  std::u16string diagnostic;
};

// Chooses the encoding from the flags (UTF-16LE, UTF-16BE, UTF-8 with their marks),
// else from the declared encoding, else UTF-8 when the text starts with "<", else the
// system's default code page. With `expected`, says whether the result equals it; a
// UTF-16LE text is compared in place, without building the bytes.
[[nodiscard]] EncodedXmlFile EncodeXmlFile(std::u16string_view text, std::uint32_t flags,
                                           const std::string* expected = nullptr);

// The encoding named by the xml declaration (or, in html, by a Content-Type meta tag)
// at the start of the text; nothing when there is none.
[[nodiscard]] std::optional<std::u16string> DeclaredEncoding(std::u16string_view text);

// The UTF-8 test of the loader: every byte of 0x80 or more starts a sequence whose
// length its high bits give, and the sequence is complete.
[[nodiscard]] bool LooksLikeUtf8(std::string_view bytes) noexcept;

}  // namespace quencfg
