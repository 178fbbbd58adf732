// Edits change the text in place and patch the index instead of parsing again.
#include <cstdio>
#include <exception>

#include "quencfg/framework/text.h"
#include "quencfg/model/xml_document.h"
#include "quencfg/model/xml_element_index.h"
#include "quencfg/model/xml_entities.h"
#include "quencfg/model/xml_parser.h"
#include "quencfg/model/xml_tokenizer.h"

namespace quencfg {
namespace {

constexpr std::u16string_view kLineBreak = u"\r\n";

std::u16string Decimal(std::int32_t value) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%d", static_cast<int>(value));
  return AsciiToUtf16(buffer);
}

// A name that parses back as exactly this tag name, with an end tag that fits its field.
bool IsValidNewName(std::u16string_view name) noexcept {
  if (name.empty() || name.size() + 3 > ElementRecord::kMaxEndTagLength) return false;
  const char16_t first = name[0];
  if (!((first >= u'A' && first <= u'Z') || first == u'_' || first == u':' || first > u'`')) return false;
  for (const char16_t c : name) {
    if (IsTagNameDelimiter(c)) return false;
  }
  return true;
}

// Built by appending: GCC 12 warns falsely (-Wrestrict) about chains of operator+.
std::u16string Tag(std::u16string_view open, std::u16string_view name, std::u16string_view close) {
  std::u16string tag;
  tag.reserve(open.size() + name.size() + close.size());
  tag.append(open).append(name).append(close);
  return tag;
}

std::u16string EndTag(std::u16string_view name) { return Tag(u"</", name, u">"); }

}  // namespace

bool XmlDocument::FitsIndexLimits(std::size_t added) const noexcept {
  return added <= kMaxXmlTextLength && text_.size() + added <= kMaxXmlTextLength;
}

void XmlDocument::ReserveText(std::size_t needed) {
  if (needed > text_.capacity()) text_.reserve(needed + needed / 2 + 128);
}

void XmlDocument::ReplaceText(std::size_t offset, std::size_t removed, std::u16string_view inserted,
                              ElementNumber owner) {
  ReserveText(text_.size() - removed + inserted.size());
  text_.replace(offset, removed, inserted);

  const auto delta = static_cast<std::uint32_t>(inserted.size() - removed);  // modulo 2^32
  const std::size_t moveFrom = offset + removed;
  index_->ForEach([&](ElementRecord& record) {
    if (record.start >= moveFrom) record.start += delta;
  });
  (*index_)[0].start = 0;
  for (ElementNumber e = owner;; e = (*index_)[e].parent) {
    (*index_)[e].length += delta;
    if (e == 0) break;
  }
}

bool XmlDocument::SetElementText(std::int32_t value) { return SetElementText(Decimal(value)); }

bool XmlDocument::SetElementText(std::u16string_view text) {
  // Every allocation happens before the text or the index changes.
  try {
    return ReplaceContent(text);
  } catch (const std::exception&) {
    return false;
  }
}

bool XmlDocument::ReplaceContent(std::u16string_view text) {
  if (current_ == 0) return false;
  const ElementRecord record = (*index_)[current_];
  if (record.firstChild != 0 || (record.flags & ElementRecord::kNotEnded) != 0) return false;
  const std::u16string encoded = EncodeEntities(text);
  const std::uint32_t startTag = record.StartTagLength();
  if (!record.IsEmptyTag()) {
    const std::size_t contentStart = record.start + startTag;
    const std::size_t contentLength = record.length - startTag - record.EndTagLength();
    if (encoded.size() > contentLength && !FitsIndexLimits(encoded.size() - contentLength)) return false;
    ReplaceText(contentStart, contentLength, encoded, current_);
    return true;
  }
  // <name .../> becomes <name ...>text</name>: the "/" goes, an end tag comes.
  const std::u16string endTag = EndTag(ElementName(current_));
  if (endTag.size() > ElementRecord::kMaxEndTagLength) return false;  // a name too long for its end tag
  if (!FitsIndexLimits(encoded.size() + endTag.size())) return false;
  std::u16string rewritten = text_.substr(record.start, startTag - 2);
  rewritten += u'>';
  rewritten += encoded;
  rewritten += endTag;
  const ElementNumber element = current_;
  ReplaceText(record.start, startTag, rewritten, (*index_)[element].parent);
  ElementRecord& changed = (*index_)[element];
  changed.length = static_cast<std::uint32_t>(rewritten.size());
  changed.SetTagLengths(startTag - 1, static_cast<std::uint32_t>(endTag.size()));
  return true;
}

bool XmlDocument::AddElement(std::u16string_view name, std::int32_t value) {
  return AddElement(name, Decimal(value));
}

bool XmlDocument::AddElement(std::u16string_view name, std::u16string_view text) {
  if (!IsValidNewName(name)) return false;
  try {
    return InsertElement(name, EncodeEntities(text));
  } catch (const std::exception&) {  // allocations come before any change
    return false;
  }
}

bool XmlDocument::InsertElement(std::u16string_view name, std::u16string_view encoded) {
  const std::u16string startTag = Tag(u"<", name, encoded.empty() ? u"/>" : u">");
  const std::u16string endTag = encoded.empty() ? std::u16string() : EndTag(name);
  std::u16string element = startTag;
  element += encoded;
  element += endTag;
  const std::size_t elementLength = element.size();
  element += kLineBreak;
  if (!FitsIndexLimits(element.size() + startTag.size() + kLineBreak.size() + name.size() + 3)) return false;

  const ElementNumber parent = current_ != 0 ? (*index_)[current_].parent : parent_;
  const ElementRecord parentRecord = (*index_)[parent];
  if (current_ == 0 && parent != 0 && (parentRecord.flags & ElementRecord::kNotEnded) != 0) return false;

  // Plan the change completely first: every allocation must come before the text or
  // the index changes, so that running out of memory leaves the document as it was.
  std::size_t offset = 0;       // where the text changes
  std::size_t removed = 0;      // units replaced there
  std::u16string inserted;      // what goes there
  ElementNumber owner = parent; // whose length (and its ancestors') grows
  std::size_t elementStart = 0;
  std::u16string parentEndTag;  // set when an empty parent tag is rewritten
  if (current_ != 0) {
    // After the current element, past the line break that follows it.
    const ElementRecord& after = (*index_)[current_];
    offset = after.start + after.length;
    std::size_t skip = offset;
    while (skip < text_.size() && IsXmlSpace(text_[skip])) ++skip;
    if (skip == text_.size() || text_[skip] == u'<') offset = skip;
    inserted = std::move(element);
    elementStart = offset;
  } else if (parent == 0) {
    offset = elementStart = text_.size();
    inserted = std::move(element);
  } else if (parentRecord.IsEmptyTag()) {
    // <parent/> becomes <parent>CR LF element CR LF </parent>.
    const std::uint32_t parentStartTag = parentRecord.StartTagLength();
    parentEndTag = EndTag(ElementName(parent));
    if (parentEndTag.size() > ElementRecord::kMaxEndTagLength) return false;
    inserted = text_.substr(parentRecord.start, parentStartTag - 2);
    inserted += u'>';
    inserted += kLineBreak;
    inserted += element;
    inserted += parentEndTag;
    offset = parentRecord.start;
    removed = parentStartTag;
    owner = parentRecord.parent;
    elementStart = parentRecord.start + parentStartTag - 1 + kLineBreak.size();
  } else {
    offset = parentRecord.start + parentRecord.length - parentRecord.EndTagLength();
    const bool noContent = offset == parentRecord.start + parentRecord.StartTagLength();
    if (noContent) inserted = kLineBreak;
    inserted += element;
    elementStart = offset + (noContent ? kLineBreak.size() : 0);
  }
  ReserveText(text_.size() - removed + inserted.size());
  const ElementNumber created = index_->Append();
  if (created == 0) return false;

  ReplaceText(offset, removed, inserted, owner);
  if (!parentEndTag.empty()) {
    ElementRecord& changed = (*index_)[parent];
    changed.length = static_cast<std::uint32_t>(inserted.size());
    changed.SetTagLengths(parentRecord.StartTagLength() - 1, static_cast<std::uint32_t>(parentEndTag.size()));
  }
  ElementRecord& record = (*index_)[created];
  record.start = static_cast<std::uint32_t>(elementStart);
  record.length = static_cast<std::uint32_t>(elementLength);
  record.SetTagLengths(static_cast<std::uint32_t>(startTag.size()), static_cast<std::uint32_t>(endTag.size()));
  LinkNewElement(created, parent, current_);
  current_ = created;
  parent_ = parent;
  child_ = 0;
  currentIsElement_ = true;
  return true;
}

void XmlDocument::LinkNewElement(ElementNumber created, ElementNumber parent, ElementNumber after) {
  ElementIndex& index = *index_;
  ElementRecord& record = index[created];
  record.parent = parent;
  const std::uint32_t parentDepth = parent == 0 ? 0 : index[parent].Depth();
  record.flags = parentDepth < kMaxXmlDepth ? parentDepth + 1 : kMaxXmlDepth;
  ElementRecord& p = index[parent];
  if (p.firstChild == 0) {
    p.firstChild = created;
    record.previousSibling = created;
    record.flags |= ElementRecord::kFirstChild;
    return;
  }
  ElementRecord& first = index[p.firstChild];
  if (after == 0) after = first.previousSibling;  // append as the last child
  ElementRecord& previous = index[after];
  record.previousSibling = after;
  record.nextSibling = previous.nextSibling;
  if (previous.nextSibling != 0) {
    index[previous.nextSibling].previousSibling = created;
  } else {
    first.previousSibling = created;
  }
  previous.nextSibling = created;
}

}  // namespace quencfg
