#pragma once
// The profile model: one flat, pointer-free record holding the settings and the
// three profiles, copied and cleared as whole blocks of bytes.
#include <cstdint>
#include <type_traits>

namespace quencfg {

inline constexpr int KEY_COUNT = 111;
inline constexpr int PROFILE_COUNT = 3;

inline constexpr int kLaunchCapacity = 260;
inline constexpr int kMacroNameCapacity = 50;
inline constexpr int kLayerNameCapacity = 50;

enum ButtonFunction : std::int32_t {
  BTNFUNC_DEFAULT = 0,
  BTNFUNC_DISABLE = 464,
  BTNFUNC_KEY = 465,
  BTNFUNC_LAUNCH = 467,
  BTNFUNC_MACRO = 512,
};

inline constexpr std::uint8_t kLanguageMin = 101;
inline constexpr std::uint8_t kLanguageMax = 131;
inline constexpr std::uint8_t kLanguageDefault = 108;

inline constexpr std::uint8_t kLightEffectMax = 20;
// The two effects with colors of their own: one color for the whole keyboard, and
// one color for each key.
inline constexpr std::uint8_t kEffectSingleColor = 16;
inline constexpr std::uint8_t kEffectPerKey = 19;
inline constexpr std::uint8_t kLightBrightMax = 4;
inline constexpr std::uint8_t kLightSpeedMax = 4;
inline constexpr std::uint8_t kLightColorTypeMax = 8;
inline constexpr std::uint32_t kLightColorMax = 0xFFFFFF;

struct KeySlot {
  std::int32_t byBtnFuncType;  // a ButtonFunction value; unknown values are kept as they are
  char16_t launch[kLaunchCapacity];
  char16_t MacroName[kMacroNameCapacity];
  std::uint16_t repeatTime;
  std::uint8_t byKeyNumber;
};

struct KeyColorLayer {
  char16_t layerName[kLayerNameCapacity];
  std::uint32_t coLightRGB[KEY_COUNT];  // color value per key slot: red in bits 0-7
};

struct LightingSettings {
  std::uint8_t byLightEffect;
  std::uint8_t byLightBright;
  std::uint8_t byLightSpeed;
  std::uint32_t byLightColor;
  std::uint8_t byLightColorType;
  KeyColorLayer keyColors;
};

struct ProfileData {
  KeySlot keys[KEY_COUNT];
  LightingSettings lighting;
};

struct SettingsBlock {
  std::uint8_t Plug;
  std::uint8_t Profile;
  std::uint8_t Language;
  ProfileData profiles[PROFILE_COUNT];
};

// Layout checks: the record stays flat, so copying and clearing are single byte operations.
static_assert(std::is_trivially_copyable_v<SettingsBlock> && std::is_standard_layout_v<SettingsBlock>);
static_assert(sizeof(KeySlot) == 4 + 2 * kLaunchCapacity + 2 * kMacroNameCapacity + 2 + 1 + 1);
static_assert(sizeof(KeySlot) == 628);
static_assert(sizeof(KeyColorLayer) == 2 * kLayerNameCapacity + 4 * KEY_COUNT);
static_assert(sizeof(LightingSettings) == 12 + sizeof(KeyColorLayer));
static_assert(sizeof(ProfileData) == KEY_COUNT * sizeof(KeySlot) + sizeof(LightingSettings));
static_assert(sizeof(SettingsBlock) == 4 + PROFILE_COUNT * sizeof(ProfileData));

// Whether `index` names one of the profiles.
[[nodiscard]] constexpr bool IsProfileIndex(int index) noexcept { return index >= 0 && index < PROFILE_COUNT; }

// The profile the settings name as current; profile 0 when the index is out of range.
[[nodiscard]] int CurrentProfileIndex(const SettingsBlock& settings) noexcept;
[[nodiscard]] const ProfileData& CurrentProfile(const SettingsBlock& settings) noexcept;
[[nodiscard]] ProfileData& CurrentProfile(SettingsBlock& settings) noexcept;

// Zero-fills the block, then applies NormalizeSettings.
void ClearSettings(SettingsBlock& settings) noexcept;

// Language outside 101..131 becomes 108; Profile above 2 becomes 0.
void NormalizeSettings(SettingsBlock& settings) noexcept;

// With `reset`, returns the profile to the factory state of profile `index` (0..2);
// without, replaces each out-of-range lighting value by its factory value.
void NormalizeProfile(ProfileData& profile, bool reset, int index) noexcept;

// Factory effect color of a profile index: white, red, blue.
std::uint32_t FactoryLightColor(int index) noexcept;

}  // namespace quencfg
