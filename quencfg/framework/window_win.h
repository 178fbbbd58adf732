#pragma once
// The window framework: one static window procedure routes every message to the
// object stored in the window's user data, whose HandleMessage is a plain switch.
#include <windows.h>

#include <string>

namespace quencfg {

// The framework's standard help command (F1 and the help menu item).
inline constexpr UINT ID_HELP = 0xE146;

struct WindowCreateParams {
  const wchar_t* className = nullptr;  // registered on first use with the framework's procedure
  const wchar_t* title = L"";
  DWORD style = WS_OVERLAPPEDWINDOW;
  DWORD exStyle = 0;
  int x = CW_USEDEFAULT;
  int y = CW_USEDEFAULT;
  int width = CW_USEDEFAULT;
  int height = CW_USEDEFAULT;
  HWND parent = nullptr;
  UINT classStyle = CS_DBLCLKS;
  HBRUSH background = nullptr;  // null: the window paints all of itself
  HICON icon = nullptr;
  HMENU menuOrId = nullptr;
};

// Why the last Create of a window failed: the system call that failed and its error.
struct WindowCreateFailure {
  const wchar_t* call = nullptr;  // null: the last Create did not fail
  DWORD error = 0;
};

class Window {
 public:
  Window() = default;
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  [[nodiscard]] HWND hwnd() const noexcept { return hwnd_; }
  [[nodiscard]] bool IsCreated() const noexcept { return hwnd_ != nullptr; }

  // Creates the window; the object receives messages from WM_NCCREATE on. When it
  // fails, createFailure() says which call failed and why.
  bool Create(const WindowCreateParams& params);
  [[nodiscard]] const WindowCreateFailure& createFailure() const noexcept { return createFailure_; }
  void Destroy();

  // The object behind a window created by this framework, or null.
  static Window* FromHandle(HWND hwnd) noexcept;

  // Modal run: disables the owner, shows the window with `showCommand` (SW_HIDE runs
  // it hidden until something shows it) and pumps messages until EndModal. Returns the
  // EndModal result, or -1 when the window could not be made.
  INT_PTR DoModal(HWND owner = nullptr, int showCommand = SW_SHOW);
  void EndModal(INT_PTR result);
  [[nodiscard]] bool InModalLoop() const noexcept { return modalRunning_; }

  // Whether a message is for this window or one of its controls.
  [[nodiscard]] bool IsFor(const MSG& message) const noexcept;

  // A modeless window that lives in its owner's modal loop gets its messages filtered
  // through here by the owner's PreTranslateMessage.
  bool FilterBeforeDispatch(MSG& message) { return PreTranslateMessage(message); }

  // Asks for the user's attention as Windows does for a modal dialog whose disabled
  // owner was clicked: the window comes to the front, the system flashes it, and a frame
  // blinks around it a few times (these windows have no caption of their own to flash).
  void Flash();
  [[nodiscard]] bool flashing() const noexcept { return flashPhases_ > 0; }
  [[nodiscard]] int flashCount() const noexcept { return flashCount_; }

 protected:
  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam);

  // Called by DoModal when the window does not exist yet.
  virtual bool CreateForModal(HWND owner);

  // Gives the window a look at each message of its modal loop before dispatch;
  // true means the message was handled and is not dispatched.
  virtual bool PreTranslateMessage(MSG& message);

 private:
  friend void AskForAttention(HWND popup);
  static LRESULT CALLBACK StaticWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  void Detach() noexcept;
  void OnFlashTimer();
  void DrawFlashFrame() const;

  HWND hwnd_ = nullptr;
  WindowCreateFailure createFailure_;
  bool modalRunning_ = false;
  bool modalEnded_ = false;
  INT_PTR modalResult_ = 0;
  int flashPhases_ = 0;  // frame shown on odd phases; 0: not flashing
  int flashCount_ = 0;
};

// Flash() for a window of this framework; the system's flash for any other.
void AskForAttention(HWND popup);

// The window that keeps a disabled `owner` from acting: the pop-up of this program the
// user works in (its modal dialog, or the question shown over that), or null.
[[nodiscard]] HWND BlockingPopupOf(HWND owner) noexcept;

// Posts a message; false when the target is gone or its queue is full.
bool PostToWindow(HWND target, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) noexcept;

// Shows a child window without activating anything, or hides it; null is skipped.
inline void ShowChild(HWND child, bool visible) noexcept {
  if (child != nullptr) ::ShowWindow(child, visible ? SW_SHOWNA : SW_HIDE);
}

// The index of the control whose window is `window`, or -1 (also for null). `controls`
// is any sequence of things with hwnd(): the skinned controls, windows of this framework.
template <typename Controls>
int IndexOfWindow(const Controls& controls, HWND window) noexcept {
  if (window == nullptr) return -1;
  int index = 0;
  for (const auto& control : controls) {
    if (control.hwnd() == window) return index;
    ++index;
  }
  return -1;
}

inline bool IsKeyboardMessage(UINT message) noexcept { return message >= WM_KEYFIRST && message <= WM_KEYLAST; }

}  // namespace quencfg
