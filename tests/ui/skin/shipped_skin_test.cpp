// Checks the files shipped beside the program (data/): every section and key that the
// windows read exists in each layout and strings file, every image a layout entry
// names exists in its state set at the entry's size, and the key buttons lie on the
// main background.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "quencfg/framework/files.h"
#include "quencfg/framework/paths.h"
#include "quencfg/framework/text.h"
#include "quencfg/ui/skin/skin_documents.h"
#include "quencfg/ui/skin/skin_rect.h"
#include "support/image_header.h"
#include "support/source_tree.h"

namespace quencfg {
namespace {

using Keys = std::vector<std::u16string>;
using Vocabulary = std::vector<std::pair<std::u16string, Keys>>;

std::u16string DataPath(std::u16string_view relative) {
  return testing::SourceTreePath(u"data\\" + std::u16string(relative));
}

XmlDocument Load(std::u16string_view relative) {
  XmlDocument document;
  EXPECT_TRUE(document.LoadFile(DataPath(relative))) << Utf16ToUtf8(relative) << " is well-formed";
  return document;
}

Keys Numbered(std::u16string_view prefix, int first, int last) {
  Keys keys;
  for (int n = first; n <= last; ++n) keys.push_back(std::u16string(prefix) + AsciiToUtf16(std::to_string(n)));
  return keys;
}

Keys Join(Keys a, const Keys& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

const Vocabulary& ButtonsVocabulary() {
  static const Vocabulary v = {
      {u"MAIN", {u"BUTTON_MIN", u"BUTTON_EXIT", u"BUTTON_APPLY", u"BUTTON_CANCEL", u"BUTTON_SETTING", u"BUTTON_OK",
                 u"BUTTON_PROFILE_1", u"BUTTON_PROFILE_2", u"BUTTON_PROFILE_3", u"BUTTON_MACRO",
                 u"BUTTON_BACKLIGHT", u"BUTTON_RESET", u"LIGHTING"}},
      {u"KEY_ASSIGNMENT", {u"BUTTON_CANCEL", u"BUTTON_OK", u"BUTTON_SINGLEKEY", u"BUTTON_MACRO", u"BUTTON_LAUNCH",
                           u"BUTTON_RESET", u"BUTTON_CKEY", u"BUTTON_LAUNCHPROGRAM"}},
      {u"MACRO", {u"BUTTON_MACROMENU", u"BUTTON_MACRONEW", u"BUTTON_MACRODELETE", u"BUTTON_RECORD", u"BUTTON_DELETE",
                  u"BUTTON_CLEAR", u"BUTTON_UP", u"BUTTON_DOWN", u"BUTTON_TOP", u"BUTTON_BOTTOM",
                  u"BUTTON_RECORDDELAY", u"EDIT_MACRONAME", u"EDIT_REPEAT", u"MACRO_DISPLAY"}},
      {u"LIGHTING", Join({u"BUTTON_MENU", u"SLIDER_BRIGHT", u"SLIDER_SPEED", u"EDIT_R", u"EDIT_G", u"EDIT_B",
                          u"BUTTON_ALLKEYRECT"},
                         Numbered(u"RECT_COLORSLIDER_", 1, 8))},
      {u"WARN_STRING", {u"BUTTON_OK", u"BUTTON_CANCEL", u"WARNING", u"LAYER_RESET", u"SAVE_CHANGE", u"MAXWARN",
                        u"RECORD_OUTOFRANGE"}},
      {u"LIGHT_STRING", {u"BRIGHTNESS", u"COLOR", u"COLORCUSTOM", u"TXR", u"TXG", u"TXB", u"SPEED"}},
      {u"MACRO_STRING", {u"TEXT_MACRONAME", u"TEXT_DELAY", u"TEXT_REPEAT"}},
      {u"LAUNCH_PROGRAM", {u"TEXT_TITLE"}},
      {u"SINGLE_KEY", {u"TEXT_TITLE"}},
      {u"WARN_STRING", {u"IMPORT_UNREADABLE", u"IMPORT_DAMAGED", u"IMPORT_NOPROFILE"}},
      {u"WARN_STRING", {u"MACRO_FULL", u"EXPORT_FAILED"}},
      {u"IMPORT_REVIEW", {u"BUTTON_KEEP", u"BUTTON_LEAVE_OUT", u"BUTTON_CANCEL"}},
      {u"MACRO", {u"EDIT_PAUSE", u"BUTTON_INSERTPAUSE"}},
      {u"KEY_ASSIGNMENT", {u"EDITOR_TITLE"}},
      {u"WARN_STRING", {u"SAVE_FAILED", u"QUIT_UNAPPLIED", u"BUTTON_APPLY_AND_QUIT", u"BUTTON_DISCARD_AND_QUIT",
                        u"BUTTON_STAY"}},
  };
  return v;
}

const Vocabulary& StringsVocabulary() {
  static const Vocabulary v = {
      {u"GLOBAL", {u"FONT"}},
      {u"MAIN", {u"APPLY", u"CANCEL", u"OK", u"PROFILE", u"MACRO", u"RESETPROFILE", u"LIGHTING", u"IMPORT",
                 u"EXPORT", u"STARTWITHWINDOWS", u"SINGLEKEY", u"LAUNCH", u"START_FAILED"}},
      {u"LANGUAGE", {u"ENGLISH", u"CHINESE", u"ES"}},
      {u"TRAYICON", {u"LAUNCH", u"EXIT", u"LOADING"}},
      {u"MACRO_STRING", {u"RECORD", u"STOP", u"DELETE", u"CLEAR", u"UP", u"DOWN", u"TOP", u"BOTTOM",
                         u"TEXT_MACRONAME", u"TEXT_DELAY", u"TEXT_REPEAT"}},
      {u"LIGHT_STRING", Join(Numbered(u"LIGHT_EFFECT_", 1, 20),
                             {u"BRIGHTNESS", u"COLOR", u"COLORCUSTOM", u"TXR", u"TXG", u"TXB", u"SPEED"})},
      {u"WARN_STRING", {u"WARNING", u"LAYER_RESET", u"SAVE_CHANGE", u"MAXWARN", u"RECORD_OUTOFRANGE"}},
      {u"LAUNCH_PROGRAM", {u"TEXT_TITLE"}},
      {u"SINGLE_KEY", {u"TEXT_TITLE", u"NO_KEY_CODE"}},
      {u"WARN_STRING", {u"IMPORT_UNREADABLE", u"IMPORT_DAMAGED", u"IMPORT_NOPROFILE"}},
      {u"WARN_STRING", {u"MACRO_FULL", u"EXPORT_FAILED"}},
      {u"IMPORT_REVIEW", {u"TITLE", u"INTRO", u"KEEP", u"LEAVE_OUT", u"CANCEL", u"KEY", u"PROGRAM", u"URL", u"NETWORK",
                          u"RELATIVE", u"MISSING_MACRO", u"TOO_LONG", u"EMPTY", u"CONTROL"}},
      {u"MACRO_STRING", {u"EDITOR_TITLE", u"TIP_PAUSE"}},
      {u"WARN_STRING", {u"SAVE_FAILED", u"SAVE_FAILED_READONLY", u"SAVE_FAILED_IN_USE", u"SAVE_FAILED_DISK_FULL",
                        u"SAVE_FAILED_KEYBOARD", u"QUIT_UNAPPLIED", u"APPLY_AND_QUIT", u"DISCARD_AND_QUIT", u"STAY"}},
  };
  return v;
}

const std::u16string kLanguages[] = {u"EN", u"CS", u"ES"};

// Width and height of a PNG, JPEG or BMP; 0 x 0 when the file is missing or not such an image.
std::pair<int, int> ImageSize(std::u16string_view path) {
  const testing::ImageHeader header = testing::ReadImageHeader(path);
  return {header.width, header.height};
}

std::u16string Skin(std::u16string_view file) { return DataPath(u"skins\\" + std::u16string(file)); }

void ExpectVocabulary(XmlDocument& document, const Vocabulary& vocabulary, std::u16string_view file) {
  for (const auto& [section, keys] : vocabulary)
    for (const auto& key : keys)
      EXPECT_FALSE(LookupString(document, section, key).empty())
          << Utf16ToUtf8(file) << ": " << Utf16ToUtf8(section) << "/" << Utf16ToUtf8(key);
}

TEST(ShippedSkin, LayoutFilesHoldTheWholeVocabulary) {
  XmlDocument buttons = Load(u"Languages\\Buttons.xml");
  ExpectVocabulary(buttons, ButtonsVocabulary(), u"Buttons.xml");
  XmlDocument keyboard = Load(u"Languages\\KeyboardButtons.xml");
  ExpectVocabulary(keyboard, {{u"KEYBOARD", Numbered(u"BUTTON_", 1, 111)}}, u"KeyboardButtons.xml");
  XmlDocument skins = Load(u"Languages\\Skins.xml");
  ExpectVocabulary(skins, {{u"MAINSCREENNEW", {u"Main", u"Keyassignment", u"Warn", u"CUSTOMRECT"}}}, u"Skins.xml");
}

TEST(ShippedSkin, StringsFilesHoldTheWholeVocabulary) {
  for (const auto& code : kLanguages) {
    const std::u16string file = u"Languages\\" + code + u"\\Strings.xml";
    XmlDocument strings = Load(file);
    ExpectVocabulary(strings, StringsVocabulary(), file);
    // The profile buttons show PROFILE immediately followed by the number.
    EXPECT_EQ(LookupString(strings, u"MAIN", u"PROFILE").back(), u' ') << Utf16ToUtf8(code);
  }
}

TEST(ShippedSkin, BackgroundsAndFixedImagesExist) {
  XmlDocument skins = Load(u"Languages\\Skins.xml");
  EXPECT_EQ(ImageSize(Skin(LookupString(skins, u"MAINSCREENNEW", u"Main"))), std::make_pair(1200, 672));
  const std::u16string others[] = {LookupString(skins, u"MAINSCREENNEW", u"Keyassignment"),
                                   LookupString(skins, u"MAINSCREENNEW", u"Warn"),
                                   u"Lighting_mask.bmp", u"Menu_normal.jpg", u"Menu_over.jpg",
                                   u"menu_effect_normal.jpg", u"menu_effect_over.jpg",
                                   u"updatebar_n.jpg", u"updatebar_o.jpg"};
  for (const auto& file : others) {
    const auto size = ImageSize(Skin(file));
    EXPECT_GT(size.first, 0) << Utf16ToUtf8(file);
    EXPECT_GT(size.second, 0) << Utf16ToUtf8(file);
  }
  EXPECT_EQ(ImageSize(Skin(u"Lighting_mask.bmp")), std::make_pair(1200, 672));
  // The menus are as wide as their rows and hold six rows of 18 pixels.
  EXPECT_EQ(ImageSize(Skin(u"Menu_normal.jpg")).second, 108);
  EXPECT_EQ(ImageSize(Skin(u"Menu_normal.jpg")), ImageSize(Skin(u"Menu_over.jpg")));
  EXPECT_EQ(ImageSize(Skin(u"menu_effect_normal.jpg")), ImageSize(Skin(u"menu_effect_over.jpg")));
  // The loading text is drawn at (175, 60)-(575, 105) of the progress window.
  const auto progress = ImageSize(Skin(u"updatebar_n.jpg"));
  EXPECT_GE(progress.first, 575);
  EXPECT_GE(progress.second, 105);
  EXPECT_EQ(progress, ImageSize(Skin(u"updatebar_o.jpg")));

  const SkinRect field = ParseSkinRect(LookupString(skins, u"MAINSCREENNEW", u"CUSTOMRECT"));
  EXPECT_EQ(ImageSize(Skin(FieldText(field.name))),
            std::make_pair(field.right - field.left, field.bottom - field.top));
}

// Every control of Buttons.xml that names an image: all four state files exist and the
// normal image has the entry's size (sliders: the bar has it, the thumb its height).
TEST(ShippedSkin, EveryNamedImageExistsInItsStateSet) {
  XmlDocument buttons = Load(u"Languages\\Buttons.xml");
  int named = 0;
  for (const auto& [section, keys] : ButtonsVocabulary()) {
    for (const auto& key : keys) {
      const SkinRect entry = ParseSkinRect(LookupString(buttons, section, key));
      const std::u16string stem = SkinImageName(entry);
      if (stem.empty()) continue;  // labels and the event list draw no image
      ++named;
      const std::string where = Utf16ToUtf8(section + u"/" + key);
      // The color swatch is a grey mask recolored at run time: one image serves all states.
      const bool colorButton = key == u"BUTTON_ALLKEYRECT";
      for (const char16_t* state : {u"_normal.png", u"_over.png", u"_down.png", u"_disable.png"}) {
        if (!colorButton || state == std::u16string_view(u"_normal.png")) {
          EXPECT_TRUE(PathExists(Skin(stem + state))) << where << " " << Utf16ToUtf8(stem + state);
        }
      }
      const std::pair<int, int> rectSize{entry.right - entry.left, entry.bottom - entry.top};
      const auto normal = ImageSize(Skin(stem + u"_normal.png"));
      if (key.rfind(u"SLIDER_", 0) == 0) {
        EXPECT_EQ(ImageSize(Skin(stem + u"_bar_normal.png")), rectSize) << where;
        EXPECT_EQ(normal.second, rectSize.second) << where;
        for (const char16_t* state : {u"_bar_over.png", u"_bar_down.png", u"_bar_disable.png"})
          EXPECT_TRUE(PathExists(Skin(stem + state))) << where;
      } else {
        EXPECT_EQ(normal, rectSize) << where;
      }
    }
  }
  EXPECT_GT(named, 40);
  // The color buttons: the swatch and the key color buttons draw grey masks laid out
  // over the whole window.
  const SkinRect swatch = ParseSkinRect(LookupString(buttons, u"LIGHTING", u"BUTTON_ALLKEYRECT"));
  EXPECT_EQ(ImageSize(Skin(std::u16string(FieldText(swatch.name)) + u"_normal2.png")), std::make_pair(1200, 672));
  EXPECT_EQ(ImageSize(Skin(u"btnColor2_normal2.png")), std::make_pair(1200, 672));
  EXPECT_TRUE(PathExists(Skin(u"btnColor2_normal.png")));
}

TEST(ShippedSkin, KeyButtonsLieOnTheBackgroundWithoutOverlapping) {
  XmlDocument keyboard = Load(u"Languages\\KeyboardButtons.xml");
  const auto background = ImageSize(Skin(u"Main_bg.jpg"));
  std::vector<SkinRect> keys;
  std::set<std::u16string> labels;
  int noKey = 0;
  for (int n = 1; n <= 111; ++n) {
    const SkinRect entry = ParseSkinRect(LookupString(keyboard, u"KEYBOARD", u"BUTTON_" + AsciiToUtf16(std::to_string(n))));
    SCOPED_TRACE(n);
    EXPECT_GE(entry.left, 0);
    EXPECT_GE(entry.top, 0);
    EXPECT_LE(entry.right, background.first);
    EXPECT_LE(entry.bottom, background.second);
    if (entry.right <= entry.left || entry.bottom <= entry.top) {
      // A slot without a key can never be clicked.
      EXPECT_EQ(entry.right - entry.left, 0);
      EXPECT_EQ(entry.bottom - entry.top, 0);
      ++noKey;
      continue;
    }
    EXPECT_LE(n, 63) << "only slots 0 to 62 have a key";
    EXPECT_TRUE(labels.insert(std::u16string(FieldText(entry.text))).second) << "labels are unique";
    EXPECT_EQ(ImageSize(Skin(SkinImageName(entry) + u"_normal.png")),
              std::make_pair(entry.right - entry.left, entry.bottom - entry.top));
    keys.push_back(entry);
  }
  EXPECT_EQ(keys.size(), 63u);
  EXPECT_EQ(noKey, 48);
  EXPECT_EQ(labels.count(u"LWIN"), 1u);
  EXPECT_EQ(labels.count(u"FN"), 1u);
  for (std::size_t i = 0; i < keys.size(); ++i)
    for (std::size_t j = i + 1; j < keys.size(); ++j) {
      const bool apart = keys[i].right <= keys[j].left || keys[j].right <= keys[i].left ||
                         keys[i].bottom <= keys[j].top || keys[j].bottom <= keys[i].top;
      EXPECT_TRUE(apart) << Utf16ToUtf8(FieldText(keys[i].text)) << " and " << Utf16ToUtf8(FieldText(keys[j].text));
    }
  // The slot of the left Windows key (53 + 1) and of the function key (58 + 1).
  EXPECT_EQ(FieldText(ParseSkinRect(LookupString(keyboard, u"KEYBOARD", u"BUTTON_55")).text), u"LWIN");
  EXPECT_EQ(FieldText(ParseSkinRect(LookupString(keyboard, u"KEYBOARD", u"BUTTON_59")).text), u"FN");
}

TEST(ShippedSkin, KeyNamesCoverTheKeyTableAndMouseButtons) {
  XmlDocument table = Load(u"table.xml");
  // Every virtual key that the key code table reaches, and the mouse-button messages.
  const int reached[] = {
      0x01, 0x02, 0x04, 0x08, 0x09, 0x0c, 0x0d, 0x13, 0x14, 0x1b, 0x1c, 0x1d, 0x20, 0x21, 0x22, 0x23, 0x24, 0x25, 0x26,
      0x27, 0x28, 0x2c, 0x2d, 0x2e, 0x30, 0x31, 0x32, 0x33, 0x34, 0x35, 0x36, 0x37, 0x38, 0x39, 0x41, 0x42,
      0x43, 0x44, 0x45, 0x46, 0x47, 0x48, 0x49, 0x4a, 0x4b, 0x4c, 0x4d, 0x4e, 0x4f, 0x50, 0x51, 0x52, 0x53,
      0x54, 0x55, 0x56, 0x57, 0x58, 0x59, 0x5a, 0x5b, 0x5c, 0x5d, 0x60, 0x61, 0x62, 0x63, 0x64, 0x65, 0x66,
      0x67, 0x68, 0x69, 0x6a, 0x6b, 0x6c, 0x6d, 0x6e, 0x6f, 0x70, 0x71, 0x72, 0x73, 0x74, 0x75, 0x76, 0x77,
      0x78, 0x79, 0x7a, 0x7b, 0x7c, 0x7d, 0x7e, 0x7f, 0x80, 0x81, 0x82, 0x83, 0x84, 0x85, 0x86, 0x87, 0x90,
      0x91, 0xa0, 0xa1, 0xa2, 0xa3, 0xa4, 0xa5, 0xa9, 0xaa, 0xba, 0xbb, 0xbc, 0xbd, 0xbe, 0xbf, 0xc0, 0xc1, 0xcb,
      0xcc, 0xcd, 0xce, 0xcf, 0xdb, 0xdc, 0xdd, 0xde, 0xe0, 0xe1, 0xe2, 0xe3, 0xe4, 0xe5, 0xe8, 0xe9, 0xea,
      0xeb, 0xec, 0xed, 0xee, 0xef, 0xf0, 0xf2, 0xf3, 0xf4, 0xf5, 0xf6, 0xf7, 0xf8, 0xf9, 0xfa, 0xff,
      0x201, 0x204, 0x207};
  for (int vk : reached) {
    char key[16];
    std::snprintf(key, sizeof key, "CODE_%02x", vk);
    EXPECT_FALSE(LookupString(table, u"KEYTABLE", AsciiToUtf16(key)).empty()) << key;
  }
}

}  // namespace
}  // namespace quencfg
