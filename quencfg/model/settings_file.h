#pragma once
// The data folder's first-start set-up and the settings file "config.xml", which holds
// the current profile and the interface language.
#include <string>

#include "quencfg/framework/file_writer.h"
#include "quencfg/model/settings_block.h"

namespace quencfg {

// DataFolder + "config.xml".
std::u16string SettingsFilePath();

// Unless "Profile 1" exists: the Profiles folder with the three factory profiles,
// and the Macros folder.
void PrepareDataFolder();

bool SettingsFileExists();

// Plug, Profile, Language from the file, in that order (searches go forward only);
// missing elements and unreadable files leave the fields as they were. A file that
// was read is written back unchanged.
void ReadSettings(SettingsBlock& settings);

// Profile and Language into the file, keeping its other content; a missing or
// ill-formed file is replaced by a new one. The result says why the file could not be
// saved (it is then left as it was).
FileWriteResult WriteSettings(const SettingsBlock& settings, FileWriter& writer = PlatformFileWriter());

}  // namespace quencfg
