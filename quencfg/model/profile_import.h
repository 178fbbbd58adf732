#pragma once
// Reading a profile file the user chose to import: the file named, exactly, read and
// never written. What it read goes into a profile only when the file holds a profile,
// so a failed import leaves the caller's profile as it was.
#include <string_view>

#include "quencfg/model/profile_file.h"

namespace quencfg {

enum class ImportReadStatus {
  Read,        // the file held a profile; it was read into the profile
  Unreadable,  // no such file, or it could not be opened
  Damaged,     // read, but not a well-formed XML document
  NoProfile,   // a well-formed document without the buttons or lighting of a profile
};

// Reads the file at `path` (no extension is added or replaced) over a copy of
// `profile`: fields the file lacks keep the profile's values, as in ReadProfile. Only on
// ImportReadStatus::Read is the copy moved into `profile` and are the launch texts, as
// the file holds them, put into `stored`. The file is never written.
[[nodiscard]] ImportReadStatus ReadImportedProfile(std::u16string_view path, ProfileData& profile,
                                                   StoredLaunchTexts& stored);

}  // namespace quencfg
