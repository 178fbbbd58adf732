#pragma once
// GDI owners and scopes: owning and borrowing object holders from one template,
// select-and-restore, and the device contexts of painting, all move-only.
#include <windows.h>

#include <optional>
#include <utility>

#include "quencfg/framework/handle_win.h"

namespace quencfg {

// GDI objects as handles of UniqueHandle: owning holders delete the object, borrowing
// ones only hold it.
template <typename T, bool Owning>
struct GdiObjectTraits {
  using Type = T;
  static Type Invalid() noexcept { return nullptr; }
  static bool IsValid(Type object) noexcept { return object != nullptr; }
  static void Close(Type object) noexcept {
    if constexpr (Owning) ::DeleteObject(object);
  }
};
template <typename T, bool Owning>
using GdiObject = UniqueHandle<GdiObjectTraits<T, Owning>>;

using OwnedBitmap = GdiObject<HBITMAP, true>;
using OwnedBrush = GdiObject<HBRUSH, true>;
using OwnedFont = GdiObject<HFONT, true>;
using OwnedPen = GdiObject<HPEN, true>;
using OwnedRegion = GdiObject<HRGN, true>;

// Selects an object into a DC for the scope's lifetime.
class SelectScope {
 public:
  // A null object selects nothing.
  SelectScope(HDC dc, HGDIOBJ object) noexcept
      : dc_(dc), previous_(object != nullptr ? ::SelectObject(dc, object) : nullptr) {}
  ~SelectScope() {
    if (previous_ != nullptr && previous_ != HGDI_ERROR) ::SelectObject(dc_, previous_);
  }
  SelectScope(const SelectScope&) = delete;
  SelectScope& operator=(const SelectScope&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// BeginPaint / EndPaint.
class PaintDc {
 public:
  explicit PaintDc(HWND hwnd) noexcept : hwnd_(hwnd) { dc_ = ::BeginPaint(hwnd, &paint_); }
  ~PaintDc() { ::EndPaint(hwnd_, &paint_); }
  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;
  [[nodiscard]] HDC get() const noexcept { return dc_; }
  [[nodiscard]] const RECT& dirty() const noexcept { return paint_.rcPaint; }

 private:
  HWND hwnd_;
  PAINTSTRUCT paint_{};
  HDC dc_ = nullptr;
};

// GetDC (the client area) or GetWindowDC (the whole window, frame included) /
// ReleaseDC. A null window gives the screen's DC.
class WindowDc {
 public:
  enum class Area { kClient, kWholeWindow };
  explicit WindowDc(HWND hwnd, Area area = Area::kClient) noexcept
      : hwnd_(hwnd), dc_(area == Area::kClient ? ::GetDC(hwnd) : ::GetWindowDC(hwnd)) {}
  ~WindowDc() {
    if (dc_ != nullptr) ::ReleaseDC(hwnd_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  [[nodiscard]] HDC get() const noexcept { return dc_; }

 private:
  HWND hwnd_;
  HDC dc_;
};

// A memory DC compatible with another DC; deleted with the scope.
class MemoryDc {
 public:
  explicit MemoryDc(HDC compatibleWith) noexcept : dc_(::CreateCompatibleDC(compatibleWith)) {}
  ~MemoryDc() {
    if (dc_ != nullptr) ::DeleteDC(dc_);
  }
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;
  [[nodiscard]] HDC get() const noexcept { return dc_; }

 private:
  HDC dc_;
};

// Paints a window off-screen and copies the result in one blit; the window class
// must not erase its background (answer WM_ERASEBKGND with 1).
template <typename PaintFn>
void PaintDoubleBuffered(HWND hwnd, PaintFn&& paint) {
  PaintDc screen(hwnd);
  RECT client{};
  ::GetClientRect(hwnd, &client);
  const int width = client.right - client.left;
  const int height = client.bottom - client.top;
  if (width <= 0 || height <= 0) return;
  MemoryDc memory(screen.get());
  OwnedBitmap canvas(::CreateCompatibleBitmap(screen.get(), width, height));
  if (memory.get() == nullptr || !canvas) {
    paint(screen.get(), client);
    return;
  }
  SelectScope select(memory.get(), canvas.get());
  paint(memory.get(), client);
  ::BitBlt(screen.get(), 0, 0, width, height, memory.get(), 0, 0, SRCCOPY);
}

// The painting messages every skinned window answers alike: WM_PAINT off-screen,
// WM_PRINTCLIENT straight into the given DC, WM_ERASEBKGND answered with `eraseAnswer`
// without erasing (the paint covers everything). Returns the answer when `message` was
// one of them; `paint(dc, client)` draws the window.
template <typename PaintFn>
std::optional<LRESULT> HandlePaintMessages(HWND hwnd, UINT message, WPARAM wParam, PaintFn&& paint,
                                           LRESULT eraseAnswer = 1) {
  switch (message) {
    case WM_PAINT:
      PaintDoubleBuffered(hwnd, paint);
      return 0;
    case WM_PRINTCLIENT: {
      RECT client{};
      ::GetClientRect(hwnd, &client);
      paint(reinterpret_cast<HDC>(wParam), client);
      return 0;
    }
    case WM_ERASEBKGND:
      return eraseAnswer;
    default:
      return std::nullopt;
  }
}

}  // namespace quencfg
