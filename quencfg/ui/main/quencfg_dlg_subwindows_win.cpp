// The windows the main window owns: the key assignment dialog and the lighting panel.
#include "quencfg/ui/main/quencfg_dlg_win.h"

#include "quencfg/device/key_cells.h"
#include "quencfg/ui/keyassign/assignment_text.h"
#include "quencfg/ui/skin/skin_scale.h"

namespace quencfg {
namespace {

// Where the key assignment dialog sits over the main window, in screen coordinates.
constexpr POINT kKeyAssignmentOffset{270, 39};

}  // namespace

// Both are made when first needed: together they took most of the start-up time, and
// many sessions open neither.
CLightingDlg& CQuencfgDlg::lightingPanel() {
  if (lighting_.hwnd() == nullptr && hwnd() != nullptr) {
    lighting_.Create(hwnd());
    lighting_.SetLightingProfile(currentProfile());
  }
  return lighting_;
}

CKeyAssignmentDlg& CQuencfgDlg::keyAssignment() {
  if (keyAssignment_.hwnd() == nullptr && hwnd() != nullptr) {
    keyAssignment_.CreateHidden(hwnd());
    PlaceKeyAssignment();
  }
  return keyAssignment_;
}

bool CQuencfgDlg::FilterForSubWindow(MSG& message) {
  // The owned windows live in this window's modal loop: their own key handling comes
  // first for their messages.
  if (keyAssignment_.IsFor(message)) return keyAssignment_.FilterBeforeDispatch(message);
  if (lighting_.IsFor(message)) return lighting_.FilterBeforeDispatch(message);
  return false;
}

bool CQuencfgDlg::keyAssignmentOpen() const noexcept {
  return keyAssignment_.hwnd() != nullptr && ::IsWindowVisible(keyAssignment_.hwnd());
}

void CQuencfgDlg::PlaceKeyAssignment() {
  if (keyAssignment_.hwnd() == nullptr) return;
  RECT main{};
  ::GetWindowRect(hwnd(), &main);
  ::SetWindowPos(keyAssignment_.hwnd(), nullptr, main.left + ScaleToDpi(kKeyAssignmentOffset.x, SkinDpi()),
                 main.top + ScaleToDpi(kKeyAssignmentOffset.y, SkinDpi()), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CQuencfgDlg::OpenKeyAssignment(int index) {
  editedKeyIndex_ = index;
  ::ShowWindow(keyAssignment().hwnd(), SW_SHOW);
  keyAssignment_.SetSlot(currentProfile().keys[index]);
  keyAssignment_.SetEditedKeyName(KeyCodeName(DefaultKeyMap[SlotCell(index)]));
  keyAssignment_.SetMacroOnly(false);
  keyAssignment_.ShowAssignment();
  PlaceKeyAssignment();
}

void CQuencfgDlg::OpenMacroEditor() {
  keyAssignment().SetMacroOnly(true);
  ::ShowWindow(keyAssignment_.hwnd(), SW_SHOW);
}

void CQuencfgDlg::DismissOwnedPopups() {
  // Nothing stays on the desktop for a hidden window: a pick in a menu would change a
  // profile the user no longer sees, and the key dialog's hook would listen to the keys
  // typed into other programs.
  DestroySettingsMenu();
  lighting_.CloseEffectsMenu();
  keyAssignment_.Dismiss();
}

void CQuencfgDlg::ShowLightingPanel(bool visible) {
  ShowChild(visible ? lightingPanel().hwnd() : lighting_.hwnd(), visible);
  if (visible) HandProfileToLightingPanel();
}

void CQuencfgDlg::HandProfileToLightingPanel() {
  // A panel not made yet takes the profile when it is made.
  if (lighting_.hwnd() == nullptr) return;
  lighting_.SetLightingProfile(currentProfile());
  lighting_.RefreshLighting();
}

void CQuencfgDlg::RefreshLightingPanel() {
  // While the panel is hidden it is handed the profile when it is shown.
  if (lightingVisible()) HandProfileToLightingPanel();
}

void CQuencfgDlg::RelayoutSubWindows() {
  keyAssignment_.Relayout();
  lighting_.RefreshLighting();
}

}  // namespace quencfg
