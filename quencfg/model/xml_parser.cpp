#include "quencfg/model/xml_parser.h"

#include <string>
#include <vector>

#include "quencfg/framework/text.h"
#include "quencfg/model/xml_element_index.h"
#include "quencfg/model/xml_tokenizer.h"

namespace quencfg {
namespace {

std::u16string Number(std::size_t n) { return AsciiToUtf16(std::to_string(n)); }

class IndexBuilder {
 public:
  IndexBuilder(std::u16string_view text, ElementIndex& index) : text_(text), index_(index) {}

  std::u16string Build() {
    index_.Reset(text_.size());
    index_[0].length = static_cast<std::uint32_t>(text_.size());
    if (text_.size() > kMaxXmlTextLength) {
      Fail(u"Document of " + Number(text_.size()) + u" units too large");
    } else {
      ReadTokens();
      CloseOpenElements();
      FinishRecords();
      CheckRoot();
    }
    if (illFormed_) index_[0].flags |= ElementRecord::kIllFormed;
    return message_;
  }

 private:
  struct OpenElement {
    ElementNumber element;
    std::uint32_t nameLength;
  };

  void Fail(std::u16string message) {
    if (!illFormed_) message_ = std::move(message);
    illFormed_ = true;
  }

  std::u16string_view NameOf(const OpenElement& open) const {
    return text_.substr(index_[open.element].start + 1, open.nameLength);
  }

  void ReadTokens() {
    std::size_t offset = 0;
    for (;;) {
      const XmlToken token = NextXmlToken(text_, offset);
      switch (token.kind) {
        case XmlNodeKind::End:
          return;
        case XmlNodeKind::Error:
          Fail(XmlTokenErrorMessage(token));
          if (token.error == XmlTokenError::Unterminated) return;
          offset = token.start + 1;  // the "<" counts as text
          continue;
        case XmlNodeKind::StartTag:
          if (!OnStartTag(token)) return;
          break;
        case XmlNodeKind::EndTag:
          OnEndTag(token);
          break;
        default:
          break;
      }
      offset = token.end;
    }
  }

  // False when the index is full.
  bool OnStartTag(const XmlToken& token) {
    const std::size_t tagLength = token.end - token.start;
    if (tagLength > ElementRecord::kMaxStartTagLength) {
      Fail(u"Element tag at offset " + Number(token.start) + u" too long");
      return true;
    }
    const ElementNumber n = index_.Append();
    if (n == 0) {
      Fail(u"Too many elements at offset " + Number(token.start));
      return false;
    }
    const ElementNumber parent = open_.empty() ? 0 : open_.back().element;
    ElementRecord& record = index_[n];
    record.start = static_cast<std::uint32_t>(token.start);
    record.length = static_cast<std::uint32_t>(tagLength);
    record.SetTagLengths(static_cast<std::uint32_t>(tagLength), 0);
    record.parent = parent;
    AppendChild(parent, n);
    if (!token.emptyTag) {
      open_.push_back(OpenElement{n, static_cast<std::uint32_t>(token.nameEnd - token.start - 1)});
    }
    return true;
  }

  void AppendChild(ElementNumber parent, ElementNumber child) {
    ElementRecord& p = index_[parent];
    if (p.firstChild == 0) {
      p.firstChild = child;
      index_[child].previousSibling = child;
    } else {
      ElementRecord& first = index_[p.firstChild];
      const ElementNumber last = first.previousSibling;
      index_[last].nextSibling = child;
      index_[child].previousSibling = last;
      first.previousSibling = child;
    }
  }

  void OnEndTag(const XmlToken& token) {
    const std::u16string_view name = text_.substr(token.start + 2, token.nameEnd - token.start - 2);
    const std::size_t tagLength = token.end - token.start;
    std::size_t match = open_.size();
    while (match > 0 && NameOf(open_[match - 1]) != name) --match;
    if (match == 0) {
      Fail(u"No start tag for end tag '" + std::u16string(name) + u"' at offset " + Number(token.start));
      return;
    }
    if (tagLength > ElementRecord::kMaxEndTagLength) {
      Fail(u"Element end tag at offset " + Number(token.start) + u" too long");
      return;
    }
    if (match < open_.size()) {
      const OpenElement& innermost = open_.back();
      Fail(u"End tag '" + std::u16string(name) + u"' at offset " + Number(token.start) +
           u" does not match start tag '" + std::u16string(NameOf(innermost)) + u"' at offset " +
           Number(index_[innermost.element].start));
      CloseAsNotEnded(match);
    }
    ElementRecord& record = index_[open_.back().element];
    record.length = static_cast<std::uint32_t>(token.end - record.start);
    record.SetTagLengths(record.StartTagLength(), static_cast<std::uint32_t>(tagLength));
    open_.pop_back();
  }

  // Closes open_[from..] at their start tags; their children move up to follow them,
  // so all of them end up as children of the element below open_[from].
  void CloseAsNotEnded(std::size_t from) {
    const ElementNumber target = from == 0 ? 0 : open_[from - 1].element;
    for (std::size_t i = from; i < open_.size(); ++i) {
      const ElementNumber n = open_[i].element;
      ElementRecord& record = index_[n];
      record.length = record.StartTagLength();
      record.flags |= ElementRecord::kNotEnded;
      MoveChildrenAfter(n, target);
    }
    open_.resize(from);
  }

  // `element` is the last child of `target`; its children are appended to target's.
  void MoveChildrenAfter(ElementNumber element, ElementNumber target) {
    ElementRecord& record = index_[element];
    const ElementNumber first = record.firstChild;
    if (first == 0) return;
    const ElementNumber last = index_[first].previousSibling;
    record.firstChild = 0;
    record.nextSibling = first;
    index_[first].previousSibling = element;
    index_[index_[target].firstChild].previousSibling = last;
    for (ElementNumber c = first; c != 0; c = index_[c].nextSibling) index_[c].parent = target;
  }

  void CloseOpenElements() {
    if (open_.empty()) return;
    const OpenElement& innermost = open_.back();
    Fail(u"Element '" + std::u16string(NameOf(innermost)) + u"' at offset " +
         Number(index_[innermost.element].start) + u" not ended");
    CloseAsNotEnded(0);
  }

  // Depths and first-child bits, once the tree no longer changes. A parent always has
  // a lower number than its children, so one forward pass suffices.
  void FinishRecords() {
    const std::uint32_t used = index_.Used();
    for (ElementNumber n = 1; n < used; ++n) {
      ElementRecord& record = index_[n];
      const ElementRecord& parent = index_[record.parent];
      std::uint32_t depth = (record.parent == 0 ? 0 : parent.Depth()) + 1;
      if (depth > kMaxXmlDepth) {
        Fail(u"Element at offset " + Number(record.start) + u" nested too deeply");
        depth = kMaxXmlDepth;
      }
      record.flags = (record.flags & ElementRecord::kNotEnded) | depth |
                     (parent.firstChild == n ? ElementRecord::kFirstChild : 0);
    }
  }

  void CheckRoot() {
    const ElementRecord& document = index_[0];
    if (text_.empty()) {
      message_ = u"Empty document";
    } else if (document.firstChild == 0) {
      message_ = u"No root element";
    } else if (index_[document.firstChild].nextSibling != 0) {
      message_ = u"Root element has sibling";
    }
  }

  std::u16string_view text_;
  ElementIndex& index_;
  std::vector<OpenElement> open_;
  std::u16string message_;
  bool illFormed_ = false;
};

}  // namespace

std::u16string BuildElementIndex(std::u16string_view text, ElementIndex& index) {
  return IndexBuilder(text, index).Build();
}

}  // namespace quencfg
