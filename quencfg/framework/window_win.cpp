#include "quencfg/framework/window_win.h"

#include "quencfg/framework/gdi_win.h"

namespace quencfg {
namespace {

// A control of a window that hides while it holds the mouse capture (the hovered button
// whose click hid the window) would keep it, and its hover look, until the window comes
// back: the pointer leaves without a message. Released, the control hears of it
// (WM_CAPTURECHANGED).
void ReleaseCaptureWithin(HWND window) {
  HWND capture = ::GetCapture();
  if (capture != nullptr && (capture == window || ::IsChild(window, capture))) ::ReleaseCapture();
}

constexpr UINT_PTR kFlashTimer = 0x7A5E;
constexpr UINT kFlashPhaseMs = 90;
constexpr int kFlashPhases = 6;  // three blinks, as Windows flashes a modal dialog
constexpr int kFlashFrameWidth = 3;
constexpr COLORREF kFlashColor = RGB(0xE8, 0x17, 0x3A);  // the skin's accent

// What Windows does for any window: to the front, and flashed by the system.
void FlashBySystem(HWND window) {
  if (::GetForegroundWindow() != window) ::SetForegroundWindow(window);
  FLASHWINFO info{sizeof info, window, FLASHW_ALL, kFlashPhases / 2, 0};
  ::FlashWindowEx(&info);
}

bool IsButtonDown(UINT mouseMessage) noexcept {
  return mouseMessage == WM_LBUTTONDOWN || mouseMessage == WM_RBUTTONDOWN || mouseMessage == WM_MBUTTONDOWN ||
         mouseMessage == WM_XBUTTONDOWN;
}

}  // namespace

LRESULT CALLBACK Window::StaticWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* self = nullptr;
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    self = static_cast<Window*>(create->lpCreateParams);
    if (self != nullptr) {
      self->hwnd_ = hwnd;
      ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
  } else {
    self = FromHandle(hwnd);
  }
  if (self == nullptr) return ::DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == WM_SHOWWINDOW && wParam == FALSE) ReleaseCaptureWithin(hwnd);
  if (message == WM_TIMER && wParam == kFlashTimer) {
    self->OnFlashTimer();
    return 0;
  }
  const LRESULT result = self->HandleMessage(message, wParam, lParam);
  if (message == WM_NCDESTROY) self->Detach();
  return result;
}

namespace {

bool RegisterFrameworkClass(const WindowCreateParams& params, WNDPROC procedure) {
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (::GetClassInfoExW(instance, params.className, &existing)) return true;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = params.classStyle;
  wc.lpfnWndProc = procedure;
  wc.hInstance = instance;
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = params.background;
  wc.hIcon = params.icon;
  wc.lpszClassName = params.className;
  return ::RegisterClassExW(&wc) != 0;
}

}  // namespace

Window::~Window() { Destroy(); }

bool Window::Create(const WindowCreateParams& params) {
  createFailure_ = {};
  if (hwnd_ != nullptr || params.className == nullptr) {
    createFailure_ = {L"Create", ERROR_INVALID_PARAMETER};
    return false;
  }
  if (!RegisterFrameworkClass(params, &Window::StaticWndProc)) {
    createFailure_ = {L"RegisterClassExW", ::GetLastError()};
    return false;
  }
  HWND created = ::CreateWindowExW(params.exStyle, params.className, params.title, params.style,
                                   params.x, params.y, params.width, params.height, params.parent,
                                   params.menuOrId, ::GetModuleHandleW(nullptr), this);
  if (created == nullptr) {
    createFailure_ = {L"CreateWindowExW", ::GetLastError()};
    // A window destroyed during its creation leaves its object detached.
    Detach();
  }
  return created != nullptr;
}

void Window::Destroy() {
  if (hwnd_ != nullptr) ::DestroyWindow(hwnd_);
  Detach();
}

void Window::Detach() noexcept {
  if (hwnd_ != nullptr && ::IsWindow(hwnd_)) ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
  hwnd_ = nullptr;
}

Window* Window::FromHandle(HWND hwnd) noexcept {
  if (hwnd == nullptr) return nullptr;
  return reinterpret_cast<Window*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefaultHandling(message, wParam, lParam);
}

LRESULT Window::DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SETCURSOR:
      // A click on this window while a modal pop-up disables it: the pop-up asks for
      // attention, and the click does nothing else.
      if (LOWORD(lParam) == static_cast<WORD>(HTERROR) && IsButtonDown(HIWORD(lParam))) {
        AskForAttention(BlockingPopupOf(hwnd_));
      }
      break;
    case WM_SYSCOMMAND:
      // The system ignores the commands of a disabled window, but the task bar still
      // minimises and restores a window that waits for its modal dialog.
      if (!::IsWindowEnabled(hwnd_)) {
        const UINT command = static_cast<UINT>(wParam & 0xFFF0);
        if (command == SC_MINIMIZE || command == SC_RESTORE) {
          // As the system does it: the owned pop-ups go and come back with the window.
          ::ShowOwnedPopups(hwnd_, command == SC_RESTORE ? TRUE : FALSE);
          ::ShowWindow(hwnd_, command == SC_MINIMIZE ? SW_MINIMIZE : SW_RESTORE);
          return 0;
        }
      }
      break;
    case WM_ENABLE:
      // The skinned controls draw the state of their window: disabled with it.
      ::RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
      break;
    default:
      break;
  }
  return ::DefWindowProcW(hwnd_, message, wParam, lParam);
}

void AskForAttention(HWND popup) {
  if (popup == nullptr) return;
  // Only a window of this framework has an object behind its user data; a system
  // dialog (the file dialog) is flashed by the system alone.
  if (::GetClassLongPtrW(popup, GCLP_WNDPROC) != reinterpret_cast<ULONG_PTR>(&Window::StaticWndProc)) {
    FlashBySystem(popup);
    return;
  }
  if (Window* window = Window::FromHandle(popup)) window->Flash();
}

void Window::Flash() {
  if (hwnd_ == nullptr || !::IsWindowVisible(hwnd_)) return;
  ++flashCount_;
  FlashBySystem(hwnd_);
  flashPhases_ = kFlashPhases;
  DrawFlashFrame();
  ::SetTimer(hwnd_, kFlashTimer, kFlashPhaseMs, nullptr);
}

void Window::OnFlashTimer() {
  if (flashPhases_ > 0) --flashPhases_;
  if (flashPhases_ == 0) ::KillTimer(hwnd_, kFlashTimer);
  if (flashPhases_ % 2 == 0) {
    // The window paints itself again where the frame was.
    ::RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  } else {
    DrawFlashFrame();
  }
}

void Window::DrawFlashFrame() const {
  ::UpdateWindow(hwnd_);  // what waits to be painted first, so that it does not cover the frame
  WindowDc dc(hwnd_);
  if (dc.get() == nullptr) return;
  RECT client{};
  ::GetClientRect(hwnd_, &client);
  OwnedBrush brush(::CreateSolidBrush(kFlashColor));
  for (int inset = 0; inset < kFlashFrameWidth; ++inset) {
    ::FrameRect(dc.get(), &client, brush.get());
    ::InflateRect(&client, -1, -1);
  }
}

HWND BlockingPopupOf(HWND owner) noexcept {
  if (owner == nullptr || ::IsWindowEnabled(owner)) return nullptr;
  // The pop-up in front is the active window while the program is in front; else the
  // one the user worked in last.
  HWND popup = ::GetActiveWindow();
  if (popup == nullptr || popup == owner || !::IsWindowVisible(popup)) popup = ::GetLastActivePopup(owner);
  if (popup == nullptr || popup == owner || !::IsWindowVisible(popup)) return nullptr;
  return popup;
}

bool Window::CreateForModal(HWND) { return false; }

bool Window::IsFor(const MSG& message) const noexcept {
  return hwnd_ != nullptr && (message.hwnd == hwnd_ || ::IsChild(hwnd_, message.hwnd));
}

bool Window::PreTranslateMessage(MSG&) { return false; }

INT_PTR Window::DoModal(HWND owner, int showCommand) {
  if (hwnd_ == nullptr && !CreateForModal(owner)) return -1;
  const bool disableOwner = owner != nullptr && ::IsWindowEnabled(owner);
  if (disableOwner) ::EnableWindow(owner, FALSE);
  modalRunning_ = true;
  modalEnded_ = false;
  modalResult_ = 0;
  ::ShowWindow(hwnd_, showCommand);

  MSG msg{};
  while (!modalEnded_ && hwnd_ != nullptr) {
    const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {  // WM_QUIT: end the run and leave the quit for the outer loop
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (got == -1) break;
    if (PreTranslateMessage(msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }

  modalRunning_ = false;
  if (disableOwner) ::EnableWindow(owner, TRUE);
  return modalResult_;
}

void Window::EndModal(INT_PTR result) {
  modalResult_ = result;
  modalEnded_ = true;
  // Wake the loop in case it waits for a message.
  if (hwnd_ != nullptr) ::PostMessageW(hwnd_, WM_NULL, 0, 0);
}

bool PostToWindow(HWND target, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  return target != nullptr && ::PostMessageW(target, message, wParam, lParam) != 0;
}

}  // namespace quencfg
