#pragma once
// CDMarker, the progress bar of the progress window: the background piece, over it
// the filled piece up to the position's share of the width, and a caption.
#include <windows.h>

#include <atomic>
#include <string>

#include "quencfg/framework/gdi_win.h"
#include "quencfg/framework/window_win.h"
#include "quencfg/ui/progress/progress_marker.h"
#include "quencfg/ui/skin/skin_bitmap_win.h"
#include "quencfg/ui/skin/state_images_win.h"

namespace quencfg {

class CDMarker : public Window {
 public:
  // A visible child control covering `rect` of `parent`.
  bool CreateControl(HWND parent, int id, const RECT& rect, std::u16string caption);

  // The two pieces, each of the control's size. A missing piece is drawn as a plain
  // color, so the bar stays readable without its skin images.
  void SetImages(SkinBitmap background, SkinBitmap filled);

  void SetRange(int minimum, int maximum) noexcept;
  // Takes the value when it lies in the range, else the minimum; repaints at once.
  void SetPos(int value);
  // Readable from any thread.
  [[nodiscard]] int Position() const noexcept { return position_.load(); }

  // Draws the whole control into a DC of its size.
  void PaintTo(HDC dc) const;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void DrawCaption(HDC dc) const;

  int id_ = 0;
  SkinBitmap background_;
  SkinBitmap filled_;
  RECT rect_{};
  HWND owner_ = nullptr;
  MarkerRange range_{};  // 0..10 until the owner sets it
  std::atomic<int> position_{0};
  std::u16string caption_;
  OwnedFont font_;
};

}  // namespace quencfg
