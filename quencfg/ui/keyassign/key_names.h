#pragma once
// Display names of keys: names from the key name file, with the character that the
// keyboard layout produces taking precedence for character keys.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "quencfg/framework/keyboard_layout.h"

namespace quencfg {

// The stored name of the key file's entry `elementName` ("CODE_41"); empty when none.
using KeyNameLookup = std::function<std::u16string(std::u16string_view elementName)>;

// The name a language gives a key where it has one of its own (Spanish "Intro"), else
// the key name file's; both are asked by the same element names.
KeyNameLookup LocalisedKeyNames(KeyNameLookup languageName, KeyNameLookup keyFileName);

// "CODE_%02x" of a VK or mouse-button message: CODE_0d, CODE_41, CODE_201.
std::u16string KeyNameElement(std::uint32_t value);

// The name of a VK, or of a mouse-button down message (0x201, 0x204, 0x207); never empty.
std::u16string KeyNameForVirtualKey(std::uint32_t value, const KeyboardLayout& layout,
                                    const KeyNameLookup& storedName);

// "LB", "RB" or "MB" for 0xF0, 0xF1, 0xF2 (the low byte counts); empty otherwise.
std::u16string MouseButtonShortName(std::uint32_t value);

}  // namespace quencfg
