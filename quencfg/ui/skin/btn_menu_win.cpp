#include "quencfg/ui/skin/btn_menu_win.h"

#include <algorithm>
#include <cstring>
#include <cwchar>
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
constexpr wchar_t kMenuClassName[] = L"KorvaneBtnMenu";
constexpr int kCheckColumnWidth = 16;  // the column of the check marks, before every row's text

bool IsPress(UINT message) noexcept {
  switch (message) {
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN: case WM_XBUTTONDOWN:
    case WM_LBUTTONDBLCLK: case WM_RBUTTONDBLCLK: case WM_MBUTTONDBLCLK: case WM_XBUTTONDBLCLK:
    case WM_NCLBUTTONDOWN: case WM_NCRBUTTONDOWN: case WM_NCMBUTTONDOWN: case WM_NCXBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK: case WM_NCRBUTTONDBLCLK: case WM_NCMBUTTONDBLCLK: case WM_NCXBUTTONDBLCLK:
      return true;
    default:
      return false;
  }
}

bool IsEscape(const MSG& message) noexcept {
  return (message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN) && message.wParam == VK_ESCAPE;
}

// A message sent to a window that takes it out of sight: hidden, minimised or destroyed.
bool IsHiding(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  switch (message) {
    case WM_SHOWWINDOW: return wParam == FALSE;
    case WM_WINDOWPOSCHANGING: return (reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_HIDEWINDOW) != 0;
    case WM_SIZE: return wParam == SIZE_MINIMIZED;
    case WM_DESTROY: return true;
    default: return false;
  }
}

BOOL CALLBACK CollectMenu(HWND window, LPARAM list) {
  wchar_t className[32] = {};
  if (::GetClassNameW(window, className, 32) > 0 && std::wcscmp(className, kMenuClassName) == 0) {
    // Only CBtnMenu makes windows of this class.
    if (auto* menu = static_cast<CBtnMenu*>(Window::FromHandle(window))) {
      reinterpret_cast<std::vector<CBtnMenu*>*>(list)->push_back(menu);
    }
  }
  return TRUE;
}

// The menus open in the calling thread: its top-level windows of the menu class.
std::vector<CBtnMenu*> OpenMenusOfThisThread() {
  std::vector<CBtnMenu*> menus;
  ::EnumThreadWindows(::GetCurrentThreadId(), &CollectMenu, reinterpret_cast<LPARAM>(&menus));
  return menus;
}

}  // namespace

bool CloseOpenMenus() {
  const std::vector<CBtnMenu*> menus = OpenMenusOfThisThread();
  for (CBtnMenu* menu : menus) menu->Destroy();
  return !menus.empty();
}

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
  CloseOpenMenus();  // one menu at a time
  if (owner_ == nullptr) owner_ = parent;
  opener_ = parent;
  const SkinBitmap& normal = backgrounds_[kStateNormal];
  const int width = normal.empty() ? kFallbackWidth : normal.width;
  if (rowHeight_ == -1) rowHeight_ = normal.empty() ? kFallbackRowHeight : normal.height;
  rowHeight_ = std::max(rowHeight_, 1);
  visibleRows_ = ResolveVisibleRows(visibleRows_, ItemCount());
  const int height = visibleRows_ * rowHeight_;
  for (SkinBitmap& background : backgrounds_) background = RebuildMenuBackground(background, height, rowHeight_);

  WindowCreateParams params;
  params.className = kMenuClassName;
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
  ListenToTheThread();
  return true;
}

void CBtnMenu::ListenToTheThread() {
  // Thread hooks see what every window of the thread gets, in whichever message loop
  // (the main window's, a dialog's, a file dialog's), as a menu of Windows does.
  const DWORD thread = ::GetCurrentThreadId();
  inputHook_.reset(::SetWindowsHookExW(WH_GETMESSAGE, &CBtnMenu::InputHook, nullptr, thread));
  sentMessageHook_.reset(::SetWindowsHookExW(WH_CALLWNDPROC, &CBtnMenu::SentMessageHook, nullptr, thread));
}

bool CBtnMenu::Contains(HWND window) const {
  for (HWND at = window; at != nullptr; at = ::GetWindow(at, GW_OWNER)) {
    if (at == hwnd() || ::IsChild(hwnd(), at)) return true;
  }
  return false;
}

CBtnMenu::Dismissal CBtnMenu::DismissalFor(const MSG& message) const {
  if (IsEscape(message)) return Dismissal::CloseAndTake;
  if (!IsPress(message.message) || Contains(message.hwnd)) return Dismissal::Stay;
  const bool closingOnly = closingOnlyArea_ != nullptr &&
                           (message.hwnd == closingOnlyArea_ || ::IsChild(closingOnlyArea_, message.hwnd));
  return closingOnly ? Dismissal::CloseAndTake : Dismissal::Close;
}

bool CBtnMenu::OpenerHides(HWND window, UINT message, WPARAM wParam, LPARAM lParam) const {
  if (opener_ == nullptr || window == nullptr || !IsHiding(message, wParam, lParam)) return false;
  return window == opener_ || ::IsChild(window, opener_) || window == ::GetAncestor(opener_, GA_ROOTOWNER);
}

LRESULT CALLBACK CBtnMenu::InputHook(int code, WPARAM removal, LPARAM lParam) {
  std::vector<CBtnMenu*> closing;
  if (code == HC_ACTION && removal == PM_REMOVE) {
    MSG& message = *reinterpret_cast<MSG*>(lParam);
    if (IsPress(message.message) || IsEscape(message)) {
      for (CBtnMenu* menu : OpenMenusOfThisThread()) {
        const Dismissal dismissal = menu->DismissalFor(message);
        if (dismissal == Dismissal::Stay) continue;
        closing.push_back(menu);
        if (dismissal == Dismissal::CloseAndTake) message.message = WM_NULL;
      }
    }
  }
  // The chain first: closing the menu takes this hook away.
  const LRESULT result = ::CallNextHookEx(nullptr, code, removal, lParam);
  for (CBtnMenu* menu : closing) menu->Destroy();
  return result;
}

LRESULT CALLBACK CBtnMenu::SentMessageHook(int code, WPARAM sentByThread, LPARAM lParam) {
  std::vector<CBtnMenu*> closing;
  if (code == HC_ACTION) {
    const CWPSTRUCT& sent = *reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (IsHiding(sent.message, sent.wParam, sent.lParam)) {
      for (CBtnMenu* menu : OpenMenusOfThisThread()) {
        if (menu->OpenerHides(sent.hwnd, sent.message, sent.wParam, sent.lParam)) closing.push_back(menu);
      }
    }
  }
  const LRESULT result = ::CallNextHookEx(nullptr, code, sentByThread, lParam);
  for (CBtnMenu* menu : closing) menu->Destroy();
  return result;
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
  const int checkColumn = HasCheckableItems() ? ScaleToDpi(kCheckColumnWidth, SkinDpi()) : 0;
  for (std::size_t r = 0; r < rows_.size(); ++r) {
    CBitmapListBtn& row = *rows_[r];
    const int item = firstVisible_ + static_cast<int>(r);
    if (item >= ItemCount()) {
      ::ShowWindow(row.hwnd(), SW_HIDE);
      continue;
    }
    const BMPMENUINFO& shown = items_[static_cast<std::size_t>(item)];
    // The check marks have a column of their own: every row's text starts after it.
    row.SetCheckMark(shown.itemChecked, rowTextOffset_, checkColumn);
    row.SetCaption(FieldText(shown.itemText), rowTextOffset_ + checkColumn);
    // A hovered, pressed or selected row shows the hover color.
    row.SetTextColors(rowTextNormal_, rowTextHover_, rowTextHover_);
    row.SetSelected(item == currentItem_);
    ::ShowWindow(row.hwnd(), SW_SHOWNA);
    row.Redraw();
  }
}

bool CBtnMenu::HasCheckableItems() const noexcept {
  return std::any_of(items_.begin(), items_.end(), [](const BMPMENUINFO& item) { return item.itemChecked; });
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
    case WM_ACTIVATEAPP:
      // Another program came to the front; closed after this message, not inside it.
      if (wParam == FALSE) ::PostMessageW(hwnd(), WM_CLOSE, 0, 0);
      return 0;
    case WM_SHOWWINDOW:
      // Hidden with its owner (minimised): it does not come back with it.
      if (wParam == FALSE) ::PostMessageW(hwnd(), WM_CLOSE, 0, 0);
      return DefaultHandling(message, wParam, lParam);
    case WM_DESTROY:
      inputHook_.reset();
      sentMessageHook_.reset();
      return DefaultHandling(message, wParam, lParam);
    default:
      return DefaultHandling(message, wParam, lParam);
  }
}

}  // namespace quencfg
