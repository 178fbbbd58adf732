#pragma once
// CPngHSliderBar: a horizontal slider drawn from bar and thumb images. It never moves
// by itself: it posts the position it would take (0x446) and its parent sets it.
#include <windows.h>

#include "quencfg/framework/window_win.h"
#include "quencfg/ui/skin/skin_bitmap_win.h"
#include "quencfg/ui/skin/state_images_win.h"
#include "quencfg/ui/skin/slider_geometry.h"

namespace quencfg {

inline constexpr UINT kSliderMovedMessage = 0x446;  // WM_USER+70: wParam position, lParam identifier

class CPngHSliderBar : public Window {
 public:
  // Destroyed here, so that the window's last messages still reach this class.
  ~CPngHSliderBar() override { Destroy(); }
  // A visible child at `rect` (parent client coordinates); range 0..10, position 0.
  bool Create(const RECT& rect, HWND parent, int identifier, DWORD style = WS_CHILD | WS_VISIBLE,
              int controlId = 1001);

  // The bar images cut to the slider's size: unfilled, filled and disabled.
  void SetBarImages(const RECT& rect, HBITMAP normal, HBITMAP active, HBITMAP disabled);
  // Thumb images in state order (normal, hovered, pressed, disabled); the thumb's size
  // is that of the normal image.
  void SetThumbImages(StateImages& thumb, bool topAligned);
  void SetRange(int minimum, int maximum);
  void SetPos(int position);
  // The piece of the parent's background under `rect`.
  void SetBackground(const RECT& rect, HBITMAP parentBackground);

  [[nodiscard]] int position() const noexcept { return position_; }
  [[nodiscard]] int minimum() const noexcept { return minimum_; }
  [[nodiscard]] int maximum() const noexcept { return maximum_; }
  [[nodiscard]] int identifier() const noexcept { return identifier_; }
  [[nodiscard]] bool dragging() const noexcept { return dragging_; }
  [[nodiscard]] bool hovering() const noexcept { return hovering_; }
  [[nodiscard]] SliderGeometry Geometry() const;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void Paint(HDC dc, const RECT& client) const;
  void Repaint();
  void PostPosition(int position) const;
  int PositionAtClientX(int x) const;
  void OnMouseMove(WPARAM keys, POINT point);

  int identifier_ = 0;
  SkinBitmap barNormal_;
  SkinBitmap barActive_;
  SkinBitmap barDisabled_;
  bool topAligned_ = false;
  SkinBitmap thumbNormal_;
  SkinBitmap thumbHover_;
  SkinBitmap thumbPressed_;
  SkinBitmap thumbDisabled_;
  bool enabled_ = true;
  RECT layout_{};
  HWND parent_ = nullptr;
  int position_ = 0;
  int minimum_ = 0;
  int maximum_ = 10;
  bool dragging_ = false;
  bool hovering_ = false;
  SkinBitmap background_;
};

}  // namespace quencfg
