// The warning dialog on real windows: answered by the mouse only.
#include "quencfg/ui/skin/warn_dlg_win.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <utility>

#include "control_host_win.h"
#include "quencfg/framework/folders.h"
#include "quencfg/framework/text.h"
#include "quencfg/framework/wide_win.h"
#include "quencfg/model/number_text.h"
#include "quencfg/ui/skin/skin_documents.h"
#include "quencfg/ui/skin/skin_scale.h"
#include "support/gdiplus_session_win.h"
#include "support/screenshot_win.h"
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
  CWarnDlg discard(host.hwnd(), kDiscardMacroEditsWarning);
  EXPECT_EQ(Run(discard, false, false), IDCANCEL);
}

TEST_F(WarnDialog, EnterEscapeAndSpaceDoNotReachIt) {
  CWarnDlg dialog(host.hwnd(), 2);
  EXPECT_EQ(Run(dialog, true, false), IDCANCEL) << "only the click answered";
  EXPECT_EQ(dialog.keyMessagesSeen(), 0);
}

TEST_F(WarnDialog, ButtonsComeFromTheSkin) {
  CWarnDlg dialog(host.hwnd(), 2);  // a question: OK and Cancel
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

std::u16string g_shotName;
int g_shotWhite = -1;

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
  EXPECT_EQ(WarningMessageKey(kMacroFullWarning), u"MACRO_FULL");
  EXPECT_EQ(WarningMessageKey(kExportFailedWarning), u"EXPORT_FAILED");
  EXPECT_TRUE(WarningMessageKey(0).empty());
  EXPECT_TRUE(WarningMessageKey(5).empty());
}

// Where the buttons of a warning of `type` stand, seen once it runs.
struct ButtonsSeen {
  bool cancelShown = false;
  RECT ok{};
  int width = 0;
};
ButtonsSeen g_seen;

ButtonsSeen SeeButtons(HWND host, int type) {
  CWarnDlg dialog(host, type);
  g_script = Script{&dialog, false, true};
  g_seen = ButtonsSeen{};
  ::SetTimer(nullptr, 0, 30, [](HWND, UINT, UINT_PTR id, DWORD) {
    CWarnDlg& d = *g_script.dialog;
    g_seen.cancelShown = d.cancelButton().hwnd() != nullptr && ::IsWindowVisible(d.cancelButton().hwnd());
    ::GetWindowRect(d.okButton().hwnd(), &g_seen.ok);
    ::MapWindowPoints(nullptr, d.hwnd(), reinterpret_cast<POINT*>(&g_seen.ok), 2);
    RECT client{};
    ::GetClientRect(d.hwnd(), &client);
    g_seen.width = client.right;
    Answer(nullptr, 0, id, 0);
  });
  EXPECT_EQ(dialog.DoModal(), IDOK);
  return g_seen;
}

// A question keeps OK and Cancel where the skin puts them; a warning that only informs
// shows OK alone, in the middle, and OK answers it.
TEST_F(WarnDialog, QuestionsHaveTwoButtonsAndWarningsThatInformOnlyOk) {
  const struct {
    int type;
    bool asks;
  } cases[] = {{1, true},
               {2, true},
               {kDiscardMacroEditsWarning, true},
               {3, false},
               {kImportUnreadableWarning, false},
               {kImportDamagedWarning, false},
               {kImportNoProfileWarning, false},
               {kMacroNameInUseWarning, false},
               {kMacroNameUnusableWarning, false},
               {kMacroFullWarning, false},
               {kExportFailedWarning, false}};
  const SkinRect okEntry = LayoutDocument().LookupRect(u"WARN_STRING", u"BUTTON_OK");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.type);
    EXPECT_EQ(WarningAsks(c.type), c.asks);
    const ButtonsSeen seen = SeeButtons(host.hwnd(), c.type);
    EXPECT_EQ(seen.cancelShown, c.asks);
    EXPECT_EQ(seen.ok.top, okEntry.top);
    EXPECT_EQ(seen.ok.right - seen.ok.left, okEntry.right - okEntry.left);
    if (c.asks) {
      EXPECT_EQ(seen.ok.left, okEntry.left);
    } else {
      EXPECT_LE(std::abs(seen.ok.left + seen.ok.right - seen.width), 1) << "OK alone stands in the middle";
    }
  }
}

// The new warnings as the user sees them, in each language and at 96 and 192 DPI, saved
// for a look (build/screenshots/warn-*.png); the message is drawn in white on the picture.
TEST_F(WarnDialog, ScreenshotsOfTheWarningsThatInform) {
  // A host wider than the warning at 192 DPI, which is centred over it: all on screen;
  // the pointer away, every button in its normal look.
  ::SetWindowPos(host.hwnd(), nullptr, 0, 0, 1200, 700, SWP_NOZORDER | SWP_NOACTIVATE);
  ::SetCursorPos(1279, 1023);
  for (const int dpi : {96, 192}) {
    const SkinDpiScope scale(dpi);
    for (const char16_t* language : {u"EN", u"CS", u"ES"}) {
      StringDocument().Load(testing::StagedAppFolder() + u"Languages\\" + language + u"\\Strings.xml");
      for (const auto& [type, name] : {std::pair{kMacroFullWarning, u"macro-full"},
                                       std::pair{kExportFailedWarning, u"export-failed"},
                                       std::pair{kDiscardMacroEditsWarning, u"discard-question"}}) {
        const std::u16string file = u"warn-" + std::u16string(name) + u"-" + language + u"-" +
                                    FormatDecimal(dpi) + u"dpi.png";
        CWarnDlg dialog(host.hwnd(), type);
        g_script = Script{&dialog, false, true};
        g_shotName = file;
        g_shotWhite = -1;
        ::SetTimer(nullptr, 0, 60, [](HWND, UINT, UINT_PTR id, DWORD) {
          HWND window = g_script.dialog->hwnd();
          ::SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
          ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
          const SkinBitmap shot = testing::CaptureClientArea(window);
          EXPECT_TRUE(testing::SavePng(shot.get(), testing::ScreenshotFolder() + g_shotName));
          const SkinRect label = LayoutDocument().LookupRect(u"WARN_STRING", u"MACRO_FULL");
          g_shotWhite = 0;
          for (int y = label.top; y < label.bottom; ++y)
            for (int x = label.left; x < label.right; ++x) g_shotWhite += testing::PixelOf(shot, x, y) == 0xFFFFFF;
          Answer(nullptr, 0, id, 0);
        });
        EXPECT_EQ(dialog.DoModal(), IDOK);
        EXPECT_GT(g_shotWhite, 50) << Utf16ToUtf8(file) << ": no message drawn";
      }
    }
  }
  StringDocument().Load(testing::StagedAppFolder() + u"Languages\\EN\\Strings.xml");
}

}  // namespace
}  // namespace quencfg
