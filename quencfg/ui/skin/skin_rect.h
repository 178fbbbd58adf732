#pragma once
// One layout entry of the skin files, "NAME,x,y,w,h,...,TEXT,LAST", parsed.
#include <cstdint>
#include <string>
#include <string_view>

namespace quencfg {

struct SkinRect {
  char16_t name[40];   // before the first comma: the image stem of a control
  std::int32_t left;   // x
  std::int32_t top;    // y
  std::int32_t right;  // x + w
  std::int32_t bottom; // y + h
  char16_t text[100];  // the second-to-last comma-separated field (a key's label)
  bool flag;           // "TRUE" somewhere after the first comma: one image for all states
};

// Never fails: whatever the value does not supply stays 0 or empty, and fields too
// long for the record are cut.
SkinRect ParseSkinRect(std::u16string_view value) noexcept;

// The image stem a control loads: every name containing "btnPng" shares the stem
// "btnPng", so that all generic push buttons draw the same images.
std::u16string SkinImageName(const SkinRect& entry);

}  // namespace quencfg
