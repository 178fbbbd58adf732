#pragma once
// CBtnMenu: the skinned pop-up menu, a column of image rows (CBitmapListBtn) cut from
// two whole-menu background pictures, with a skinned scroll bar when there are more
// items than rows. A pick is posted to the owner, which closes the menu.
//
// The menu also closes itself the way Windows menus close: only one is open in a thread
// at a time (opening one closes the other), and Escape, a press anywhere outside it (in
// any window of the thread), the program losing the foreground, and its opener window
// (or a window around it) hiding or minimising each close it. Its window is then gone
// (IsOpen() false); the object stays with its opener until released.
#include <windows.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "quencfg/framework/handle_win.h"
#include "quencfg/framework/window_win.h"
#include "quencfg/ui/skin/bitmap_btn_win.h"
#include "quencfg/ui/skin/menu_model.h"
#include "quencfg/ui/skin/skin_bitmap_win.h"
#include "quencfg/ui/skin/state_images_win.h"
#include "quencfg/ui/skin/skin_scrollbar_win.h"

namespace quencfg {

inline constexpr int kMenuScrollBarWidth = 12;

class CBtnMenu : public Window {
 public:
  CBtnMenu();
  ~CBtnMenu() override;

  // Configuration, before Create.
  void SetVisibleRows(int rows) { visibleRows_ = rows; }
  void SetRowHeight(int height) { rowHeight_ = height; }
  void SetRowFontHeight(int height) { rowFontHeight_ = height; }
  void SetRowTextAlign(int align, int offset) {
    rowTextAlign_ = align;
    rowTextOffset_ = offset;
  }
  void SetRowTextColors(COLORREF normal, COLORREF hover) {
    rowTextNormal_ = normal;
    rowTextHover_ = hover;
  }
  void SetPickMessages(UINT pick, UINT doublePick) {
    pickMessage_ = pick;
    doublePickMessage_ = doublePick;
  }
  void SetMenuId(int id) { menuId_ = id; }
  // Each picture is loaded at once (JPEG and other pictures).
  void SetBackgrounds(std::u16string_view normal, std::u16string_view hover, std::u16string_view pressed,
                      std::u16string_view disabled);
  void SetBackgroundImages(SkinBitmap normal, SkinBitmap hover, SkinBitmap pressed, SkinBitmap disabled);
  void SetPosition(POINT screen) { position_ = screen; }
  void SetOwner(HWND owner) { owner_ = owner; }
  // A press in `area` (that window or its children) only closes the menu and goes no
  // further: the opener's own window, where the click that closes a menu does nothing
  // else, or at least the button that opened it, so that a second click closes it.
  // Presses elsewhere close the menu and do what they do.
  void SetClosingOnlyArea(HWND area) { closingOnlyArea_ = area; }
  // Borrowed; by default the program's bitmap resource 215.
  void SetScrollBarBitmap(HBITMAP bitmap) { scrollBitmap_ = bitmap; }

  void AddItem(std::u16string_view text, std::int32_t id, const std::vector<BMPMENUINFO>* subItems, bool enabled,
               bool checked = false);

  // Makes the pop-up with `parent` as its parent (and default owner) and shows it,
  // after closing any other menu of the thread. `parent` is the opener: the menu
  // closes when it hides.
  bool Create(HWND parent);
  [[nodiscard]] bool IsOpen() const noexcept { return IsCreated(); }
  // Scrolls the fewest rows that bring the first checked item, the current choice, into
  // view; nothing when it is in view or no item is checked.
  void ShowCheckedItem();

  [[nodiscard]] int visibleRows() const noexcept { return visibleRows_; }
  [[nodiscard]] int rowHeight() const noexcept { return rowHeight_; }
  [[nodiscard]] int firstVisible() const noexcept { return firstVisible_; }
  [[nodiscard]] int currentItem() const noexcept { return currentItem_; }
  [[nodiscard]] const std::vector<BMPMENUINFO>& items() const noexcept { return items_; }
  [[nodiscard]] CBitmapListBtn& row(int index) { return *rows_[static_cast<std::size_t>(index)]; }
  [[nodiscard]] CSkinScrollBar& scrollBar() noexcept { return scrollBar_; }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // What a message of the thread does to the open menu, before it is dispatched.
  enum class Dismissal { Stay, Close, CloseAndTake };
  [[nodiscard]] Dismissal DismissalFor(const MSG& message) const;
  // Whether a message sent to `window` tells that the opener is going out of sight.
  [[nodiscard]] bool OpenerHides(HWND window, UINT message, WPARAM wParam, LPARAM lParam) const;
  [[nodiscard]] bool Contains(HWND window) const;
  static LRESULT CALLBACK InputHook(int code, WPARAM removal, LPARAM lParam);
  static LRESULT CALLBACK SentMessageHook(int code, WPARAM sentByThread, LPARAM lParam);
  void ListenToTheThread();

  void BuildRows(int width);
  void FillRows();
  // A menu whose items carry check marks (a choice among them) gives the marks a column.
  [[nodiscard]] bool HasCheckableItems() const noexcept;
  void Scroll(int code, int thumbPosition);
  void Pick(HWND rowWindow, UINT message);
  int ItemCount() const noexcept { return static_cast<int>(items_.size()); }

  int visibleRows_ = -1;
  int rowHeight_ = -1;
  int rowFontHeight_ = 18;
  int rowTextAlign_ = kAlignCenter;
  int rowTextOffset_ = 0;
  COLORREF rowTextNormal_ = 0x808080;
  COLORREF rowTextHover_ = 0xFFFFFF;
  UINT pickMessage_ = 0x501;
  UINT doublePickMessage_ = 0x5401;
  int menuId_ = -1;
  SkinBitmap backgrounds_[4];  // normal, hover, pressed, disabled
  POINT position_{};
  HWND owner_ = nullptr;
  HWND closingOnlyArea_ = nullptr;
  HWND opener_ = nullptr;
  UniqueHook inputHook_;
  UniqueHook sentMessageHook_;
  HBITMAP scrollBitmap_ = nullptr;
  OwnedBitmap ownScrollBitmap_;

  std::vector<BMPMENUINFO> items_;
  int firstVisible_ = 0;
  int currentItem_ = -1;
  std::vector<std::unique_ptr<CBitmapListBtn>> rows_;
  CSkinScrollBar scrollBar_;
};

// Closes every open menu of the calling thread; true when there was one.
bool CloseOpenMenus();

// A picture rebuilt at `height` rows (width unchanged) by repeating or cutting rows,
// as an opaque 32-bit bitmap.
SkinBitmap RebuildMenuBackground(const SkinBitmap& picture, int height, int band);

}  // namespace quencfg
