#pragma once
// What the skinned-control tests share: a visible host window that records what its
// controls tell it, images made in memory, pixels read back from a control's drawing.
#include <windows.h>

#include <array>
#include <cstdint>
#include <vector>

#include "quencfg/framework/window_win.h"
#include "quencfg/ui/skin/skin_bitmap_win.h"
#include "quencfg/ui/skin/state_images_win.h"

namespace quencfg::testing {

struct Received {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

// A top-level window at a fixed place on the screen, on top, that records every
// command, scroll and WM_USER-range message it receives.
class ControlHost : public Window {
 public:
  bool Make(int width = 640, int height = 480, int x = 40, int y = 40);
  std::vector<Received> received;
  std::vector<Received> Of(UINT message) const;
  void Clear() { received.clear(); }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// Dispatches what is waiting in the thread's queue.
void PumpMessages();

// A w x h 32-bit premultiplied image of one color (alpha 255 unless told).
SkinBitmap SolidImage(int width, int height, COLORREF color, std::uint8_t alpha = 255);
// The four state images of one size, each of one color.
StateImages SolidStates(int width, int height, COLORREF normal, COLORREF over, COLORREF down, COLORREF disabled);

// The pixel (x, y) of a 32-bit DIB section as a color value (red in the low byte).
COLORREF PixelOf(const SkinBitmap& bitmap, int x, int y);
void SetPixelOf(const SkinBitmap& bitmap, int x, int y, COLORREF color, std::uint8_t alpha);

// What a control draws now, asked with WM_PRINTCLIENT into a 32-bit bitmap.
class Drawing {
 public:
  explicit Drawing(HWND control);
  [[nodiscard]] COLORREF At(int x, int y) const;
  [[nodiscard]] int width() const { return bitmap_.width; }
  [[nodiscard]] int height() const { return bitmap_.height; }
  [[nodiscard]] const SkinBitmap& bitmap() const { return bitmap_; }

 private:
  SkinBitmap bitmap_;
};

// Mouse messages as the system would send them, in client coordinates.
void SendMouse(HWND target, UINT message, int x, int y, WPARAM keys = 0);
void Click(HWND target, int x = 2, int y = 2);

}  // namespace quencfg::testing
