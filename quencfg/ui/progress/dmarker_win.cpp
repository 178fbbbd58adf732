#include "quencfg/ui/progress/dmarker_win.h"

#include "quencfg/framework/wide_win.h"
#include "quencfg/ui/progress/ignored_input_win.h"
#include "quencfg/ui/skin/skin_scale.h"

namespace quencfg {
namespace {

constexpr COLORREF kCaptionColor = 0xD2D2D2;
constexpr RECT kCaptionRect = {175, 60, 575, 105};
constexpr int kCaptionHeight = 38;
// Stand-ins for missing skin images.
constexpr COLORREF kPlainBackground = RGB(18, 19, 24);
constexpr COLORREF kPlainFilled = RGB(200, 30, 60);

int Width(const RECT& rect) noexcept { return rect.right - rect.left; }
int Height(const RECT& rect) noexcept { return rect.bottom - rect.top; }

// Copies [0, width) x [0, height) of the bitmap, or fills that area when there is none.
void DrawPiece(HDC dc, const SkinBitmap& piece, int width, int height, COLORREF plain) {
  if (width <= 0 || height <= 0) return;
  if (piece.empty()) {
    OwnedBrush brush(::CreateSolidBrush(plain));
    const RECT area{0, 0, width, height};
    ::FillRect(dc, &area, brush.get());
    return;
  }
  MemoryDc source(dc);
  SelectScope select(source.get(), piece.get());
  ::BitBlt(dc, 0, 0, width, height, source.get(), 0, 0, SRCCOPY);
}

}  // namespace

bool CDMarker::CreateControl(HWND parent, int id, const RECT& rect, std::u16string caption) {
  id_ = id;
  rect_ = rect;
  owner_ = parent;
  caption_ = std::move(caption);
  const int captionHeight = ScaleToDpi(kCaptionHeight, SkinDpi());
  font_.reset(::CreateFontW(captionHeight, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                            OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"Arial"));
  WindowCreateParams params;
  params.className = L"KorvaneProgressBar";
  params.style = WS_CHILD | WS_VISIBLE;
  params.x = rect.left;
  params.y = rect.top;
  params.width = Width(rect);
  params.height = Height(rect);
  params.parent = parent;
  params.menuOrId = reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
  return Create(params);
}

void CDMarker::SetImages(SkinBitmap background, SkinBitmap filled) {
  background_ = std::move(background);
  filled_ = std::move(filled);
  if (IsCreated()) ::InvalidateRect(hwnd(), nullptr, FALSE);
}

void CDMarker::SetRange(int minimum, int maximum) noexcept { range_ = MarkerRange{minimum, maximum}; }

void CDMarker::SetPos(int value) {
  position_.store(ClampMarkerPosition(value, range_));
  if (!IsCreated()) return;
  ::InvalidateRect(hwnd(), nullptr, FALSE);
  ::UpdateWindow(hwnd());
}

void CDMarker::PaintTo(HDC dc) const {
  const int width = Width(rect_);
  const int height = Height(rect_);
  DrawPiece(dc, background_, width, height, kPlainBackground);
  DrawPiece(dc, filled_, MarkerFillWidth(position_.load(), range_, width), height, kPlainFilled);
  if (!caption_.empty()) DrawCaption(dc);
}

void CDMarker::DrawCaption(HDC dc) const {
  SelectScope font(dc, font_.get());
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, kCaptionColor);
  const int dpi = SkinDpi();
  RECT area{ScaleToDpi(kCaptionRect.left, dpi), ScaleToDpi(kCaptionRect.top, dpi), ScaleToDpi(kCaptionRect.right, dpi),
            ScaleToDpi(kCaptionRect.bottom, dpi)};
  ::DrawTextW(dc, AsWide(caption_), static_cast<int>(caption_.size()), &area,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

LRESULT CDMarker::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (IsIgnoredInput(message)) return 0;
  const auto paint = [this](HDC dc, const RECT&) { PaintTo(dc); };
  if (const auto painted = HandlePaintMessages(hwnd(), message, wParam, paint)) return *painted;
  switch (message) {
    case WM_NCHITTEST:
      // Clicks fall through to the progress window, which ignores them.
      return HTTRANSPARENT;
    default:
      return DefaultHandling(message, wParam, lParam);
  }
}

}  // namespace quencfg
