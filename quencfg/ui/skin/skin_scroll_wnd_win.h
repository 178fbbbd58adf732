#pragma once
// CSkinScrollWnd: shows skinned scroll bars in place of a window's own. The bars are
// siblings of the window laid over the edge where its native bars are; the window is
// widened (or heightened) by the difference in thickness and clipped by a window
// region, so that only the skinned bars show. Their scroll messages reach the window
// as if they came from its own bars, and they follow its scroll state.
#include <windows.h>

#include "quencfg/ui/skin/skin_scrollbar_win.h"

namespace quencfg {

inline constexpr UINT_PTR kScrollSyncTimer = 0x5C5C;
inline constexpr UINT kScrollSyncMs = 500;

// The square between a vertical and a horizontal bar, from column 8 of the bitmap.
class CSkinScrollCorner : public Window {
 public:
  ~CSkinScrollCorner() override { Destroy(); }
  bool Create(HWND parent, HBITMAP bitmap);

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  HBITMAP bitmap_ = nullptr;
};

class CSkinScrollWnd {
 public:
  CSkinScrollWnd() = default;
  ~CSkinScrollWnd();
  CSkinScrollWnd(const CSkinScrollWnd&) = delete;
  CSkinScrollWnd& operator=(const CSkinScrollWnd&) = delete;

  // `bitmap` is borrowed and must outlive the bars.
  bool Attach(HWND window, HBITMAP bitmap);
  void Detach();

  // Takes over the window's scroll state and shows the bars its styles ask for.
  void Sync();

  [[nodiscard]] CSkinScrollBar& verticalBar() noexcept { return vertical_; }
  [[nodiscard]] CSkinScrollBar& horizontalBar() noexcept { return horizontal_; }
  [[nodiscard]] HWND corner() const noexcept { return corner_.hwnd(); }
  [[nodiscard]] HWND window() const noexcept { return window_; }

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                    DWORD_PTR data);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void Relayout();
  void SyncBar(CSkinScrollBar& bar, int which);

  HWND window_ = nullptr;
  RECT place_{};  // the window's rectangle in its parent, bars included
  bool showVertical_ = false;
  bool showHorizontal_ = false;
  bool laidOut_ = false;
  bool relayouting_ = false;
  CSkinScrollBar vertical_;
  CSkinScrollBar horizontal_;
  CSkinScrollCorner corner_;
};

}  // namespace quencfg
