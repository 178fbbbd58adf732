// The main window's layout pass: the background, the 111 key buttons and the command
// buttons from the skin files, and the marks of the keys that carry an assignment.
#include <string>
#include <utility>

#include "quencfg/device/key_cells.h"
#include "quencfg/model/number_text.h"
#include "quencfg/ui/keyassign/assignment_text.h"
#include "quencfg/ui/main/main_window_rules.h"
#include "quencfg/ui/main/quencfg_dlg_win.h"
#include "quencfg/ui/skin/skin_control_loaders_win.h"
#include "quencfg/ui/skin/skin_documents.h"
#include "quencfg/ui/skin/skin_language.h"
#include "quencfg/ui/skin/skins_folder_win.h"
#include "quencfg/ui/skin/skin_picture_win.h"

namespace quencfg {
namespace {

constexpr COLORREF kCaptionColor = 0xFFFFFF;
constexpr int kCaptionFontHeight = 14;

struct CommandButtonSkin {
  const char16_t* skinKey;
  const char16_t* captionKey;  // section MAIN of the strings; null: no caption
  int profileNumber;           // 1 to 3 for the profile buttons, else 0
  const char16_t* tooltipKey;  // section FEEDBACK of the strings; null: no tooltip
};

// In the order of CQuencfgDlg::Command, which is the order of creation.
constexpr CommandButtonSkin kCommandButtonSkins[CQuencfgDlg::kCommandCount] = {
    {u"BUTTON_MIN", nullptr, 0, u"TIP_MINIMISE"},   {u"BUTTON_EXIT", nullptr, 0, u"TIP_CLOSE"},
    {u"BUTTON_APPLY", u"APPLY", 0, nullptr},        {u"BUTTON_CANCEL", u"CANCEL", 0, nullptr},
    {u"BUTTON_SETTING", nullptr, 0, u"TIP_SETTINGS"}, {u"BUTTON_OK", u"OK", 0, nullptr},
    {u"BUTTON_PROFILE_1", u"PROFILE", 1, nullptr},  {u"BUTTON_PROFILE_2", u"PROFILE", 2, nullptr},
    {u"BUTTON_PROFILE_3", u"PROFILE", 3, nullptr},  {u"BUTTON_MACRO", u"MACRO", 0, nullptr},
    {u"BUTTON_BACKLIGHT", nullptr, 0, u"TIP_LIGHTING"}, {u"BUTTON_RESET", u"RESETPROFILE", 0, u"TIP_RESET"},
};

// LWIN and FN keep their factory function: their buttons cannot be clicked.
bool IsLockedKeyText(std::u16string_view text) { return text == u"LWIN" || text == u"FN"; }

std::u16string KeyButtonSkinKey(int index) { return u"BUTTON_" + FormatDecimal(index + 1); }

std::u16string FeedbackText(std::u16string_view key) { return LookupString(StringDocument(), u"FEEDBACK", key); }

AssignmentWords LocalAssignmentWords() {
  return AssignmentWords{FeedbackText(u"TIP_MACRO"), FeedbackText(u"TIP_DISABLED"), FeedbackText(u"TIP_DEFAULT")};
}

std::u16string CaptionOf(const CommandButtonSkin& skin) {
  std::u16string caption = LookupString(StringDocument(), u"MAIN", skin.captionKey);
  if (skin.profileNumber > 0) caption += FormatDecimal(skin.profileNumber);
  return caption;
}

}  // namespace

SkinPrefetchPlan CQuencfgDlg::LayoutPictures() {
  SkinPrefetchPlan plan;
  plan.backgroundKey = u"Main";
  SkinPrefetchPlan::Controls keys{u"KeyboardButtons.xml", u"KEYBOARD", {}};
  for (int index = 0; index < KEY_COUNT; ++index) keys.keys.push_back(KeyButtonSkinKey(index));
  SkinPrefetchPlan::Controls commands{u"Buttons.xml", u"MAIN", {}};
  for (const CommandButtonSkin& skin : kCommandButtonSkins) commands.keys.emplace_back(skin.skinKey);
  plan.controls = {std::move(keys), std::move(commands)};
  return plan;
}

void CQuencfgDlg::BuildLayout() {
  // The key buttons and their images first: they need no background, which may still be
  // decoding on the prefetch thread.
  LayoutDocument().Load(LanguagesFilePath(u"KeyboardButtons.xml"));
  LoadKeyButtonImages();
  SkinDocument().Load(LanguagesFilePath(u"Skins.xml"));
  background_ = std::make_shared<const SkinBitmap>(
      LoadPicture(SkinsFolder() + SkinDocument().Lookup(u"MAINSCREENNEW", u"Main")));
  if (!layoutBuilt_) {
    ::MoveWindow(hwnd(), 0, 0, background_->width, background_->height, FALSE);
  }
  SetSkinFontName(LookupString(StringDocument(), u"GLOBAL", u"FONT"));

  LayoutKeyButtons(layoutBuilt_);
  LayoutDocument().Load(LanguagesFilePath(u"Buttons.xml"));
  LayoutCommandButtons(layoutBuilt_);
  layoutBuilt_ = true;
}

void CQuencfgDlg::LoadKeyButtonImages() {
  SharedStateImages sets;  // keys of one size show one set of pictures
  for (int index = 0; index < KEY_COUNT; ++index) {
    CPngListBtn& button = keyButtons_[static_cast<std::size_t>(index)];
    LoadPushButtonImages(button, LayoutDocument().LookupRect(u"KEYBOARD", KeyButtonSkinKey(index)), hwnd(), sets);
  }
}

void CQuencfgDlg::LayoutKeyButtons(bool rebuild) {
  for (int index = 0; index < KEY_COUNT; ++index) {
    const SkinRect entry = LayoutDocument().LookupRect(u"KEYBOARD", KeyButtonSkinKey(index));
    CPngListBtn& button = keyButtons_[static_cast<std::size_t>(index)];
    SetPushButtonBackground(button, background_, entry, rebuild);
    if (IsLockedKeyText(entry.text)) ::EnableWindow(button.hwnd(), FALSE);
  }
}

void CQuencfgDlg::LayoutCommandButtons(bool rebuild) {
  for (int index = 0; index < kCommandCount; ++index) {
    const CommandButtonSkin& skin = kCommandButtonSkins[index];
    CPngListBtn& button = commandButtons_[static_cast<std::size_t>(index)];
    LoadPushButtonFor(button, background_, LayoutDocument().LookupRect(u"MAIN", skin.skinKey), hwnd(), rebuild);
    tooltips_.Set(hwnd(), button.hwnd(), skin.tooltipKey == nullptr ? u"" : FeedbackText(skin.tooltipKey));
    if (skin.profileNumber > 0) button.SetBadge(LoadPng(SkinsFolder() + SkinDocument().Lookup(u"MAINSCREENNEW", u"UNAPPLIED")));
    if (skin.captionKey == nullptr) continue;
    button.SetCaption(CaptionOf(skin), 0);
    button.SetTextColors(kCaptionColor, kCaptionColor, kCaptionColor);
    button.SetFontHeight(kCaptionFontHeight);
  }
}

void CQuencfgDlg::RefreshKeyMarks() {
  for (int index = 0; index < KEY_COUNT; ++index) MarkKey(index);
  RefreshUnappliedMarks();
  RefreshLightingPanel();
}

void CQuencfgDlg::MarkKey(int index) {
  const KeySlot& slot = currentProfile().keys[index];
  CPngListBtn& button = keyButtons_[static_cast<std::size_t>(index)];
  button.SetSelected(SlotShowsAssignment(slot.byBtnFuncType));
  // Naming a key asks the keyboard layout: done when the tooltip shows, for the
  // assignment and language of that moment.
  tooltips_.SetDeferred(hwnd(), button.hwnd(), [this, index] { return KeyTooltipText(index); });
}

std::u16string CQuencfgDlg::KeyTooltipText(int index) {
  const KeySlot& slot = currentProfile().keys[index];
  const std::uint8_t factoryCode = DefaultKeyMap[SlotCell(index)];
  return AssignmentText(slot, factoryCode, LocalAssignmentWords(), &KeyCodeName);
}

void CQuencfgDlg::RefreshUnappliedMarks() {
  const std::u16string tip = FeedbackText(u"TIP_UNAPPLIED");
  for (int index = 0; index < kProfileButtonCount; ++index) {
    const bool unsaved = savedProfiles_.Unsaved(index, settings_->profiles[index]);
    CPngListBtn& button = ProfileButtons()[static_cast<std::size_t>(index)];
    button.ShowBadge(unsaved);
    tooltips_.Set(hwnd(), button.hwnd(), unsaved ? tip : u"");
  }
}

}  // namespace quencfg
