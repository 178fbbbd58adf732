#include "quencfg/framework/us_keyboard_layout.h"

namespace quencfg {
namespace {

struct ScanKey {
  std::uint16_t scan;  // with 0xE0 in the high byte for extended keys
  std::uint8_t virtualKey;  // left and right modifiers apart
  char16_t plain;           // character without Shift; 0 for none
  char16_t shifted;
};

// Listed so that the first key with a VK is the one a VK maps back to.
constexpr ScanKey kKeys[] = {
    {0x01, 0x1B, 0x1B, 0x1B}, {0x02, '1', '1', '!'}, {0x03, '2', '2', '@'}, {0x04, '3', '3', '#'},
    {0x05, '4', '4', '$'}, {0x06, '5', '5', '%'}, {0x07, '6', '6', '^'}, {0x08, '7', '7', '&'},
    {0x09, '8', '8', '*'}, {0x0A, '9', '9', '('}, {0x0B, '0', '0', ')'}, {0x0C, 0xBD, '-', '_'},
    {0x0D, 0xBB, '=', '+'}, {0x0E, 0x08, 0x08, 0x08}, {0x0F, 0x09, '\t', '\t'}, {0x10, 'Q', 'q', 'Q'},
    {0x11, 'W', 'w', 'W'}, {0x12, 'E', 'e', 'E'}, {0x13, 'R', 'r', 'R'}, {0x14, 'T', 't', 'T'},
    {0x15, 'Y', 'y', 'Y'}, {0x16, 'U', 'u', 'U'}, {0x17, 'I', 'i', 'I'}, {0x18, 'O', 'o', 'O'},
    {0x19, 'P', 'p', 'P'}, {0x1A, 0xDB, '[', '{'}, {0x1B, 0xDD, ']', '}'}, {0x1C, 0x0D, '\r', '\r'},
    {0x1D, 0xA2, 0, 0}, {0x1E, 'A', 'a', 'A'}, {0x1F, 'S', 's', 'S'}, {0x20, 'D', 'd', 'D'},
    {0x21, 'F', 'f', 'F'}, {0x22, 'G', 'g', 'G'}, {0x23, 'H', 'h', 'H'}, {0x24, 'J', 'j', 'J'},
    {0x25, 'K', 'k', 'K'}, {0x26, 'L', 'l', 'L'}, {0x27, 0xBA, ';', ':'}, {0x28, 0xDE, '\'', '"'},
    {0x29, 0xC0, '`', '~'}, {0x2A, 0xA0, 0, 0}, {0x2B, 0xDC, '\\', '|'}, {0x2C, 'Z', 'z', 'Z'},
    {0x2D, 'X', 'x', 'X'}, {0x2E, 'C', 'c', 'C'}, {0x2F, 'V', 'v', 'V'}, {0x30, 'B', 'b', 'B'},
    {0x31, 'N', 'n', 'N'}, {0x32, 'M', 'm', 'M'}, {0x33, 0xBC, ',', '<'}, {0x34, 0xBE, '.', '>'},
    {0x35, 0xBF, '/', '?'}, {0x36, 0xA1, 0, 0}, {0x37, 0x6A, '*', '*'}, {0x38, 0xA4, 0, 0},
    {0x39, 0x20, ' ', ' '}, {0x3A, 0x14, 0, 0}, {0x3B, 0x70, 0, 0}, {0x3C, 0x71, 0, 0},
    {0x3D, 0x72, 0, 0}, {0x3E, 0x73, 0, 0}, {0x3F, 0x74, 0, 0}, {0x40, 0x75, 0, 0},
    {0x41, 0x76, 0, 0}, {0x42, 0x77, 0, 0}, {0x43, 0x78, 0, 0}, {0x44, 0x79, 0, 0},
    {0x45, 0x90, 0, 0}, {0x46, 0x91, 0, 0},
    // The keypad in its navigation state; the digit VKs follow below.
    {0x47, 0x24, 0, 0}, {0x48, 0x26, 0, 0}, {0x49, 0x21, 0, 0}, {0x4A, 0x6D, '-', '-'},
    {0x4B, 0x25, 0, 0}, {0x4C, 0x0C, 0, 0}, {0x4D, 0x27, 0, 0}, {0x4E, 0x6B, '+', '+'},
    {0x4F, 0x23, 0, 0}, {0x50, 0x28, 0, 0}, {0x51, 0x22, 0, 0}, {0x52, 0x2D, 0, 0},
    {0x53, 0x2E, 0x7F, 0x7F}, {0x54, 0x2C, 0, 0}, {0x56, 0xE2, '\\', '|'}, {0x57, 0x7A, 0, 0},
    {0x58, 0x7B, 0, 0}, {0x64, 0x7C, 0, 0}, {0x65, 0x7D, 0, 0}, {0x66, 0x7E, 0, 0},
    {0x67, 0x7F, 0, 0}, {0x68, 0x80, 0, 0}, {0x69, 0x81, 0, 0}, {0x6A, 0x82, 0, 0},
    {0x6B, 0x83, 0, 0}, {0x6C, 0x84, 0, 0}, {0x6D, 0x85, 0, 0}, {0x6E, 0x86, 0, 0},
    {0x76, 0x87, 0, 0},
    {0xE01C, 0x0D, '\r', '\r'}, {0xE01D, 0xA3, 0, 0}, {0xE035, 0x6F, '/', '/'}, {0xE037, 0x2C, 0, 0},
    {0xE038, 0xA5, 0, 0}, {0xE047, 0x24, 0, 0}, {0xE048, 0x26, 0, 0}, {0xE049, 0x21, 0, 0},
    {0xE04B, 0x25, 0, 0}, {0xE04D, 0x27, 0, 0}, {0xE04F, 0x23, 0, 0}, {0xE050, 0x28, 0, 0},
    {0xE051, 0x22, 0, 0}, {0xE052, 0x2D, 0, 0}, {0xE053, 0x2E, 0x7F, 0x7F}, {0xE05B, 0x5B, 0, 0},
    {0xE05C, 0x5C, 0, 0}, {0xE05D, 0x5D, 0, 0},
};

// VKs that no scan code gives directly: the keypad digits and shared modifiers.
struct VirtualKeyScan {
  std::uint8_t virtualKey;
  std::uint8_t scan;
  char16_t character;
};
constexpr VirtualKeyScan kExtraVirtualKeys[] = {
    {0x60, 0x52, '0'}, {0x61, 0x4F, '1'}, {0x62, 0x50, '2'}, {0x63, 0x51, '3'}, {0x64, 0x4B, '4'},
    {0x65, 0x4C, '5'}, {0x66, 0x4D, '6'}, {0x67, 0x47, '7'}, {0x68, 0x48, '8'}, {0x69, 0x49, '9'},
    {0x6E, 0x53, '.'}, {0x10, 0x2A, 0}, {0x11, 0x1D, 0}, {0x12, 0x38, 0},
};

std::uint32_t SharedModifier(std::uint32_t virtualKey) {
  switch (virtualKey) {
    case 0xA0: case 0xA1: return 0x10;
    case 0xA2: case 0xA3: return 0x11;
    case 0xA4: case 0xA5: return 0x12;
    default: return virtualKey;
  }
}

std::uint32_t ScanOf(std::uint32_t virtualKey) {
  for (const ScanKey& key : kKeys) {
    if (key.virtualKey == virtualKey) return key.scan & 0xFF;
  }
  for (const VirtualKeyScan& extra : kExtraVirtualKeys) {
    if (extra.virtualKey == virtualKey) return extra.scan;
  }
  return 0;
}

std::uint32_t VirtualKeyOfScan(std::uint32_t scan) {
  const std::uint32_t prefix = scan >> 8;
  if (prefix != 0 && prefix != 0xE0) return 0;
  for (const ScanKey& key : kKeys) {
    if (key.scan == scan) return key.virtualKey;
  }
  return 0;
}

const ScanKey* KeyOf(std::uint32_t virtualKey, std::uint32_t scan) {
  for (const ScanKey& key : kKeys) {
    if (key.virtualKey == virtualKey && (key.scan & 0xFF) == (scan & 0xFF)) return &key;
  }
  return nullptr;
}

bool IsLetter(char16_t c) { return c >= 'a' && c <= 'z'; }

}  // namespace

std::uint32_t UsKeyboardLayout::MapVirtualKey(std::uint32_t code, KeyMapType type) const {
  switch (type) {
    case KeyMapType::kVirtualKeyToScan: return ScanOf(code);
    case KeyMapType::kScanToVirtualKey: return SharedModifier(VirtualKeyOfScan(code));
    case KeyMapType::kScanToVirtualKeyEx: return VirtualKeyOfScan(code);
  }
  return 0;
}

int UsKeyboardLayout::ToUnicode(std::uint32_t virtualKey, std::uint32_t scanCode, const KeyStateArray& keyState,
                                char16_t* buffer, int capacity) const {
  if (capacity < 1) return 0;
  char16_t c = 0;
  for (const VirtualKeyScan& extra : kExtraVirtualKeys) {
    if (extra.virtualKey == virtualKey) c = extra.character;
  }
  if (const ScanKey* key = KeyOf(virtualKey, scanCode)) {
    const bool shift = (keyState[0x10] & 0x80) != 0;
    const bool capsLock = (keyState[0x14] & 0x01) != 0;
    // Caps Lock turns Shift around for letters only.
    const bool upper = IsLetter(key->plain) ? shift != capsLock : shift;
    c = upper ? key->shifted : key->plain;
  }
  if (c == 0) return 0;
  buffer[0] = c;
  if (capacity > 1) buffer[1] = 0;
  return 1;
}

}  // namespace quencfg
