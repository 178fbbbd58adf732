#include "control_host_win.h"

#include <cstring>

namespace quencfg::testing {

bool ControlHost::Make(int width, int height, int x, int y) {
  WindowCreateParams params;
  params.className = L"KorvaneControlHost";
  params.title = L"control host";
  params.style = WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN;
  params.exStyle = WS_EX_TOPMOST;
  params.x = x;
  params.y = y;
  params.width = width;
  params.height = height;
  params.background = static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));
  if (!Create(params)) return false;
  ::UpdateWindow(hwnd());
  return true;
}

std::vector<Received> ControlHost::Of(UINT message) const {
  std::vector<Received> found;
  for (const Received& r : received) {
    if (r.message == message) found.push_back(r);
  }
  return found;
}

LRESULT ControlHost::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND || message == WM_VSCROLL || message == WM_HSCROLL ||
      (message >= WM_USER && message < 0x7FFF) || message == 0x10001) {
    received.push_back(Received{message, wParam, lParam});
    return 0;
  }
  return DefaultHandling(message, wParam, lParam);
}

void PumpMessages() {
  MSG msg{};
  for (int round = 0; round < 3; ++round) {
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
    ::Sleep(1);
  }
}

SkinBitmap SolidImage(int width, int height, COLORREF color, std::uint8_t alpha) {
  SkinBitmap image = CreateBitmap32(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) SetPixelOf(image, x, y, color, alpha);
  }
  return image;
}

StateImages SolidStates(int width, int height, COLORREF normal, COLORREF over, COLORREF down, COLORREF disabled) {
  StateImages images;
  images.states[0] = SolidImage(width, height, normal);
  images.states[1] = SolidImage(width, height, over);
  images.states[2] = SolidImage(width, height, down);
  images.states[3] = SolidImage(width, height, disabled);
  images.width = width;
  images.height = height;
  return images;
}

namespace {

std::uint8_t* PixelAddress(const SkinBitmap& bitmap, int x, int y) {
  DIBSECTION dib{};
  if (bitmap.empty() || ::GetObjectW(bitmap.get(), sizeof dib, &dib) != sizeof dib) return nullptr;
  ::GdiFlush();
  auto* bits = static_cast<std::uint8_t*>(dib.dsBm.bmBits);
  // Every bitmap here comes from CreateBitmap32: top-down rows.
  return bits + static_cast<std::size_t>(y) * static_cast<std::size_t>(dib.dsBm.bmWidthBytes) +
         static_cast<std::size_t>(x) * 4;
}

}  // namespace

COLORREF PixelOf(const SkinBitmap& bitmap, int x, int y) {
  const std::uint8_t* p = PixelAddress(bitmap, x, y);
  if (p == nullptr) return 0xFFFFFFFF;
  return RGB(p[2], p[1], p[0]);
}

void SetPixelOf(const SkinBitmap& bitmap, int x, int y, COLORREF color, std::uint8_t alpha) {
  std::uint8_t* p = PixelAddress(bitmap, x, y);
  if (p == nullptr) return;
  p[0] = static_cast<std::uint8_t>(GetBValue(color) * alpha / 255);
  p[1] = static_cast<std::uint8_t>(GetGValue(color) * alpha / 255);
  p[2] = static_cast<std::uint8_t>(GetRValue(color) * alpha / 255);
  p[3] = alpha;
}

Drawing::Drawing(HWND control) {
  RECT client{};
  ::GetClientRect(control, &client);
  bitmap_ = CreateBitmap32(client.right, client.bottom);
  HDC dc = ::CreateCompatibleDC(nullptr);
  HGDIOBJ previous = ::SelectObject(dc, bitmap_.get());
  ::SendMessageW(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  ::GdiFlush();
  ::SelectObject(dc, previous);
  ::DeleteDC(dc);
}

COLORREF Drawing::At(int x, int y) const { return PixelOf(bitmap_, x, y); }

void SendMouse(HWND target, UINT message, int x, int y, WPARAM keys) {
  ::SendMessageW(target, message, keys, MAKELPARAM(static_cast<WORD>(static_cast<short>(x)), static_cast<WORD>(static_cast<short>(y))));
}

void Click(HWND target, int x, int y) {
  SendMouse(target, WM_LBUTTONDOWN, x, y, MK_LBUTTON);
  SendMouse(target, WM_LBUTTONUP, x, y);
}

}  // namespace quencfg::testing
