#pragma once
// The main window: a borderless skinned window with a picture of the keyboard, a
// button over each of its 111 keys, the three profile buttons and the commands (apply,
// reset, settings menu, lighting, macros). It runs modally for the whole life of the
// program and is hidden, not closed, by its exit and cancel buttons.
#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <utility>

#include "quencfg/framework/file_writer.h"
#include "quencfg/framework/messages.h"
#include "quencfg/framework/window_win.h"
#include "quencfg/model/settings_block.h"
#include "quencfg/ui/keyassign/key_assignment_dlg_win.h"
#include "quencfg/ui/lighting/lighting_dlg_win.h"
#include "quencfg/ui/main/saved_profiles.h"
#include "quencfg/ui/skin/bitmap_btn_win.h"
#include "quencfg/ui/skin/btn_menu_win.h"
#include "quencfg/ui/skin/skin_bitmap_win.h"
#include "quencfg/ui/skin/state_images_win.h"
#include "quencfg/ui/skin/skin_prefetch_win.h"
#include "quencfg/ui/skin/tooltip_set_win.h"

namespace quencfg {

class CWarnDlg;

class CQuencfgDlg : public Window {
 public:
  // The command buttons, in the order the layout pass creates them.
  enum class Command : int {
    Minimise,
    Exit,
    Apply,
    Cancel,
    Setting,
    Ok,
    Profile1,
    Profile2,
    Profile3,
    Macro,
    Backlight,
    Reset,
  };
  static constexpr int kCommandCount = 12;
  static constexpr int kProfileButtonCount = 3;
  // Every button carries this control id; the window tells them apart by handle.
  static constexpr int kButtonId = 1001;

  // `onHelp` runs the application's help command (F1 or the help command id).
  // `beforeSettings` runs once the window exists, before the settings are read: the
  // application waits there for the files of a first start, while the window is made.
  // `files` saves the settings and profiles (a test's double makes saves fail).
  explicit CQuencfgDlg(std::function<void()> onHelp = {}, std::function<void()> beforeSettings = {},
                       FileWriter& files = PlatformFileWriter());
  ~CQuencfgDlg() override;

  // Creates the window hidden and runs its start-up; DoModal calls it.
  bool Open(HWND owner = nullptr);

  // Profile management.
  void LoadAllSettings();
  void SelectProfile(int index);
  // Saves the settings and the current profile and asks the device thread to write it.
  // When a file cannot be saved the user is told which, nothing is asked of the device
  // thread, and false is returned.
  bool ApplyProfile();
  void ResetProfile();
  void ImportProfile();
  void ExportProfile();
  // The file parts of import and export, below their file dialogs. An export returns
  // false when nothing could be written to `path`; ExportProfileAs says so in the
  // warning dialog, as the export command does.
  void ImportProfileFrom(std::u16string_view path);
  bool ExportProfileTo(std::u16string_view path);
  void ExportProfileAs(std::u16string_view path);
  void ChangeLanguage(std::uint8_t language);

  void BuildLayout();
  // The key buttons' marks and tooltips, and the profile buttons' marks of edits not
  // yet applied.
  void RefreshKeyMarks();

  [[nodiscard]] SettingsBlock& settings() noexcept { return *settings_; }
  [[nodiscard]] ProfileData& currentProfile() noexcept;
  [[nodiscard]] CPngListBtn& keyButton(int index) { return keyButtons_[static_cast<std::size_t>(index)]; }
  [[nodiscard]] CPngListBtn& commandButton(Command command) {
    return commandButtons_[static_cast<std::size_t>(command)];
  }
  [[nodiscard]] bool lightingVisible() const noexcept;
  // The key assignment dialog is shown (for a key or as the macro editor).
  [[nodiscard]] bool keyAssignmentOpen() const noexcept;
  [[nodiscard]] bool importPending() const noexcept { return importPending_; }
  [[nodiscard]] int editedKeyIndex() const noexcept { return editedKeyIndex_; }
  // The open settings menu, or null (also once it closed itself).
  [[nodiscard]] CBtnMenu* settingsMenu() noexcept {
    return settingsMenu_ && settingsMenu_->IsOpen() ? settingsMenu_.get() : nullptr;
  }
  // Windows ends the session: the window ended without asking anything.
  [[nodiscard]] bool sessionEnding() const noexcept { return sessionEnding_; }
  // Created on first use, so that the main window shows without waiting for them.
  [[nodiscard]] CKeyAssignmentDlg& keyAssignment();
  [[nodiscard]] CLightingDlg& lightingPanel();
  // The keyboard's state as the device thread last posted it.
  [[nodiscard]] KeyboardState keyboardState() const noexcept { return keyboardState_; }
  // The text the drag strip shows for it.
  [[nodiscard]] std::u16string KeyboardStatusText() const;
  // The tooltip text of a key or command button; empty when it has none.
  [[nodiscard]] std::u16string TooltipOf(HWND button) const { return tooltips_.Text(button); }

 protected:
  bool CreateForModal(HWND owner) override;
  bool PreTranslateMessage(MSG& message) override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // Start-up and painting (quencfg_dlg_win.cpp).
  void Initialise();
  void CenterOnWorkArea();
  void Paint(HDC dc, const RECT& client);
  void OnLeftButtonDown(WPARAM wParam, LPARAM lParam);
  void OnKeyChanged();
  void OnKeyboardState(WPARAM state);
  void AskForKeyboardState();
  // Moved to a monitor of another DPI: the skin at the new scale, in the place Windows
  // suggests.
  void OnDpiChanged(int dpi, const RECT& suggested);

  // Layout (quencfg_dlg_layout_win.cpp).
  // The pictures the first layout pass loads, to decode while the window is made.
  [[nodiscard]] static SkinPrefetchPlan LayoutPictures();
  void LoadKeyButtonImages();
  void LayoutKeyButtons(bool rebuild);
  void LayoutCommandButtons(bool rebuild);
  void MarkKey(int index);
  // What key `index` does, in the current language: its tooltip.
  [[nodiscard]] std::u16string KeyTooltipText(int index);
  void RefreshUnappliedMarks();

  // Commands (quencfg_dlg_commands_win.cpp).
  void OnCommand(HWND control);
  void OnMenuPick(LPARAM lParam);
  void DispatchMenuCommand(int command);
  void OpenSettingsMenu();
  void DestroySettingsMenu();
  void ToggleLightingPanel();

  // Ending (quencfg_dlg_quit_win.cpp).
  // Whether the window may close now: at once without unapplied edits, else after the
  // user's answer (and, when asked to, an apply that saved everything).
  [[nodiscard]] bool ConfirmQuit();
  [[nodiscard]] bool AnyProfileUnapplied() const noexcept;
  [[nodiscard]] bool SaveEveryProfileAndApply();
  void EndWithTheSession();
  void Close();

  // The owned windows (quencfg_dlg_subwindows_win.cpp).
  void OpenMacroEditor();
  void OpenKeyAssignment(int index);
  void ShowLightingPanel(bool visible);
  void RelayoutSubWindows();
  void RefreshLightingPanel();
  void HandProfileToLightingPanel();
  void PlaceKeyAssignment();
  void DismissOwnedPopups();
  [[nodiscard]] bool FilterForSubWindow(MSG& message);
  void ConfirmAndResetProfile();
  FileWriteResult SaveCurrentProfile();
  // The files the device thread reads before it writes the keyboard: false, after
  // telling the user, when one could not be saved.
  bool SaveSettingsAndCurrentProfile();
  void TellSaveFailed(std::u16string_view path, FileWriteStatus status);
  void PostDeviceSync(WPARAM lighting, LPARAM reset);
  [[nodiscard]] std::optional<Command> CommandOf(HWND control) const;
  // The three profile buttons, next to each other among the command buttons.
  [[nodiscard]] std::span<CPngListBtn> ProfileButtons() noexcept {
    return {&commandButton(Command::Profile1), static_cast<std::size_t>(kProfileButtonCount)};
  }
  [[nodiscard]] int KeyIndexOf(HWND control) const;

  std::function<void()> onHelp_;
  std::function<void()> beforeSettings_;
  FileWriter& files_;
  std::unique_ptr<SettingsBlock> settings_;
  std::unique_ptr<SkinPrefetch> layoutPictures_;  // from the start to the first layout pass
  // Shared with the key buttons, which show their places in it.
  std::shared_ptr<const SkinBitmap> background_ = std::make_shared<const SkinBitmap>();
  std::array<CPngListBtn, KEY_COUNT> keyButtons_;
  std::array<CPngListBtn, kCommandCount> commandButtons_;
  std::unique_ptr<CBtnMenu> settingsMenu_;
  CKeyAssignmentDlg keyAssignment_;
  CLightingDlg lighting_;
  SavedProfiles savedProfiles_;
  TooltipSet tooltips_;
  KeyboardState keyboardState_ = KeyboardState::Absent;
  CWarnDlg* openQuestion_ = nullptr;  // the quit question while it is asked
  bool sessionEnding_ = false;
  bool layoutBuilt_ = false;
  bool importPending_ = false;
  int editedKeyIndex_ = -1;
};

}  // namespace quencfg
