#include "quencfg/ui/skin/tooltip_set_win.h"

#include <commctrl.h>

#include "quencfg/framework/wide_win.h"
#include "quencfg/ui/skin/skin_scale.h"

namespace quencfg {
namespace {

constexpr int kTextCapacity = 512;
constexpr int kMaxTipWidth = 420;  // long texts wrap instead of running off the screen

TOOLINFOW ToolOf(HWND tool) {
  TOOLINFOW info{};
  info.cbSize = sizeof info;
  info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  info.hwnd = ::GetParent(tool);
  info.uId = reinterpret_cast<UINT_PTR>(tool);
  return info;
}

}  // namespace

bool TooltipSet::EnsureCreated(HWND owner) {
  if (window_) return true;
  const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES};
  ::InitCommonControlsEx(&classes);
  window_.reset(::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, nullptr,
                                  nullptr));
  if (window_) ::SendMessageW(window_.get(), TTM_SETMAXTIPWIDTH, 0, ScaleToDpi(kMaxTipWidth, SkinDpi()));
  return static_cast<bool>(window_);
}

void TooltipSet::Set(HWND owner, HWND tool, std::u16string_view text) {
  if (tool == nullptr || !EnsureCreated(owner)) return;
  deferred_.erase(tool);
  if (text.empty()) {
    TOOLINFOW info = ToolOf(tool);
    if (Knows(tool)) ::SendMessageW(window_.get(), TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    return;
  }
  std::wstring wide = ToWide(text);
  AddOrUpdate(tool, wide.data());
}

bool TooltipSet::Knows(HWND tool) const {
  TOOLINFOW info = ToolOf(tool);
  return ::SendMessageW(window_.get(), TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&info)) != FALSE;
}

void TooltipSet::AddOrUpdate(HWND tool, wchar_t* text) {
  TOOLINFOW info = ToolOf(tool);
  info.lpszText = text;
  ::SendMessageW(window_.get(), Knows(tool) ? TTM_UPDATETIPTEXTW : TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

void TooltipSet::SetDeferred(HWND owner, HWND tool, std::function<std::u16string()> text) {
  if (tool == nullptr || !text || !EnsureCreated(owner)) return;
  const bool deferred = deferred_.contains(tool);
  deferred_.insert_or_assign(tool, std::move(text));
  if (!deferred) AddOrUpdate(tool, LPSTR_TEXTCALLBACKW);  // else the control already asks for it
}

std::optional<LRESULT> TooltipSet::HandleNotify(LPARAM lParam) {
  const auto* header = reinterpret_cast<const NMHDR*>(lParam);
  if (header == nullptr || !window_ || header->hwndFrom != window_.get() || header->code != TTN_GETDISPINFOW) {
    return std::nullopt;
  }
  auto* request = reinterpret_cast<NMTTDISPINFOW*>(lParam);
  const auto found = deferred_.find(reinterpret_cast<HWND>(header->idFrom));
  answered_ = found == deferred_.end() ? std::wstring() : ToWide(found->second());
  request->szText[0] = L'\0';
  request->lpszText = answered_.data();
  return 0;
}

std::u16string TooltipSet::Text(HWND tool) const {
  if (!window_ || tool == nullptr) return {};
  if (const auto found = deferred_.find(tool); found != deferred_.end()) return found->second();
  TOOLINFOW info = ToolOf(tool);
  if (::SendMessageW(window_.get(), TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&info)) == FALSE) return {};
  wchar_t text[kTextCapacity] = {};
  info = ToolOf(tool);
  info.lpszText = text;
  ::SendMessageW(window_.get(), TTM_GETTEXTW, kTextCapacity, reinterpret_cast<LPARAM>(&info));
  return ToU16(text);
}

}  // namespace quencfg
