#pragma once
// What each profile's file holds, as far as the main window knows: the profiles as
// loaded, then as each apply or reset saved them. A profile that differs from it holds
// edits that were not applied, which its profile button shows.
#include <array>

#include "quencfg/model/settings_block.h"

namespace quencfg {

// Whether two profiles hold the same keys and lighting, field by field (padding bytes
// never count).
[[nodiscard]] bool SameProfile(const ProfileData& a, const ProfileData& b) noexcept;

class SavedProfiles {
 public:
  // Every profile as `settings` holds it, e.g. right after loading.
  void RememberAll(const SettingsBlock& settings) noexcept;
  // After profile `index` was saved as `profile`.
  void Remember(int index, const ProfileData& profile) noexcept;
  // Whether `profile` differs from what profile `index` last saved; an index outside
  // the profiles is never marked.
  [[nodiscard]] bool Unsaved(int index, const ProfileData& profile) const noexcept;

 private:
  std::array<ProfileData, PROFILE_COUNT> saved_{};
};

}  // namespace quencfg
