#include "quencfg/ui/skin/control_tooltips_win.h"

#include <commctrl.h>

#include "quencfg/framework/wide_win.h"

namespace quencfg {
namespace {

TOOLINFOW ToolOf(HWND control, wchar_t* text) {
  TOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = ::GetParent(control);
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  tool.lpszText = text;
  return tool;
}

}  // namespace

bool ControlTooltips::MakeWindow(HWND owner) {
  if (tooltip_) return true;
  tooltip_.reset(::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, nullptr,
                                   nullptr));
  return static_cast<bool>(tooltip_);
}

void ControlTooltips::Set(HWND control, std::u16string_view text) {
  if (control == nullptr || !MakeWindow(::GetParent(control))) return;
  std::wstring wide = ToWide(text);
  TOOLINFOW tool = ToolOf(control, wide.data());
  // Deleting first makes one path for a new tool, a new text and no text.
  ::SendMessageW(tooltip_.get(), TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  if (!text.empty()) ::SendMessageW(tooltip_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

std::u16string ControlTooltips::TextOf(HWND control) const {
  if (!tooltip_ || control == nullptr) return {};
  wchar_t text[256] = {};
  TOOLINFOW tool = ToolOf(control, text);
  if (::SendMessageW(tooltip_.get(), TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool)) == 0) return {};
  tool.lpszText = text;
  ::SendMessageW(tooltip_.get(), TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&tool));
  return AsU16(text);
}

}  // namespace quencfg
