#pragma once
// The framework's hold on a window of a system class (button, edit, list box): the
// window is subclassed and its messages reach the object's HandleMessage switch first;
// DefaultHandling passes them on to the class's own procedure.
#include <windows.h>

namespace quencfg {

class SubclassedWindow {
 public:
  SubclassedWindow() = default;
  virtual ~SubclassedWindow();  // destroys the window
  SubclassedWindow(const SubclassedWindow&) = delete;
  SubclassedWindow& operator=(const SubclassedWindow&) = delete;

  [[nodiscard]] HWND hwnd() const noexcept { return hwnd_; }
  [[nodiscard]] bool IsCreated() const noexcept { return hwnd_ != nullptr; }

  // Takes over an existing window; false when the object already has one.
  bool Attach(HWND hwnd);
  void Destroy();

  // The object attached to a window, or null.
  static SubclassedWindow* FromHandle(HWND hwnd) noexcept;

 protected:
  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam);

  // Messages the parent receives about this window (WM_CTLCOLOR*, WM_DRAWITEM,
  // WM_COMMAND), offered back to it once ReflectFromParent was called; true when
  // handled, with the parent's answer in `result`.
  virtual bool HandleReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  bool ReflectFromParent();

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                    DWORD_PTR data);
  static LRESULT CALLBACK ParentProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                          DWORD_PTR data);
  void Detach() noexcept;

  HWND hwnd_ = nullptr;
  HWND reflectingParent_ = nullptr;
};

}  // namespace quencfg
