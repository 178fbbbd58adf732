#pragma once
// A group of skinned buttons of which exactly one is shown selected (the profile
// buttons, the lighting panel's presets).
#include <windows.h>

#include <cstddef>
#include <span>

#include "quencfg/framework/window_win.h"

namespace quencfg {

// Finds the button whose window is `clicked`; when there is one, shows it selected and
// every other button of the group not selected, stores its index in `foundIndex` (when
// given) and returns it. Returns -1 and changes nothing when no button matches.
// `Button` is any skinned button with hwnd() and SetSelected(bool).
template <typename Button>
int SelectButtonInGroup(std::span<Button> group, HWND clicked, int* foundIndex = nullptr) {
  const int found = IndexOfWindow(group, clicked);
  if (found < 0) return -1;
  for (std::size_t i = 0; i < group.size(); ++i) group[i].SetSelected(static_cast<int>(i) == found);
  if (foundIndex != nullptr) *foundIndex = found;
  return found;
}

}  // namespace quencfg
