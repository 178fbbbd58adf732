#include "quencfg/model/xml_fields.h"

#include "quencfg/model/number_text.h"

namespace quencfg {

void OpenForWriting(XmlDocument& doc, std::u16string_view path) {
  if (!doc.LoadFile(path)) {
    doc.SetText(kUtf16Declaration);
    doc.SetFlags(XmlDocument::BOM_UTF16LE);
    doc.AddElement(u"root");
  }
  doc.ResetPosition();
  doc.FindElement();
  doc.EnterElement();
}

void EnterOrAddElement(XmlDocument& doc, std::u16string_view name) {
  if (!doc.FindElement(name)) doc.AddElement(name);
  doc.EnterElement();
}

void WriteElement(XmlDocument& doc, std::u16string_view name, std::u16string_view text) {
  if (doc.FindElement(name)) {
    doc.SetElementText(text);
  } else {
    doc.AddElement(name, text);
  }
}

void WriteElement(XmlDocument& doc, std::u16string_view name, std::int32_t value) {
  if (doc.FindElement(name)) {
    doc.SetElementText(value);
  } else {
    doc.AddElement(name, value);
  }
}

bool ReadChildElement(XmlDocument& doc, std::u16string_view name, std::u16string& text) {
  if (!doc.FindChildElement(name)) return false;
  text = doc.GetChildText();
  return true;
}

std::u16string NumberedName(std::u16string_view prefix, int number) {
  std::u16string name(prefix);
  name += FormatDecimal(number);
  return name;
}

}  // namespace quencfg
