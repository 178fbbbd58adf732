#include "quencfg/ui/keyassign/key_names.h"

#include <cstdio>
#include <utility>

#include "quencfg/framework/text.h"
#include "quencfg/ui/keyassign/key_code_table.h"

namespace quencfg {
namespace {

constexpr int kCharacterBufferSize = 260;
constexpr std::uint32_t kShift = 0x10;
constexpr std::uint32_t kCapsLock = 0x14;

std::u16string HexText(const char* format, std::uint32_t value) {
  char text[32];
  std::snprintf(text, sizeof text, format, static_cast<unsigned>(value));
  return AsciiToUtf16(text);
}

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }
// Control characters (Enter's CR, a line feed some layouts put on odd keys) show nothing.
bool IsVisible(char16_t c) { return c >= 0x20 && c != 0x7F; }

// The first character the key types with the given key state (a surrogate pair stays
// whole); a dead key gives its accent, as its key cap shows it. Empty when it types none
// or an invisible one.
std::u16string TypedCharacter(std::uint32_t virtualKey, std::uint32_t scan, const KeyboardLayout& layout,
                              const KeyStateArray& keyState) {
  char16_t buffer[kCharacterBufferSize] = {};
  const int count = layout.ToUnicode(virtualKey, scan, keyState, buffer, kCharacterBufferSize);
  if (count == 0 || !IsVisible(buffer[0])) return {};
  if (count < 0) return std::u16string(1, buffer[0]);
  if (count >= 2 && IsHighSurrogate(buffer[0]) && IsLowSurrogate(buffer[1])) return std::u16string(buffer, 2);
  return std::u16string(1, buffer[0]);
}

std::u16string TypedWithKeyDown(std::uint32_t virtualKey, std::uint32_t scan, const KeyboardLayout& layout,
                                std::uint32_t stateKey, std::uint8_t state) {
  KeyStateArray keyState = {};
  if (stateKey != 0) keyState[stateKey] = state;
  return TypedCharacter(virtualKey, scan, layout, keyState);
}

// The character the key types, as its key cap shows it: the unshifted character, or its
// capital where Caps Lock gives what Shift gives (letters: "A", "Ü"). Caps Lock alone is
// not enough: some layouts turn ß into the rare capital sharp s, or é into É, which the
// caps of those keyboards do not show. Empty when the key types no visible character.
std::u16string LayoutCharacter(std::uint32_t virtualKey, const KeyboardLayout& layout) {
  const std::uint32_t scan = layout.MapVirtualKey(virtualKey, KeyMapType::kVirtualKeyToScan);
  const std::u16string plain = TypedWithKeyDown(virtualKey, scan, layout, 0, 0);
  if (plain.empty()) return {};
  const std::u16string shifted = TypedWithKeyDown(virtualKey, scan, layout, kShift, 0x80);
  const std::u16string capital = TypedWithKeyDown(virtualKey, scan, layout, kCapsLock, 0x01);
  const std::u16string& character = (!capital.empty() && capital == shifted) ? capital : plain;
  // A lone "&" would be taken as a mnemonic mark by the control that shows it.
  return character == u"&" ? u"&&" : character;
}

}  // namespace

KeyNameLookup LocalisedKeyNames(KeyNameLookup languageName, KeyNameLookup keyFileName) {
  return [languageName = std::move(languageName), keyFileName = std::move(keyFileName)](std::u16string_view element) {
    std::u16string name = languageName(element);
    return name.empty() ? keyFileName(element) : name;
  };
}

std::u16string KeyNameElement(std::uint32_t value) { return HexText("CODE_%02x", value); }

std::u16string KeyNameForVirtualKey(std::uint32_t value, const KeyboardLayout& layout,
                                    const KeyNameLookup& storedName) {
  std::u16string name = storedName(KeyNameElement(value));
  if (IsTableNamedVirtualKey(value)) return name.empty() ? HexText("VK:%x", value) : name;
  if (name.empty()) name = HexText("%x", value);
  if (name.find(u"VK:") != std::u16string::npos) return name;
  std::u16string character = LayoutCharacter(value, layout);
  return character.empty() ? name : character;
}

std::u16string MouseButtonShortName(std::uint32_t value) {
  switch (value & 0xFF) {
    case 0xF0: return u"LB";
    case 0xF1: return u"RB";
    case 0xF2: return u"MB";
    default: return {};
  }
}

}  // namespace quencfg
