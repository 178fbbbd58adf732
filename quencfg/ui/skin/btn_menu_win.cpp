#include "quencfg/ui/skin/btn_menu_win.h"

#include <cstring>
#include <utility>

#include "quencfg/framework/text.h"
#include "quencfg/ui/skin/skin_draw_win.h"
#include "quencfg/ui/skin/skin_resource_bitmap_win.h"
#include "quencfg/ui/skin/skin_resource_ids.h"
#include "quencfg/ui/skin/skin_scale.h"
#include "quencfg/ui/skin/skin_picture_win.h"

namespace quencfg {
namespace {

constexpr int kFallbackWidth = 150;      // a menu whose picture is missing still shows its rows
constexpr int kFallbackRowHeight = 18;
constexpr int kScrollBarControlId = 215;

}  // namespace

SkinBitmap RebuildMenuBackground(const SkinBitmap& picture, int height, int band) {
  if (picture.empty() || height <= 0) return {};
  SkinBitmap opaque = OpaqueCopy32(picture.get(), 0, 0, picture.width, picture.height);
  if (height == picture.height) return opaque;
  SkinBitmap rebuilt = CreateBitmap32(picture.width, height);
  const std::uint8_t* from = DibPixels(opaque.get());
  std::uint8_t* to = DibPixels(rebuilt.get());
  if (from == nullptr || to == nullptr) return {};
  const std::size_t stride = static_cast<std::size_t>(picture.width) * 4;
  const std::vector<int> rows = BackgroundSourceRows(picture.height, height, band);
  for (std::size_t y = 0; y < rows.size(); ++y) {
    std::memcpy(to + y * stride, from + static_cast<std::size_t>(rows[y]) * stride, stride);
  }
  return rebuilt;
}

CBtnMenu::CBtnMenu() = default;

CBtnMenu::~CBtnMenu() {
  // The rows and the bar go with the window; destroy it while they still exist.
  Destroy();
}

void CBtnMenu::SetBackgrounds(std::u16string_view normal, std::u16string_view hover, std::u16string_view pressed,
                              std::u16string_view disabled) {
  SetBackgroundImages(LoadPicture(normal), LoadPicture(hover), LoadPicture(pressed), LoadPicture(disabled));
}

void CBtnMenu::SetBackgroundImages(SkinBitmap normal, SkinBitmap hover, SkinBitmap pressed, SkinBitmap disabled) {
  backgrounds_[kStateNormal] = std::move(normal);
  backgrounds_[kStateOver] = std::move(hover);
  backgrounds_[kStateDown] = std::move(pressed);
  backgrounds_[kStateDisabled] = std::move(disabled);
}

void CBtnMenu::AddItem(std::u16string_view text, std::int32_t id, const std::vector<BMPMENUINFO>* subItems,
                       bool enabled, bool checked) {
  BMPMENUINFO item = MakeMenuItem(text, id, enabled);
  item.itemChecked = checked;
  if (subItems != nullptr) item.subItems = *subItems;
  items_.push_back(std::move(item));
}

bool CBtnMenu::Create(HWND parent) {
  if (owner_ == nullptr) owner_ = parent;
  const SkinBitmap& normal = backgrounds_[kStateNormal];
  const int width = normal.empty() ? kFallbackWidth : normal.width;
  if (rowHeight_ == -1) rowHeight_ = normal.empty() ? kFallbackRowHeight : normal.height;
  rowHeight_ = std::max(rowHeight_, 1);
  visibleRows_ = ResolveVisibleRows(visibleRows_, ItemCount());
  const int height = visibleRows_ * rowHeight_;
  for (SkinBitmap& background : backgrounds_) background = RebuildMenuBackground(background, height, rowHeight_);

  WindowCreateParams params;
  params.className = L"KorvaneBtnMenu";
  params.style = WS_POPUP;
  params.exStyle = WS_EX_TOOLWINDOW;
  params.x = position_.x;
  params.y = position_.y;
  params.width = width;
  params.height = height;
  params.parent = parent;
  if (!Window::Create(params)) return false;

  BuildRows(width);
  if (scrollBitmap_ == nullptr) {
    ownScrollBitmap_ = LoadSkinResourceBitmap(IDB_SCROLLBAR_GRID, SkinDpi());
    scrollBitmap_ = ownScrollBitmap_.get();
  }
  const bool needsBar = ItemCount() > visibleRows_;
  const int barWidth = ScaleToDpi(kMenuScrollBarWidth, SkinDpi());
  scrollBar_.Create(hwnd(), RECT{width - barWidth, 0, width, height}, true, scrollBitmap_,
                    kScrollBarControlId, needsBar);
  scrollBar_.SetScrollState(ScrollState{0, std::max(ItemCount() - 1, 0), visibleRows_, 0});
  firstVisible_ = 0;
  FillRows();
  ::SetWindowPos(hwnd(), HWND_TOP, position_.x, position_.y, width, height, SWP_SHOWWINDOW);
  return true;
}

void CBtnMenu::BuildRows(int width) {
  rows_.clear();
  for (int r = 0; r < visibleRows_; ++r) {
    const RECT rect{0, r * rowHeight_, width, (r + 1) * rowHeight_};
    auto row = std::make_unique<CBitmapListBtn>();
    if (!row->Create(hwnd())) continue;
    StateImages images;
    for (int state = kStateNormal; state <= kStateDisabled; ++state) {
      const SkinBitmap& background = backgrounds_[state];
      images.states[static_cast<std::size_t>(state)] =
          CropBitmap32(background.get(), rect.left, rect.top, rect.right, rect.bottom);
    }
    images.width = width;
    images.height = rowHeight_;
    row->SetImages(std::move(images));
    row->SetTextAlign(rowTextAlign_);
    row->SetFontHeight(rowFontHeight_);
    ::MoveWindow(row->hwnd(), rect.left, rect.top, width, rowHeight_, FALSE);
    rows_.push_back(std::move(row));
  }
}

void CBtnMenu::FillRows() {
  for (std::size_t r = 0; r < rows_.size(); ++r) {
    CBitmapListBtn& row = *rows_[r];
    const int item = firstVisible_ + static_cast<int>(r);
    if (item >= ItemCount()) {
      ::ShowWindow(row.hwnd(), SW_HIDE);
      continue;
    }
    const std::u16string text = MenuRowText(items_[static_cast<std::size_t>(item)]);
    row.SetCaption(text, rowTextOffset_);
    row.SetTooltip(text);
    // A hovered, pressed or selected row shows the hover color.
    row.SetTextColors(rowTextNormal_, rowTextHover_, rowTextHover_);
    row.SetSelected(item == currentItem_);
    ::ShowWindow(row.hwnd(), SW_SHOWNA);
    row.Redraw();
  }
}

void CBtnMenu::ShowCheckedItem() {
  for (int index = 0; index < ItemCount(); ++index) {
    if (!items_[static_cast<std::size_t>(index)].itemChecked) continue;
    if (index >= firstVisible_ + visibleRows_) Scroll(SB_THUMBPOSITION, index - visibleRows_ + 1);
    return;
  }
}

void CBtnMenu::Scroll(int code, int thumbPosition) {
  const int next = ScrolledFirstVisible(firstVisible_, code, thumbPosition, ItemCount(), visibleRows_);
  if (next != firstVisible_) {
    firstVisible_ = next;
    FillRows();
  }
  ScrollState state = scrollBar_.scrollState();
  state.position = firstVisible_;
  scrollBar_.SetScrollState(state);
}

void CBtnMenu::Pick(HWND rowWindow, UINT message) {
  for (std::size_t r = 0; r < rows_.size(); ++r) {
    if (rows_[r]->hwnd() != rowWindow) continue;
    const int index = firstVisible_ + static_cast<int>(r);
    if (index >= ItemCount() || items_[static_cast<std::size_t>(index)].itemEnabled == 0) return;
    currentItem_ = index;
    FillRows();
    const MenuPickParams pick = MakeMenuPick(menuId_, index, items_[static_cast<std::size_t>(index)].itemId);
    PostToWindow(owner_, message, pick.wParam, static_cast<LPARAM>(pick.lParam));
    return;
  }
}

LRESULT CBtnMenu::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  const auto paint = [this](HDC dc, const RECT&) { BlitBitmap(dc, backgrounds_[kStateNormal], 0, 0); };
  if (const auto painted = HandlePaintMessages(hwnd(), message, wParam, paint)) return *painted;
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED) Pick(reinterpret_cast<HWND>(lParam), pickMessage_);
      if (HIWORD(wParam) == BN_DBLCLK) Pick(reinterpret_cast<HWND>(lParam), doublePickMessage_);
      return 0;
    case WM_VSCROLL:
      Scroll(LOWORD(wParam), static_cast<short>(HIWORD(wParam)));
      return 0;
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    default:
      return DefaultHandling(message, wParam, lParam);
  }
}

}  // namespace quencfg
