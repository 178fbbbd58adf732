#pragma once
// Profile files: one XML file per profile, the same format the user imports and exports.
#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "quencfg/model/settings_block.h"
#include "quencfg/model/xml_document.h"

namespace quencfg {

// "Profile %d" with index + 1.
std::u16string ProfileName(int index);

// folder + name + ".profile"; an empty folder means DataFolder + "Profiles\".
std::u16string ProfilePath(std::u16string_view name, std::u16string_view folder);

// Reads the file into the profile: missing elements, and the whole profile when the
// file is missing or ill-formed, keep their values. Texts are cut to their fields.
// A file that was read is written back unchanged.
void ReadProfile(ProfileData& profile, std::u16string_view name, std::u16string_view folder);

// The "launch" texts of a profile file as they stand in it, before they are cut to the
// field; none for a key whose file entry has no "launch".
using StoredLaunchTexts = std::array<std::optional<std::u16string>, KEY_COUNT>;

// Reads a loaded profile document into the profile, as ReadProfile does after its load;
// `stored`, when given, receives the launch texts uncut. False when the document holds
// neither a button nor the lighting of a profile (nothing was read).
bool ReadProfileDocument(XmlDocument& doc, ProfileData& profile, StoredLaunchTexts* stored = nullptr);

// Writes the profile, changing only texts of existing elements and adding missing
// ones; a missing or ill-formed file is replaced by a new one. The result says why the
// file could not be saved (the old file, if any, is left as it was).
FileWriteResult WriteProfile(const ProfileData& profile, std::u16string_view name, std::u16string_view folder,
                             FileWriter& writer = PlatformFileWriter());

}  // namespace quencfg
