#include "quencfg/model/xml_parser.h"

#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "quencfg/framework/text.h"
#include "quencfg/model/xml_element_index.h"
#include "quencfg/model/xml_name_counts.h"
#include "quencfg/model/xml_tokenizer.h"

namespace quencfg {
namespace {

std::u16string Number(std::size_t n) { return AsciiToUtf16(std::to_string(n)); }

// ASCII letters, digits, "_", "-", ".", ":": the tag names the quick path handles.
constexpr std::array<bool, 128> MakeQuickNameCharacters() {
  std::array<bool, 128> table{};
  for (char16_t c = 0; c < 128; ++c) {
    table[c] = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'_' ||
               c == u'-' || c == u'.' || c == u':';
  }
  return table;
}
constexpr std::array<bool, 128> kQuickNameCharacters = MakeQuickNameCharacters();

class IndexBuilder {
 public:
  IndexBuilder(std::u16string_view text, ElementIndex& index) : text_(text), index_(index), openNames_(text) {}

  std::u16string Build() {
    index_.Reset(text_.size());
    index_[0].length = static_cast<std::uint32_t>(text_.size());
    if (text_.size() > kMaxXmlTextLength) {
      Fail([&] { return u"Document of " + Number(text_.size()) + u" units too large"; });
    } else {
      ReadTokens();
      CloseOpenElements();
      if (movedChildren_) FinishRecords();
      CheckRoot();
    }
    if (illFormed_) index_[0].flags |= ElementRecord::kIllFormed;
    return message_;
  }

 private:
  // Start offset and tag length are copies of the record's, so that matching and
  // closing an element read nothing from the index.
  struct OpenElement {
    ElementNumber element;
    std::uint32_t start;
    std::uint32_t nameLength;
    std::uint32_t startTagLength;
    ElementNumber lastChild;  // kept here so appending never reads the first child's record
  };

  // Marks the document ill-formed. Only the first error's message is kept, so only the
  // first is built: a document may hold an error in every tag.
  template <typename MakeMessage>
  void Fail(MakeMessage makeMessage) {
    if (!illFormed_) message_ = makeMessage();
    illFormed_ = true;
  }

  std::u16string_view NameOf(const OpenElement& open) const {
    return text_.substr(open.start + 1, open.nameLength);
  }

  bool HasName(const OpenElement& open, std::u16string_view name) const noexcept {
    if (open.nameLength != name.size()) return false;
    // Names are short: a plain loop beats a call to memcmp.
    const char16_t* a = text_.data() + open.start + 1;
    for (std::size_t i = 0; i < name.size(); ++i) {
      if (a[i] != name[i]) return false;
    }
    return true;
  }

  void ReadTokens() {
    std::size_t offset = 0;
    for (;;) {
      // Character data makes no records: go straight to the next markup.
      offset = FindMarkup(offset);
      XmlToken token;
      if (InnermostEndTag(offset, token)) {
        if (FitsEndTagLength(token)) CloseInnermost(token);
        offset = token.end;
        continue;
      }
      if (!QuickTag(offset, token)) token = NextXmlToken(text_, offset);
      switch (token.kind) {
        case XmlNodeKind::End:
          return;
        case XmlNodeKind::Error:
          Fail([&] { return XmlTokenErrorMessage(token); });
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

  // The common tags without the general tokenizer: "<name>", "<name/>" and "</name>".
  // False leaves anything else (attributes, odd spacing, other markup) to NextXmlToken.
  bool QuickTag(std::size_t offset, XmlToken& token) const noexcept {
    const char16_t* p = text_.data();
    const std::size_t n = text_.size();
    if (offset + 2 >= n) return false;
    const bool end = p[offset + 1] == u'/';
    const std::size_t nameStart = offset + (end ? 2 : 1);
    const char16_t first = p[nameStart];
    if (!((first >= u'a' && first <= u'z') || (first >= u'A' && first <= u'Z') || first == u'_')) return false;
    std::size_t i = nameStart + 1;
    while (i < n && IsQuickNameCharacter(p[i])) ++i;
    if (i >= n) return false;
    std::size_t close = i;
    bool empty = false;
    if (p[i] == u'/' && !end && i + 1 < n && p[i + 1] == u'>') {
      close = i + 1;
      empty = true;
    } else if (p[i] != u'>') {
      return false;
    }
    token.kind = end ? XmlNodeKind::EndTag : XmlNodeKind::StartTag;
    token.start = offset;
    token.end = close + 1;
    token.nameEnd = i;
    token.emptyTag = empty;
    return true;
  }

  // "</name>" closing the innermost open element, the usual end tag: its name passed as
  // a tag name at the start tag, so comparing it is all the checking needed.
  bool InnermostEndTag(std::size_t offset, XmlToken& token) const noexcept {
    if (open_.empty()) return false;
    const std::size_t nameStart = offset + 2;
    const std::size_t close = nameStart + open_.back().nameLength;
    if (close >= text_.size() || text_[offset + 1] != u'/' || text_[close] != u'>') return false;
    if (!HasName(open_.back(), text_.substr(nameStart, close - nameStart))) return false;
    token.kind = XmlNodeKind::EndTag;
    token.start = offset;
    token.end = close + 1;
    token.nameEnd = close;
    token.emptyTag = false;
    return true;
  }

  static bool IsQuickNameCharacter(char16_t c) noexcept { return c < 128 && kQuickNameCharacters[c]; }

  // Offset of the next "<" at or after `from`, or the text's size; four units a step.
  std::size_t FindMarkup(std::size_t from) const noexcept {
    const char16_t* p = text_.data();
    const std::size_t n = text_.size();
    std::size_t i = from;
    for (; i + 4 <= n; i += 4) {
      std::uint64_t word;
      std::memcpy(&word, p + i, sizeof word);
      const std::uint64_t x = word ^ 0x003C003C003C003Cull;  // a "<" lane becomes 0
      if (((x - 0x0001000100010001ull) & ~x & 0x8000800080008000ull) != 0) break;
    }
    while (i < n && p[i] != u'<') ++i;
    return i;
  }

  // False when the index is full.
  bool OnStartTag(const XmlToken& token) {
    const std::size_t tagLength = token.end - token.start;
    if (tagLength > ElementRecord::kMaxStartTagLength) {
      Fail([&] { return u"Element tag at offset " + Number(token.start) + u" too long"; });
      return true;
    }
    const ElementNumber n = index_.Append();
    if (n == 0) {
      Fail([&] { return u"Too many elements at offset " + Number(token.start); });
      return false;
    }
    const ElementNumber parent = open_.empty() ? 0 : open_.back().element;
    ElementNumber& lastChild = open_.empty() ? topLevelLast_ : open_.back().lastChild;
    ElementRecord& record = index_[n];
    record.start = static_cast<std::uint32_t>(token.start);
    record.length = static_cast<std::uint32_t>(tagLength);
    record.SetTagLengths(static_cast<std::uint32_t>(tagLength), 0);
    record.parent = parent;
    const std::size_t depth = open_.size() + 1;
    record.flags = depth <= kMaxXmlDepth ? static_cast<std::uint32_t>(depth) : kMaxXmlDepth;
    if (depth > kMaxXmlDepth) {
      Fail([&] { return u"Element at offset " + Number(token.start) + u" nested too deeply"; });
    }
    AppendChild(parent, lastChild, n);
    lastChild = n;
    if (!token.emptyTag) {
      open_.push_back(OpenElement{n, record.start, static_cast<std::uint32_t>(token.nameEnd - token.start - 1),
                                  static_cast<std::uint32_t>(tagLength), 0});
    }
    return true;
  }

  void AppendChild(ElementNumber parent, ElementNumber last, ElementNumber child) {
    ElementRecord& record = index_[child];
    record.nextSibling = 0;
    record.firstChild = 0;
    if (last == 0) {
      index_[parent].firstChild = child;
      record.previousSibling = child;
      record.flags |= ElementRecord::kFirstChild;
    } else {
      index_[last].nextSibling = child;
      record.previousSibling = last;
      index_[index_[parent].firstChild].previousSibling = child;
    }
  }

  void OnEndTag(const XmlToken& token) {
    const std::u16string_view name = text_.substr(token.start + 2, token.nameEnd - token.start - 2);
    const std::size_t match = OpenElementNamed(name);
    if (match == kNoMatch) {
      Fail([&] {
        return u"No start tag for end tag '" + std::u16string(name) + u"' at offset " + Number(token.start);
      });
      return;
    }
    if (!FitsEndTagLength(token)) return;
    if (match + 1 < open_.size()) {
      Fail([&] {
        const OpenElement& unended = open_.back();
        return u"End tag '" + std::u16string(name) + u"' at offset " + Number(token.start) +
               u" does not match start tag '" + std::u16string(NameOf(unended)) + u"' at offset " +
               Number(unended.start);
      });
      CloseAsNotEnded(match + 1);
    }
    CloseInnermost(token);
  }

  static constexpr std::size_t kNoMatch = static_cast<std::size_t>(-1);

  // Position in open_ of the innermost open element called `name`, or kNoMatch. The walk
  // down the stack visits only elements that the end tag then closes, and elements not
  // counted yet, which it counts when the name is not among them: an end tag that
  // matches no open element costs no walk over counted ones.
  std::size_t OpenElementNamed(std::u16string_view name) {
    std::size_t i = open_.size();
    for (; i > countedOpen_; --i) {
      if (HasName(open_[i - 1], name)) return i - 1;
    }
    for (; countedOpen_ < open_.size(); ++countedOpen_) {
      openNames_.Add(open_[countedOpen_].start + 1, open_[countedOpen_].nameLength);
    }
    if (!openNames_.Contains(name)) return kNoMatch;
    while (!HasName(open_[i - 1], name)) --i;
    return i - 1;
  }

  // Every element leaves the stack through here.
  void PopOpen() {
    if (open_.size() <= countedOpen_) {
      openNames_.Remove(open_.back().start + 1, open_.back().nameLength);
      --countedOpen_;
    }
    open_.pop_back();
  }

  void PopOpenDownTo(std::size_t size) {
    if (size == 0) {  // nothing stays open: the counts go all at once
      openNames_.Clear();
      countedOpen_ = 0;
      open_.clear();
    }
    while (open_.size() > size) PopOpen();
  }

  bool FitsEndTagLength(const XmlToken& token) {
    if (token.end - token.start <= ElementRecord::kMaxEndTagLength) return true;
    Fail([&] { return u"Element end tag at offset " + Number(token.start) + u" too long"; });
    return false;
  }

  // The end tag `token` closes the innermost open element.
  void CloseInnermost(const XmlToken& token) {
    const OpenElement& open = open_.back();
    ElementRecord& record = index_[open.element];
    record.length = static_cast<std::uint32_t>(token.end - open.start);
    record.SetTagLengths(open.startTagLength, static_cast<std::uint32_t>(token.end - token.start));
    PopOpen();
  }

  // Closes open_[from..] at their start tags; their children move up to follow them,
  // so all of them end up as children of the element below open_[from].
  void CloseAsNotEnded(std::size_t from) {
    const ElementNumber target = from == 0 ? 0 : open_[from - 1].element;
    ElementNumber& targetLast = from == 0 ? topLevelLast_ : open_[from - 1].lastChild;
    for (std::size_t i = from; i < open_.size(); ++i) {
      const ElementNumber n = open_[i].element;
      ElementRecord& record = index_[n];
      record.length = record.StartTagLength();
      record.flags |= ElementRecord::kNotEnded;
      // n is the last child of target now; after the move, its own last child is.
      if (open_[i].lastChild != 0) {
        MoveChildrenAfter(n, target);
        targetLast = open_[i].lastChild;
      }
    }
    PopOpenDownTo(from);
  }

  // `element` is the last child of `target`; its children are appended to target's.
  void MoveChildrenAfter(ElementNumber element, ElementNumber target) {
    ElementRecord& record = index_[element];
    const ElementNumber first = record.firstChild;
    if (first == 0) return;
    const ElementNumber last = index_[first].previousSibling;
    movedChildren_ = true;
    record.firstChild = 0;
    record.nextSibling = first;
    index_[first].previousSibling = element;
    index_[index_[target].firstChild].previousSibling = last;
    for (ElementNumber c = first; c != 0; c = index_[c].nextSibling) index_[c].parent = target;
  }

  void CloseOpenElements() {
    if (open_.empty()) return;
    const OpenElement& innermost = open_.back();
    Fail([&] {
      return u"Element '" + std::u16string(NameOf(innermost)) + u"' at offset " + Number(innermost.start) +
             u" not ended";
    });
    CloseAsNotEnded(0);
  }

  // Depths and first-child bits once recovery has moved children. A parent always has
  // a lower number than its children, so one forward pass suffices.
  void FinishRecords() {
    const std::uint32_t used = index_.Used();
    for (ElementNumber n = 1; n < used; ++n) {
      ElementRecord& record = index_[n];
      const ElementRecord& parent = index_[record.parent];
      std::uint32_t depth = (record.parent == 0 ? 0 : parent.Depth()) + 1;
      if (depth > kMaxXmlDepth) depth = kMaxXmlDepth;
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
  // The names of open_[0 .. countedOpen_), counted when an end tag first needs them.
  XmlNameCounts openNames_;
  std::size_t countedOpen_ = 0;
  std::u16string message_;
  bool illFormed_ = false;
  bool movedChildren_ = false;
  ElementNumber topLevelLast_ = 0;  // depths and first-child bits need a fresh pass
};

}  // namespace

std::u16string BuildElementIndex(std::u16string_view text, ElementIndex& index) {
  return IndexBuilder(text, index).Build();
}

}  // namespace quencfg
