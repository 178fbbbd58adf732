// Reading the text content of an element.
#include "quencfg/model/xml_document.h"
#include "quencfg/model/xml_element_index.h"
#include "quencfg/model/xml_entities.h"
#include "quencfg/model/xml_tokenizer.h"

namespace quencfg {
namespace {

constexpr std::size_t kCDataOpenLength = 9;  // "<![CDATA["
constexpr std::size_t kCDataCloseLength = 3;  // "]]>"

// Text nodes decoded, CDATA sections raw; whitespace runs, comments, processing
// instructions and stray tags dropped. Stops at a token error.
std::u16string MixedContentText(std::u16string_view content) {
  std::u16string out;
  for (std::size_t offset = 0;;) {
    const XmlToken token = NextXmlToken(content, offset);
    if (token.kind == XmlNodeKind::End || token.kind == XmlNodeKind::Error) return out;
    const std::u16string_view node = content.substr(token.start, token.end - token.start);
    if (token.kind == XmlNodeKind::Text) {
      AppendDecodedEntities(out, node);
    } else if (token.kind == XmlNodeKind::CData && node.size() >= kCDataOpenLength + kCDataCloseLength) {
      out.append(node.substr(kCDataOpenLength, node.size() - kCDataOpenLength - kCDataCloseLength));
    }
    offset = token.end;
  }
}

}  // namespace

std::u16string XmlDocument::GetElementText(ElementNumber element) const {
  if (element == 0 || element >= index_->Used()) return {};
  const ElementRecord& record = (*index_)[element];
  if (record.firstChild != 0 || record.IsEmptyTag()) return {};
  const std::size_t contentStart = record.start + record.StartTagLength();
  const std::size_t contentEnd = record.start + record.length - record.EndTagLength();
  if (contentEnd <= contentStart) return {};
  const std::u16string_view content = std::u16string_view(text_).substr(contentStart, contentEnd - contentStart);
  bool markup = false;
  bool references = false;
  for (const char16_t c : content) {
    markup |= c == u'<';
    references |= c == u'&';
  }
  if (markup) return MixedContentText(content);
  if (!references) return std::u16string(content);  // the usual value: nothing to decode
  std::u16string out;
  AppendDecodedEntities(out, content);
  return out;
}

}  // namespace quencfg
