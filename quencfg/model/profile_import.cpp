#include "quencfg/model/profile_import.h"

#include <memory>

#include "quencfg/framework/files.h"

namespace quencfg {

ImportReadStatus ReadImportedProfile(std::u16string_view path, ProfileData& profile, StoredLaunchTexts& stored) {
  XmlDocument doc;
  if (!doc.LoadFile(path)) {
    return doc.Text().empty() && !IsRegularFile(path) ? ImportReadStatus::Unreadable : ImportReadStatus::Damaged;
  }
  // A profile is large: the copy lives on the heap.
  auto read = std::make_unique<ProfileData>(profile);
  StoredLaunchTexts texts;
  if (!ReadProfileDocument(doc, *read, &texts)) return ImportReadStatus::NoProfile;
  profile = *read;
  stored = std::move(texts);
  return ImportReadStatus::Read;
}

}  // namespace quencfg
