// The warning dialog on real windows: answered by the mouse only.
#include "quencfg/ui/skin/warn_dlg_win.h"

#include <gtest/gtest.h>

#include "control_host_win.h"
#include "quencfg/framework/folders.h"
#include "quencfg/framework/wide_win.h"
#include "quencfg/ui/skin/skin_documents.h"
#include "support/gdiplus_session_win.h"
#include "support/shipped_skin_win.h"

namespace quencfg {
namespace {

// What the timer does once the dialog runs its modal loop.
struct Script {
  CWarnDlg* dialog = nullptr;
  bool pressKeys = false;
  bool clickOk = true;
  HWND focusedButton = nullptr;
};
Script g_script;

void PostKey(HWND target, WPARAM key, WPARAM character) {
  ::PostMessageW(target, WM_KEYDOWN, key, 0);
  ::PostMessageW(target, WM_CHAR, character, 0);
  ::PostMessageW(target, WM_KEYUP, key, 0xC0000000);
}

void CALLBACK Answer(HWND, UINT, UINT_PTR id, DWORD) {
  ::KillTimer(nullptr, id);
  CWarnDlg& dialog = *g_script.dialog;
  if (g_script.pressKeys) {
    for (HWND target : {dialog.hwnd(), dialog.okButton().hwnd(), dialog.cancelButton().hwnd()}) {
      PostKey(target, VK_RETURN, L'\r');
      PostKey(target, VK_ESCAPE, 0x1B);
      PostKey(target, VK_SPACE, L' ');
    }
  }
  HWND button = g_script.clickOk ? dialog.okButton().hwnd() : dialog.cancelButton().hwnd();
  // The click comes after the keys in the queue: the keys had their chance.
  ::PostMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  ::PostMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
}

class WarnDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(skin_.loaded());
    ASSERT_TRUE(host.Make(800, 600, 0, 0));
  }
  INT_PTR Run(CWarnDlg& dialog, bool pressKeys, bool clickOk) {
    g_script = Script{&dialog, pressKeys, clickOk};
    ::SetTimer(nullptr, 0, 30, &Answer);
    return dialog.DoModal();
  }

  testing::ShippedSkin skin_;
  testing::GdiplusSession gdiplus_;
  testing::ControlHost host;
};

TEST_F(WarnDialog, OkAndCancelAnswer) {
  CWarnDlg reset(host.hwnd(), 2);
  EXPECT_EQ(Run(reset, false, true), IDOK);
  EXPECT_EQ(reset.hwnd(), nullptr) << "the window is gone after the answer";
  EXPECT_TRUE(::IsWindowEnabled(host.hwnd()));
  CWarnDlg full(host.hwnd(), 3);
  EXPECT_EQ(Run(full, false, false), IDCANCEL);
}

TEST_F(WarnDialog, EnterEscapeAndSpaceDoNotReachIt) {
  CWarnDlg dialog(host.hwnd(), 2);
  EXPECT_EQ(Run(dialog, true, false), IDCANCEL) << "only the click answered";
  EXPECT_EQ(dialog.keyMessagesSeen(), 0);
}

TEST_F(WarnDialog, ButtonsComeFromTheSkin) {
  CWarnDlg dialog(host.hwnd(), 0);
  g_script = Script{&dialog, false, true};
  ::SetTimer(nullptr, 0, 30, [](HWND, UINT, UINT_PTR id, DWORD) {
    ::KillTimer(nullptr, id);
    CWarnDlg& d = *g_script.dialog;
    const SkinRect ok = LayoutDocument().LookupRect(u"WARN_STRING", u"BUTTON_OK");
    RECT rect{};
    ::GetWindowRect(d.okButton().hwnd(), &rect);
    ::MapWindowPoints(nullptr, d.hwnd(), reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(rect.left, ok.left);
    EXPECT_EQ(rect.top, ok.top);
    EXPECT_EQ(d.okButton().caption(), StringDocument().Lookup(u"MAIN", u"OK"));
    EXPECT_FALSE(d.cancelButton().caption().empty());
    RECT window{};
    ::GetWindowRect(d.hwnd(), &window);
    EXPECT_EQ(window.right - window.left, 440) << "the size of the shipped background";
    Answer(nullptr, 0, 0, 0);
  });
  EXPECT_EQ(dialog.DoModal(), IDOK);
}

TEST_F(WarnDialog, WorksWithoutSkinFiles) {
  SkinDocument().Load(u"");
  LayoutDocument().Load(u"");
  StringDocument().Load(u"");
  // Buttons without a layout entry still get a place, so the question can be answered.
  CWarnDlg dialog(host.hwnd(), 3);
  g_script = Script{&dialog, false, true};
  ::SetTimer(nullptr, 0, 30, [](HWND, UINT, UINT_PTR id, DWORD) {
    RECT rect{};
    ::GetClientRect(g_script.dialog->okButton().hwnd(), &rect);
    EXPECT_GT(rect.right, 0);
    EXPECT_GT(rect.bottom, 0);
    Answer(nullptr, 0, id, 0);
  });
  EXPECT_EQ(dialog.DoModal(), IDOK);
  CWarnDlg closed(host.hwnd(), 3);
  g_script = Script{&closed, false, true};
  ::SetTimer(nullptr, 0, 30, [](HWND, UINT, UINT_PTR id, DWORD) {
    ::KillTimer(nullptr, id);
    ::PostMessageW(g_script.dialog->hwnd(), WM_CLOSE, 0, 0);  // closed by the system: not an agreement
  });
  EXPECT_EQ(closed.DoModal(), IDCANCEL);
}

// White text pixels inside the LAYER_RESET label rectangle of a dialog of `type`.
int g_whitePixels = -1;
int MessagePixels(CWarnDlg& dialog) {
  g_script = Script{&dialog, false, true};
  g_whitePixels = -1;
  ::SetTimer(nullptr, 0, 30, [](HWND, UINT, UINT_PTR id, DWORD) {
    const testing::Drawing drawn(g_script.dialog->hwnd());
    const SkinRect label = LayoutDocument().LookupRect(u"WARN_STRING", u"LAYER_RESET");
    g_whitePixels = 0;
    for (int y = label.top; y < label.bottom; ++y)
      for (int x = label.left; x < label.right; ++x) g_whitePixels += drawn.At(x, y) == RGB(255, 255, 255) ? 1 : 0;
    Answer(nullptr, 0, id, 0);
  });
  EXPECT_EQ(dialog.DoModal(), IDOK);
  return g_whitePixels;
}

TEST_F(WarnDialog, OnlyTypesWithAMessageShowOne) {
  CWarnDlg reset(host.hwnd(), 2);
  EXPECT_GT(MessagePixels(reset), 50);
  CWarnDlg titleOnly(host.hwnd(), 0);
  EXPECT_EQ(MessagePixels(titleOnly), 0);
  CWarnDlg unknown(host.hwnd(), 5);
  EXPECT_EQ(MessagePixels(unknown), 0);
}

TEST(WarningMessageKey, TypesChooseTheirMessage) {
  EXPECT_EQ(WarningMessageKey(1), u"SAVE_CHANGE");
  EXPECT_EQ(WarningMessageKey(2), u"LAYER_RESET");
  EXPECT_EQ(WarningMessageKey(3), u"MAXWARN");
  EXPECT_EQ(WarningMessageKey(4), u"RECORD_OUTOFRANGE");
  EXPECT_TRUE(WarningMessageKey(0).empty());
  EXPECT_TRUE(WarningMessageKey(5).empty());
}

}  // namespace
}  // namespace quencfg
