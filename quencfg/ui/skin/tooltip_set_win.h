#pragma once
// One tooltip control for many child windows of one owner: each window is a tool
// whose text can be set, changed and read back. The control is created on first use
// and destroyed with the set.
#include <windows.h>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "quencfg/framework/handle_win.h"

namespace quencfg {

class TooltipSet {
 public:
  // `tool` (a child of `owner`) shows `text` when the pointer rests on it; an empty
  // text takes its tooltip away.
  void Set(HWND owner, HWND tool, std::u16string_view text);
  // `tool` shows what `text` gives at the moment its tooltip appears (an empty text
  // shows nothing): texts that cost a lookup are made only for the tooltips that are
  // seen. The owner passes its WM_NOTIFY messages to HandleNotify.
  void SetDeferred(HWND owner, HWND tool, std::function<std::u16string()> text);
  // Answers the tooltip control's request for a deferred text; nothing for any other
  // notification.
  std::optional<LRESULT> HandleNotify(LPARAM lParam);
  // The text `tool` shows; empty when it has none.
  [[nodiscard]] std::u16string Text(HWND tool) const;
  [[nodiscard]] HWND hwnd() const noexcept { return window_.get(); }
  void Destroy() noexcept {
    window_.reset();
    deferred_.clear();
  }

 private:
  bool EnsureCreated(HWND owner);
  // Whether the control has `tool`; and giving it `text`, as a new tool or a changed one.
  [[nodiscard]] bool Knows(HWND tool) const;
  void AddOrUpdate(HWND tool, wchar_t* text);

  UniqueWindow window_;
  std::map<HWND, std::function<std::u16string()>> deferred_;
  std::wstring answered_;  // the last deferred text, read by the control after the answer
};

}  // namespace quencfg
