#include "quencfg/framework/subclass_win.h"

#include <commctrl.h>

namespace quencfg {
namespace {

constexpr UINT_PTR kSubclassId = 0x4B56;  // one framework subclass per window
constexpr wchar_t kObjectProperty[] = L"KorvaneSubclassedWindow";

// The control a parent's message is about, or null for messages not reflected.
HWND ControlOfParentMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
      return reinterpret_cast<HWND>(lParam);
    case WM_COMMAND:
      return reinterpret_cast<HWND>(lParam);
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      return wParam != 0 && item != nullptr ? item->hwndItem : nullptr;
    }
    default:
      return nullptr;
  }
}

}  // namespace

SubclassedWindow::~SubclassedWindow() { Destroy(); }

bool SubclassedWindow::Attach(HWND hwnd) {
  if (hwnd_ != nullptr || hwnd == nullptr) return false;
  if (!::SetWindowSubclass(hwnd, &SubclassedWindow::Procedure, kSubclassId, reinterpret_cast<DWORD_PTR>(this))) {
    return false;
  }
  hwnd_ = hwnd;
  ::SetPropW(hwnd, kObjectProperty, this);
  return true;
}

void SubclassedWindow::Destroy() {
  if (hwnd_ != nullptr) ::DestroyWindow(hwnd_);
  Detach();
}

void SubclassedWindow::Detach() noexcept {
  if (reflectingParent_ != nullptr && ::IsWindow(reflectingParent_)) {
    ::RemoveWindowSubclass(reflectingParent_, &SubclassedWindow::ParentProcedure, reinterpret_cast<UINT_PTR>(this));
  }
  reflectingParent_ = nullptr;
  if (hwnd_ != nullptr && ::IsWindow(hwnd_)) {
    ::RemoveWindowSubclass(hwnd_, &SubclassedWindow::Procedure, kSubclassId);
    ::RemovePropW(hwnd_, kObjectProperty);
  }
  hwnd_ = nullptr;
}

SubclassedWindow* SubclassedWindow::FromHandle(HWND hwnd) noexcept {
  if (hwnd == nullptr) return nullptr;
  return static_cast<SubclassedWindow*>(::GetPropW(hwnd, kObjectProperty));
}

LRESULT SubclassedWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefaultHandling(message, wParam, lParam);
}

LRESULT SubclassedWindow::DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam) {
  return ::DefSubclassProc(hwnd_, message, wParam, lParam);
}

bool SubclassedWindow::HandleReflected(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

bool SubclassedWindow::ReflectFromParent() {
  HWND parent = hwnd_ != nullptr ? ::GetParent(hwnd_) : nullptr;
  if (parent == nullptr) return false;
  if (reflectingParent_ == parent) return true;
  if (!::SetWindowSubclass(parent, &SubclassedWindow::ParentProcedure, reinterpret_cast<UINT_PTR>(this),
                           reinterpret_cast<DWORD_PTR>(this))) {
    return false;
  }
  reflectingParent_ = parent;
  return true;
}

LRESULT CALLBACK SubclassedWindow::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                             DWORD_PTR data) {
  auto* self = reinterpret_cast<SubclassedWindow*>(data);
  if (self == nullptr || self->hwnd_ != hwnd) return ::DefSubclassProc(hwnd, message, wParam, lParam);
  const LRESULT result = self->HandleMessage(message, wParam, lParam);
  if (message == WM_NCDESTROY) self->Detach();
  return result;
}

LRESULT CALLBACK SubclassedWindow::ParentProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                                   DWORD_PTR data) {
  auto* self = reinterpret_cast<SubclassedWindow*>(data);
  HWND control = ControlOfParentMessage(message, wParam, lParam);
  if (self != nullptr && control != nullptr && control == self->hwnd_) {
    LRESULT result = 0;
    if (self->HandleReflected(message, wParam, lParam, result)) return result;
  }
  return ::DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace quencfg
