#include "support/screenshot_win.h"

#include <gdiplus.h>

#include <vector>

#include "quencfg/framework/gdi_win.h"
#include "quencfg/framework/wide_win.h"

namespace quencfg::testing {

std::u16string ScreenshotFolder() {
  const std::u16string build = ToU16(KORVANE_TEST_SOURCE_DIR) + u"build\\";
  ::CreateDirectoryW(AsWide(build), nullptr);
  const std::u16string folder = build + u"screenshots\\";
  ::CreateDirectoryW(AsWide(folder), nullptr);
  return folder;
}

bool SavePng(HBITMAP bitmap, const std::u16string& path) {
  UINT count = 0;
  UINT size = 0;
  Gdiplus::GetImageEncodersSize(&count, &size);
  if (size == 0) return false;
  std::vector<std::uint8_t> buffer(size);
  auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
  if (Gdiplus::GetImageEncoders(count, size, codecs) != Gdiplus::Ok) return false;
  for (UINT i = 0; i < count; ++i) {
    if (std::wstring(codecs[i].MimeType) != L"image/png") continue;
    Gdiplus::Bitmap image(bitmap, nullptr);
    return image.Save(AsWide(path), &codecs[i].Clsid, nullptr) == Gdiplus::Ok;
  }
  return false;
}

bool SaveScreen(const std::u16string& fileName) {
  const int width = ::GetSystemMetrics(SM_CXSCREEN);
  const int height = ::GetSystemMetrics(SM_CYSCREEN);
  WindowDc screen(nullptr);
  MemoryDc memory(screen.get());
  OwnedBitmap shot(::CreateCompatibleBitmap(screen.get(), width, height));
  if (memory.get() == nullptr || !shot) return false;
  {
    SelectScope select(memory.get(), shot.get());
    ::BitBlt(memory.get(), 0, 0, width, height, screen.get(), 0, 0, SRCCOPY);
  }
  return SavePng(shot.get(), ScreenshotFolder() + fileName);
}

SkinBitmap CaptureClientArea(HWND window) {
  RECT client{};
  ::GetClientRect(window, &client);
  POINT origin{0, 0};
  ::ClientToScreen(window, &origin);
  SkinBitmap shot = CreateBitmap32(client.right, client.bottom);
  if (shot.empty()) return shot;
  WindowDc screen(nullptr);
  MemoryDc memory(screen.get());
  {
    SelectScope select(memory.get(), shot.get());
    ::BitBlt(memory.get(), 0, 0, client.right, client.bottom, screen.get(), origin.x, origin.y, SRCCOPY);
  }
  ::GdiFlush();
  return shot;
}

}  // namespace quencfg::testing
