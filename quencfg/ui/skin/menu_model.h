#pragma once
// The portable part of the image pop-up menu: its items, how many rows it shows,
// which item the top row shows after a scroll request, what a pick posts, and how its
// background images are stretched or shrunk to the menu's height.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quencfg {

struct BMPMENUINFO {
  char16_t itemText[260] = {};
  std::uint8_t itemEnabled = 1;
  std::int32_t itemId = 0;
  bool itemChecked = false;  // shown with a check mark in the column before the texts
  std::vector<BMPMENUINFO> subItems;  // a cascading sub-menu; empty: none
};

BMPMENUINFO MakeMenuItem(std::u16string_view text, std::int32_t id, bool enabled = true);

// `requested` -1 means one row per item; more rows than items are cut to the items
// (a menu without items keeps what it was given). Never below 0.
int ResolveVisibleRows(int requested, int itemCount) noexcept;

// The item in the top row after a scroll request (SB_LINEUP .. SB_THUMBTRACK codes),
// with `thumbPosition` for the thumb codes. Stays within 0 .. itemCount - page.
int ScrolledFirstVisible(int firstVisible, int scrollCode, int thumbPosition, int itemCount, int page) noexcept;

// The parameters posted for a pick: wParam MAKELONG(menuId, itemIndex), lParam
// MAKELONG(0, itemId).
struct MenuPickParams {
  std::uint32_t wParam = 0;
  std::uint32_t lParam = 0;
};
MenuPickParams MakeMenuPick(int menuId, int itemIndex, std::int32_t itemId) noexcept;

// For each row of a background rebuilt at `newHeight`, the row of the original image
// (height `imageHeight`) it is copied from; `band` is the menu's row height. Taller:
// top `band` rows, the middle band repeated, then the bottom rows. Shorter: the top
// and the bottom of the image. An image without a middle band repeats its middle row.
std::vector<int> BackgroundSourceRows(int imageHeight, int newHeight, int band);

}  // namespace quencfg
