#include "quencfg/ui/skin/menu_model.h"

#include <algorithm>

#include "quencfg/framework/text.h"

namespace quencfg {
namespace {

enum ScrollCode : int {
  kLineUp = 0,
  kLineDown = 1,
  kPageUp = 2,
  kPageDown = 3,
  kThumbPosition = 4,
  kThumbTrack = 5,
};

std::uint32_t MakeLong(std::uint32_t low, std::uint32_t high) noexcept {
  return (low & 0xFFFFu) | ((high & 0xFFFFu) << 16);
}

int TallerSourceRow(int y, int imageHeight, int newHeight, int band) {
  const int tail = std::max(imageHeight - band, 0);  // rows band .. imageHeight-1 end at the bottom
  if (y >= newHeight - tail) return y - newHeight + imageHeight;
  if (y < band) return std::min(y, imageHeight - 1);
  const int middle = imageHeight - 2 * band;
  if (middle <= 0) return imageHeight / 2;
  return band + (y - band) % middle;
}

int ShorterSourceRow(int y, int imageHeight, int newHeight, int band) {
  const int top = band < newHeight ? newHeight - band : newHeight / 2;
  return y < top ? y : y + imageHeight - newHeight;
}

}  // namespace

BMPMENUINFO MakeMenuItem(std::u16string_view text, std::int32_t id, bool enabled) {
  BMPMENUINFO item;
  CopyToField(item.itemText, text);
  item.itemId = id;
  item.itemEnabled = enabled ? 1 : 0;
  return item;
}

int ResolveVisibleRows(int requested, int itemCount) noexcept {
  if (requested == -1) return std::max(itemCount, 0);
  if (itemCount > 0 && requested > itemCount) return itemCount;
  return std::max(requested, 0);
}

int ScrolledFirstVisible(int firstVisible, int scrollCode, int thumbPosition, int itemCount, int page) noexcept {
  const int last = std::max(itemCount - page, 0);
  int next = firstVisible;
  switch (scrollCode) {
    case kLineUp: next = firstVisible - 1; break;
    case kLineDown: next = firstVisible < last ? firstVisible + 1 : firstVisible; break;
    case kPageUp: next = firstVisible - page; break;
    case kPageDown: next = firstVisible + page; break;
    case kThumbPosition:
    case kThumbTrack: next = thumbPosition; break;
    default: break;
  }
  return std::clamp(next, 0, last);
}

MenuPickParams MakeMenuPick(int menuId, int itemIndex, std::int32_t itemId) noexcept {
  return MenuPickParams{MakeLong(static_cast<std::uint32_t>(menuId), static_cast<std::uint32_t>(itemIndex)),
                        MakeLong(0, static_cast<std::uint32_t>(itemId))};
}

std::vector<int> BackgroundSourceRows(int imageHeight, int newHeight, int band) {
  std::vector<int> rows;
  if (imageHeight <= 0 || newHeight <= 0) return rows;
  band = std::max(band, 0);
  rows.resize(static_cast<std::size_t>(newHeight));
  for (int y = 0; y < newHeight; ++y) {
    int source = y;
    if (newHeight > imageHeight) {
      source = TallerSourceRow(y, imageHeight, newHeight, band);
    } else if (newHeight < imageHeight) {
      source = ShorterSourceRow(y, imageHeight, newHeight, band);
    }
    rows[static_cast<std::size_t>(y)] = std::clamp(source, 0, imageHeight - 1);
  }
  return rows;
}

}  // namespace quencfg
