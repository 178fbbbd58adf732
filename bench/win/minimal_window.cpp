// The yardstick of the start-up and idle figures: a Win32 program that creates and
// shows one window of the given size ("minimal_window.exe WIDTH HEIGHT") and waits.
#include <windows.h>

#include <cwchar>

namespace {

LRESULT CALLBACK MinimalProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    ::PostQuitMessage(0);
    return 0;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR arguments, int) {
  int width = 0;
  int height = 0;
  if (std::swscanf(arguments, L"%d %d", &width, &height) != 2) return 2;
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = &MinimalProcedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = L"MinimalWindow";
  if (::RegisterClassW(&windowClass) == 0) return 1;
  HWND window = ::CreateWindowExW(0, windowClass.lpszClassName, L"Minimal", WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT,
                                  width, height, nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return 1;
  ::ShowWindow(window, SW_SHOW);
  ::UpdateWindow(window);
  MSG message{};
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  return 0;
}
