#pragma once
// The read and write steps that the settings, profile and macro files share: forward
// reading of named children, and "set the element if it is there, else add it".
#include <cstdint>
#include <string>
#include <string_view>

#include "quencfg/model/xml_document.h"

namespace quencfg {

// The declaration every data file starts with.
inline constexpr std::u16string_view kUtf16Declaration = u"<?xml version=\"1.0\" encoding=\"utf-16\"?>\r\n";

// Loads `path` for an edit; a missing or ill-formed file becomes a new UTF-16LE
// document holding the declaration and an empty "root". Leaves the root entered.
void OpenForWriting(XmlDocument& doc, std::u16string_view path);

// FindElement `name` at the current level, or add it empty after the current element;
// then enter it.
void EnterOrAddElement(XmlDocument& doc, std::u16string_view name);

// FindElement `name`: replace its text when found, else add it after the current element.
void WriteElement(XmlDocument& doc, std::u16string_view name, std::u16string_view text);
void WriteElement(XmlDocument& doc, std::u16string_view name, std::int32_t value);

// FindChildElement `name`; when found, its decoded text goes to `text`.
bool ReadChildElement(XmlDocument& doc, std::u16string_view name, std::u16string& text);

// "Button_%d" and the like.
std::u16string NumberedName(std::u16string_view prefix, int number);

}  // namespace quencfg
