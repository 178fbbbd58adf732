#pragma once
// The profile model: one flat, pointer-free record holding the settings and the
// three profiles, copied and cleared as whole blocks of bytes.
#include <cstdint>
#include <type_traits>

namespace quencfg {

inline constexpr int KEY_COUNT = 111;
inline constexpr int PROFILE_COUNT = 3;

inline constexpr int LAUNCH_CAPACITY = 260;
inline constexpr int MACRO_NAME_CAPACITY = 50;
inline constexpr int LAYER_NAME_CAPACITY = 50;

enum ButtonFunction : std::int32_t {
  BTNFUNC_DEFAULT = 0,
  BTNFUNC_DISABLE = 464,
  BTNFUNC_KEY = 465,
  BTNFUNC_LAUNCH = 467,
  BTNFUNC_MACRO = 512,
};

inline constexpr std::uint8_t LANGUAGE_MIN = 101;
inline constexpr std::uint8_t LANGUAGE_MAX = 131;
inline constexpr std::uint8_t LANGUAGE_DEFAULT = 108;

inline constexpr std::uint8_t LIGHT_EFFECT_MAX = 20;
inline constexpr std::uint8_t LIGHT_BRIGHT_MAX = 4;
inline constexpr std::uint8_t LIGHT_SPEED_MAX = 4;
inline constexpr std::uint8_t LIGHT_COLOR_TYPE_MAX = 8;
inline constexpr std::uint32_t LIGHT_COLOR_MAX = 0xFFFFFF;

struct KeySlot {
  std::int32_t byBtnFuncType;  // a ButtonFunction value; unknown values are kept as they are
  char16_t launch[LAUNCH_CAPACITY];
  char16_t MacroName[MACRO_NAME_CAPACITY];
  std::uint16_t repeatTime;
  std::uint8_t byKeyNumber;
};

struct KeyColorLayer {
  char16_t layerName[LAYER_NAME_CAPACITY];
  std::uint32_t coLightRGB[KEY_COUNT];  // colour value per key slot: red in bits 0-7
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
static_assert(sizeof(KeySlot) == 4 + 2 * LAUNCH_CAPACITY + 2 * MACRO_NAME_CAPACITY + 2 + 1 + 1);
static_assert(sizeof(KeySlot) == 628);
static_assert(sizeof(KeyColorLayer) == 2 * LAYER_NAME_CAPACITY + 4 * KEY_COUNT);
static_assert(sizeof(LightingSettings) == 12 + sizeof(KeyColorLayer));
static_assert(sizeof(ProfileData) == KEY_COUNT * sizeof(KeySlot) + sizeof(LightingSettings));
static_assert(sizeof(SettingsBlock) == 4 + PROFILE_COUNT * sizeof(ProfileData));

// Zero-fills the block, then applies NormalizeSettings.
void ClearSettings(SettingsBlock& settings) noexcept;

// Language outside 101..131 becomes 108; Profile above 2 becomes 0.
void NormalizeSettings(SettingsBlock& settings) noexcept;

// With `reset`, returns the profile to the factory state of profile `index` (0..2);
// without, replaces each out-of-range lighting value by its factory value.
void NormalizeProfile(ProfileData& profile, bool reset, int index) noexcept;

// Factory effect colour of a profile index: white, red, blue.
std::uint32_t FactoryLightColor(int index) noexcept;

}  // namespace quencfg
