// Opens a window that draws the shipped skin the way the windows use it (the main
// background, buttons in each state, the lighting controls, a label in each language,
// and the dialogs, menus and progress bar), saves screenshots of it to
// build/screenshots/ and checks a few pixels of the states.
#include <gtest/gtest.h>

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <string>
#include <vector>

#include "quencfg/framework/folders.h"
#include "quencfg/framework/gdi_win.h"
#include "quencfg/framework/text.h"
#include "quencfg/framework/wide_win.h"
#include "quencfg/ui/skin/skin_documents.h"
#include "quencfg/ui/skin/skin_image_win.h"
#include "quencfg/ui/skin/skin_language.h"
#include "quencfg/ui/skin/skin_loaders_win.h"
#include "quencfg/ui/skin/skin_text_win.h"
#include "support/gdiplus_session_win.h"
#include "support/screenshot_win.h"

namespace quencfg {
namespace {

constexpr int kWidth = 1200;
constexpr int kMainHeight = 672;
constexpr int kHeight = kMainHeight + 200;

void Blend(HDC dc, const SkinBitmap& image, int x, int y) {
  if (image.empty()) return;
  MemoryDc source(dc);
  SelectScope select(source.get(), image.get());
  const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  ::AlphaBlend(dc, x, y, image.width, image.height, source.get(), 0, 0, image.width, image.height, blend);
}

void Copy(HDC dc, const SkinBitmap& image, int x, int y) {
  if (image.empty()) return;
  MemoryDc source(dc);
  SelectScope select(source.get(), image.get());
  ::BitBlt(dc, x, y, image.width, image.height, source.get(), 0, 0, SRCCOPY);
}

OwnedFont SkinFont(int height, int weight) {
  return OwnedFont(::CreateFontW(height, 0, 0, 0, weight, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                 CLIP_STROKE_PRECIS, PROOF_QUALITY, FF_SWISS, AsWide(SkinFontName())));
}

void Caption(HDC dc, const SkinRect& entry, std::u16string_view text, COLORREF color, int height = 14,
             UINT align = DT_CENTER, int offset = 0) {
  OwnedFont font = SkinFont(height, 500);
  SelectScope select(dc, font.get());
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, color);
  RECT rect{entry.left + offset, entry.top, entry.right, entry.bottom};
  ::DrawTextW(dc, AsWide(std::u16string(text)), static_cast<int>(text.size()), &rect,
              align | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
}

// A control of the layout in one state, with its caption the way the windows set it.
void Button(HDC dc, std::u16string_view section, std::u16string_view key, int state,
            std::u16string_view caption = {}, COLORREF color = RGB(255, 255, 255)) {
  const ControlSkin skin = LoadControlSkin(LayoutDocument(), section, key, nullptr);
  Blend(dc, skin.images.states[state], skin.entry.left, skin.entry.top);
  if (!caption.empty()) Caption(dc, skin.entry, caption, state == kStateDisabled ? RGB(70, 70, 70) : color);
}

void LoadLanguage(std::u16string_view code) {
  std::int32_t language = 101;
  if (code == u"CS") language = 106;
  if (code == u"ES") language = 108;
  StringDocument().Load(StringsFilePath(language));
  SetSkinFontName(StringDocument().Lookup(u"GLOBAL", u"FONT"));
}

std::u16string Text(std::u16string_view section, std::u16string_view key) {
  return StringDocument().Lookup(section, key);
}

void PaintMain(HDC dc) {
  ::PatBlt(dc, 0, 0, kWidth, kHeight, BLACKNESS);
  const SkinBitmap background = LoadPicture(SkinsFolder() + u"Main_bg.jpg");
  Copy(dc, background, 0, 0);
  LoadLanguage(u"EN");

  // Keys: a row in each state, two assigned keys, and LWIN and FN disabled.
  XmlDocument keys;
  keys.LoadFile(LanguagesFilePath(u"KeyboardButtons.xml"));
  for (int n = 1; n <= 63; ++n) {
    const SkinRect entry = ParseSkinRect(LookupString(keys, u"KEYBOARD", u"BUTTON_" + AsciiToUtf16(std::to_string(n))));
    int state = kStateNormal;
    if (n == 17 || n == 31) state = kStateOver;
    if (n == 18 || n == 32 || n == 1) state = kStateDown;
    if (FieldText(entry.text) == u"LWIN" || FieldText(entry.text) == u"FN") state = kStateDisabled;
    Blend(dc, LoadStateImages(SkinImageName(entry), entry.flag).states[state], entry.left, entry.top);
  }

  Button(dc, u"MAIN", u"BUTTON_SETTING", kStateNormal);
  Button(dc, u"MAIN", u"BUTTON_MIN", kStateOver);
  Button(dc, u"MAIN", u"BUTTON_EXIT", kStateNormal);
  const std::u16string profile = Text(u"MAIN", u"PROFILE");
  Button(dc, u"MAIN", u"BUTTON_PROFILE_1", kStateDown, profile + u"1");
  Button(dc, u"MAIN", u"BUTTON_PROFILE_2", kStateOver, profile + u"2");
  Button(dc, u"MAIN", u"BUTTON_PROFILE_3", kStateNormal, profile + u"3");
  Button(dc, u"MAIN", u"BUTTON_MACRO", kStateNormal, Text(u"MAIN", u"MACRO"));
  Button(dc, u"MAIN", u"BUTTON_BACKLIGHT", kStateDown);
  Button(dc, u"MAIN", u"BUTTON_RESET", kStateDisabled, Text(u"MAIN", u"RESETPROFILE"));
  Button(dc, u"MAIN", u"BUTTON_APPLY", kStateNormal, Text(u"MAIN", u"APPLY"));
  Button(dc, u"MAIN", u"BUTTON_OK", kStateOver, Text(u"MAIN", u"OK"));
  Button(dc, u"MAIN", u"BUTTON_CANCEL", kStateDown, Text(u"MAIN", u"CANCEL"));
  {
    OwnedFont font = SkinFont(18, 500);
    SelectScope select(dc, font.get());
    ::SetTextColor(dc, RGB(255, 255, 255));
    ::SetBkMode(dc, TRANSPARENT);
    DrawSkinText(dc, u"MAIN", u"LIGHTING", DT_WORDBREAK);
  }

  // The lighting controls, as the panel shows them for the per-key effect.
  const SkinRect effect = LayoutDocument().LookupRect(u"LIGHTING", u"BUTTON_MENU");
  Blend(dc, LoadControlSkin(LayoutDocument(), u"LIGHTING", u"BUTTON_MENU", nullptr).images.states[kStateOver],
        effect.left, effect.top);
  Caption(dc, effect, Text(u"LIGHT_STRING", u"LIGHT_EFFECT_4"), RGB(255, 255, 255), 14, DT_LEFT, 8);
  for (const char16_t* key : {u"SLIDER_BRIGHT", u"SLIDER_SPEED"}) {
    const ControlSkin thumb = LoadControlSkin(LayoutDocument(), u"LIGHTING", key, nullptr);
    const StateImages bar = LoadSliderBarImages(thumb);
    const int position = key[7] == u'B' ? 3 : 1;  // of 0..4
    const int span = bar.width - thumb.images.width;
    const int thumbLeft = span * position / 4;
    Blend(dc, bar.states[kStateNormal], thumb.entry.left, thumb.entry.top);
    const SkinBitmap filled = CropBitmap32(bar.states[kStateDown].get(), 0, 0, thumbLeft + thumb.images.width / 2, bar.height);
    Blend(dc, filled, thumb.entry.left, thumb.entry.top);
    Blend(dc, thumb.images.states[position == 3 ? kStateOver : kStateNormal], thumb.entry.left + thumbLeft, thumb.entry.top);
  }
  for (int i = 1; i <= 8; ++i)
    Button(dc, u"LIGHTING", u"RECT_COLORSLIDER_" + AsciiToUtf16(std::to_string(i)), i == 3 ? kStateDown : i == 6 ? kStateOver : kStateNormal);
  const char* values[] = {"255", "96", "0"};
  const char16_t* edits[] = {u"EDIT_R", u"EDIT_G", u"EDIT_B"};
  for (int i = 0; i < 3; ++i) {
    Button(dc, u"LIGHTING", edits[i], kStateNormal);
    Caption(dc, LayoutDocument().LookupRect(u"LIGHTING", edits[i]), AsciiToUtf16(values[i]), RGB(0, 0, 0), 16);
  }
  {
    // The swatch: its grey mask recolored with the picked color.
    const ControlSkin swatch = LoadControlSkin(LayoutDocument(), u"LIGHTING", u"BUTTON_ALLKEYRECT", nullptr);
    const SkinBitmap source = LoadColorButtonSource(swatch.imageName, swatch.images);
    SkinBitmap shown = CropBitmap32(source.get(), swatch.entry.left, swatch.entry.top, swatch.entry.right, swatch.entry.bottom);
    DIBSECTION dib{};
    ::GetObjectW(shown.get(), sizeof dib, &dib);
    auto* p = static_cast<std::uint8_t*>(dib.dsBm.bmBits);
    for (int i = 0; i < shown.width * shown.height; ++i, p += 4) {
      const int v = p[0];
      p[0] = static_cast<std::uint8_t>(v * 0 / 255);
      p[1] = static_cast<std::uint8_t>(v * 96 / 255);
      p[2] = static_cast<std::uint8_t>(v * 255 / 255);
      p[3] = static_cast<std::uint8_t>(v);
    }
    Copy(dc, shown, swatch.entry.left, swatch.entry.top);
  }
  DrawSkinImage(dc, u"MAINSCREENNEW", u"CUSTOMRECT");
  {
    OwnedFont font = SkinFont(16, 500);
    SelectScope select(dc, font.get());
    ::SetTextColor(dc, RGB(255, 255, 255));
    ::SetBkMode(dc, TRANSPARENT);
    for (const char16_t* key : {u"BRIGHTNESS", u"COLOR", u"COLORCUSTOM", u"TXR", u"TXG", u"TXB", u"SPEED"})
      DrawSkinText(dc, u"LIGHT_STRING", key, DT_WORDBREAK);
  }

  // Below the window: a label and a few texts in each language, in that language's font.
  const char16_t* codes[] = {u"EN", u"CS", u"ES"};
  for (int i = 0; i < 3; ++i) {
    LoadLanguage(codes[i]);
    const int x = 20 + i * 400, y = kMainHeight + 10;
    const SkinRect label = LayoutDocument().LookupRect(u"MAIN", u"LIGHTING");
    {
      OwnedFont font = SkinFont(18, 500);
      SelectScope select(dc, font.get());
      ::SetTextColor(dc, RGB(255, 255, 255));
      ::SetBkMode(dc, TRANSPARENT);
      POINT old{};
      ::SetViewportOrgEx(dc, x - label.left, y - label.top, &old);
      DrawSkinText(dc, u"MAIN", u"LIGHTING", DT_WORDBREAK);
      ::SetViewportOrgEx(dc, old.x, old.y, nullptr);
    }
    const std::u16string lines[] = {Text(u"MAIN", u"IMPORT") + u"   " + Text(u"MAIN", u"EXPORT"),
                                    Text(u"LIGHT_STRING", u"LIGHT_EFFECT_2") + u" / " + Text(u"LIGHT_STRING", u"LIGHT_EFFECT_17") +
                                        u" / " + Text(u"LIGHT_STRING", u"LIGHT_EFFECT_20"),
                                    Text(u"SINGLE_KEY", u"TEXT_TITLE"), Text(u"WARN_STRING", u"LAYER_RESET")};
    int top = y + 50;
    for (const auto& line : lines) {
      const SkinRect rect = ParseSkinRect(u"t," + AsciiToUtf16(std::to_string(x)) + u"," + AsciiToUtf16(std::to_string(top)) +
                                          u",380,34,,FALSE");
      Caption(dc, rect, line, RGB(200, 200, 200), 15, DT_LEFT);
      top += 34;
    }
  }
  LoadLanguage(u"EN");
}

// The lighting panel under the per-key effect: every key a color button showing the
// grey mask recolored with the key's color (black keys stay unrecolored).
void PaintLighting(HDC dc) {
  ::PatBlt(dc, 0, 0, kWidth, kHeight, BLACKNESS);
  const SkinBitmap background = LoadPicture(SkinsFolder() + u"Main_bg.jpg");
  Copy(dc, background, 0, 0);
  LoadLanguage(u"EN");
  const StateImages none;
  const SkinBitmap mask = LoadColorButtonSource(u"btnColor2", none);
  XmlDocument keys;
  keys.LoadFile(LanguagesFilePath(u"KeyboardButtons.xml"));
  for (int n = 1; n <= 63; ++n) {
    const SkinRect e = ParseSkinRect(LookupString(keys, u"KEYBOARD", u"BUTTON_" + AsciiToUtf16(std::to_string(n))));
    SkinBitmap shown = CropBitmap32(mask.get(), e.left, e.top, e.right, e.bottom);
    // A hue sweep from left to right; the bottom row is left off.
    const double hue = 6.0 * (e.left - 260) / 900.0;
    const int sector = static_cast<int>(hue) % 6;
    const double f = hue - static_cast<int>(hue);
    const int up = static_cast<int>(255 * f), down = 255 - up;
    const int rgb[6][3] = {{255, up, 0}, {down, 255, 0}, {0, 255, up}, {0, down, 255}, {up, 0, 255}, {255, 0, down}};
    const bool off = e.top >= 84 + 4 * 60;
    DIBSECTION dib{};
    ::GetObjectW(shown.get(), sizeof dib, &dib);
    auto* p = static_cast<std::uint8_t*>(dib.dsBm.bmBits);
    for (int i = 0; !off && i < shown.width * shown.height; ++i, p += 4) {
      const float v = p[0];
      p[0] = static_cast<std::uint8_t>(v * rgb[sector][2] / 255.0f);
      p[1] = static_cast<std::uint8_t>(v * rgb[sector][1] / 255.0f);
      p[2] = static_cast<std::uint8_t>(v * rgb[sector][0] / 255.0f);
      p[3] = static_cast<std::uint8_t>(v);
    }
    Copy(dc, shown, e.left, e.top);
  }
  Button(dc, u"MAIN", u"BUTTON_BACKLIGHT", kStateDown);
  const SkinRect effect = LayoutDocument().LookupRect(u"LIGHTING", u"BUTTON_MENU");
  Blend(dc, LoadControlSkin(LayoutDocument(), u"LIGHTING", u"BUTTON_MENU", nullptr).images.states[kStateNormal],
        effect.left, effect.top);
  Caption(dc, effect, Text(u"LIGHT_STRING", u"LIGHT_EFFECT_20"), RGB(255, 255, 255), 14, DT_LEFT, 8);
  const ControlSkin thumb = LoadControlSkin(LayoutDocument(), u"LIGHTING", u"SLIDER_BRIGHT", nullptr);
  const StateImages bar = LoadSliderBarImages(thumb);
  Blend(dc, bar.states[kStateDown], thumb.entry.left, thumb.entry.top);
  Blend(dc, thumb.images.states[kStateNormal], thumb.entry.left + bar.width - thumb.images.width, thumb.entry.top);
  DrawSkinImage(dc, u"MAINSCREENNEW", u"CUSTOMRECT");
  OwnedFont font = SkinFont(16, 500);
  SelectScope select(dc, font.get());
  ::SetTextColor(dc, RGB(255, 255, 255));
  ::SetBkMode(dc, TRANSPARENT);
  for (const char16_t* key : {u"BRIGHTNESS", u"COLORCUSTOM", u"TXR", u"TXG", u"TXB"})
    DrawSkinText(dc, u"LIGHT_STRING", key, DT_WORDBREAK);
}

// The single-key page (top) and the launch page (bottom) of the key assignment dialog.
void PaintKeyPages(HDC dc) {
  ::PatBlt(dc, 0, 0, kWidth, kHeight, BLACKNESS);
  LoadLanguage(u"ES");
  const SkinBitmap assign = LoadPicture(SkinsFolder() + u"KeyAssign_bg.jpg");
  const int tops[] = {0, 300};
  for (int page = 0; page < 2; ++page) {
    POINT old{};
    ::SetViewportOrgEx(dc, page * 300, tops[page], &old);
    Copy(dc, assign, 0, 0);
    Button(dc, u"KEY_ASSIGNMENT", u"BUTTON_SINGLEKEY", page == 0 ? kStateDown : kStateNormal, Text(u"MAIN", u"SINGLEKEY"));
    Button(dc, u"KEY_ASSIGNMENT", u"BUTTON_MACRO", kStateNormal, Text(u"MAIN", u"MACRO"));
    Button(dc, u"KEY_ASSIGNMENT", u"BUTTON_LAUNCH", page == 1 ? kStateDown : kStateNormal, Text(u"MAIN", u"LAUNCH"));
    Button(dc, u"KEY_ASSIGNMENT", u"BUTTON_RESET", kStateOver);
    if (page == 0) {
      const SkinRect key = LayoutDocument().LookupRect(u"KEY_ASSIGNMENT", u"BUTTON_CKEY");
      Button(dc, u"KEY_ASSIGNMENT", u"BUTTON_CKEY", kStateNormal);
      Caption(dc, key, u"F5", RGB(0, 0, 0), 25);
    } else {
      const SkinRect program = LayoutDocument().LookupRect(u"KEY_ASSIGNMENT", u"BUTTON_LAUNCHPROGRAM");
      Button(dc, u"KEY_ASSIGNMENT", u"BUTTON_LAUNCHPROGRAM", kStateOver);
      Caption(dc, program, u"app.exe", RGB(0, 0, 0), 16);
    }
    OwnedFont font = SkinFont(16, 500);
    SelectScope select(dc, font.get());
    ::SetTextColor(dc, RGB(255, 255, 255));
    ::SetBkMode(dc, TRANSPARENT);
    DrawSkinText(dc, page == 0 ? u"SINGLE_KEY" : u"LAUNCH_PROGRAM", u"TEXT_TITLE", DT_WORDBREAK);
    ::SetViewportOrgEx(dc, old.x, old.y, nullptr);
  }
  LoadLanguage(u"EN");
}

// The key assignment dialog's macro page, the warning, both menus and the progress bar.
void PaintDialogs(HDC dc) {
  ::PatBlt(dc, 0, 0, kWidth, kHeight, BLACKNESS);
  LoadLanguage(u"EN");
  const SkinBitmap assign = LoadPicture(SkinsFolder() + u"KeyAssign_bg.jpg");
  Copy(dc, assign, 0, 0);
  Button(dc, u"KEY_ASSIGNMENT", u"BUTTON_SINGLEKEY", kStateNormal, Text(u"MAIN", u"SINGLEKEY"));
  Button(dc, u"KEY_ASSIGNMENT", u"BUTTON_MACRO", kStateDown, Text(u"MAIN", u"MACRO"));
  Button(dc, u"KEY_ASSIGNMENT", u"BUTTON_LAUNCH", kStateOver, Text(u"MAIN", u"LAUNCH"));
  Button(dc, u"KEY_ASSIGNMENT", u"BUTTON_RESET", kStateNormal);
  Button(dc, u"KEY_ASSIGNMENT", u"BUTTON_OK", kStateNormal, Text(u"MAIN", u"OK"));
  Button(dc, u"KEY_ASSIGNMENT", u"BUTTON_CANCEL", kStateNormal, Text(u"MAIN", u"CANCEL"));
  Button(dc, u"MACRO", u"BUTTON_MACROMENU", kStateNormal);
  Button(dc, u"MACRO", u"BUTTON_MACRONEW", kStateOver);
  Button(dc, u"MACRO", u"BUTTON_MACRODELETE", kStateNormal);
  Button(dc, u"MACRO", u"BUTTON_RECORD", kStateDown, Text(u"MACRO_STRING", u"STOP"));
  Button(dc, u"MACRO", u"BUTTON_RECORDDELAY", kStateDown);
  Button(dc, u"MACRO", u"EDIT_MACRONAME", kStateNormal);
  Caption(dc, LayoutDocument().LookupRect(u"MACRO", u"EDIT_MACRONAME"), u"Macro 1", RGB(255, 255, 255), 16, DT_LEFT, 6);
  Button(dc, u"MACRO", u"EDIT_REPEAT", kStateNormal, u"1");
  const char16_t* events[][2] = {{u"BUTTON_DELETE", u"DELETE"}, {u"BUTTON_CLEAR", u"CLEAR"}, {u"BUTTON_UP", u"UP"},
                                 {u"BUTTON_DOWN", u"DOWN"},     {u"BUTTON_TOP", u"TOP"},     {u"BUTTON_BOTTOM", u"BOTTOM"}};
  for (const auto& e : events) Button(dc, u"MACRO", e[0], e[0][7] == u'U' ? kStateOver : kStateNormal, Text(u"MACRO_STRING", e[1]));
  {
    OwnedFont font = SkinFont(16, 500);
    SelectScope select(dc, font.get());
    ::SetTextColor(dc, RGB(255, 255, 255));
    ::SetBkMode(dc, TRANSPARENT);
    for (const char16_t* key : {u"TEXT_MACRONAME", u"TEXT_DELAY", u"TEXT_REPEAT"})
      DrawSkinText(dc, u"MACRO_STRING", key, DT_WORDBREAK | DT_RIGHT);
  }
  {
    // The event list: black rows, grid lines, the press and release images.
    const SkinRect list = LayoutDocument().LookupRect(u"MACRO", u"MACRO_DISPLAY");
    RECT area{list.left, list.top, list.right, list.bottom};
    ::FillRect(dc, &area, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    const char16_t* rows[] = {u"A", u"A", u"LB", u"LB"};
    for (int r = 0; r < 4; ++r) {
      const int top = list.top + r * 15;
      if (r == 1) {
        RECT sel{list.left, top, list.right - 12, top + 15};
        OwnedBrush red(::CreateSolidBrush(0x0B01C6));
        ::FillRect(dc, &sel, red.get());
      }
      const SkinRect cell = ParseSkinRect(u"t," + AsciiToUtf16(std::to_string(list.left + 30)) + u"," +
                                          AsciiToUtf16(std::to_string(top)) + u",300,15,,FALSE");
      Caption(dc, cell, std::u16string(rows[r]) + u"            150ms", r == 1 ? RGB(255, 255, 255) : RGB(200, 200, 200),
              13, DT_LEFT);
      OwnedPen grid(::CreatePen(PS_SOLID, 1, 0x686868));
      SelectScope pen(dc, grid.get());
      ::MoveToEx(dc, list.left, top + 14, nullptr);
      ::LineTo(dc, list.right - 12, top + 14);
    }
  }

  const SkinBitmap warn = LoadPicture(SkinsFolder() + u"Warn_bg.jpg");
  const int wx = kWidth - 440, wy = kHeight - 240 - 16;
  Copy(dc, warn, wx, wy);
  {
    POINT old{};
    ::SetViewportOrgEx(dc, wx, wy, &old);
    Button(dc, u"WARN_STRING", u"BUTTON_OK", kStateOver, Text(u"MAIN", u"OK"));
    Button(dc, u"WARN_STRING", u"BUTTON_CANCEL", kStateNormal, Text(u"MAIN", u"CANCEL"));
    OwnedFont title = SkinFont(35, 700);
    SelectScope select(dc, title.get());
    ::SetTextColor(dc, 0x0000FF);
    ::SetBkMode(dc, TRANSPARENT);
    DrawSkinText(dc, u"WARN_STRING", u"WARNING", DT_WORDBREAK);
    OwnedFont body = SkinFont(16, 500);
    ::SelectObject(dc, body.get());
    ::SetTextColor(dc, 0xFFFFFF);
    DrawSkinText(dc, u"WARN_STRING", u"LAYER_RESET", DT_WORDBREAK);
    ::SelectObject(dc, title.get());
    ::SetViewportOrgEx(dc, old.x, old.y, nullptr);
  }

  // Menus: the settings menu (5 rows, the third hovered) and the effects menu.
  const SkinBitmap menu = LoadPicture(SkinsFolder() + u"Menu_normal.jpg");
  const SkinBitmap menuOver = LoadPicture(SkinsFolder() + u"Menu_over.jpg");
  const std::u16string items[] = {Text(u"MAIN", u"IMPORT"), Text(u"MAIN", u"EXPORT"), Text(u"LANGUAGE", u"ENGLISH"),
                                  Text(u"LANGUAGE", u"CHINESE"), Text(u"LANGUAGE", u"ES")};
  const int mx = 1000, my = 330;
  for (int r = 0; r < 5; ++r) {
    const SkinBitmap& source = r == 2 ? menuOver : menu;
    const int sourceRow = r == 4 ? 5 : r;  // a shorter menu keeps the image's bottom row
    const SkinBitmap row = CropBitmap(dc, source.get(), 0, sourceRow * 18, source.width, sourceRow * 18 + 18);
    Copy(dc, row, mx, my + r * 18);
    const SkinRect cell = ParseSkinRect(u"t," + AsciiToUtf16(std::to_string(mx)) + u"," + AsciiToUtf16(std::to_string(my + r * 18)) +
                                        u"," + AsciiToUtf16(std::to_string(source.width)) + u",18,,FALSE");
    Caption(dc, cell, items[r], r == 2 ? 0x000000 : 0x787878, 16, DT_LEFT, 5);
  }
  const SkinBitmap effects = LoadPicture(SkinsFolder() + u"menu_effect_normal.jpg");
  const SkinBitmap effectsOver = LoadPicture(SkinsFolder() + u"menu_effect_over.jpg");
  for (int r = 0; r < 6; ++r) {
    const SkinBitmap& source = r == 1 ? effectsOver : effects;
    const SkinBitmap row = CropBitmap(dc, source.get(), 0, r * 18, source.width, r * 18 + 18);
    Copy(dc, row, mx - 80, my - 250 + r * 18);
    const SkinRect cell = ParseSkinRect(u"t," + AsciiToUtf16(std::to_string(mx - 80)) + u"," +
                                        AsciiToUtf16(std::to_string(my - 250 + r * 18)) + u"," +
                                        AsciiToUtf16(std::to_string(source.width)) + u",18,,FALSE");
    Caption(dc, cell, Text(u"LIGHT_STRING", u"LIGHT_EFFECT_" + AsciiToUtf16(std::to_string(r + 2))), r == 1 ? 0 : 0x787878,
            16, DT_LEFT, 5);
  }
  {
    // The menu's scroll bar from resource 215 of the program, when the test has it.
    const SkinBitmap grid = LoadPicture(ToU16(KORVANE_TEST_SOURCE_DIR) + u"quencfg\\ui\\skin\\res\\scrollbar.bmp");
    if (!grid.empty()) {
      const int cell = grid.width / 9, x = mx - 80 + effects.width - 12, top = my - 250;
      MemoryDc source(dc);
      SelectScope select(source.get(), grid.get());
      ::StretchBlt(dc, x, top, cell, cell, source.get(), 0, 0, cell, cell, SRCCOPY);
      ::StretchBlt(dc, x, top + cell, cell, 108 - 2 * cell, source.get(), 3 * cell, 0, cell, cell, SRCCOPY);
      ::StretchBlt(dc, x, top + cell + 4, cell, 40, source.get(), 2 * cell, cell, cell, cell, SRCCOPY);
      ::StretchBlt(dc, x, top + 108 - cell, cell, cell, source.get(), cell, 0, cell, cell, SRCCOPY);
    }
  }

  // The progress window at 60 %, with the loading text in Arial.
  const SkinBitmap empty = LoadPicture(SkinsFolder() + u"updatebar_n.jpg");
  const SkinBitmap full = LoadPicture(SkinsFolder() + u"updatebar_o.jpg");
  const int px = 0, py = kHeight - 150 - 16;
  Copy(dc, empty, px, py);
  const SkinBitmap done = CropBitmap(dc, full.get(), 0, 0, full.width * 60 / 100, full.height);
  Copy(dc, done, px, py);
  OwnedFont arial(::CreateFontW(38, 0, 0, 0, 700, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Arial"));
  SelectScope select(dc, arial.get());
  ::SetTextColor(dc, 0xD2D2D2);
  ::SetBkMode(dc, TRANSPARENT);
  RECT text{px + 175, py + 60, px + 575, py + 105};
  const std::u16string loading = Text(u"TRAYICON", u"LOADING");
  ::DrawTextW(dc, AsWide(loading), -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

using Painter = void (*)(HDC);

LRESULT CALLBACK PreviewProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_ERASEBKGND) return 1;
  if (message == WM_PAINT) {
    auto painter = reinterpret_cast<Painter>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    PaintDoubleBuffered(hwnd, [painter](HDC dc, const RECT&) {
      if (painter != nullptr) painter(dc);
    });
    return 0;
  }
  return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

class SkinPreview : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = AppFolder();
    ASSERT_TRUE(SetAppFolder(ToU16(KORVANE_TEST_APP_DIR)));
    SkinDocument().Load(LanguagesFilePath(u"Skins.xml"));
    LayoutDocument().Load(LanguagesFilePath(u"Buttons.xml"));
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = PreviewProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"KorvaneSkinPreview";
    wc.hCursor = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    ::RegisterClassExW(&wc);
  }
  void TearDown() override {
    SetAppFolder(previous_);
    SkinDocument().Load(u"");
    LayoutDocument().Load(u"");
    StringDocument().Load(u"");
    SetSkinFontName(u"");
  }

  // Shows a window painted by `painter`, copies what is on screen and saves it.
  SkinBitmap Shoot(Painter painter, std::u16string_view name) {
    HWND window = ::CreateWindowExW(WS_EX_TOPMOST, L"KorvaneSkinPreview", L"Korvane skin preview", WS_POPUP, 0, 0,
                                    kWidth, kHeight, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    EXPECT_NE(window, nullptr);
    if (window == nullptr) return {};
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(painter));
    ::ShowWindow(window, SW_SHOW);
    ::UpdateWindow(window);
    for (int i = 0; i < 20; ++i) {
      MSG msg;
      while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
      ::Sleep(20);
    }
    SkinBitmap shot = CreateBitmap32(kWidth, kHeight);
    {
      WindowDc screen(window);
      MemoryDc memory(screen.get());
      SelectScope select(memory.get(), shot.get());
      ::BitBlt(memory.get(), 0, 0, kWidth, kHeight, screen.get(), 0, 0, SRCCOPY);
    }
    ::DestroyWindow(window);
    EXPECT_TRUE(testing::SavePng(shot.get(), testing::ScreenshotFolder() + std::u16string(name)));
    return shot;
  }

  testing::GdiplusSession gdiplus_;
  std::u16string previous_;
};

COLORREF PixelAt(const SkinBitmap& shot, int x, int y) {
  DIBSECTION dib{};
  ::GetObjectW(shot.get(), sizeof dib, &dib);
  const auto* p = static_cast<const std::uint8_t*>(dib.dsBm.bmBits) + (static_cast<std::size_t>(y) * shot.width + x) * 4;
  return RGB(p[2], p[1], p[0]);
}

TEST_F(SkinPreview, MainWindowStatesAndLanguages) {
  const SkinBitmap shot = Shoot(PaintMain, u"skin_main.png");
  ASSERT_FALSE(shot.empty());
  // E (BUTTON_18) is shown assigned, R (BUTTON_19) normal and the left Windows key
  // (BUTTON_55) disabled: sample the lower-left part of each cap, away from legends.
  XmlDocument keys;
  keys.LoadFile(LanguagesFilePath(u"KeyboardButtons.xml"));
  const auto sample = [&](int n) {
    const SkinRect e = ParseSkinRect(LookupString(keys, u"KEYBOARD", u"BUTTON_" + AsciiToUtf16(std::to_string(n))));
    return PixelAt(shot, e.left + 12, e.bottom - 14);
  };
  const COLORREF normal = sample(19), assigned = sample(18), disabled = sample(55);
  EXPECT_GT(GetRValue(assigned), GetRValue(normal) + 30) << "an assigned key is tinted with the accent";
  EXPECT_LT(GetRValue(disabled) + GetGValue(disabled), GetRValue(normal) + GetGValue(normal))
      << "a disabled key is darker";
  // The selected profile button is filled with the accent, the others are dark.
  const SkinRect p1 = LayoutDocument().LookupRect(u"MAIN", u"BUTTON_PROFILE_1");
  const SkinRect p3 = LayoutDocument().LookupRect(u"MAIN", u"BUTTON_PROFILE_3");
  EXPECT_GT(GetRValue(PixelAt(shot, p1.left + 6, p1.bottom - 6)), 150);
  EXPECT_LT(GetRValue(PixelAt(shot, p3.left + 6, p3.bottom - 6)), 60);
}

TEST_F(SkinPreview, PerKeyLighting) {
  const SkinBitmap shot = Shoot(PaintLighting, u"skin_lighting.png");
  ASSERT_FALSE(shot.empty());
  // Esc (leftmost) is lit red: its legend is red, not white.
  XmlDocument keys;
  keys.LoadFile(LanguagesFilePath(u"KeyboardButtons.xml"));
  const SkinRect esc = ParseSkinRect(LookupString(keys, u"KEYBOARD", u"BUTTON_1"));
  COLORREF brightest = 0;
  for (int y = esc.top; y < esc.bottom; ++y)
    for (int x = esc.left; x < esc.right; ++x) {
      const COLORREF c = PixelAt(shot, x, y);
      if (GetRValue(c) > GetRValue(brightest)) brightest = c;
    }
  EXPECT_GT(GetRValue(brightest), 200);
  EXPECT_LT(GetBValue(brightest), 60);
}

TEST_F(SkinPreview, KeyAssignmentPages) {
  const SkinBitmap shot = Shoot(PaintKeyPages, u"skin_key_pages.png");
  ASSERT_FALSE(shot.empty());
  // The key display is a light cap so that its black caption reads.
  const COLORREF cap = PixelAt(shot, 330 + 30, 200 + 20);
  EXPECT_GT(GetRValue(cap) + GetGValue(cap) + GetBValue(cap), 600);
}

TEST_F(SkinPreview, DialogsMenusAndProgress) {
  const SkinBitmap shot = Shoot(PaintDialogs, u"skin_dialogs.png");
  ASSERT_FALSE(shot.empty());
  // The progress bar's filled track ends at 60 % of its width.
  const int top = kHeight - 150 - 16;
  const COLORREF filled = PixelAt(shot, 100, top + 145);
  const COLORREF unfilled = PixelAt(shot, 700, top + 145);
  EXPECT_GT(GetRValue(filled), 120);
  EXPECT_LT(GetRValue(unfilled), 60);
}

}  // namespace
}  // namespace quencfg
