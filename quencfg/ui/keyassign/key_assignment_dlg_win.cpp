#include "quencfg/ui/keyassign/key_assignment_dlg_win.h"

#include <utility>

#include "quencfg/framework/folders.h"
#include "quencfg/framework/foreground_win.h"
#include "quencfg/framework/gdi_win.h"
#include "quencfg/framework/messages.h"
#include "quencfg/framework/text.h"
#include "quencfg/ui/keyassign/assignment_text.h"
#include "quencfg/ui/keyassign/dialog_key_filter.h"
#include "quencfg/ui/keyassign/key_codes.h"
#include "quencfg/ui/keyassign/key_name_document.h"
#include "quencfg/ui/keyassign/program_picker_win.h"
#include "quencfg/ui/skin/skin_control_loaders_win.h"
#include "quencfg/ui/skin/skin_documents.h"
#include "quencfg/ui/skin/skin_draw_win.h"
#include "quencfg/ui/skin/skin_text_win.h"
#include "quencfg/ui/skin/skins_folder_win.h"
#include "quencfg/ui/skin/skin_picture_win.h"

namespace quencfg {
namespace {

constexpr std::u16string_view kLayoutSection = u"KEY_ASSIGNMENT";
// The dialog still answers when its picture is missing.
constexpr int kFallbackWidth = 900;
constexpr int kFallbackHeight = 560;
constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kBlack = 0x000000;
constexpr int kLabelFontHeight = 16;
constexpr int kLabelFontWeight = 500;
constexpr int kTitleFontHeight = 20;
constexpr int kTitleFontWeight = 700;

enum class CaptionColors { kWhite, kBlack, kButtonDefaults };

struct ButtonSkin {
  std::u16string_view layoutKey;
  std::u16string_view captionKey;  // section MAIN; empty: the caption is set elsewhere
  int captionSize;                 // 0: the button's default
  CaptionColors colors;
};

bool IsControlHeld() { return (::GetKeyState(VK_CONTROL) & 0x8000) != 0; }

bool HasSizeOf(HWND window, const SkinBitmap& picture) {
  RECT rect{};
  ::GetWindowRect(window, &rect);
  return rect.right - rect.left == picture.width && rect.bottom - rect.top == picture.height;
}

}  // namespace

bool CKeyAssignmentDlg::CreateHidden(HWND ownerWindow) {
  ownerWindow_ = ownerWindow;
  WindowCreateParams params;
  params.className = L"KorvaneKeyAssignDlg";
  params.title = L"";  // the main window is found by its title; this one must not match
  params.style = WS_POPUP;
  params.x = 0;
  params.y = 0;
  params.width = kFallbackWidth;
  params.height = kFallbackHeight;
  params.parent = ownerWindow;
  if (!Create(params)) return false;
  Layout(false);
  hook_.Load(AppFolder());
  return true;
}

void CKeyAssignmentDlg::Relayout() {
  if (hwnd() != nullptr) Layout(layoutDone_);
}

void CKeyAssignmentDlg::Layout(bool rebuild) {
  background_ = LoadPicture(SkinsFolder() + SkinDocument().Lookup(u"MAINSCREENNEW", u"Keyassignment"));
  if (!background_.empty() && (!rebuild || !HasSizeOf(hwnd(), background_))) {
    // A rebuild resizes only for a new DPI; it keeps the place the owner gave the dialog.
    ::SetWindowPos(hwnd(), nullptr, 0, 0, background_.width, background_.height,
                   SWP_NOZORDER | SWP_NOACTIVATE | (rebuild ? SWP_NOMOVE : 0));
  }
  SkinButtons(rebuild);
  macroPage_.Layout(hwnd(), background_, rebuild);
  ShowPageControls();
  layoutDone_ = true;
  ::InvalidateRect(hwnd(), nullptr, FALSE);
}

void CKeyAssignmentDlg::SkinButtons(bool rebuild) {
  const std::pair<CPngListBtn*, ButtonSkin> buttons[] = {
      {&cancelButton_, {u"BUTTON_CANCEL", u"CANCEL", 14, CaptionColors::kWhite}},
      {&okButton_, {u"BUTTON_OK", u"OK", 14, CaptionColors::kWhite}},
      {&pageButtons_[kPageSingleKey], {u"BUTTON_SINGLEKEY", u"SINGLEKEY", 15, CaptionColors::kWhite}},
      {&pageButtons_[kPageMacro], {u"BUTTON_MACRO", u"MACRO", 15, CaptionColors::kWhite}},
      {&pageButtons_[kPageLaunch], {u"BUTTON_LAUNCH", u"LAUNCH", 15, CaptionColors::kWhite}},
      {&resetButton_, {u"BUTTON_RESET", u"", 0, CaptionColors::kWhite}},
      {&keyDisplay_, {u"BUTTON_CKEY", u"", 25, CaptionColors::kBlack}},
      {&programButton_, {u"BUTTON_LAUNCHPROGRAM", u"", 16, CaptionColors::kButtonDefaults}},
  };
  for (const auto& [button, skin] : buttons) {
    LoadPushButton(*button, background_, kLayoutSection, skin.layoutKey, hwnd(), rebuild);
    if (!skin.captionKey.empty()) button->SetCaption(StringDocument().Lookup(u"MAIN", skin.captionKey));
    if (skin.captionSize > 0) button->SetFontHeight(skin.captionSize);
    if (skin.colors == CaptionColors::kWhite) button->SetTextColors(kWhite, kWhite, kWhite);
    if (skin.colors == CaptionColors::kBlack) button->SetTextColors(kBlack, kBlack, kBlack);
  }
  tooltips_.Set(hwnd(), resetButton_.hwnd(), StringDocument().Lookup(u"FEEDBACK", u"TIP_RESETKEY"));
}

void CKeyAssignmentDlg::SetEditedKeyName(std::u16string name) {
  editedKeyName_ = std::move(name);
  if (hwnd() != nullptr) ::InvalidateRect(hwnd(), nullptr, FALSE);
}

std::u16string CKeyAssignmentDlg::EditedKeyLabel() const {
  if (macroOnly_ || editedKeyName_.empty()) return {};
  return StringDocument().Lookup(u"FEEDBACK", u"EDITED_KEY") + editedKeyName_;
}

void CKeyAssignmentDlg::SetSlot(KeySlot& slot) {
  sourceSlot_ = &slot;
  workingSlot_ = slot;
}

void CKeyAssignmentDlg::SetMacroOnly(bool macroOnly) {
  macroOnly_ = macroOnly;
  ShowPageControls();
  if (macroOnly) ShowPage(kPageMacro);
}

void CKeyAssignmentDlg::ShowAssignment() {
  // The macro editor edits macros only: no key's function chooses its page.
  if (macroOnly_) {
    ShowPage(kPageMacro);
    return;
  }
  ShowKeyName();
  ShowProgramName();
  // The page follows the slot; opening it does not yet choose its function, so a key
  // that was reset keeps its factory function until the user picks a page.
  OpenPage(PageForFunction(workingSlot_.byBtnFuncType), false);
}

void CKeyAssignmentDlg::ShowPage(AssignmentPage page) { OpenPage(page, true); }

void CKeyAssignmentDlg::OpenPage(AssignmentPage page, bool takeFunction) {
  page_ = page;
  ShowPageControls();
  // A recording never runs on into another page, nor into the macro the page loads.
  macroPage_.StopRecording();
  switch (page) {
    case kPageSingleKey:
      SetHook(true);  // the next key pressed is captured
      break;
    case kPageMacro:
      macroPage_.LoadMacroLibrary();
      SetHook(false);
      macroPage_.SelectSlotMacro(workingSlot_);
      break;
    case kPageLaunch:
      SetHook(false);
      break;
  }
  if (takeFunction) {
    TakeFunctionOfPage(workingSlot_, page);
    if (page == kPageSingleKey) ShowKeyName();
    if (page == kPageLaunch) ShowProgramName();
  }
  ::InvalidateRect(hwnd(), nullptr, FALSE);
}

void CKeyAssignmentDlg::ShowPageControls() {
  ShowChild(keyDisplay_.hwnd(), page_ == kPageSingleKey);
  ShowChild(programButton_.hwnd(), page_ == kPageLaunch);
  macroPage_.Show(page_ == kPageMacro);
  // The macro editor shows only what edits macros: no page tabs (a lone one included)
  // and no reset, which would lead to the single-key page.
  for (CPngListBtn& button : pageButtons_) ShowChild(button.hwnd(), !macroOnly_);
  ShowChild(resetButton_.hwnd(), !macroOnly_);
  for (int p = kPageSingleKey; p <= kPageLaunch; ++p) pageButtons_[p].SetSelected(p == page_);
}

void CKeyAssignmentDlg::SetHook(bool on) {
  if (on != hook_.hookOn()) hook_.SetHook(on, hwnd());
}

void CKeyAssignmentDlg::SetOkCancelEnabled(bool enabled) {
  ::EnableWindow(okButton_.hwnd(), enabled ? TRUE : FALSE);
  ::EnableWindow(cancelButton_.hwnd(), enabled ? TRUE : FALSE);
}

void CKeyAssignmentDlg::ShowKeyName() {
  std::u16string name;
  if (workingSlot_.byBtnFuncType == BTNFUNC_KEY) {
    const std::uint32_t virtualKey = VirtualKeyFromKeyCode(workingSlot_.byKeyNumber);
    if (virtualKey != 0) name = KeyNameForVirtualKey(virtualKey);
  }
  keyDisplay_.SetCaption(name);
}

void CKeyAssignmentDlg::ShowProgramName() {
  std::u16string_view target;
  if (workingSlot_.byBtnFuncType == BTNFUNC_LAUNCH) target = FieldText(workingSlot_.launch);
  ShowProgramTarget(target);
}

// The button shows a program by its file name and an address whole; its tooltip shows
// the target whole, as stored, for what the button has no room for.
void CKeyAssignmentDlg::ShowProgramTarget(std::u16string_view target) {
  programButton_.SetCaption(LaunchTargetCaption(target));
  tooltips_.Set(hwnd(), programButton_.hwnd(), target);
}

void CKeyAssignmentDlg::CaptureSingleKey(WPARAM wParam, LPARAM lParam) {
  const std::optional<std::uint8_t> virtualKey = SingleKeyOfHookEvent(wParam, lParam);
  if (!virtualKey) return;
  if (AssignSingleKey(workingSlot_, KeyCodeFromVirtualKey(*virtualKey))) {
    keyDisplay_.SetCaption(KeyNameForVirtualKey(*virtualKey));
  } else {
    keyDisplay_.SetCaption(StringDocument().Lookup(u"SINGLE_KEY", u"NO_KEY_CODE"));
  }
}

void CKeyAssignmentDlg::ApplyChosenProgram(std::u16string_view path) {
  if (AssignProgram(workingSlot_, path)) ShowProgramTarget(FieldText(workingSlot_.launch));
}

void CKeyAssignmentDlg::OnProgramButton() { ApplyChosenProgram(ChooseProgramFile(hwnd())); }

void CKeyAssignmentDlg::OnReset() {
  if (macroOnly_ || !MayDropMacroEdits()) return;
  ShowPage(kPageSingleKey);
  ResetFunction(workingSlot_);
  keyDisplay_.SetCaption(u"");
  ShowProgramTarget(u"");
}

void CKeyAssignmentDlg::OnOk() {
  const bool savesMacro = macroOnly_ || workingSlot_.byBtnFuncType == BTNFUNC_MACRO;
  if (savesMacro && page_ == kPageMacro && !macroPage_.ConfirmNameForSave()) return;  // the user fixes the name
  if (macroOnly_) {
    macroPage_.SaveMacro(nullptr);
    Close();
    return;
  }
  if (workingSlot_.byBtnFuncType == BTNFUNC_MACRO) macroPage_.SaveMacro(&workingSlot_);
  if (sourceSlot_ == nullptr) {  // never given a key: nothing to write back
    Close();
    return;
  }
  *sourceSlot_ = workingSlot_;
  Close();
  PostToWindow(ownerWindow_, UM_KEYCHANGED, 0, 0);
}

void CKeyAssignmentDlg::OnCancel() {
  if (!MayDropMacroEdits()) return;
  Close();
}

// What leaves the macro page or closes without OK drops the macro's unsaved edits: the
// same question as New and Delete ask comes first.
bool CKeyAssignmentDlg::MayDropMacroEdits() { return page_ != kPageMacro || macroPage_.MayDiscardEdits(); }

void CKeyAssignmentDlg::OnPageButton(AssignmentPage page) {
  // The macro being edited stays: showing its page again would load it from its file.
  if (page == kPageMacro && page_ == kPageMacro) return;
  if (macroOnly_ || !MayDropMacroEdits()) return;
  ShowPage(page);
}

void CKeyAssignmentDlg::Dismiss() {
  if (hwnd() == nullptr) return;
  // The owner is hiding: nothing may stay on screen, not even a question.
  macroPage_.StopRecording();
  Close();
}

// Hidden, the dialog lets the hook go: a keyboard hook left on would see every key the
// user types into other programs. Each opening switches it on again through its page.
void CKeyAssignmentDlg::Close() {
  SetHook(false);
  ::ShowWindow(hwnd(), SW_HIDE);
}

void CKeyAssignmentDlg::OnCommand(HWND control) {
  // An open macro menu only closes: the command that closed it does nothing else.
  if (macroPage_.CloseMenuIfOpen()) return;
  if (control != nullptr && macroPage_.HandleCommand(control)) return;
  if (control == nullptr) return;
  if (control == okButton_.hwnd()) return OnOk();
  if (control == cancelButton_.hwnd()) return OnCancel();
  for (int p = kPageSingleKey; p <= kPageLaunch; ++p) {
    if (control == pageButtons_[p].hwnd()) return OnPageButton(static_cast<AssignmentPage>(p));
  }
  if (control == resetButton_.hwnd()) return OnReset();
  if (control == programButton_.hwnd()) return OnProgramButton();
}

bool CKeyAssignmentDlg::PreTranslateMessage(MSG& message) {
  if (!IsFor(message)) return false;
  if (macroPage_.SwallowsCapturedKey(message.message, message.wParam)) return true;
  switch (message.message) {
    case WM_KEYDOWN:
      return OnKeyDownBeforeDispatch(message);
    case WM_KEYUP:
      macroPage_.OnKeyUp();
      return false;
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
    case WM_SYSCHAR:
    case WM_SYSDEADCHAR:
      // Alt+F4 would close the dialog as Cancel under a running recorder, and Alt or F10
      // would start the menu mode: while keys are captured they only reach the hook.
      return CapturesKeys();
    default:
      return false;
  }
}

// Keys typed while recording or capturing a key are only for the hook.
bool CKeyAssignmentDlg::OnKeyDownBeforeDispatch(const MSG& message) {
  DialogKeyDown key;
  key.virtualKey = static_cast<std::uint32_t>(message.wParam);
  key.control = IsControlHeld();
  key.capturing = macroPage_.CapturesKeys();
  key.onMacroPage = page_ == kPageMacro;
  key.inTextField = key.onMacroPage && macroPage_.IsTextField(message.hwnd);
  key.inDelayField = key.onMacroPage && macroPage_.IsDelayField(message.hwnd);
  key.inPauseField = key.onMacroPage && macroPage_.IsPauseField(message.hwnd);
  switch (ActionOfKeyDown(key)) {
    case DialogKeyAction::kDispatch: return false;
    case DialogKeyAction::kSwallow: return true;
    case DialogKeyAction::kUndo: macroPage_.Undo(); return true;
    case DialogKeyAction::kApplyDelay: macroPage_.ApplyDelayField(); return true;
    case DialogKeyAction::kInsertPause: macroPage_.InsertPause(); return true;
  }
  return false;
}

bool CKeyAssignmentDlg::CapturesKeys() const noexcept {
  return page_ == kPageSingleKey || macroPage_.CapturesKeys();
}

// The hook reports what the user does in every program. Only what happens while this
// program is in front is for the dialog; events still queued when it was hidden are
// dropped too.
LRESULT CKeyAssignmentDlg::OnHookEvent(WPARAM wParam, LPARAM lParam) {
  if (!::IsWindowVisible(hwnd())) return 0;
  if (!ProgramIsInFront()) {
    if (AnotherProgramIsInFront()) OnLeftFront();  // in case the news of it has not come yet
    return 0;
  }
  if (page_ == kPageSingleKey) {
    CaptureSingleKey(wParam, lParam);
    return 0;
  }
  return macroPage_.HandleHookEvent(wParam, lParam);
}

// Another program came to the front, or the owner was minimised: a recording ends as
// Stop ends it, and no hook listens meanwhile.
void CKeyAssignmentDlg::OnLeftFront() {
  macroPage_.Stop();
  SetHook(false);
}

// Back in front, or shown again with its owner, the dialog listens again for a key it
// is capturing (on the single-key page, or for the macro editor).
void CKeyAssignmentDlg::OnBackInFront() { SetHook(page_ == kPageSingleKey || macroPage_.IsCapturingKey()); }

// However the dialog is shown or hidden (OK, Cancel, closed by the system, or by its
// owner), it starts whole and leaves nothing listening: a recording left running ends,
// with its controls back to idle and OK enabled.
void CKeyAssignmentDlg::OnShowWindow(bool shown) {
  // A key awaited for the editor ends too: the hook goes, so it would never come.
  if (macroPage_.CapturesKeys()) macroPage_.StopRecording();
  if (!shown) SetHook(false);
  DisableOwnerWhileShown(shown);
}

// The owner's buttons wait while the dialog is open (its edit belongs to the profile
// shown when it opened): the owner is disabled as for a modal dialog, so they look it
// and a click on it flashes the dialog. Enabled again before the dialog hides, so that
// the owner, not another program, comes to the front.
void CKeyAssignmentDlg::DisableOwnerWhileShown(bool shown) {
  if (ownerWindow_ != nullptr) ::EnableWindow(ownerWindow_, shown ? FALSE : TRUE);
}

void CKeyAssignmentDlg::Paint(HDC dc) const {
  if (background_.empty()) {
    RECT client{};
    ::GetClientRect(hwnd(), &client);
    ::FillRect(dc, &client, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
  }
  BlitBitmap(dc, background_, 0, 0);
  PaintPageLabels(dc);
}

// Where the page tabs stand for a key, the macro editor says what it is.
void CKeyAssignmentDlg::PaintEditorTitle(HDC dc) const {
  OwnedFont font = CreateSkinFont(kTitleFontHeight, kTitleFontWeight);
  SelectScope select(dc, font.get());
  DrawSkinText(dc, kLayoutSection, u"EDITOR_TITLE", StringDocument().Lookup(u"MACRO_STRING", u"EDITOR_TITLE"),
               DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
}

void CKeyAssignmentDlg::PaintPageLabels(HDC dc) const {
  OwnedFont font = CreateSkinFont(kLabelFontHeight, kLabelFontWeight);
  SelectScope select(dc, font.get());
  const int oldMode = ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, kWhite);
  DrawSkinText(dc, kLayoutSection, u"EDITED_KEY", EditedKeyLabel(), DT_LEFT | DT_SINGLELINE | DT_END_ELLIPSIS);
  if (macroOnly_) PaintEditorTitle(dc);
  switch (page_) {
    case kPageSingleKey:
      DrawSkinText(dc, u"SINGLE_KEY", u"TEXT_TITLE", DT_WORDBREAK);
      break;
    case kPageMacro:
      macroPage_.PaintLabels(dc);
      break;
    case kPageLaunch:
      DrawSkinText(dc, u"LAUNCH_PROGRAM", u"TEXT_TITLE", DT_WORDBREAK);
      break;
  }
  ::SetBkMode(dc, oldMode);
}

LRESULT CKeyAssignmentDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  const auto paint = [this](HDC dc, const RECT&) { Paint(dc); };
  if (const auto painted = HandlePaintMessages(hwnd(), message, wParam, paint)) return *painted;
  switch (message) {
    case WM_COMMAND:
      OnCommand(reinterpret_cast<HWND>(lParam));
      return 0;
    case UM_HOOKEVENT:
      return OnHookEvent(wParam, lParam);
    case WM_ACTIVATEAPP:
      // lParam: the thread whose window comes to the front; another thread of this
      // program (the progress window's) keeps the program in front.
      if (wParam != FALSE) {
        if (::IsWindowVisible(hwnd())) OnBackInFront();
      } else if (!IsThreadOfThisProcess(static_cast<DWORD>(lParam))) {
        OnLeftFront();
      }
      return DefaultHandling(message, wParam, lParam);
    case kMenuPickCommand:
      macroPage_.HandleMenuPick(lParam);
      return 0;
    case WM_TIMER:
      if (macroPage_.HandleTimer(wParam)) return 0;
      return DefaultHandling(message, wParam, lParam);
    case WM_CLOSE:
      OnCancel();  // closed by the system: hidden like Cancel, never destroyed before its owner
      return 0;
    case WM_SHOWWINDOW:
      // An explicit show or hide; the owner's minimising hides the dialog and shows it
      // back as it was, only a recording ends with it. (Shown back before the program
      // is in front again, the dialog listens once it is: WM_ACTIVATEAPP.)
      if (lParam == 0) OnShowWindow(wParam != FALSE);
      if (lParam == SW_PARENTCLOSING) OnLeftFront();
      if (lParam == SW_PARENTOPENING && ProgramIsInFront()) OnBackInFront();
      return DefaultHandling(message, wParam, lParam);
    default:
      return DefaultHandling(message, wParam, lParam);
  }
}

}  // namespace quencfg
