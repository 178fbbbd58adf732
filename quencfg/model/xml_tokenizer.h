#pragma once
// Splits XML text into nodes: text, whitespace, comments, CDATA sections, declarations,
// processing instructions, end tags and start tags. The tokenizer never reads outside
// the view it is given.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace quencfg {

enum class XmlNodeKind : std::uint8_t {
  End,
  Whitespace,
  Text,
  Comment,
  CData,
  Doctype,      // <!DOCTYPE ...> with any nested declarations
  Declaration,  // <!ELEMENT ...>, <!ATTLIST ...>, <!ENTITY ...>, <!NOTATION ...>
  ProcessingInstruction,
  EndTag,
  StartTag,
  Error,
};

enum class XmlTokenError : std::uint8_t {
  None,
  TagNameCharacter,  // "<" followed by a digit, space or other punctuation
  BangTag,           // "<!" followed by an unknown character
  CommentTag,        // "<!-" not followed by "-"
  CDataTag,          // "<![" not followed by "C"
  Unterminated,      // the text ended inside the node; `unterminatedKind` says which
};

struct XmlToken {
  XmlNodeKind kind = XmlNodeKind::End;
  XmlTokenError error = XmlTokenError::None;
  XmlNodeKind unterminatedKind = XmlNodeKind::End;
  bool emptyTag = false;    // a start tag closed with "/>"
  std::size_t start = 0;    // first unit of the node
  std::size_t end = 0;      // one past its last unit
  std::size_t nameEnd = 0;  // tags and processing instructions: one past the name
};

// The tag name delimiters (space, tab, CR, LF, < > = \\ / ? ! " ' ;), all below "]".
inline constexpr std::array<bool, 0x5D> kTagNameDelimiters = [] {
  std::array<bool, 0x5D> table{};
  for (const char16_t c : std::u16string_view(u" \t\n\r<>=\\/?!\"';")) table[c] = true;
  return table;
}();

// Whether c ends a tag name: space, tab, CR, LF, < > = \ / ? ! " ' ;
[[nodiscard]] inline bool IsTagNameDelimiter(char16_t c) noexcept {
  return c < kTagNameDelimiters.size() && kTagNameDelimiters[c];
}

[[nodiscard]] inline bool IsXmlSpace(char16_t c) noexcept {
  return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

// The run of name characters starting at `from`, up to the first delimiter or the end.
[[nodiscard]] std::size_t TagNameEnd(std::u16string_view text, std::size_t from) noexcept;

// The node starting at `offset` (End when offset is at or past the end).
[[nodiscard]] XmlToken NextXmlToken(std::u16string_view text, std::size_t offset) noexcept;

// "Incorrect tag name character at offset 3", "Comment at offset 0 unterminated", ...
[[nodiscard]] std::u16string XmlTokenErrorMessage(const XmlToken& token);

// Attribute `name` of a start tag or processing instruction (the token's full text),
// quotes removed; found = false when absent. Names are compared without ASCII case
// when `ignoreCase` is set.
struct XmlAttribute {
  bool found = false;
  std::u16string_view value;
};
[[nodiscard]] XmlAttribute FindXmlAttribute(std::u16string_view tag, std::size_t nameEnd,
                                            std::u16string_view name, bool ignoreCase) noexcept;

}  // namespace quencfg
