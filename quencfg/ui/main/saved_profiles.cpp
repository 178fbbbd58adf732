#include "quencfg/ui/main/saved_profiles.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "quencfg/device/keyboard_lighting.h"

namespace quencfg {
namespace {

// A key slot has no padding (its size is checked where it is declared).
bool SameKey(const KeySlot& a, const KeySlot& b) noexcept { return std::memcmp(&a, &b, sizeof(KeySlot)) == 0; }

}  // namespace

bool SameProfile(const ProfileData& a, const ProfileData& b) noexcept {
  return std::equal(std::begin(a.keys), std::end(a.keys), std::begin(b.keys), SameKey) &&
         SameKeyboardLighting(a.lighting, b.lighting) &&
         std::equal(std::begin(a.lighting.keyColors.layerName), std::end(a.lighting.keyColors.layerName),
                    std::begin(b.lighting.keyColors.layerName));
}

void SavedProfiles::RememberAll(const SettingsBlock& settings) noexcept {
  for (int index = 0; index < PROFILE_COUNT; ++index) Remember(index, settings.profiles[index]);
}

void SavedProfiles::Remember(int index, const ProfileData& profile) noexcept {
  if (IsProfileIndex(index)) saved_[static_cast<std::size_t>(index)] = profile;
}

bool SavedProfiles::Unsaved(int index, const ProfileData& profile) const noexcept {
  return IsProfileIndex(index) && !SameProfile(saved_[static_cast<std::size_t>(index)], profile);
}

}  // namespace quencfg
