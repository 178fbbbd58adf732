#include "quencfg/ui/keyassign/key_codes.h"

#include "quencfg/ui/keyassign/key_code_table.h"

namespace quencfg {
namespace {

constexpr std::uint32_t kExtendedPrefix = 0xE000;
constexpr std::uint32_t kLeftWindows = 0x5B;
constexpr std::uint32_t kRightWindows = 0x5C;
constexpr std::uint32_t kHighestMakeCode = 0x7F;  // set 1 break codes have bit 7 set

// Keys whose VK only an extended key gives, although the scan-to-VK mapping may not
// show it: right Ctrl and right Alt map back to the shared modifier VK, Pause shares
// its scan code with Num Lock, and some layouts give keypad "/" the slash key's VK.
// Without this they would take the code of the other key with their scan code.
bool IsExtendedOnlyVirtualKey(std::uint32_t virtualKey) noexcept {
  return virtualKey == 0xA3 || virtualKey == 0xA5 || virtualKey == 0x6F || virtualKey == 0x13;
}

// The extended scan code gives this VK and the plain one does not. The second half
// matters where a layout ignores the prefix: otherwise every key would count as extended
// and take the second row of its scan code (F7 would become the keyboard's 0x35).
bool MapsAsExtendedKey(std::uint32_t virtualKey, std::uint32_t scan, const KeyboardLayout& layout) {
  const std::uint32_t plain = scan & 0xFF;
  return layout.MapVirtualKey(kExtendedPrefix | plain, KeyMapType::kScanToVirtualKey) == virtualKey &&
         layout.MapVirtualKey(plain, KeyMapType::kScanToVirtualKey) != virtualKey;
}

const KeyCodeEntry* FirstRowWithCode(std::uint32_t code) noexcept {
  for (const KeyCodeEntry& row : KeyCodeTable) {
    if (row.code == code) return &row;
  }
  return nullptr;
}

std::uint32_t CodeOfFirstRowWithVirtualKey(std::uint32_t virtualKey) noexcept {
  for (const KeyCodeEntry& row : KeyCodeTable) {
    if (row.virtualKey == virtualKey) return row.code;
  }
  return 0;
}

// The first row with the scan code, or for an extended key the second (or the only one).
std::uint32_t CodeOfRowWithScan(std::uint32_t scan, bool extended) noexcept {
  std::uint32_t code = 0;
  for (const KeyCodeEntry& row : KeyCodeTable) {
    if (row.scanCode != scan) continue;
    code = row.code;
    if (!extended) break;
    extended = false;
  }
  return code;
}

}  // namespace

std::uint32_t KeyCodeFromVirtualKey(std::uint32_t virtualKey, const KeyboardLayout& layout) {
  if (virtualKey == 0) return 0;  // rows without a VK must not match "no key"
  const std::uint32_t scan = layout.MapVirtualKey(virtualKey, KeyMapType::kVirtualKeyToScan);
  if (scan == 0) return CodeOfFirstRowWithVirtualKey(virtualKey);
  const bool extended = MapsAsExtendedKey(virtualKey, scan, layout) || IsExtendedNavigationKey(virtualKey) ||
                        IsExtendedOnlyVirtualKey(virtualKey);
  return CodeOfRowWithScan(scan, extended);
}

std::uint32_t KeyCodeFromVirtualKey(std::uint32_t virtualKey) {
  return KeyCodeFromVirtualKey(virtualKey, *CurrentKeyboardLayout());
}

std::uint32_t VirtualKeyFromKeyCode(std::uint32_t code, const KeyboardLayout& layout) {
  const KeyCodeEntry* row = FirstRowWithCode(code);
  if (row == nullptr) return 0;
  if (IsDirectVirtualKeyCode(code)) return row->virtualKey;
  // Scan code 0 means the key has no position; some layouts map it to a media key.
  if (row->scanCode == 0) return 0;
  // The mouse buttons and the keyboard's own keys carry their VK where a scan code
  // would be; no layout knows them, so their VK stands.
  if (row->scanCode > kHighestMakeCode) return row->virtualKey;
  if (row->scanPrefix == 0) return layout.MapVirtualKey(row->scanCode, KeyMapType::kScanToVirtualKey);
  const std::uint32_t prefixed = ((row->scanPrefix & 0xFF) << 8) | (row->scanCode & 0xFF);
  if (const std::uint32_t virtualKey = layout.MapVirtualKey(prefixed, KeyMapType::kScanToVirtualKeyEx)) {
    return virtualKey;
  }
  const std::uint32_t fallback = row->virtualKey;
  const bool keepsTableKey =
      IsExtendedNavigationKey(fallback) || fallback == kLeftWindows || fallback == kRightWindows;
  return keepsTableKey ? fallback : 0;
}

std::uint32_t VirtualKeyFromKeyCode(std::uint32_t code) {
  return VirtualKeyFromKeyCode(code, *CurrentKeyboardLayout());
}

}  // namespace quencfg
