#include "quencfg/model/xml_tokenizer.h"

#include <string>

#include "quencfg/framework/text.h"

namespace quencfg {
namespace {

constexpr std::size_t kNotFound = std::u16string_view::npos;

// Offset of the first `c` at or after `from`, or npos.
std::size_t FindUnit(std::u16string_view text, char16_t c, std::size_t from) noexcept {
  const char16_t* p = text.data();
  const std::size_t n = text.size();
  for (std::size_t i = from; i < n; ++i) {
    if (p[i] == c) return i;
  }
  return kNotFound;
}

// Offset just past the first occurrence of `pattern` at or after `from`, or npos.
std::size_t FindEndOf(std::u16string_view text, std::u16string_view pattern, std::size_t from) noexcept {
  if (from > text.size()) return kNotFound;
  const std::size_t at = text.find(pattern, from);
  return at == kNotFound ? kNotFound : at + pattern.size();
}

bool IsStartTagFirstCharacter(char16_t c) noexcept {
  return (c >= u'A' && c <= u'Z') || c == u'_' || c == u':' || c > u'`';
}

XmlToken ErrorToken(std::size_t offset, XmlTokenError error) noexcept {
  XmlToken t;
  t.kind = XmlNodeKind::Error;
  t.error = error;
  t.start = offset;
  t.end = offset + 1;
  return t;
}

XmlToken Unterminated(std::u16string_view text, std::size_t offset, XmlNodeKind kind) noexcept {
  XmlToken t = ErrorToken(offset, XmlTokenError::Unterminated);
  t.unterminatedKind = kind;
  t.end = text.size();
  return t;
}

XmlToken Node(XmlNodeKind kind, std::size_t start, std::size_t end) noexcept {
  XmlToken t;
  t.kind = kind;
  t.start = start;
  t.end = end;
  return t;
}

XmlToken CharacterRun(std::u16string_view text, std::size_t offset) noexcept {
  const char16_t* p = text.data();
  const std::size_t n = text.size();
  std::size_t i = offset;
  while (i < n && IsXmlSpace(p[i])) ++i;
  if (i == n || p[i] == u'<') return Node(XmlNodeKind::Whitespace, offset, i);
  const std::size_t lt = FindUnit(text, u'<', i);
  return Node(XmlNodeKind::Text, offset, lt == kNotFound ? n : lt);
}

XmlToken DelimitedNode(std::u16string_view text, std::size_t offset, XmlNodeKind kind,
                       std::u16string_view terminator, std::size_t searchFrom) noexcept {
  const std::size_t end = FindEndOf(text, terminator, searchFrom);
  if (end == kNotFound) return Unterminated(text, offset, kind);
  return Node(kind, offset, end);
}

// <!DOCTYPE ...>: ends at the first ">" that does not close a nested declaration.
XmlToken DoctypeNode(std::u16string_view text, std::size_t offset) noexcept {
  std::size_t depth = 0;
  for (std::size_t i = offset + 2; i < text.size(); ++i) {
    if (text[i] == u'<') {
      ++depth;
    } else if (text[i] == u'>') {
      if (depth == 0) return Node(XmlNodeKind::Doctype, offset, i + 1);
      --depth;
    }
  }
  return Unterminated(text, offset, XmlNodeKind::Doctype);
}

XmlToken BangNode(std::u16string_view text, std::size_t offset) noexcept {
  if (offset + 2 >= text.size()) return ErrorToken(offset, XmlTokenError::BangTag);
  const char16_t c = text[offset + 2];
  const char16_t next = offset + 3 < text.size() ? text[offset + 3] : u'\0';
  switch (c) {
    case u'-':
      if (next != u'-') return ErrorToken(offset, XmlTokenError::CommentTag);
      return DelimitedNode(text, offset, XmlNodeKind::Comment, u"-->", offset + 4);
    case u'[':
      if (next != u'C') return ErrorToken(offset, XmlTokenError::CDataTag);
      return DelimitedNode(text, offset, XmlNodeKind::CData, u"]]>", offset + 4);
    case u'D':
      return DoctypeNode(text, offset);
    case u'E':
    case u'A':
    case u'N':
      return DelimitedNode(text, offset, XmlNodeKind::Declaration, u">", offset + 2);
    default:
      return ErrorToken(offset, XmlTokenError::BangTag);
  }
}

XmlToken StartTagNode(std::u16string_view text, std::size_t offset) noexcept {
  const char16_t* p = text.data();
  const std::size_t n = text.size();
  const std::size_t nameEnd = TagNameEnd(text, offset + 1);
  char16_t quote = 0;
  for (std::size_t i = nameEnd; i < n; ++i) {
    const char16_t c = p[i];
    if (quote != 0) {
      if (c == quote) quote = 0;
    } else if (c == u'>') {
      XmlToken t = Node(XmlNodeKind::StartTag, offset, i + 1);
      t.nameEnd = nameEnd;
      if (i > nameEnd && p[i - 1] == u'/') {
        const std::size_t slash = i - 1;
        t.emptyTag = slash == nameEnd || IsXmlSpace(p[slash - 1]) || p[slash - 1] == u'"' ||
                     p[slash - 1] == u'\'';
      }
      return t;
    } else if (c == u'"' || c == u'\'') {
      quote = c;
    }
  }
  return Unterminated(text, offset, XmlNodeKind::StartTag);
}

}  // namespace

std::size_t TagNameEnd(std::u16string_view text, std::size_t from) noexcept {
  const char16_t* p = text.data();
  const std::size_t n = text.size();
  std::size_t i = from;
  while (i < n && !IsTagNameDelimiter(p[i])) ++i;
  return i;
}

XmlToken NextXmlToken(std::u16string_view text, std::size_t offset) noexcept {
  if (offset >= text.size()) return Node(XmlNodeKind::End, text.size(), text.size());
  if (text[offset] != u'<') return CharacterRun(text, offset);
  if (offset + 1 >= text.size()) return ErrorToken(offset, XmlTokenError::TagNameCharacter);
  const char16_t c = text[offset + 1];
  if (c == u'!') return BangNode(text, offset);
  if (c == u'?') {
    XmlToken t = DelimitedNode(text, offset, XmlNodeKind::ProcessingInstruction, u"?>", offset + 2);
    t.nameEnd = TagNameEnd(text.substr(0, t.end), offset + 2);
    return t;
  }
  if (c == u'/') {
    const std::size_t gt = FindUnit(text, u'>', offset + 2);
    if (gt == kNotFound) return Unterminated(text, offset, XmlNodeKind::EndTag);
    XmlToken t = Node(XmlNodeKind::EndTag, offset, gt + 1);
    t.nameEnd = TagNameEnd(text.substr(0, gt), offset + 2);
    return t;
  }
  if (IsStartTagFirstCharacter(c)) return StartTagNode(text, offset);
  return ErrorToken(offset, XmlTokenError::TagNameCharacter);
}

std::u16string XmlTokenErrorMessage(const XmlToken& token) {
  const std::u16string at = u" at offset " + AsciiToUtf16(std::to_string(token.start));
  switch (token.error) {
    case XmlTokenError::None:
      return {};
    case XmlTokenError::TagNameCharacter:
      return u"Incorrect tag name character" + at;
    case XmlTokenError::BangTag:
      return u"Incorrect ! tag" + at;
    case XmlTokenError::CommentTag:
      return u"Incorrect comment tag" + at;
    case XmlTokenError::CDataTag:
      return u"Incorrect tag" + at;
    case XmlTokenError::Unterminated:
      break;
  }
  const char16_t* kind = u"Doctype";
  switch (token.unterminatedKind) {
    case XmlNodeKind::StartTag: kind = u"Element tag"; break;
    case XmlNodeKind::EndTag: kind = u"Element end tag"; break;
    case XmlNodeKind::Comment: kind = u"Comment"; break;
    case XmlNodeKind::CData: kind = u"CDATA Section"; break;
    case XmlNodeKind::ProcessingInstruction: kind = u"Processing instruction"; break;
    default: break;
  }
  return kind + at + u" unterminated";
}

namespace {

char16_t AsciiLower(char16_t c) noexcept { return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c; }

bool SameName(std::u16string_view a, std::u16string_view b, bool ignoreCase) noexcept {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (ignoreCase ? AsciiLower(a[i]) != AsciiLower(b[i]) : a[i] != b[i]) return false;
  }
  return true;
}

bool EndsAttributeName(char16_t c) noexcept {
  return IsXmlSpace(c) || c == u'=' || c == u'>' || c == u'/' || c == u'?' || c == u'"' || c == u'\'';
}

}  // namespace

XmlAttribute FindXmlAttribute(std::u16string_view tag, std::size_t nameEnd, std::u16string_view name,
                              bool ignoreCase) noexcept {
  std::size_t i = nameEnd;
  const std::size_t n = tag.size();
  while (i < n) {
    while (i < n && (IsXmlSpace(tag[i]) || tag[i] == u'/' || tag[i] == u'?')) ++i;
    if (i >= n || tag[i] == u'>') break;
    const std::size_t nameStart = i;
    while (i < n && !EndsAttributeName(tag[i])) ++i;
    if (i == nameStart) {  // a stray quote: skip past the quoted run
      const char16_t quote = tag[i++];
      while (i < n && tag[i] != quote) ++i;
      if (i < n) ++i;
      continue;
    }
    const std::u16string_view attributeName = tag.substr(nameStart, i - nameStart);
    std::size_t j = i;
    while (j < n && IsXmlSpace(tag[j])) ++j;
    std::u16string_view value;
    if (j < n && tag[j] == u'=') {
      ++j;
      while (j < n && IsXmlSpace(tag[j])) ++j;
      if (j < n && (tag[j] == u'"' || tag[j] == u'\'')) {
        const char16_t quote = tag[j++];
        const std::size_t valueStart = j;
        while (j < n && tag[j] != quote) ++j;
        value = tag.substr(valueStart, j - valueStart);
        if (j < n) ++j;
      } else {
        const std::size_t valueStart = j;
        while (j < n && !IsXmlSpace(tag[j]) && tag[j] != u'>' &&
               !((tag[j] == u'/' || tag[j] == u'?') && j + 1 < n && tag[j + 1] == u'>')) {
          ++j;
        }
        value = tag.substr(valueStart, j - valueStart);
      }
      i = j;
    }
    if (SameName(attributeName, name, ignoreCase)) return XmlAttribute{true, value};
  }
  return {};
}

}  // namespace quencfg
