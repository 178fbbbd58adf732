#pragma once
// CProgressDlg, the small skinned window that floats over the main window while the
// keyboard is written. It belongs to the progress thread and takes no input.
#include <windows.h>

#include "quencfg/framework/window_win.h"
#include "quencfg/ui/progress/dmarker_win.h"
#include "quencfg/ui/skin/skin_bitmap_win.h"
#include "quencfg/ui/skin/state_images_win.h"

namespace quencfg {

inline constexpr int kProgressBarId = 0x5001;
inline constexpr wchar_t kProgressWindowTitle[] = L"Loading";

class CProgressDlg : public Window {
 public:
  // Creates the hidden pop-up (no parent, no caption) and its progress bar.
  bool CreateModeless();

  // Topmost, centred on the work area of the main window's monitor.
  void PlaceOverMainWindow(HWND mainWindow);

  void SetPos(int position);
  [[nodiscard]] const CDMarker& Marker() const noexcept { return marker_; }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  bool OnCreate();
  void Paint(HDC dc) const;

  SkinBitmap background_;
  int width_ = 0;
  int height_ = 0;
  CDMarker marker_;
};

}  // namespace quencfg
