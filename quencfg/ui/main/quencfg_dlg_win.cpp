#include "quencfg/ui/main/quencfg_dlg_win.h"

#include <windowsx.h>

#include "quencfg/framework/app_icon_win.h"
#include "quencfg/framework/folders.h"
#include "quencfg/framework/foreground_win.h"
#include "quencfg/framework/gdi_win.h"
#include "quencfg/framework/messages.h"
#include "quencfg/framework/program_windows_win.h"
#include "quencfg/framework/wide_win.h"
#include "quencfg/ui/main/main_window_rules.h"
#include "quencfg/ui/skin/skin_documents.h"
#include "quencfg/ui/skin/skin_dpi_win.h"
#include "quencfg/ui/skin/skin_draw_win.h"
#include "quencfg/ui/skin/skin_language.h"
#include "quencfg/ui/skin/skin_scale.h"
#include "quencfg/ui/skin/skin_text_win.h"

namespace quencfg {
namespace {

constexpr DWORD kLateStyleBits = 0x80020;  // WS_SYSMENU and 0x20, added after the controls exist
constexpr COLORREF kLabelColor = 0xFFFFFF;
constexpr int kLabelFontHeight = 18;

// Grey while no keyboard answers, white once it does, the accent while it is written,
// amber while saved changes wait for a keyboard.
COLORREF KeyboardStatusColor(KeyboardState state) {
  switch (state) {
    case KeyboardState::Connected: return 0xEEE8E6;
    case KeyboardState::Writing: return 0x5A43F0;
    case KeyboardState::ChangesWaiting: return 0x4FB8F0;
    default: return 0xA0928D;
  }
}

}  // namespace

CQuencfgDlg::CQuencfgDlg(std::function<void()> onHelp, std::function<void()> beforeSettings, FileWriter& files)
    : onHelp_(std::move(onHelp)),
      beforeSettings_(std::move(beforeSettings)),
      files_(files),
      settings_(std::make_unique<SettingsBlock>()) {
  ClearSettings(*settings_);
}

CQuencfgDlg::~CQuencfgDlg() {
  DestroySettingsMenu();
  tooltips_.Destroy();
  Destroy();
}

ProfileData& CQuencfgDlg::currentProfile() noexcept { return CurrentProfile(*settings_); }

bool CQuencfgDlg::CreateForModal(HWND owner) { return Open(owner); }

bool CQuencfgDlg::Open(HWND owner) {
  if (IsCreated()) return true;
  WindowCreateParams params;
  params.className = AsWide(kMainWindowClass);
  params.title = AsWide(kMainWindowTitle);
  params.style = WS_POPUP | WS_MINIMIZEBOX | WS_CLIPCHILDREN;  // the lighting panel paints itself
  params.exStyle = WS_EX_APPWINDOW;
  params.x = 0;
  params.y = 0;
  params.width = 0;
  params.height = 0;
  params.parent = owner;
  // The window's pictures are decoded on another thread while the window is made and
  // the settings are read.
  layoutPictures_ = std::make_unique<SkinPrefetch>(LayoutPictures());
  if (!Create(params)) return false;
  // Every window of the program reads its skin at the DPI of the main window's monitor.
  SetSkinDpi(WindowDpi(hwnd()));
  Initialise();
  return true;
}

void CQuencfgDlg::Initialise() {
  HICON icon = ApplicationIcon();
  ::SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  ::SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  if (beforeSettings_) beforeSettings_();
  LoadAllSettings();
  StringDocument().Load(StringsFilePath(settings_->Language));
  BuildLayout();
  layoutPictures_.reset();
  SelectProfile(settings_->Profile);
  ::SetWindowLongPtrW(hwnd(), GWL_STYLE, ::GetWindowLongPtrW(hwnd(), GWL_STYLE) | kLateStyleBits);
  CenterOnWorkArea();
  AskForKeyboardState();
}

void CQuencfgDlg::AskForKeyboardState() {
  // The device thread may have found the keyboard before this window existed.
  PostToWindow(FindOwnWindow(kDeviceWindowName), UM_KEYBOARDSTATEQUERY, 0, 0);
}

void CQuencfgDlg::OnKeyboardState(WPARAM state) {
  if (state > static_cast<WPARAM>(KeyboardState::ChangesWaiting)) return;
  keyboardState_ = static_cast<KeyboardState>(state);
  const SkinRect strip = LayoutDocument().LookupRect(u"MAIN", u"KEYBOARD_STATUS");
  const RECT area{strip.left, strip.top, strip.right, strip.bottom};
  ::InvalidateRect(hwnd(), &area, FALSE);
}

void CQuencfgDlg::OnDpiChanged(int dpi, const RECT& suggested) {
  DestroySettingsMenu();
  SetSkinDpi(dpi);
  BuildLayout();
  // The window's size is its background's; Windows' suggestion only says where.
  ::SetWindowPos(hwnd(), nullptr, suggested.left, suggested.top, background_->width, background_->height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  lighting_.Relayout();
  keyAssignment_.Relayout();
  PlaceKeyAssignment();
  ::InvalidateRect(hwnd(), nullptr, FALSE);
}

std::u16string CQuencfgDlg::KeyboardStatusText() const {
  return LookupString(StringDocument(), u"FEEDBACK", KeyboardStatusKey(keyboardState_));
}

void CQuencfgDlg::CenterOnWorkArea() {
  RECT work{};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  RECT window{};
  ::GetWindowRect(hwnd(), &window);
  const int width = window.right - window.left;
  const int height = window.bottom - window.top;
  const int x = work.left + (work.right - work.left - width) / 2;
  const int y = work.top + (work.bottom - work.top - height) / 2;
  ::SetWindowPos(hwnd(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool CQuencfgDlg::PreTranslateMessage(MSG& message) {
  if (FilterForSubWindow(message)) return true;
  // Enter never presses a default button. Only keyboard messages are filtered: a mouse
  // message whose modifier flags happen to add up to 13 is a click like any other.
  return IsKeyboardMessage(message.message) && message.wParam == VK_RETURN;
}

LRESULT CQuencfgDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  const auto paint = [this](HDC dc, const RECT& client) { Paint(dc, client); };
  if (const auto painted = HandlePaintMessages(hwnd(), message, wParam, paint, 0)) return *painted;
  switch (message) {
    case WM_CREATE: {
      const LRESULT result = DefaultHandling(message, wParam, lParam);
      ::SetCurrentDirectoryW(AsWide(AppFolder()));
      return result;
    }
    case WM_QUERYDRAGICON:
      return reinterpret_cast<LRESULT>(ApplicationIcon());
    case WM_LBUTTONDOWN:
      OnLeftButtonDown(wParam, lParam);
      return DefaultHandling(message, wParam, lParam);
    case WM_COMMAND:
      if (LOWORD(wParam) == ID_HELP && onHelp_) {
        onHelp_();
        return 0;
      }
      OnCommand(reinterpret_cast<HWND>(lParam));
      if (LOWORD(wParam) == IDCANCEL) {
        DismissOwnedPopups();
        EndModal(IDCANCEL);
      }
      return 0;
    case WM_HELP:
      if (onHelp_) onHelp_();
      return TRUE;
    case WM_CLOSE:
      // The tray's exit, Alt+F4 or anyone's close: edits not applied are asked about.
      if (ConfirmQuit()) Close();
      return 0;
    case WM_QUERYENDSESSION:
      return TRUE;  // a shutdown or sign-out is never held up by a question
    case WM_ENDSESSION:
      if (wParam != FALSE) EndWithTheSession();
      return 0;
    case WM_SHOWWINDOW:
      // Every way of hiding the window (exit, cancel, OK, or anyone's ShowWindow).
      if (wParam == FALSE) DismissOwnedPopups();
      return DefaultHandling(message, wParam, lParam);
    case WM_NOTIFY:
      if (const auto answered = tooltips_.HandleNotify(lParam)) return *answered;
      return DefaultHandling(message, wParam, lParam);
    case UM_KEYCHANGED:
      OnKeyChanged();
      return 1;
    case UM_KEYBOARDSTATE:
      OnKeyboardState(wParam);
      return 0;
    case UM_PROFILEEDITED:
      RefreshUnappliedMarks();
      return 0;
    case UM_SHOWMAIN:
      // A second start or the tray: back whatever its state, minimised or hidden.
      BringWindowBack(hwnd());
      return 1;
    case UM_TRAYNOTIFY:
      // The tray icon's double click has shown the window already; in front too.
      if (lParam == WM_LBUTTONDBLCLK) BringWindowBack(hwnd());
      return DefaultHandling(message, wParam, lParam);
    case WM_DPICHANGED:
      OnDpiChanged(DpiOfDpiChanged(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case kMenuPickCommand:
      OnMenuPick(lParam);
      return DefaultHandling(message, wParam, lParam);
    default:
      return DefaultHandling(message, wParam, lParam);
  }
}

void CQuencfgDlg::OnLeftButtonDown(WPARAM, LPARAM lParam) {
  if (keyAssignmentOpen()) return;
  DestroySettingsMenu();
  const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  if (InDragStrip(point.x, point.y, SkinDpi())) {
    ::PostMessageW(hwnd(), WM_NCLBUTTONDOWN, HTCAPTION, lParam);
  }
}

void CQuencfgDlg::OnKeyChanged() {
  // Only a key the dialog was opened for can have changed.
  if (editedKeyIndex_ < 0 || editedKeyIndex_ >= KEY_COUNT) return;
  MarkKey(editedKeyIndex_);
  RefreshUnappliedMarks();
}

void CQuencfgDlg::Paint(HDC dc, const RECT& client) {
  if (::IsIconic(hwnd())) {
    const int x = (client.right - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
    ::DrawIcon(dc, x, y, ApplicationIcon());
    return;
  }
  BlitBitmap(dc, *background_, 0, 0);
  OwnedFont font = CreateSkinLabelFont(kLabelFontHeight);
  SelectScope selectFont(dc, font.get());
  ::SetTextColor(dc, kLabelColor);
  ::SetBkMode(dc, TRANSPARENT);
  DrawSkinText(dc, u"MAIN", u"LIGHTING", DT_WORDBREAK);
  ::SetTextColor(dc, KeyboardStatusColor(keyboardState_));
  DrawSkinText(dc, u"MAIN", u"KEYBOARD_STATUS", KeyboardStatusText(), DT_RIGHT | DT_SINGLELINE | DT_END_ELLIPSIS);
}

}  // namespace quencfg
