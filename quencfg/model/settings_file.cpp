#include "quencfg/model/settings_file.h"

#include <cstring>
#include <memory>

#include "quencfg/framework/files.h"
#include "quencfg/framework/folders.h"
#include "quencfg/framework/paths.h"
#include "quencfg/model/data_file_lock.h"
#include "quencfg/model/number_text.h"
#include "quencfg/model/profile_file.h"
#include "quencfg/model/xml_fields.h"

namespace quencfg {
namespace {

// DataFolder without its final separator, the base for the folder walk.
std::u16string DataFolderBase() {
  std::u16string base(DataFolder());
  if (!base.empty() && base.back() == kPathSeparator) base.pop_back();
  return base;
}

std::u16string SubfolderPart(std::u16string_view name) {
  std::u16string part(1, kPathSeparator);
  part += name;
  part += kPathSeparator;
  return part;
}

}  // namespace

std::u16string SettingsFilePath() { return std::u16string(DataFolder()) + u"config.xml"; }

void PrepareDataFolder() {
  if (PathExists(ProfilePath(ProfileName(0), u""))) return;
  ResolveFolderUnder(DataFolderBase(), SubfolderPart(u"Profiles"));
  auto profile = std::make_unique<ProfileData>();
  for (int index = 0; index < PROFILE_COUNT; ++index) {
    std::memset(profile.get(), 0, sizeof *profile);
    NormalizeProfile(*profile, true, index);
    WriteProfile(*profile, ProfileName(index), u"");
  }
  ResolveFolderUnder(DataFolderBase(), SubfolderPart(u"Macros"));
}

bool SettingsFileExists() { return PathExists(SettingsFilePath()); }

void ReadSettings(SettingsBlock& settings) {
  const auto hold = LockDataFiles();
  const std::u16string path = SettingsFilePath();
  XmlDocument doc;
  if (!doc.LoadFile(path)) return;
  if (doc.FindChildElement(u"Setting")) {
    doc.EnterElement();
    std::u16string text;
    if (ReadChildElement(doc, u"Plug", text)) settings.Plug = ParseLow8(text);
    if (ReadChildElement(doc, u"Profile", text)) settings.Profile = ParseLow8(text);
    if (ReadChildElement(doc, u"Language", text)) settings.Language = ParseLow8(text);
    doc.LeaveElement();
  }
  doc.SaveFileIfChanged(path);  // the rewrite after a read: text unchanged
}

FileWriteResult WriteSettings(const SettingsBlock& settings, FileWriter& writer) {
  const auto hold = LockDataFiles();
  const std::u16string path = SettingsFilePath();
  XmlDocument doc;
  OpenForWriting(doc, path);
  EnterOrAddElement(doc, u"Setting");
  WriteElement(doc, u"Profile", settings.Profile);
  WriteElement(doc, u"Language", settings.Language);
  doc.LeaveElement();
  return doc.SaveFile(path, writer);
}

}  // namespace quencfg
