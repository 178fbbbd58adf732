#pragma once
// How the skin, drawn for 96 DPI, is brought to the display's DPI. The layout files
// keep their 96-DPI coordinates: every edge is scaled when it is read, by
// ScaleToDpi, the one rounding used for layout, hit tests, window regions, fonts and
// picture sizes. At 96 DPI every value stays as it is.
//
// Pictures come in three renderings: the 96-DPI files, and the same names in the
// folders "150" and "200" beside them. A DPI uses the nearest rendering and resamples
// only when that rendering's size is off by more than one pixel.
#include <cstdint>
#include <string>
#include <string_view>

#include "quencfg/ui/skin/skin_rect.h"

namespace quencfg {

inline constexpr int kSkinBaseDpi = 96;

// value * dpi / 96, rounded to the nearest integer with halves away from zero (as
// MulDiv rounds). A DPI that is not positive counts as 96.
[[nodiscard]] std::int32_t ScaleToDpi(std::int32_t value, int dpi) noexcept;

// Every edge of the entry scaled on its own, so that neighbouring rectangles that
// touch at 96 DPI still touch. Name, text and flag stay.
[[nodiscard]] SkinRect ScaleSkinRect(const SkinRect& entry, int dpi) noexcept;

struct PixelSize {
  int width = 0;
  int height = 0;
  friend bool operator==(const PixelSize&, const PixelSize&) = default;
};

// The size a 96-DPI picture takes at `dpi`: its width and height scaled.
[[nodiscard]] PixelSize ScaledPictureSize(PixelSize base, int dpi) noexcept;

// A rendering whose size differs from the wanted one by at most a pixel each way is
// used as it is: the renderer and ScaleToDpi may round a half differently.
[[nodiscard]] bool CloseEnough(PixelSize rendering, PixelSize wanted) noexcept;

// The folder of the rendering a DPI reads: empty (the 96-DPI files) below 120, "150"
// from 120 to 167, "200" from 168.
[[nodiscard]] std::u16string_view RenderingFolder(int dpi) noexcept;

// The path of that rendering of a 96-DPI picture: the folder goes between the
// picture's folder and its file name. Unchanged when the DPI reads the 96-DPI files.
[[nodiscard]] std::u16string RenderingPath(std::u16string_view path, int dpi);

// The resource number of a bitmap compiled into the program, in the rendering the
// DPI reads: the 96-DPI number, that number + 10000 (1.5x) or + 20000 (2x).
[[nodiscard]] int RenderingResourceId(int id, int dpi) noexcept;

// The DPI of the program's windows: all of them are owned by the main window and
// shown on its monitor, so the main window sets it from its own DPI (at start and
// when it moves to a monitor of another DPI) and every window reads its skin at it.
// 96 until then. Safe to call from any thread.
[[nodiscard]] int SkinDpi() noexcept;
void SetSkinDpi(int dpi) noexcept;

// Sets a DPI for the life of the object and puts the previous one back after it.
class SkinDpiScope {
 public:
  explicit SkinDpiScope(int dpi) noexcept : previous_(SkinDpi()) { SetSkinDpi(dpi); }
  ~SkinDpiScope() { SetSkinDpi(previous_); }
  SkinDpiScope(const SkinDpiScope&) = delete;
  SkinDpiScope& operator=(const SkinDpiScope&) = delete;

 private:
  int previous_;
};

}  // namespace quencfg
