#include "quencfg/ui/skin/clr_edit_win.h"

#include "quencfg/framework/wide_win.h"
#include "quencfg/framework/window_win.h"
#include "quencfg/ui/skin/skin_draw_win.h"

namespace quencfg {
namespace {

constexpr WPARAM kCtrlA = 0x01;  // the character Ctrl+A types

}  // namespace

bool CClrEdit::Create(DWORD style, const RECT& rect, HWND parent, int controlId) {
  HWND edit = ::CreateWindowExW(0, L"EDIT", L"", style | WS_CHILD, rect.left, rect.top, rect.right - rect.left,
                                rect.bottom - rect.top, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)),
                                ::GetModuleHandleW(nullptr), nullptr);
  if (edit == nullptr) return false;
  if (!Attach(edit)) {
    ::DestroyWindow(edit);
    return false;
  }
  ReflectFromParent();
  // The frame is computed by us from here on.
  ::SetWindowPos(edit, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  return true;
}

void CClrEdit::SetBackgroundImages(StateImages images, const RECT& rect) {
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  LoadPendingStates(images);
  for (int state = kStateNormal; state <= kStateDisabled; ++state) {
    const SkinBitmap& image = images.states[static_cast<std::size_t>(state)];
    backgrounds_[state] = CropBitmap32(image.get(), 0, 0, width, height);
  }
  if (hwnd() != nullptr) ::RedrawWindow(hwnd(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

void CClrEdit::SetSkinFont() {
  font_ = CreateSkinFont(16, 400);
  if (hwnd() == nullptr) return;
  ::SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
  ::SetWindowPos(hwnd(), nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
}

void CClrEdit::SetText(std::u16string_view text) {
  if (hwnd() != nullptr) ::SetWindowTextW(hwnd(), ToWide(text).c_str());
}

std::u16string CClrEdit::Text() const {
  if (hwnd() == nullptr) return {};
  const int length = ::GetWindowTextLengthW(hwnd());
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int copied = ::GetWindowTextW(hwnd(), text.data(), length + 1);
  text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
  return ToU16(text);
}

void CClrEdit::CenterTextLine(RECT& rect) const {
  SIZE extent{};
  {
    WindowDc screen(hwnd());
    HFONT font = reinterpret_cast<HFONT>(::SendMessageW(hwnd(), WM_GETFONT, 0, 0));
    SelectScope select(screen.get(), font != nullptr ? static_cast<HGDIOBJ>(font) : ::GetStockObject(SYSTEM_FONT));
    ::GetTextExtentPoint32W(screen.get(), L"Ky", 2, &extent);
  }
  const int spare = (rect.bottom - rect.top) - extent.cy;
  if (spare <= 0) return;
  rect.top += spare / 2;
  rect.bottom -= spare - spare / 2;
}

void CClrEdit::PaintFrame() const {
  WindowDc frame(hwnd(), WindowDc::Area::kWholeWindow);
  HDC dc = frame.get();
  if (dc == nullptr) return;
  RECT window{};
  ::GetWindowRect(hwnd(), &window);
  POINT clientOrigin{0, 0};
  ::ClientToScreen(hwnd(), &clientOrigin);
  RECT client{};
  ::GetClientRect(hwnd(), &client);
  ::OffsetRect(&client, clientOrigin.x - window.left, clientOrigin.y - window.top);
  ::ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
  const SkinBitmap& image = backgrounds_[::IsWindowEnabled(hwnd()) ? kStateNormal : kStateDisabled];
  if (image.empty()) {
    OwnedBrush brush(::CreateSolidBrush(backgroundColor));
    RECT whole{0, 0, window.right - window.left, window.bottom - window.top};
    ::FillRect(dc, &whole, brush.get());
  } else {
    BlitBitmap(dc, image, 0, 0);
  }
}

void CClrEdit::InvalidateParentUnderField() const {
  HWND parent = ::GetParent(hwnd());
  RECT rect{};
  ::GetWindowRect(hwnd(), &rect);
  ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
  // The field is invalidated with it, so that it paints again over the parent.
  ::RedrawWindow(parent, &rect, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

LRESULT CClrEdit::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCCALCSIZE: {
      RECT* rect = wParam != 0 ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0] : reinterpret_cast<RECT*>(lParam);
      CenterTextLine(*rect);
      return 0;
    }
    case WM_NCPAINT:
      PaintFrame();
      return 0;
    case WM_CHAR:
      // Ctrl+A selects the whole text, as in every Windows field; it types nothing.
      if (wParam == kCtrlA) {
        ::SendMessageW(hwnd(), EM_SETSEL, 0, -1);
        return 0;
      }
      PostToWindow(::GetParent(hwnd()), kEditTypedMessage, 0, ::GetDlgCtrlID(hwnd()));
      return DefaultHandling(message, wParam, lParam);
    case WM_VSCROLL:
      InvalidateParentUnderField();
      return DefaultHandling(message, wParam, lParam);
    case WM_LBUTTONDOWN: {
      ::SendMessageW(::GetParent(hwnd()), WM_COMMAND, 0, reinterpret_cast<LPARAM>(hwnd()));
      const bool focusing = ::GetFocus() != hwnd();
      const LRESULT result = DefaultHandling(message, wParam, lParam);
      // The click placed the caret; a click that brings the focus selects all instead.
      if (focusing && selectAllOnFocus_) ::SendMessageW(hwnd(), EM_SETSEL, 0, -1);
      return result;
    }
    case WM_SETFOCUS:
      if (selectAllOnFocus_) ::SendMessageW(hwnd(), EM_SETSEL, 0, -1);
      return DefaultHandling(message, wParam, lParam);
    case WM_RBUTTONDOWN:
      ::InvalidateRect(hwnd(), nullptr, TRUE);
      return DefaultHandling(message, wParam, lParam);
    case WM_ENABLE:
      ::RedrawWindow(hwnd(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
      return DefaultHandling(message, wParam, lParam);
    default:
      return DefaultHandling(message, wParam, lParam);
  }
}

bool CClrEdit::HandleReflected(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  switch (message) {
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      brush_.reset(::CreateSolidBrush(backgroundColor));
      ::SetTextColor(dc, textColor);
      ::SetBkMode(dc, TRANSPARENT);
      ::SetBkColor(dc, backgroundColor);
      result = reinterpret_cast<LRESULT>(brush_.get());
      return true;
    }
    case WM_COMMAND:
      if (HIWORD(wParam) == EN_CHANGE) InvalidateParentUnderField();
      return false;  // the parent still hears about it
    default:
      return false;
  }
}

}  // namespace quencfg
