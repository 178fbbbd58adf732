#pragma once
// The keyboard-layout seam: the four layout operations the key-code conversions need.
// On Windows an object stands for the layout of the thread that owns the foreground
// window at the moment it was fetched; natively it is a fixed US layout.
#include <cstdint>
#include <memory>

namespace quencfg {

// The map types of the platform's virtual-key mapping.
enum class KeyMapType : std::uint32_t {
  kVirtualKeyToScan = 0,
  kScanToVirtualKey = 1,    // left and right modifiers come out as the shared VK
  kScanToVirtualKeyEx = 3,  // the high byte may carry the 0xE0 prefix; left and right apart
};

using KeyStateArray = std::uint8_t[256];

class KeyboardLayout {
 public:
  virtual ~KeyboardLayout() = default;

  // 0 when the layout has no mapping.
  [[nodiscard]] virtual std::uint32_t MapVirtualKey(std::uint32_t code, KeyMapType type) const = 0;

  // The characters the key produces with the given key state, written to `buffer`.
  // Returns their count, negative for a dead key, 0 for none.
  virtual int ToUnicode(std::uint32_t virtualKey, std::uint32_t scanCode, const KeyStateArray& keyState,
                        char16_t* buffer, int capacity) const = 0;
};

// The layout in effect now; fetch it anew for every conversion, it is never cached.
std::unique_ptr<KeyboardLayout> CurrentKeyboardLayout();

}  // namespace quencfg
