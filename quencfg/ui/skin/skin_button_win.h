#pragma once
// What every skinned button shares: an owner-drawn button window that paints itself
// double-buffered, follows the mouse (hover with capture and leave notification,
// press, release) and sends its commands to its parent with WM_COMMAND.
#include <windows.h>

#include <cstdint>
#include <memory>

#include "quencfg/framework/clock.h"
#include "quencfg/framework/subclass_win.h"
#include "quencfg/ui/skin/skin_bitmap_win.h"
#include "quencfg/ui/skin/state_images_win.h"

namespace quencfg {

class SkinButton : public SubclassedWindow {
 public:

  // Creates the owner-drawn child button of the skin loaders at `place` (parent's
  // client coordinates) and takes it over.
  bool Create(HWND parent, const RECT& place = RECT{});

  // What shows through the button's transparent pixels: a piece of the window background
  // of its own, or its place in the window's background shared by all its buttons (no
  // copy; the window keeps it alive with them).
  void SetBackgroundPiece(SkinBitmap piece);
  void SetBackgroundPlace(std::shared_ptr<const SkinBitmap> windowBackground, POINT origin);
  [[nodiscard]] bool hovering() const noexcept { return hovering_; }
  // Pressed on the button and still over it: the look of a pushed button.
  [[nodiscard]] bool pushed() const noexcept { return pressed_ && pointerInside_; }
  [[nodiscard]] std::uint32_t lastCommandTime() const noexcept { return lastCommandTime_; }
  // Enabled, in a window that is enabled too: a button of a window that a modal dialog
  // disables cannot act, and looks it.
  [[nodiscard]] bool CanAct() const noexcept;

  // The clock the command timing reads; the tests give a fake one.
  void SetTickSource(TickSource source) noexcept { tickSource_ = source; }

  void Redraw();

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  virtual void Paint(HDC dc, const RECT& client) = 0;
  // Release of the left button over the button after a press on it.
  virtual void OnRelease();
  virtual void OnDoubleClick();
  virtual bool KeepsCursor() const { return false; }

  // WM_COMMAND to the parent with the control id and `code`; records the tick.
  void SendCommand(WORD code);
  [[nodiscard]] std::uint32_t Now() const;
  void StartPress();
  void StopHovering();

  // The background under the button, from its place in the background it was given.
  void DrawBackground(HDC dc, const RECT& client) const;

  std::uint32_t lastCommandTime_ = 0;

 private:
  // A piece of its own is a background of the button's size at (0, 0).
  std::shared_ptr<const SkinBitmap> background_;
  POINT backgroundOrigin_{};

  void OnMouseMove(WPARAM keys, POINT point);
  void FinishPress(POINT point);
  bool PointerOver(POINT clientPoint) const;
  bool InsideClientArea(POINT clientPoint) const;
  // A button drawn again (shown after a hide) looks hovered only with the pointer on it.
  void ForgetHoverOfAPointerGone();

  bool hovering_ = false;
  bool pressed_ = false;
  bool pointerInside_ = false;
  TickSource tickSource_ = nullptr;
};

}  // namespace quencfg
