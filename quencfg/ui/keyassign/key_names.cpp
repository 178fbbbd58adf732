#include "quencfg/ui/keyassign/key_names.h"

#include <cstdio>

#include "quencfg/framework/text.h"
#include "quencfg/ui/keyassign/key_code_table.h"

namespace quencfg {
namespace {

constexpr int kCharacterBufferSize = 260;
constexpr std::uint32_t kCapsLock = 0x14;

std::u16string HexText(const char* format, std::uint32_t value) {
  char text[32];
  std::snprintf(text, sizeof text, format, static_cast<unsigned>(value));
  return AsciiToUtf16(text);
}

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// The first character the key produces with Caps Lock on and no Shift, so letters come
// out in capitals and punctuation unshifted; empty when it produces none (or is dead).
std::u16string LayoutCharacter(std::uint32_t virtualKey, const KeyboardLayout& layout) {
  KeyStateArray keyState = {};
  keyState[kCapsLock] = 1;
  char16_t buffer[kCharacterBufferSize] = {};
  const std::uint32_t scan = layout.MapVirtualKey(virtualKey, KeyMapType::kVirtualKeyToScan);
  const int count = layout.ToUnicode(virtualKey, scan, keyState, buffer, kCharacterBufferSize);
  if (count <= 0) return {};
  // A character outside the basic plane stays whole rather than becoming half a pair.
  if (count >= 2 && IsHighSurrogate(buffer[0]) && IsLowSurrogate(buffer[1])) return std::u16string(buffer, 2);
  // A lone "&" would be taken as a mnemonic mark by the control that shows it.
  if (buffer[0] == u'&') return u"&&";
  return std::u16string(1, buffer[0]);
}

}  // namespace

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
