// What the main window's buttons and settings menu do: profiles, apply, reset, import,
// export, language, the lighting panel and the key assignment dialog.
#include <memory>
#include <span>
#include <vector>

#include "quencfg/framework/file_dialog_win.h"
#include "quencfg/framework/files.h"
#include "quencfg/framework/folders.h"
#include "quencfg/framework/messages.h"
#include "quencfg/framework/paths.h"
#include "quencfg/framework/program_windows_win.h"
#include "quencfg/framework/sign_in_start_win.h"
#include "quencfg/framework/wide_win.h"
#include "quencfg/framework/writelog.h"
#include "quencfg/model/all_settings.h"
#include "quencfg/model/macro_library.h"
#include "quencfg/model/profile_file.h"
#include "quencfg/model/profile_import.h"
#include "quencfg/model/settings_file.h"
#include "quencfg/ui/main/import_review_dlg_win.h"
#include "quencfg/ui/main/main_window_rules.h"
#include "quencfg/ui/main/quencfg_dlg_win.h"
#include "quencfg/ui/skin/button_group_win.h"
#include "quencfg/ui/skin/skin_documents.h"
#include "quencfg/ui/skin/skin_language.h"
#include "quencfg/ui/skin/standard_menu_win.h"
#include "quencfg/ui/skin/warn_dlg_win.h"

namespace quencfg {
namespace {

constexpr char16_t kProfileFilter[] = u"Profile File(*.profile)|*.profile|";
constexpr char16_t kProfileExtension[] = u".profile";
constexpr DWORD kImportDialogFlags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
constexpr DWORD kExportDialogFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
constexpr int kResetWarning = 2;

int ImportFailureWarning(ImportReadStatus status) {
  switch (status) {
    case ImportReadStatus::Unreadable: return kImportUnreadableWarning;
    case ImportReadStatus::NoProfile: return kImportNoProfileWarning;
    default: return kImportDamagedWarning;
  }
}

std::u16string WarnString(std::u16string_view key) { return LookupString(StringDocument(), u"WARN_STRING", key); }

std::u16string TemporaryFolder() {
  wchar_t folder[MAX_PATH + 1] = {};
  const DWORD length = ::GetTempPathW(MAX_PATH + 1, folder);
  if (length == 0 || length > MAX_PATH) return {};
  return ToU16(folder);
}

}  // namespace

void CQuencfgDlg::LoadAllSettings() {
  quencfg::LoadAllSettings(*settings_);
  savedProfiles_.RememberAll(*settings_);
}

void CQuencfgDlg::SelectProfile(int index) {
  if (index < 0 || index >= PROFILE_COUNT) return;
  settings_->Profile = static_cast<std::uint8_t>(index);
  for (CPngListBtn& button : ProfileButtons()) button.SetSelected(false);
  ProfileButtons()[static_cast<std::size_t>(index)].SetSelected(true);
  RefreshKeyMarks();
}

FileWriteResult CQuencfgDlg::SaveCurrentProfile() {
  const FileWriteResult saved = WriteProfile(currentProfile(), ProfileName(settings_->Profile), u"", files_);
  if (saved) savedProfiles_.Remember(settings_->Profile, currentProfile());
  RefreshUnappliedMarks();
  return saved;
}

bool CQuencfgDlg::SaveSettingsAndCurrentProfile() {
  // The device thread writes the profile that the settings file names as current, as
  // its file holds it: a file left as it was would put the profile of before on the
  // keyboard while the window shows this one.
  if (const FileWriteResult saved = WriteSettings(*settings_, files_); !saved) {
    TellSaveFailed(SettingsFilePath(), saved.status);
    return false;
  }
  if (const FileWriteResult saved = SaveCurrentProfile(); !saved) {
    TellSaveFailed(ProfilePath(ProfileName(settings_->Profile), u""), saved.status);
    return false;
  }
  return true;
}

void CQuencfgDlg::TellSaveFailed(std::u16string_view path, FileWriteStatus status) {
  WriteLogString(u"Save failed: " + std::u16string(path));
  CWarnDlg warning(hwnd(), kSaveFailedWarning);
  warning.SetMessageText(SaveFailureMessage(path, status, &WarnString));
  warning.DoModal();
}

bool CQuencfgDlg::ApplyProfile() {
  if (!SaveSettingsAndCurrentProfile()) return false;
  const int writeKind = TakeApplyWriteKind(lightingVisible(), importPending_);
  PostDeviceSync(static_cast<WPARAM>(writeKind), 0);
  return true;
}

void CQuencfgDlg::ResetProfile() {
  NormalizeProfile(currentProfile(), true, settings_->Profile);
  HandProfileToLightingPanel();
  RefreshKeyMarks();
  if (SaveSettingsAndCurrentProfile()) PostDeviceSync(0, 1);
}

void CQuencfgDlg::PostDeviceSync(WPARAM lighting, LPARAM reset) {
  // The device thread reloads the files saved just before this post.
  PostToWindow(FindOwnWindow(kDeviceWindowName), UM_DEVICESYNC, lighting, reset);
}

void CQuencfgDlg::ImportProfile() {
  const std::u16string desktop = DesktopFolder();
  FileDialogRequest request;
  request.owner = hwnd();  // over this window, which waits for it
  request.filter = kProfileFilter;
  request.initialName = u"*.profile";
  request.defaultExtension = kProfileExtension;
  request.initialFolder = desktop;
  request.flags = kImportDialogFlags;
  if (const auto path = ShowOpenFileDialog(request)) ImportProfileFrom(*path);
}

void CQuencfgDlg::ImportProfileFrom(std::u16string_view path) {
  // Read over a copy: nothing the user sees changes until the import is decided.
  auto imported = std::make_unique<ProfileData>(currentProfile());
  StoredLaunchTexts stored;
  const ImportReadStatus status = ReadImportedProfile(path, *imported, stored);
  if (status != ImportReadStatus::Read) {
    CWarnDlg warning(hwnd(), ImportFailureWarning(status));
    warning.DoModal();
    return;
  }
  std::vector<std::u16string> macroNames;
  ListMacros(macroNames);
  const std::vector<ReviewedKey> review = ReviewImport(*imported, stored, macroNames);
  const ImportChoice choice = AskAboutImport(hwnd(), review);
  if (choice == ImportChoice::Cancel) return;  // the profile shown stays as it was
  ApplyImportChoice(*imported, review, choice);
  // Out-of-range lighting takes the first profile's factory values, whichever is current.
  NormalizeProfile(*imported, false, 0);
  currentProfile() = *imported;
  RefreshKeyMarks();
  importPending_ = true;
}

void CQuencfgDlg::ExportProfile() {
  const std::u16string desktop = DesktopFolder();
  FileDialogRequest request;
  request.owner = hwnd();
  request.filter = kProfileFilter;
  const std::u16string suggested = ExportFileName(settings_->Profile);
  request.initialName = suggested;
  request.defaultExtension = kProfileExtension;
  request.initialFolder = desktop;
  request.flags = kExportDialogFlags;
  if (const auto path = ShowSaveFileDialog(request)) ExportProfileAs(*path);
}

void CQuencfgDlg::ExportProfileAs(std::u16string_view path) {
  if (ExportProfileTo(path)) return;
  CWarnDlg warning(hwnd(), kExportFailedWarning);
  warning.DoModal();
}

bool CQuencfgDlg::ExportProfileTo(std::u16string_view path) {
  // The export is the profile as last applied. A profile that was never saved has no
  // file to copy: then what the user sees is exported, written from memory through a
  // file of the temporary folder (the writer always names its file "*.profile").
  const std::u16string saved = ProfilePath(ProfileName(settings_->Profile), u"");
  if (IsRegularFile(saved)) return CopyFileTo(saved, path);
  const std::u16string folder = TemporaryFolder();
  const std::u16string name = u"Korvane export";
  const std::u16string written = ProfilePath(name, folder);
  DeleteFileAt(written);  // a leftover would lend the export its other content
  if (folder.empty() || !WriteProfile(currentProfile(), name, folder)) return false;
  const bool copied = CopyFileTo(written, path);
  DeleteFileAt(written);
  return copied;
}

void CQuencfgDlg::ChangeLanguage(std::uint8_t language) {
  settings_->Language = language;
  StringDocument().Load(StringsFilePath(settings_->Language));
  WriteSettings(*settings_);
  BuildLayout();
  RefreshKeyMarks();  // the keys' tooltips speak the new language
  RelayoutSubWindows();
  // The tray icon's tooltip speaks the new language too.
  PostToWindow(FindOwnWindow(kDeviceWindowName), UM_LANGUAGECHANGED, 0, 0);
  ::InvalidateRect(hwnd(), nullptr, FALSE);
}

void CQuencfgDlg::OnCommand(HWND control) {
  // Any command closes the open menu, whoever opened it.
  CloseOpenMenus();
  DestroySettingsMenu();
  // While the key assignment dialog is open, its edit belongs to the profile shown when
  // it opened: the window's own buttons wait until it is closed.
  if (control == nullptr || keyAssignmentOpen()) return;
  if (const auto command = CommandOf(control)) {
    switch (*command) {
      case Command::Exit:
      case Command::Cancel:
        ::ShowWindow(hwnd(), SW_HIDE);
        return;
      case Command::Minimise:
        ::ShowWindow(hwnd(), SW_MINIMIZE);
        return;
      case Command::Apply:
        ApplyProfile();
        return;
      case Command::Ok:
        if (ApplyProfile()) ::ShowWindow(hwnd(), SW_HIDE);
        return;
      case Command::Setting:
        OpenSettingsMenu();
        return;
      case Command::Backlight:
        ToggleLightingPanel();
        return;
      case Command::Macro:
        OpenMacroEditor();
        return;
      case Command::Reset:
        ConfirmAndResetProfile();
        return;
      case Command::Profile1:
      case Command::Profile2:
      case Command::Profile3: {
        const int index = SelectButtonInGroup(ProfileButtons(), control);
        if (index >= 0) SelectProfile(index);
        return;
      }
    }
  }
  const int keyIndex = KeyIndexOf(control);
  if (keyIndex >= 0) OpenKeyAssignment(keyIndex);
}

std::optional<CQuencfgDlg::Command> CQuencfgDlg::CommandOf(HWND control) const {
  const int index = IndexOfWindow(commandButtons_, control);
  if (index < 0) return std::nullopt;
  return static_cast<Command>(index);
}

int CQuencfgDlg::KeyIndexOf(HWND control) const {
  return IndexOfWindow(keyButtons_, control);
}

void CQuencfgDlg::ConfirmAndResetProfile() {
  CWarnDlg warning(hwnd(), kResetWarning);
  if (warning.DoModal() == IDOK) ResetProfile();
}

void CQuencfgDlg::OpenSettingsMenu() {
  CPngListBtn& settingButton = commandButton(Command::Setting);
  RECT button{};
  ::GetWindowRect(settingButton.hwnd(), &button);

  auto menu = MakeStandardMenu(hwnd(), POINT{button.left, button.bottom}, u"Menu_normal.jpg", u"Menu_over.jpg");
  menu->SetVisibleRows(kSettingsMenuRows);  // every item in view, no scroll bar
  const bool signInStart = SignInStartEnabled();
  for (const SettingsMenuItem& item : kSettingsMenuItems) {
    const bool checked = SettingsMenuItemChecked(item.command, settings_->Language, signInStart);
    menu->AddItem(LookupString(StringDocument(), item.section, item.key), item.command, nullptr, true, checked);
  }
  menu->SetClosingOnlyArea(settingButton.hwnd());
  if (menu->Create(hwnd())) settingsMenu_ = std::move(menu);
}

void CQuencfgDlg::DestroySettingsMenu() {
  if (!settingsMenu_) return;
  settingsMenu_->Destroy();
  settingsMenu_.reset();
}

void CQuencfgDlg::OnMenuPick(LPARAM lParam) {
  DestroySettingsMenu();
  DispatchMenuCommand(HIWORD(lParam));
}

void CQuencfgDlg::DispatchMenuCommand(int command) {
  if (command == kImportCommand) {
    ImportProfile();
  } else if (command == kExportCommand) {
    ExportProfile();
  } else if (command == kStartWithWindowsCommand) {
    ToggleSignInStart();
  } else if (command == kHelpCommand) {
    if (onHelp_) onHelp_();
  } else if (const auto language = MenuCommandLanguage(command)) {
    ChangeLanguage(*language);
  }
}

bool CQuencfgDlg::lightingVisible() const noexcept {
  return commandButtons_[static_cast<std::size_t>(Command::Backlight)].selected();
}

void CQuencfgDlg::ToggleLightingPanel() {
  const bool visible = lightingVisible();
  for (CPngListBtn& key : keyButtons_) ShowChild(key.hwnd(), visible);
  commandButton(Command::Backlight).SetSelected(!visible);
  ShowLightingPanel(!visible);
}

}  // namespace quencfg
