// Forward-only navigation: every search walks sibling links from where the last one
// stopped, so reading a document in order visits each element once.
#include "quencfg/model/xml_document.h"
#include "quencfg/model/xml_element_index.h"
#include "quencfg/model/xml_tokenizer.h"

namespace quencfg {

std::u16string_view XmlDocument::ElementName(ElementNumber element) const {
  if (element == 0 || element >= index_->Used()) return {};
  const ElementRecord& record = (*index_)[element];
  const std::u16string_view text(text_);
  return text.substr(record.start + 1, TagNameEnd(text, record.start + 1) - record.start - 1);
}

bool XmlDocument::MatchesName(ElementNumber element, std::u16string_view name) const {
  if (name.empty()) return true;
  const std::size_t nameStart = (*index_)[element].start + 1;
  const std::size_t after = nameStart + name.size();
  if (after > text_.size()) return false;
  // The cheap test first: a tag name of another length ends elsewhere.
  if (after < text_.size() && !IsTagNameDelimiter(text_[after])) return false;
  // A name with a delimiter in it can never equal a tag name; testing that here costs
  // less than a pass of its own over the name.
  const char16_t* tagName = text_.data() + nameStart;
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (tagName[i] != name[i] || IsTagNameDelimiter(name[i])) return false;
  }
  return true;
}

ElementNumber XmlDocument::FindSibling(ElementNumber from, std::u16string_view name) const {
  for (ElementNumber n = from; n != 0; n = (*index_)[n].nextSibling) {
    if (MatchesName(n, name)) return n;
  }
  return 0;
}

bool XmlDocument::FindElement(std::u16string_view name) {
  const ElementNumber from = current_ != 0 ? (*index_)[current_].nextSibling : (*index_)[parent_].firstChild;
  const ElementNumber found = FindSibling(from, name);
  if (found == 0) return false;
  current_ = found;
  parent_ = (*index_)[found].parent;
  child_ = 0;
  currentIsElement_ = true;
  return true;
}

bool XmlDocument::FindChildElement(std::u16string_view name) {
  if (current_ == 0 && !FindElement()) return false;
  const ElementNumber from = child_ != 0 ? (*index_)[child_].nextSibling : (*index_)[current_].firstChild;
  const ElementNumber found = FindSibling(from, name);
  if (found == 0) return false;
  child_ = found;
  return true;
}

bool XmlDocument::EnterElement() noexcept {
  if (current_ == 0) return false;
  parent_ = current_;
  current_ = child_;
  child_ = 0;
  currentIsElement_ = current_ != 0;
  return true;
}

bool XmlDocument::LeaveElement() noexcept {
  if (parent_ == 0) return false;
  child_ = current_;
  current_ = parent_;
  parent_ = (*index_)[parent_].parent;
  currentIsElement_ = true;
  return true;
}

}  // namespace quencfg
