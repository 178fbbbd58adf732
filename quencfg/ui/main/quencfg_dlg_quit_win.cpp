// How the main window ends: at once, or, with profiles whose edits were not applied,
// after asking whether to apply them, quit without them, or stay. The end of the
// Windows session is never held up.
#include "quencfg/framework/messages.h"
#include "quencfg/framework/wide_win.h"
#include "quencfg/model/profile_file.h"
#include "quencfg/ui/main/quencfg_dlg_win.h"
#include "quencfg/ui/skin/skin_documents.h"
#include "quencfg/ui/skin/warn_dlg_win.h"

namespace quencfg {
namespace {

std::u16string WarnString(std::u16string_view key) { return LookupString(StringDocument(), u"WARN_STRING", key); }

std::vector<WarningAnswer> QuitAnswers() {
  return {{u"BUTTON_APPLY_AND_QUIT", WarnString(u"APPLY_AND_QUIT"), IDYES},
          {u"BUTTON_DISCARD_AND_QUIT", WarnString(u"DISCARD_AND_QUIT"), IDNO},
          {u"BUTTON_STAY", WarnString(u"STAY"), IDCANCEL}};
}

}  // namespace

bool CQuencfgDlg::AnyProfileUnapplied() const noexcept {
  for (int index = 0; index < PROFILE_COUNT; ++index) {
    if (savedProfiles_.Unsaved(index, settings_->profiles[index])) return true;
  }
  return false;
}

bool CQuencfgDlg::ConfirmQuit() {
  if (openQuestion_ != nullptr) return false;  // asked already: its answer decides
  if (sessionEnding_ || !AnyProfileUnapplied()) return true;
  // The question stands over the window, whose profile buttons show the marks.
  if (!::IsWindowVisible(hwnd()) || ::IsIconic(hwnd())) ::ShowWindow(hwnd(), SW_RESTORE);
  CWarnDlg question(hwnd(), kQuitWithUnappliedEditsWarning);
  question.SetAnswers(QuitAnswers());
  openQuestion_ = &question;
  const INT_PTR answer = question.DoModal();
  openQuestion_ = nullptr;
  if (sessionEnding_) return true;
  if (answer == IDNO) return true;
  if (answer == IDYES && SaveEveryProfileAndApply()) return true;
  // Staying: the tray's exit took the icon away; it comes back.
  PostToWindow(::FindWindowW(nullptr, AsWide(kDeviceWindowTitle)), UM_KEEPRUNNING, 0, 0);
  return false;
}

bool CQuencfgDlg::SaveEveryProfileAndApply() {
  // Profiles other than the current one keep their edits in their files; the current one
  // is applied as the Apply button applies it.
  for (int index = 0; index < PROFILE_COUNT; ++index) {
    const ProfileData& profile = settings_->profiles[index];
    if (index == settings_->Profile || !savedProfiles_.Unsaved(index, profile)) continue;
    const FileWriteResult saved = WriteProfile(profile, ProfileName(index), u"", files_);
    if (!saved) {
      RefreshUnappliedMarks();
      TellSaveFailed(ProfilePath(ProfileName(index), u""), saved.status);
      return false;
    }
    savedProfiles_.Remember(index, profile);
  }
  RefreshUnappliedMarks();
  return ApplyProfile();
}

void CQuencfgDlg::Close() {
  // The framework's dialog behaviour: closing is the cancel command.
  ::SendMessageW(hwnd(), WM_COMMAND, IDCANCEL, 0);
}

void CQuencfgDlg::EndWithTheSession() {
  // Windows ends the program after this message: nothing is asked, nothing applied.
  sessionEnding_ = true;
  if (openQuestion_ != nullptr) openQuestion_->EndModal(IDNO);
  Close();
}

}  // namespace quencfg
