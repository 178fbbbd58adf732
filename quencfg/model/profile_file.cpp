#include "quencfg/model/profile_file.h"

#include "quencfg/framework/folders.h"
#include "quencfg/framework/paths.h"
#include "quencfg/framework/text.h"
#include "quencfg/model/data_file_lock.h"
#include "quencfg/model/number_text.h"
#include "quencfg/model/xml_fields.h"

namespace quencfg {
namespace {

void ReadKeySlot(XmlDocument& doc, KeySlot& slot, std::uint32_t& color, std::optional<std::u16string>* storedLaunch) {
  std::u16string text;
  if (ReadChildElement(doc, u"byBtnFuncType", text)) slot.byBtnFuncType = ParseDecimal(text);
  if (ReadChildElement(doc, u"launch", text)) {
    CopyToField(slot.launch, text);
    if (storedLaunch != nullptr) *storedLaunch = text;
  }
  if (ReadChildElement(doc, u"MacroName", text)) CopyToField(slot.MacroName, text);
  if (ReadChildElement(doc, u"repeatTime", text)) slot.repeatTime = ParseLow16(text);
  if (ReadChildElement(doc, u"byKeyNumber", text)) slot.byKeyNumber = ParseLow8(text);
  if (ReadChildElement(doc, u"coLightRGB", text)) color = ParseBits32(text);
}

void ReadLighting(XmlDocument& doc, LightingSettings& light) {
  std::u16string text;
  if (ReadChildElement(doc, u"byLightEffect", text)) light.byLightEffect = ParseLow8(text);
  if (ReadChildElement(doc, u"byLightBright", text)) light.byLightBright = ParseLow8(text);
  if (ReadChildElement(doc, u"byLightSpeed", text)) light.byLightSpeed = ParseLow8(text);
  if (ReadChildElement(doc, u"byLightColor", text)) light.byLightColor = ParseBits32(text);
  if (ReadChildElement(doc, u"byLightColorType", text)) light.byLightColorType = ParseLow8(text);
}

void WriteKeySlot(XmlDocument& doc, const KeySlot& slot, std::uint32_t color) {
  WriteElement(doc, u"byBtnFuncType", slot.byBtnFuncType);
  WriteElement(doc, u"launch", FieldText(slot.launch));
  WriteElement(doc, u"MacroName", FieldText(slot.MacroName));
  WriteElement(doc, u"repeatTime", slot.repeatTime);
  WriteElement(doc, u"byKeyNumber", slot.byKeyNumber);
  WriteElement(doc, u"coLightRGB", static_cast<std::int32_t>(color));
}

void WriteLighting(XmlDocument& doc, const LightingSettings& light) {
  WriteElement(doc, u"byLightEffect", light.byLightEffect);
  WriteElement(doc, u"byLightBright", light.byLightBright);
  WriteElement(doc, u"byLightSpeed", light.byLightSpeed);
  WriteElement(doc, u"byLightColor", static_cast<std::int32_t>(light.byLightColor));
  WriteElement(doc, u"byLightColorType", light.byLightColorType);
}

}  // namespace

std::u16string ProfileName(int index) { return NumberedName(u"Profile ", index + 1); }

std::u16string ProfilePath(std::u16string_view name, std::u16string_view folder) {
  std::u16string path;
  if (folder.empty()) {
    path = DataFolder();
    path += NativeRelativePath(u"Profiles\\");
  } else {
    path = folder;
  }
  path += name;
  path += u".profile";
  return path;
}

void ReadProfile(ProfileData& profile, std::u16string_view name, std::u16string_view folder) {
  const auto hold = LockDataFiles();
  const std::u16string path = ProfilePath(name, folder);
  XmlDocument doc;
  if (!doc.LoadFile(path)) return;
  ReadProfileDocument(doc, profile);
  doc.SaveFileIfChanged(path);  // the rewrite after a read: text unchanged
}

bool ReadProfileDocument(XmlDocument& doc, ProfileData& profile, StoredLaunchTexts* stored) {
  bool found = false;
  if (doc.FindChildElement(u"ButtonSet")) {
    doc.EnterElement();
    // One name buffer for all buttons: only the number changes.
    constexpr std::u16string_view kButtonPrefix = u"Button_";
    std::u16string buttonName(kButtonPrefix);
    for (int i = 0; i < KEY_COUNT; ++i) {
      buttonName.resize(kButtonPrefix.size());
      buttonName += FormatDecimal(i);
      if (!doc.FindChildElement(buttonName)) continue;
      found = true;
      doc.EnterElement();
      ReadKeySlot(doc, profile.keys[i], profile.lighting.keyColors.coLightRGB[i],
                  stored != nullptr ? &(*stored)[static_cast<std::size_t>(i)] : nullptr);
      doc.LeaveElement();
    }
    doc.LeaveElement();
  }
  if (doc.FindChildElement(u"Lighting")) {
    found = true;
    doc.EnterElement();
    ReadLighting(doc, profile.lighting);
    doc.LeaveElement();
  }
  return found;
}

FileWriteResult WriteProfile(const ProfileData& profile, std::u16string_view name, std::u16string_view folder,
                             FileWriter& writer) {
  const auto hold = LockDataFiles();
  const std::u16string path = ProfilePath(name, folder);
  XmlDocument doc;
  OpenForWriting(doc, path);
  EnterOrAddElement(doc, u"ButtonSet");
  for (int i = 0; i < KEY_COUNT; ++i) {
    EnterOrAddElement(doc, NumberedName(u"Button_", i));
    WriteKeySlot(doc, profile.keys[i], profile.lighting.keyColors.coLightRGB[i]);
    doc.LeaveElement();
  }
  doc.LeaveElement();
  EnterOrAddElement(doc, u"Lighting");
  WriteLighting(doc, profile.lighting);
  doc.LeaveElement();
  return doc.SaveFile(path, writer);
}

}  // namespace quencfg
