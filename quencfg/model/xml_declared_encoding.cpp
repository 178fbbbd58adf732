#include <optional>
#include <string>

#include "quencfg/model/xml_file_codec.h"
#include "quencfg/model/xml_tokenizer.h"

namespace quencfg {
namespace {

bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b) noexcept {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char16_t x = a[i], y = b[i];
    if (x >= u'A' && x <= u'Z') x = static_cast<char16_t>(x + 32);
    if (y >= u'A' && y <= u'Z') y = static_cast<char16_t>(y + 32);
    if (x != y) return false;
  }
  return true;
}

std::size_t FindIgnoringCase(std::u16string_view text, std::u16string_view word) noexcept {
  for (std::size_t i = 0; i + word.size() <= text.size(); ++i) {
    if (EqualsIgnoringCase(text.substr(i, word.size()), word)) return i;
  }
  return std::u16string_view::npos;
}

// "text/html; charset=windows-1252" -> "windows-1252".
std::optional<std::u16string> CharsetOfContent(std::u16string_view content) {
  std::size_t i = FindIgnoringCase(content, u"charset");
  if (i == std::u16string_view::npos) return std::nullopt;
  i += 7;
  while (i < content.size() && IsXmlSpace(content[i])) ++i;
  if (i >= content.size() || content[i] != u'=') return std::nullopt;
  ++i;
  while (i < content.size() && IsXmlSpace(content[i])) ++i;
  const std::size_t start = i;
  while (i < content.size() && !IsXmlSpace(content[i]) && content[i] != u';' && content[i] != u'"' &&
         content[i] != u'\'') {
    ++i;
  }
  if (i == start) return std::nullopt;
  return std::u16string(content.substr(start, i - start));
}

}  // namespace

std::optional<std::u16string> DeclaredEncoding(std::u16string_view text) {
  bool inHtml = false;
  bool sawEndTag = false;
  for (std::size_t offset = 0;;) {
    const XmlToken token = NextXmlToken(text, offset);
    if (token.kind == XmlNodeKind::End || token.kind == XmlNodeKind::Error) return std::nullopt;
    offset = token.end;
    const std::u16string_view node = text.substr(token.start, token.end - token.start);
    if (token.kind == XmlNodeKind::ProcessingInstruction && !sawEndTag) {
      const std::size_t nameEnd = token.nameEnd - token.start;
      if (!EqualsIgnoringCase(node.substr(2, nameEnd - 2), u"xml")) continue;
      const XmlAttribute encoding = FindXmlAttribute(node, nameEnd, u"encoding", false);
      if (!encoding.found) return std::nullopt;
      return std::u16string(encoding.value);
    }
    if (token.kind == XmlNodeKind::EndTag) {
      sawEndTag = true;
      if (EqualsIgnoringCase(text.substr(token.start + 2, token.nameEnd - token.start - 2), u"head")) {
        return std::nullopt;
      }
      continue;
    }
    if (token.kind != XmlNodeKind::StartTag) continue;
    const std::size_t nameEnd = token.nameEnd - token.start;
    const std::u16string_view name = node.substr(1, nameEnd - 1);
    if (!inHtml) {
      if (!EqualsIgnoringCase(name, u"html")) return std::nullopt;
      inHtml = true;
      continue;
    }
    if (!EqualsIgnoringCase(name, u"meta")) continue;
    const XmlAttribute equiv = FindXmlAttribute(node, nameEnd, u"http-equiv", true);
    if (!equiv.found || !EqualsIgnoringCase(equiv.value, u"Content-Type")) continue;
    const XmlAttribute content = FindXmlAttribute(node, nameEnd, u"content", true);
    if (!content.found) return std::nullopt;
    return CharsetOfContent(content.value);
  }
}

}  // namespace quencfg
