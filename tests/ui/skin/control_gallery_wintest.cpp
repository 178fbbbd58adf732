// Every skinned control in every state on one picture, saved for looking at:
// build/screenshots/controls.png. The controls are drawn by their own painting code
// (asked with WM_PRINTCLIENT) or captured from the screen where they are live.
#include <windows.h>
#include <gdiplus.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "control_host_win.h"
#include "quencfg/framework/folders.h"
#include "quencfg/framework/text.h"
#include "quencfg/framework/wide_win.h"
#include "quencfg/ui/skin/btn_menu_win.h"
#include "quencfg/ui/skin/list_box_ex_win.h"
#include "quencfg/ui/skin/skin_control_loaders_win.h"
#include "quencfg/ui/skin/skin_documents.h"
#include "quencfg/ui/skin/skin_draw_win.h"
#include "quencfg/ui/skin/skin_language.h"
#include "quencfg/ui/skin/skin_scroll_wnd_win.h"
#include "quencfg/ui/skin/warn_dlg_win.h"
#include "support/gdiplus_session_win.h"
#include "support/shipped_skin_win.h"
#include "quencfg/ui/skin/skins_folder_win.h"
#include "quencfg/ui/skin/skin_picture_win.h"

namespace quencfg {
namespace {

using testing::Drawing;
using testing::SendMouse;

constexpr int kCanvasWidth = 1000;
constexpr int kCanvasHeight = 920;

SkinRect Entry(std::u16string_view name, int x, int y, int w, int h) {
  const std::u16string value = std::u16string(name) + u"," + AsciiToUtf16(std::to_string(x)) + u"," +
                               AsciiToUtf16(std::to_string(y)) + u"," + AsciiToUtf16(std::to_string(w)) + u"," +
                               AsciiToUtf16(std::to_string(h)) + u",,FALSE";
  return ParseSkinRect(value);
}

class Gallery : public ::testing::Test {
 public:
  // What the screen shows of a live window, copied to (x, y).
  void CaptureAt(HWND window, int x, int y) { Capture(window, x, y); }

 protected:
  void SetUp() override {
    ASSERT_TRUE(skin_.loaded());
    SetSkinFontName(StringDocument().Lookup(u"GLOBAL", u"FONT"));
    background = LoadPicture(SkinsFolder() + u"KeyAssign_bg.jpg");
    ASSERT_FALSE(background.empty());
    ASSERT_TRUE(host.Make(kCanvasWidth, kCanvasHeight, 0, 0));
    canvas = CreateBitmap32(kCanvasWidth, kCanvasHeight);
    dc = ::CreateCompatibleDC(nullptr);
    previousBitmap = ::SelectObject(dc, canvas.get());
    OwnedBrush dark(::CreateSolidBrush(RGB(24, 24, 28)));
    RECT all{0, 0, kCanvasWidth, kCanvasHeight};
    ::FillRect(dc, &all, dark.get());
    BlitBitmap(dc, background, 0, 0);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, RGB(255, 220, 120));
  }
  void TearDown() override {
    ::SelectObject(dc, previousBitmap);
    ::DeleteDC(dc);
    SetSkinFontName(u"");
  }

  void Label(int x, int y, const wchar_t* text) { ::TextOutW(dc, x, y, text, static_cast<int>(wcslen(text))); }
  void Stamp(HWND control, int x, int y) {
    const Drawing drawn(control);
    BlitBitmap(dc, drawn.bitmap(), x, y);
  }
  // What the screen shows of a live window, copied to (x, y).
  void Capture(HWND window, int x, int y) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    HDC screen = ::GetDC(nullptr);
    ::BitBlt(dc, x, y, rect.right - rect.left, rect.bottom - rect.top, screen, rect.left, rect.top, SRCCOPY);
    ::ReleaseDC(nullptr, screen);
  }
  void Save() {
    const std::u16string folder = ToU16(KORVANE_TEST_SOURCE_DIR) + u"build\\screenshots";
    ::CreateDirectoryW(AsWide(folder), nullptr);
    const std::u16string path = folder + u"\\controls.png";
    ::GdiFlush();
    Gdiplus::Bitmap image(kCanvasWidth, kCanvasHeight, kCanvasWidth * 4, PixelFormat32bppRGB,
                          static_cast<BYTE*>(DibPixels(canvas.get())));
    CLSID png{0x557CF406, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
    EXPECT_EQ(image.Save(AsWide(path), &png, nullptr), Gdiplus::Ok);
  }

  testing::ShippedSkin skin_;
  testing::GdiplusSession gdiplus_;
  SkinBitmap background;
  testing::ControlHost host;
  SkinBitmap canvas;
  HDC dc = nullptr;
  HGDIOBJ previousBitmap = nullptr;
};

struct Capturing {
  Gallery* gallery = nullptr;
  CWarnDlg* dialog = nullptr;
};
Capturing g_capture;

// Copies the dialog's picture into the gallery, then answers it. The screen is read a
// while after painting, once the modal loop has handed the drawing to the display.
void CALLBACK CaptureWarning(HWND, UINT, UINT_PTR id, DWORD) {
  ::KillTimer(nullptr, id);
  CWarnDlg& dialog = *g_capture.dialog;
  g_capture.gallery->CaptureAt(dialog.hwnd(), 20, 660);
  ::PostMessageW(dialog.okButton().hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  ::PostMessageW(dialog.okButton().hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
}

// Puts a button into a state: 0 normal, 1 hover, 2 pressed, 3 selected, 4 disabled.
template <typename Button>
void EnterState(Button& button, int state) {
  ::EnableWindow(button.hwnd(), state != 4);
  button.SetSelected(state == 3);
  if (state == 1) SendMouse(button.hwnd(), WM_MOUSEMOVE, 3, 3);
  if (state == 2) SendMouse(button.hwnd(), WM_LBUTTONDOWN, 3, 3, MK_LBUTTON);
}

template <typename Button>
void LeaveState(Button& button) {
  ::ReleaseCapture();
  SendMouse(button.hwnd(), WM_MOUSELEAVE, 0, 0);
  ::EnableWindow(button.hwnd(), TRUE);
}

TEST_F(Gallery, EveryControlInEveryState) {
  const wchar_t* states[] = {L"normal", L"hover", L"pressed", L"selected", L"disabled"};
  // Image buttons: a generic push button with its caption, a left-aligned effect button.
  for (int s = 0; s < 5; ++s) {
    const int x = 20 + s * 190;
    Label(x, 70, states[s]);
    CPngListBtn push;
    ASSERT_TRUE(LoadPushButtonFor(push, background, Entry(u"btnPng", x, 90, 120, 40), host.hwnd(), false));
    push.SetCaption(u"Apply");
    push.SetTextColors(0xFFFFFF, 0xFFFFFF, 0xFFFFFF);
    push.SetFontHeight(14);
    EnterState(push, s);
    Stamp(push.hwnd(), x, 90);
    LeaveState(push);

    CPngListBtn effect;
    ASSERT_TRUE(LoadPushButtonFor(effect, background, Entry(u"btnEffect", x, 140, 180, 40), host.hwnd(), false));
    effect.SetTextAlign(kAlignLeft);
    effect.SetCaption(u"Breathing", 8);
    EnterState(effect, s);
    Stamp(effect.hwnd(), x, 140);
    LeaveState(effect);

    CPngListBtn tab;
    ASSERT_TRUE(LoadPushButtonFor(tab, background, Entry(u"btnTab", x, 190, 150, 40), host.hwnd(), false));
    tab.SetCaption(u"Macro");
    tab.SetTextAlign(kAlignBottom);
    EnterState(tab, s);
    Stamp(tab.hwnd(), x, 190);
    LeaveState(tab);
  }

  // Color buttons recolored, unrecolored and selected.
  Label(20, 240, L"color keys: red chain, green, blue, (5,5,5), selected, disabled; swatch");
  const BYTE colors[][3] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {5, 5, 5}, {255, 160, 0}, {120, 0, 255}, {255, 0, 80}};
  for (int i = 0; i < 7; ++i) {
    const int x = 20 + i * 80;
    CColorBtn2 swatch;
    // Their pictures are laid out in the panel's coordinates: load them where the panel has them.
    const SkinRect entry = i < 6 ? Entry(u"btnColor2", 260, 84, 60, 60) : Entry(u"swatch", 1084, 556, 86, 30);
    ASSERT_TRUE(LoadColorButtonFor(swatch, background, entry, host.hwnd(), false));
    if (i == 0) {
      swatch.RecolorChain(colors[i][0], colors[i][1], colors[i][2]);
    } else {
      swatch.Recolor(colors[i][0], colors[i][1], colors[i][2]);
    }
    swatch.SetSelected(i == 4);
    if (i == 5) ::EnableWindow(swatch.hwnd(), FALSE);
    Stamp(swatch.hwnd(), x, 260);
  }

  // Sliders at their ends, in the middle, hovered, dragged and disabled.
  Label(20, 320, L"sliders: 0, 2, 4, hover, dragging, disabled");
  for (int i = 0; i < 6; ++i) {
    const int x = 20 + (i % 3) * 300;
    const int y = 340 + (i / 3) * 40;
    CPngHSliderBar slider;
    LayoutDocument().Load(u"");
    const SkinRect entry = Entry(u"slider", x, y, 260, 28);
    ControlSkin thumb = LoadControlSkinFor(entry, background);
    const StateImages bar = LoadSliderBarImages(thumb);
    const RECT rect{x, y, x + 260, y + 28};
    ASSERT_TRUE(slider.Create(rect, host.hwnd(), 10001));
    slider.SetBarImages(rect, bar.states[0].get(), bar.states[2].get(), bar.states[3].get());
    slider.SetThumbImages(thumb.images, false);
    slider.SetRange(0, 4);
    slider.SetBackground(rect, background.get());
    slider.SetPos(i < 3 ? i * 2 : 1);
    if (i == 3) SendMouse(slider.hwnd(), WM_MOUSEMOVE, 3, 3);
    if (i == 4) SendMouse(slider.hwnd(), WM_LBUTTONDOWN, 60, 3, MK_LBUTTON);
    if (i == 5) ::EnableWindow(slider.hwnd(), FALSE);
    Stamp(slider.hwnd(), x, y);
    ::ReleaseCapture();
  }
  LayoutDocument().Load(LanguagesFilePath(u"Buttons.xml"));

  // The pop-up menu scrolled to its middle, one row hovered and one picked.
  Label(20, 420, L"menu: 12 items, scrolled by 3, row 1 hovered, item 5 picked");
  {
    CBtnMenu menu;
    menu.SetVisibleRows(6);
    menu.SetRowHeight(18);
    menu.SetRowFontHeight(16);
    menu.SetRowTextAlign(0, 5);
    menu.SetRowTextColors(0x787878, 0x000000);
    menu.SetPickMessages(0x10001, 0x10001);
    const std::u16string skins = SkinsFolder();
    menu.SetBackgrounds(skins + u"menu_effect_normal.jpg", skins + u"menu_effect_over.jpg",
                        skins + u"menu_effect_over.jpg", skins + u"menu_effect_normal.jpg");
    OwnedBitmap grid(static_cast<HBITMAP>(::LoadImageW(
        nullptr, AsWide(ToU16(KORVANE_TEST_SOURCE_DIR) + u"quencfg\\ui\\skin\\res\\scrollbar.bmp"), IMAGE_BITMAP, 0, 0,
        LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
    ASSERT_TRUE(grid);
    menu.SetScrollBarBitmap(grid.get());
    menu.SetPosition(POINT{20, 440});
    for (int i = 0; i < 12; ++i) {
      menu.AddItem(StringDocument().Lookup(u"LIGHT_STRING", u"LIGHT_EFFECT_" + AsciiToUtf16(std::to_string(i + 1))), i,
                   nullptr, true);
    }
    ASSERT_TRUE(menu.Create(host.hwnd()));
    ::SendMessageW(menu.hwnd(), WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 3), 0);
    testing::Click(menu.row(2).hwnd());
    SendMouse(menu.row(1).hwnd(), WM_MOUSEMOVE, 3, 3);
    RECT rect{};
    ::GetClientRect(menu.hwnd(), &rect);
    for (int r = 0; r < menu.visibleRows(); ++r) Stamp(menu.row(r).hwnd(), 20, 440 + r * menu.rowHeight());
    Stamp(menu.scrollBar().hwnd(), 20 + rect.right - kMenuScrollBarWidth, 440);
    ::ReleaseCapture();
  }

  // The event list with its skinned bar, and the colored edits, live on the screen.
  Label(360, 420, L"event list (selected row 2), edits: name, digits on white, disabled");
  {
    OwnedBitmap grid(static_cast<HBITMAP>(::LoadImageW(
        nullptr, AsWide(ToU16(KORVANE_TEST_SOURCE_DIR) + u"quencfg\\ui\\skin\\res\\scrollbar.bmp"), IMAGE_BITMAP, 0, 0,
        LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
    CListBoxEx list;
    ASSERT_TRUE(list.Create(WS_VISIBLE | WS_VSCROLL, RECT{360, 440, 660, 620}, host.hwnd(), 0x1012));
    list.SetDarkBackground();
    list.SetDarkText();
    list.SetSelectionMode(true);
    OwnedFont font = CreateSkinFont(14, 400);
    list.SetFont(font.get());
    for (int i = 0; i < 20; ++i) {
      const bool press = i % 2 == 0;
      const std::u16string text = std::u16string(press ? u"A  Press    " : u"A  Release  ") +
                                  AsciiToUtf16(std::to_string(10 * i)) + u" ms";
      list.AddRow(text, press ? 4024 : 4025);
    }
    ::SendMessageW(list.hwnd(), LB_SETCURSEL, 2, 0);
    CSkinScrollWnd bars;
    ASSERT_TRUE(bars.Attach(list.hwnd(), grid.get()));

    CClrEdit name;
    ASSERT_TRUE(LoadColorEdit(name, background, u"MACRO", u"EDIT_MACRONAME", host.hwnd(), WS_VISIBLE | ES_AUTOHSCROLL, 1001, false));
    ::SendMessageW(name.hwnd(), EM_LIMITTEXT, 20, 0);
    name.SetText(u"Macro 1");
    ::MoveWindow(name.hwnd(), 700, 440, 218, 28, TRUE);
    CClrEdit digits;
    ASSERT_TRUE(LoadColorEdit(digits, background, u"LIGHTING", u"EDIT_R", host.hwnd(), WS_VISIBLE | ES_NUMBER | ES_CENTER, 1001, false));
    digits.textColor = 0;
    digits.backgroundColor = 0xFFFFFF;
    digits.SetText(u"255");
    ::MoveWindow(digits.hwnd(), 700, 490, 60, 28, TRUE);
    CClrEdit disabled;
    ASSERT_TRUE(LoadColorEdit(disabled, background, u"LIGHTING", u"EDIT_G", host.hwnd(), WS_VISIBLE, 1001, false));
    disabled.SetText(u"12");
    ::MoveWindow(disabled.hwnd(), 780, 490, 60, 28, TRUE);
    ::EnableWindow(disabled.hwnd(), FALSE);

    ::SetWindowPos(host.hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    ::RedrawWindow(host.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
    testing::PumpMessages();
    RECT listRect{360, 440, 660, 620};
    HDC screen = ::GetDC(nullptr);
    POINT origin{0, 0};
    ::ClientToScreen(host.hwnd(), &origin);
    ::BitBlt(dc, 360, 440, 300, 180, screen, origin.x + listRect.left, origin.y + listRect.top, SRCCOPY);
    ::BitBlt(dc, 700, 440, 240, 80, screen, origin.x + 700, origin.y + 440, SRCCOPY);
    ::ReleaseDC(nullptr, screen);
  }

  // The warning dialog of a profile reset, captured from the screen while it runs.
  Label(20, 640, L"warning dialog, type 2 (profile reset)");
  {
    CWarnDlg warning(host.hwnd(), 2);
    g_capture = Capturing{this, &warning};
    ::SetTimer(nullptr, 0, 400, &CaptureWarning);
    EXPECT_EQ(warning.DoModal(), IDOK);
  }
  Save();
}

}  // namespace
}  // namespace quencfg
