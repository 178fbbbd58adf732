#include "quencfg/ui/skin/skin_loaders_win.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "quencfg/framework/files.h"
#include "quencfg/framework/folders.h"
#include "quencfg/framework/text.h"
#include "quencfg/framework/wide_win.h"
#include "quencfg/ui/skin/bitmap_btn_win.h"
#include "quencfg/ui/skin/shared_state_images_win.h"
#include "quencfg/ui/skin/skin_image_cache_win.h"
#include "quencfg/ui/skin/skin_text_win.h"
#include "support/gdiplus_session_win.h"
#include "support/shipped_skin_win.h"
#include "support/temp_folder.h"
#include "quencfg/ui/skin/skins_folder_win.h"
#include "quencfg/ui/skin/skin_picture_win.h"

namespace quencfg {
namespace {

// The shipped application folder as AppFolder() for the test, restored afterwards.
class SkinLoaders : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(skin_.loaded()); }

  testing::ShippedSkin skin_;
  testing::GdiplusSession gdiplus_;
};

TEST_F(SkinLoaders, ControlSkinFromLayoutEntry) {
  const SkinBitmap background = LoadPicture(SkinsFolder() + u"Main_bg.jpg");
  ASSERT_EQ(background.width, 1200);
  ControlSkin apply = LoadControlSkin(LayoutDocument(), u"MAIN", u"BUTTON_APPLY", background);
  EXPECT_EQ(apply.imageName, u"btnPng");
  EXPECT_EQ(apply.images.width, apply.entry.right - apply.entry.left);
  EXPECT_EQ(apply.images.height, apply.entry.bottom - apply.entry.top);
  for (int state = kStateNormal; state <= kStateDisabled; ++state) EXPECT_FALSE(StateImage(apply.images, state).empty());
  EXPECT_EQ(apply.backgroundPiece.width, apply.images.width);
  EXPECT_EQ(apply.backgroundPiece.height, apply.images.height);

  const ControlSkin missing = LoadControlSkin(LayoutDocument(), u"MAIN", u"NO_SUCH_BUTTON", background);
  EXPECT_TRUE(missing.imageName.empty());
  EXPECT_TRUE(missing.images.states[kStateNormal].empty());
  EXPECT_TRUE(missing.backgroundPiece.empty()) << "an empty rectangle cuts nothing";
}

TEST_F(SkinLoaders, SliderAndColorButtonImages) {
  const ControlSkin slider = LoadControlSkin(LayoutDocument(), u"LIGHTING", u"SLIDER_BRIGHT", SkinBitmap{});
  const StateImages bar = LoadSliderBarImages(slider);
  EXPECT_EQ(bar.width, slider.entry.right - slider.entry.left);
  EXPECT_FALSE(bar.states[kStateDown].empty());

  const ControlSkin swatch = LoadControlSkin(LayoutDocument(), u"LIGHTING", u"BUTTON_ALLKEYRECT", SkinBitmap{});
  const SkinBitmap whole = LoadColorButtonSource(swatch.imageName, swatch.images);
  EXPECT_EQ(whole.width, 1200) << "the _normal2 picture is laid out over the whole window";
  const SkinBitmap fallback = LoadColorButtonSource(u"btnPng", LoadStateImages(u"btnPng", false));
  EXPECT_EQ(fallback.width, 120) << "without _normal2 the normal image serves";
  EXPECT_TRUE(LoadColorButtonSource(u"", StateImages{}).empty());
}

TEST_F(SkinLoaders, SkinButtonWindowIsOwnerDrawnWithTheSharedId) {
  HWND parent = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(parent, nullptr);
  HWND button = CreateSkinButtonWindow(parent);
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(::GetDlgCtrlID(button), kSkinControlId);
  EXPECT_EQ(static_cast<DWORD>(::GetWindowLongW(button, GWL_STYLE)) & 0xFFFF000Fu, kSkinButtonStyle & 0xFFFF000Fu);
  EXPECT_EQ(::GetWindowTextLengthW(button), 0);
  MoveToSkinRect(button, ParseSkinRect(u"btnPng,10,20,120,40,,FALSE"));
  RECT rect{};
  ::GetWindowRect(button, &rect);
  ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
  EXPECT_EQ(rect.left, 10);
  EXPECT_EQ(rect.top, 20);
  EXPECT_EQ(rect.right, 130);
  EXPECT_EQ(rect.bottom, 60);
  ::DestroyWindow(parent);
}

TEST_F(SkinLoaders, EditTakesTheEntryTextAndAThreeCharacterLimit) {
  HWND parent = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr, nullptr, nullptr);
  HWND edit = ::CreateWindowExW(0, L"EDIT", L"", WS_CHILD | ES_AUTOHSCROLL, 0, 0, 60, 20, parent, nullptr, nullptr, nullptr);
  ASSERT_NE(edit, nullptr);
  ApplyEditEntry(edit, ParseSkinRect(u"editRgb,1,2,66,28,128,TRUE"));
  wchar_t text[16] = {};
  ::GetWindowTextW(edit, text, 16);
  EXPECT_STREQ(text, L"128");
  EXPECT_EQ(::SendMessageW(edit, EM_GETLIMITTEXT, 0, 0), 3);
  ApplyEditEntry(nullptr, ParseSkinRect(u""));  // no window: nothing happens
  ::DestroyWindow(parent);
}

// Draws into a white 32-bit bitmap and reports the bounding box of the pixels that
// changed.
struct Canvas {
  SkinBitmap bitmap = CreateBitmap32(400, 200);
  MemoryDc dc{nullptr};
  std::uint32_t* pixels = nullptr;
  Canvas() {
    DIBSECTION dib{};
    ::GetObjectW(bitmap.get(), sizeof dib, &dib);
    pixels = static_cast<std::uint32_t*>(dib.dsBm.bmBits);
    for (int i = 0; i < 400 * 200; ++i) pixels[i] = 0x00FFFFFF;
    ::SelectObject(dc.get(), bitmap.get());
  }
  RECT Changed() {
    ::GdiFlush();
    RECT box{400, 200, -1, -1};
    for (int y = 0; y < 200; ++y)
      for (int x = 0; x < 400; ++x)
        if ((pixels[y * 400 + x] & 0xFFFFFF) != 0xFFFFFF) {
          box.left = std::min<LONG>(box.left, x);
          box.top = std::min<LONG>(box.top, y);
          box.right = std::max<LONG>(box.right, x + 1);
          box.bottom = std::max<LONG>(box.bottom, y + 1);
        }
    return box;
  }
};

TEST_F(SkinLoaders, DrawSkinTextCentresTheLabelInItsRectangle) {
  testing::TempFolder folder;
  ASSERT_TRUE(ReplaceFileContents(folder / u"layout.xml", "<R><S><L>,20,10,200,100,L,FALSE</L></S></R>"));
  ASSERT_TRUE(ReplaceFileContents(folder / u"strings.xml", "<R><S><L>Label</L></S></R>"));
  LayoutDocument().Load(folder / u"layout.xml");
  StringDocument().Load(folder / u"strings.xml");
  Canvas canvas;
  OwnedFont font(::CreateFontW(20, 0, 0, 0, 500, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Arial"));
  SelectScope select(canvas.dc.get(), font.get());
  ::SetTextColor(canvas.dc.get(), 0);
  ::SetBkMode(canvas.dc.get(), TRANSPARENT);
  DrawSkinText(canvas.dc.get(), u"S", u"L", DT_WORDBREAK);
  const RECT ink = canvas.Changed();
  ASSERT_GE(ink.right, 0) << "something was drawn";
  EXPECT_GE(ink.left, 20);
  EXPECT_LT(ink.left, 30);
  // The line of height h starts at 10 + (100 - h) / 2: its ink lies around y = 60.
  EXPECT_GT(ink.top, 45);
  EXPECT_LT(ink.bottom, 75);

  Canvas empty;
  DrawSkinText(empty.dc.get(), u"S", u"MISSING", DT_WORDBREAK);
  EXPECT_LT(empty.Changed().right, 0) << "a missing label draws nothing";
}

TEST_F(SkinLoaders, DrawSkinImageDrawsTheNamedFileIntoItsRectangle) {
  testing::TempFolder folder;
  ASSERT_TRUE(ReplaceFileContents(folder / u"skins.xml",
                                  "<R><M><IMG>btnPng_down.png,30,40,120,40,X,FALSE</IMG>"
                                  "<GONE>no_such.png,0,0,10,10,X,FALSE</GONE></M></R>"));
  SkinDocument().Load(folder / u"skins.xml");
  Canvas canvas;
  DrawSkinImage(canvas.dc.get(), u"M", u"IMG");
  const RECT ink = canvas.Changed();
  EXPECT_EQ(ink.left, 30);
  EXPECT_EQ(ink.top, 40);
  EXPECT_EQ(ink.right, 150);
  EXPECT_EQ(ink.bottom, 80);

  Canvas untouched;
  DrawSkinImage(untouched.dc.get(), u"M", u"GONE");
  DrawSkinImage(untouched.dc.get(), u"M", u"NONE");
  EXPECT_LT(untouched.Changed().right, 0);
}

// The keys of one size share a set: loaded once, each later state read once for all.
TEST_F(SkinLoaders, ButtonsOfOnePictureShareOneStateImageSet) {
  const auto entry = [](std::u16string_view text) { return ParseSkinRect(std::u16string(text)); };
  SharedStateImages sets;
  const std::shared_ptr<StateImages> first = sets.For(entry(u"key100,0,0,60,60,ESC,FALSE"));
  const std::shared_ptr<StateImages> second = sets.For(entry(u"key100,60,0,60,60,1,FALSE"));
  const std::shared_ptr<StateImages> wide = sets.For(entry(u"key150,0,60,90,60,TAB,FALSE"));
  const std::shared_ptr<StateImages> single = sets.For(entry(u"key100,0,120,60,60,X,TRUE"));
  const std::shared_ptr<StateImages> none = sets.For(entry(u",0,180,60,60,Y,FALSE"));
  EXPECT_EQ(first, second);
  EXPECT_NE(first, wide);
  EXPECT_NE(first, single) << "the single-image flag reads other files";
  EXPECT_FALSE(first->states[kStateNormal].empty());
  EXPECT_TRUE(none->states[kStateNormal].empty());

  CPngListBtn a;
  CPngListBtn b;
  a.SetImages(first);
  b.SetImages(second);
  SkinImageCache& cache = SharedSkinImageCache();
  const std::size_t before = cache.decodeCount();
  StateImage(*first, kStateOver);  // the first button shows its hover picture
  const std::size_t afterFirst = cache.decodeCount();
  EXPECT_FALSE(b.images().states[kStateOver].empty()) << "the second button has it too";
  EXPECT_FALSE(b.images().pending[kStateOver]);
  EXPECT_LE(afterFirst - before, 1u);
  b.SetImages(std::shared_ptr<StateImages>{});  // no set: an empty one, never null
  EXPECT_TRUE(b.images().states[kStateNormal].empty());
}

}  // namespace
}  // namespace quencfg
