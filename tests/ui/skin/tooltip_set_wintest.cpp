// Tooltips of many child windows in one control: plain texts and texts made when shown.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "quencfg/framework/wide_win.h"
#include "quencfg/ui/skin/skin_loaders_win.h"
#include "quencfg/ui/skin/tooltip_set_win.h"
#include "tests/ui/skin/control_host_win.h"

namespace quencfg {
namespace {

// A host that passes its notifications to the set, as the skinned windows do.
class TooltipHost : public testing::ControlHost {
 public:
  TooltipSet tooltips;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_NOTIFY) {
      if (const auto answered = tooltips.HandleNotify(lParam)) return *answered;
    }
    return ControlHost::HandleMessage(message, wParam, lParam);
  }
};

// What the tooltip control itself would show for `tool`: asked from the control, so a
// deferred text goes through the owner's notification.
std::u16string ShownBy(HWND control, HWND tool) {
  wchar_t text[256] = {};
  TOOLINFOW info{};
  info.cbSize = sizeof info;
  info.hwnd = ::GetParent(tool);
  info.uId = reinterpret_cast<UINT_PTR>(tool);
  info.lpszText = text;
  ::SendMessageW(control, TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&info));
  return ToU16(text);
}

TEST(TooltipSetTest, DeferredTextsAreMadeWhenAskedAndFollowTheirSource) {
  TooltipHost host;
  ASSERT_TRUE(host.Make());
  const HWND first = CreateSkinButtonWindow(host.hwnd(), RECT{10, 10, 60, 40});
  const HWND second = CreateSkinButtonWindow(host.hwnd(), RECT{70, 10, 120, 40});
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);

  std::u16string assignment = u"Z";
  int made = 0;
  host.tooltips.SetDeferred(host.hwnd(), first, [&] {
    ++made;
    return assignment;
  });
  host.tooltips.Set(host.hwnd(), second, u"Settings");
  EXPECT_EQ(made, 0) << "nothing is made before the tooltip is wanted";

  EXPECT_EQ(ShownBy(host.tooltips.hwnd(), first), u"Z");
  EXPECT_EQ(ShownBy(host.tooltips.hwnd(), second), u"Settings");
  assignment = u"Macro: Combo 2";
  EXPECT_EQ(ShownBy(host.tooltips.hwnd(), first), u"Macro: Combo 2") << "the text of the moment it shows";
  EXPECT_EQ(host.tooltips.Text(first), u"Macro: Combo 2");

  host.tooltips.Set(host.hwnd(), first, u"Disabled");
  EXPECT_EQ(ShownBy(host.tooltips.hwnd(), first), u"Disabled") << "a plain text replaces the deferred one";
  host.tooltips.SetDeferred(host.hwnd(), first, [] { return std::u16string(u"F1"); });
  EXPECT_EQ(host.tooltips.Text(first), u"F1");
  host.tooltips.Set(host.hwnd(), first, u"");
  EXPECT_TRUE(host.tooltips.Text(first).empty()) << "an empty text takes the tooltip away";

  NMHDR foreign{host.hwnd(), 0, TTN_GETDISPINFOW};
  EXPECT_FALSE(host.tooltips.HandleNotify(reinterpret_cast<LPARAM>(&foreign))) << "not from its control";
  ::DestroyWindow(first);
  ::DestroyWindow(second);
}

}  // namespace
}  // namespace quencfg
