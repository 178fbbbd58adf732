#include "quencfg/model/macro_library.h"

#include <algorithm>

#include "quencfg/framework/files.h"
#include "quencfg/framework/folders.h"
#include "quencfg/framework/paths.h"
#include "quencfg/framework/text.h"
#include "quencfg/model/data_file_lock.h"
#include "quencfg/model/number_text.h"
#include "quencfg/model/xml_fields.h"

namespace quencfg {
namespace {

constexpr std::u16string_view kMacroExtension = u".macro";

std::u16string MacroFolder() {
  std::u16string folder(DataFolder());
  folder += NativeRelativePath(u"Macros\\");
  return folder;
}

void ReadEvent(XmlDocument& doc, MacroEvent& event) {
  std::u16string text;
  if (ReadChildElement(doc, u"attributeH", text)) event.attributeH = ParseLow8(text);
  if (ReadChildElement(doc, u"attributeL", text)) event.attributeL = ParseLow8(text);
  if (ReadChildElement(doc, u"map", text)) event.map = ParseLow8(text);
}

void WriteEvent(XmlDocument& doc, const MacroEvent& event) {
  WriteElement(doc, u"attributeH", event.attributeH);
  WriteElement(doc, u"attributeL", event.attributeL);
  WriteElement(doc, u"map", event.map);
}

}  // namespace

std::u16string MacroPath(std::u16string_view name) {
  std::u16string path = MacroFolder();
  path += name;
  path += kMacroExtension;
  return path;
}

bool IsUsableMacroName(std::u16string_view name) {
  if (name.empty() || name == u"." || name == u".." || IsDeviceFileName(name)) return false;
  constexpr std::u16string_view kForbidden = u"\\/:*?\"<>|";
  return std::none_of(name.begin(), name.end(), [&](char16_t c) {
    return c < 0x20 || kForbidden.find(c) != std::u16string_view::npos;
  });
}

bool ListMacros(std::vector<std::u16string>& names) {
  names = ListFiles(MacroFolder(), kMacroExtension);
  for (auto& name : names) name.resize(name.size() - kMacroExtension.size());
  return !names.empty();
}

std::u16string NextMacroName(std::u16string_view prefix, const std::vector<std::u16string>& names) {
  for (int n = 1;; ++n) {
    std::u16string candidate = NumberedName(prefix, n);
    if (std::find(names.begin(), names.end(), candidate) == names.end()) return candidate;
  }
}

void ReadMacro(MacroFile& macro, std::u16string_view name) {
  if (!IsUsableMacroName(name)) return;
  const auto hold = LockDataFiles();
  const std::u16string path = MacroPath(name);
  XmlDocument doc;
  if (!doc.LoadFile(path) || !doc.FindChildElement(u"Setting")) return;
  doc.EnterElement();
  std::u16string text;
  if (ReadChildElement(doc, u"MacroName", text)) CopyToField(macro.MacroName, text);
  if (ReadChildElement(doc, u"Repeat", text)) macro.Repeat = ParseLow16(text);
  for (int k = 0; k < kMacroEventCount; ++k) {
    if (!doc.FindChildElement(NumberedName(u"Event_", k))) continue;
    doc.EnterElement();
    ReadEvent(doc, macro.events[k]);
    doc.LeaveElement();
  }
  doc.LeaveElement();
  doc.SaveFileIfChanged(path);  // the rewrite after a read: text unchanged
}

void WriteMacro(const MacroFile& macro, std::u16string_view name) {
  if (!IsUsableMacroName(name)) return;
  const auto hold = LockDataFiles();
  const std::u16string path = MacroPath(name);
  XmlDocument doc;
  OpenForWriting(doc, path);
  EnterOrAddElement(doc, u"Setting");
  WriteElement(doc, u"MacroName", FieldText(macro.MacroName));
  WriteElement(doc, u"Repeat", macro.Repeat);
  for (int k = 0; k < kMacroEventCount; ++k) {
    EnterOrAddElement(doc, NumberedName(u"Event_", k));
    WriteEvent(doc, macro.events[k]);
    doc.LeaveElement();
  }
  doc.LeaveElement();
  doc.SaveFile(path);
}

void DeleteMacro(std::u16string_view name) {
  if (!IsUsableMacroName(name)) return;
  const auto hold = LockDataFiles();
  DeleteFileAt(MacroPath(name));
}

bool IsSameMacroFile(std::u16string_view a, std::u16string_view b) {
  if (!IsUsableMacroName(a) || !IsUsableMacroName(b)) return false;
  return SameFile(MacroPath(a), MacroPath(b));
}

bool RenameMacro(std::u16string_view from, std::u16string_view to) {
  if (!IsUsableMacroName(from) || !IsUsableMacroName(to)) return false;
  const auto hold = LockDataFiles();
  return RenameFile(MacroPath(from), MacroPath(to));
}

}  // namespace quencfg
