#include "quencfg/ui/keyassign/macro_page_controls_win.h"

#include <string>

#include "quencfg/ui/keyassign/macro_repeat.h"
#include "quencfg/ui/skin/list_rows.h"
#include "quencfg/ui/skin/skin_control_loaders_win.h"
#include "quencfg/ui/skin/skin_documents.h"
#include "quencfg/ui/skin/skin_draw_win.h"
#include "quencfg/ui/skin/skin_resource_bitmap_win.h"
#include "quencfg/ui/skin/skin_resource_ids.h"
#include "quencfg/ui/skin/skin_scale.h"

namespace quencfg {
namespace {

constexpr COLORREF kWhite = 0xFFFFFF;
constexpr std::u16string_view kSection = u"MACRO";
constexpr std::u16string_view kCaptions = u"MACRO_STRING";
constexpr int kListFontHeight = 14;

struct ButtonEntry {
  CPngListBtn MacroPageControls::*button;
  const char16_t* layoutKey;
  const char16_t* captionKey;  // null: no caption
  int captionSize;
};

constexpr ButtonEntry kButtons[] = {
    {&MacroPageControls::macroMenu, u"BUTTON_MACROMENU", nullptr, 0},
    {&MacroPageControls::macroNew, u"BUTTON_MACRONEW", nullptr, 0},
    {&MacroPageControls::macroDelete, u"BUTTON_MACRODELETE", nullptr, 0},
    {&MacroPageControls::record, u"BUTTON_RECORD", u"RECORD", 14},
    {&MacroPageControls::deleteEvent, u"BUTTON_DELETE", u"DELETE", 14},
    {&MacroPageControls::clear, u"BUTTON_CLEAR", u"CLEAR", 14},
    {&MacroPageControls::up, u"BUTTON_UP", u"UP", 14},
    {&MacroPageControls::down, u"BUTTON_DOWN", u"DOWN", 14},
    {&MacroPageControls::top, u"BUTTON_TOP", u"TOP", 15},
    {&MacroPageControls::bottom, u"BUTTON_BOTTOM", u"BOTTOM", 15},
    {&MacroPageControls::recordDelay, u"BUTTON_RECORDDELAY", nullptr, 0},
};

constexpr ButtonEntry kEditButtons[] = {
    {&MacroPageControls::setDelay, u"BUTTON_SETDELAY", u"SET_DELAY", 14},
    {&MacroPageControls::insertPause, u"BUTTON_INSERTPAUSE", u"INSERT_PAUSE", 13},
    {&MacroPageControls::insertKey, u"BUTTON_INSERTKEY", u"INSERT_KEY", 14},
    {&MacroPageControls::changeKey, u"BUTTON_CHANGEKEY", u"CHANGE_KEY", 14},
    {&MacroPageControls::undo, u"BUTTON_UNDO", u"UNDO", 14},
};

constexpr int kDelayFieldLimit = 6;
// A pause field starts with a pause a user can see in a replay, never with 1 ms.
constexpr char16_t kDefaultPause[] = u"100";

struct TooltipEntry {
  CPngListBtn MacroPageControls::*button;
  const char16_t* textKey;
};

constexpr TooltipEntry kTooltips[] = {
    {&MacroPageControls::macroMenu, u"TIP_MACROMENU"},   {&MacroPageControls::macroNew, u"TIP_MACRONEW"},
    {&MacroPageControls::macroDelete, u"TIP_MACRODELETE"}, {&MacroPageControls::up, u"TIP_UP"},
    {&MacroPageControls::down, u"TIP_DOWN"},             {&MacroPageControls::recordDelay, u"TEXT_FIXEDDELAY"},
};

void LayoutButtons(MacroPageControls& controls, const ButtonEntry* begin, const ButtonEntry* end,
                   const SkinBitmap& background, HWND dialog, bool rebuild) {
  for (const ButtonEntry* entry = begin; entry != end; ++entry) {
    CPngListBtn& button = controls.*(entry->button);
    LoadPushButton(button, background, kSection, entry->layoutKey, dialog, rebuild && button.IsCreated());
    if (entry->captionKey == nullptr) continue;
    button.SetFontHeight(entry->captionSize);
    button.SetTextColors(kWhite, kWhite, kWhite);
    button.SetCaption(StringDocument().Lookup(kCaptions, entry->captionKey));
  }
}

// The edit loader puts the layout entry's text in; a later pass keeps what the user has.
void LayoutField(CClrEdit& field, const SkinBitmap& background, std::u16string_view key, HWND dialog, DWORD style,
                 int limit, bool rebuild) {
  const bool existed = field.IsCreated();
  const std::u16string kept = existed ? field.Text() : std::u16string();
  LoadColorEdit(field, background, kSection, key, dialog, style, kSkinControlId, rebuild);
  if (!field.IsCreated()) return;
  ::SendMessageW(field.hwnd(), EM_LIMITTEXT, static_cast<WPARAM>(limit), 0);
  if (existed) field.SetText(kept);
}

RECT ListRect() {
  const SkinRect entry = LayoutDocument().LookupRect(kSection, u"MACRO_DISPLAY");
  return RECT{entry.left, entry.top, entry.right, entry.bottom};
}

void LayoutEventList(MacroPageControls& controls, HWND dialog) {
  const RECT rect = ListRect();
  if (controls.eventList.IsCreated()) {
    // The bars follow the list's moves themselves.
    ::MoveWindow(controls.eventList.hwnd(), rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                 TRUE);
    return;
  }
  if (!controls.eventList.Create(WS_VISIBLE | WS_VSCROLL, rect, dialog, kMacroEventListId)) return;
  controls.listFont = CreateSkinFont(kListFontHeight, 400);
  controls.eventList.SetFont(controls.listFont.get());
  controls.eventList.SetDarkBackground();
  controls.eventList.SetDarkText();
  controls.eventList.SetSelectionMode(true);
  // Lines under every row the list can show, not only the first twelve.
  controls.eventList.SetGridStyle(kGridLong);
  controls.scrollBitmap = LoadSkinResourceBitmap(IDB_SCROLLBAR_GRID, SkinDpi());
  controls.eventListBars.Attach(controls.eventList.hwnd(), controls.scrollBitmap.get());
}

}  // namespace

std::array<CPngListBtn*, 11> MacroPageControls::Buttons() {
  std::array<CPngListBtn*, 11> buttons{};
  for (std::size_t i = 0; i < buttons.size(); ++i) buttons[i] = &(this->*kButtons[i].button);
  return buttons;
}

std::array<CPngListBtn*, 5> MacroPageControls::EditButtons() {
  std::array<CPngListBtn*, 5> buttons{};
  for (std::size_t i = 0; i < buttons.size(); ++i) buttons[i] = &(this->*kEditButtons[i].button);
  return buttons;
}

bool MacroPageControls::IsTextField(HWND window) const noexcept {
  return window != nullptr && (window == nameField.hwnd() || window == repeatField.hwnd() ||
                               window == delayField.hwnd() || window == pauseField.hwnd());
}

bool MacroPageControls::IsButton(HWND window) {
  if (window == nullptr) return false;
  for (CPngListBtn* button : Buttons()) {
    if (button->hwnd() == window) return true;
  }
  for (CPngListBtn* button : EditButtons()) {
    if (button->hwnd() == window) return true;
  }
  return false;
}

void MacroPageControls::Layout(HWND dialog, const SkinBitmap& background, bool rebuild) {
  LayoutButtons(*this, std::begin(kButtons), std::end(kButtons), background, dialog, rebuild);
  ShowRecordCaption(record.selected());
  LayoutField(nameField, background, u"EDIT_MACRONAME", dialog, WS_VISIBLE | ES_AUTOHSCROLL, kMacroNameFieldLimit,
              rebuild);
  LayoutField(repeatField, background, u"EDIT_REPEAT", dialog, WS_VISIBLE | ES_AUTOHSCROLL | ES_NUMBER | ES_CENTER,
              kRepeatFieldLimit, rebuild);
  LayoutEventList(*this, dialog);
  LayoutField(delayField, background, u"EDIT_EVENTDELAY", dialog, WS_VISIBLE | ES_AUTOHSCROLL | ES_CENTER,
              kDelayFieldLimit, rebuild);
  const bool pauseFieldExisted = pauseField.IsCreated();
  LayoutField(pauseField, background, u"EDIT_PAUSE", dialog, WS_VISIBLE | ES_AUTOHSCROLL | ES_CENTER | ES_NUMBER,
              kDelayFieldLimit, rebuild);
  if (!pauseFieldExisted) pauseField.SetText(kDefaultPause);
  LayoutButtons(*this, std::begin(kEditButtons), std::end(kEditButtons), background, dialog, rebuild);
  for (const TooltipEntry& tip : kTooltips) {
    tooltips.Set(dialog, (this->*tip.button).hwnd(), StringDocument().Lookup(kCaptions, tip.textKey));
  }
  tooltips.Set(dialog, pauseField.hwnd(), StringDocument().Lookup(kCaptions, u"TIP_PAUSE"));
}

void MacroPageControls::ShowRecordCaption(bool recording) {
  record.SetCaption(StringDocument().Lookup(kCaptions, recording ? u"STOP" : u"RECORD"));
}

void MacroPageControls::Show(bool visible) {
  for (CPngListBtn* button : Buttons()) ShowChild(button->hwnd(), visible);
  for (CPngListBtn* button : EditButtons()) ShowChild(button->hwnd(), visible);
  for (CClrEdit* field : {&nameField, &repeatField, &delayField, &pauseField}) ShowChild(field->hwnd(), visible);
  // Its skinned bars follow it.
  ShowChild(eventList.hwnd(), visible);
}

}  // namespace quencfg
