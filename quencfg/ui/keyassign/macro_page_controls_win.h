#pragma once
// The controls of the macro page, children of the key assignment dialog, created and
// re-skinned from the layout section MACRO with their captions from MACRO_STRING.
#include <windows.h>

#include <array>

#include "quencfg/framework/gdi_win.h"
#include "quencfg/ui/skin/bitmap_btn_win.h"
#include "quencfg/ui/skin/clr_edit_win.h"
#include "quencfg/ui/skin/list_box_ex_win.h"
#include "quencfg/ui/skin/skin_scroll_wnd_win.h"
#include "quencfg/ui/skin/tooltip_set_win.h"

namespace quencfg {

inline constexpr int kMacroEventListId = 4114;

struct MacroPageControls {
  CPngListBtn macroMenu;
  CPngListBtn macroNew;
  CPngListBtn macroDelete;
  CPngListBtn record;
  CPngListBtn deleteEvent;
  CPngListBtn clear;
  CPngListBtn up;
  CPngListBtn down;
  CPngListBtn top;
  CPngListBtn bottom;
  CPngListBtn recordDelay;
  CClrEdit nameField;
  CClrEdit repeatField;
  // Declared before the list and its bars, which borrow them.
  OwnedFont listFont;
  OwnedBitmap scrollBitmap;
  CListBoxEx eventList;
  CSkinScrollWnd eventListBars;
  // The editing controls, created after the list.
  CClrEdit delayField;
  CPngListBtn setDelay;
  CClrEdit pauseField;  // the length of the pause that Insert pause inserts
  CPngListBtn insertPause;
  CPngListBtn insertKey;
  CPngListBtn changeKey;
  CPngListBtn undo;
  // Names of the buttons that show only a picture.
  TooltipSet tooltips;

  // Creates the controls (first pass) or gives them the current skin and captions
  // (rebuild); the fields keep what they hold.
  void Layout(HWND dialog, const SkinBitmap& background, bool rebuild);
  void Show(bool visible);

  // The record button's caption: STOP while recording, else RECORD.
  void ShowRecordCaption(bool recording);

  // Every button of the recorder and the library, in the order of the layout.
  std::array<CPngListBtn*, 11> Buttons();
  // The buttons of the editing controls.
  std::array<CPngListBtn*, 5> EditButtons();
  [[nodiscard]] bool IsTextField(HWND window) const noexcept;
  [[nodiscard]] bool IsButton(HWND window);
};

}  // namespace quencfg
