// The lighting panel over skins that differ from the shipped one in a single file: a
// color field of known pixels (the dark-pixel rule), and a missing or all-white mask.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "lighting_panel_host_win.h"
#include "quencfg/framework/files.h"
#include "quencfg/framework/folders.h"
#include "quencfg/ui/skin/skin_documents.h"
#include "support/screenshot_win.h"
#include "support/temp_folder.h"

namespace quencfg {
namespace {

using testing::SolidImage;

// The staged application folder's skin and English strings, copied below a fresh
// folder that becomes AppFolder; the documents are loaded from the copy.
class CopiedSkin {
 public:
  CopiedSkin() {
    const std::u16string staged = testing::StagedAppFolder();
    for (const char16_t* folder : {u"Languages", u"Languages\\EN", u"skins"}) {
      CreateFolder(folder_ / folder);
    }
    for (const char16_t* file : {u"Languages\\Skins.xml", u"Languages\\Buttons.xml",
                                 u"Languages\\KeyboardButtons.xml", u"Languages\\EN\\Strings.xml"}) {
      copied_ = CopyFileTo(staged + file, folder_ / file) && copied_;
    }
    for (const std::u16string& name : ListFiles(staged + u"skins\\", u"")) {
      copied_ = CopyFileTo(staged + u"skins\\" + name, folder_ / (u"skins\\" + name)) && copied_;
    }
    SetAppFolder(folder_.path());
    SkinDocument().Load(LanguagesFilePath(u"Skins.xml"));
    LayoutDocument().Load(LanguagesFilePath(u"Buttons.xml"));
    StringDocument().Load(folder_ / u"Languages\\EN\\Strings.xml");
  }
  [[nodiscard]] bool copied() const { return copied_; }
  [[nodiscard]] std::u16string SkinFile(std::u16string_view name) const {
    return folder_ / (u"skins\\" + std::u16string(name));
  }

 private:
  testing::TempFolder folder_;
  bool copied_ = true;
};

// A 24-bit bitmap file of one color.
std::string SolidBmpFile(int width, int height, std::uint8_t grey) {
  const int rowBytes = (width * 3 + 3) / 4 * 4;
  const std::uint32_t pixelBytes = static_cast<std::uint32_t>(rowBytes * height);
  std::string file(54 + pixelBytes, '\0');
  auto put = [&file](std::size_t at, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) file[at + static_cast<std::size_t>(i)] = static_cast<char>(value >> (8 * i));
  };
  file[0] = 'B';
  file[1] = 'M';
  put(2, static_cast<std::uint32_t>(file.size()), 4);
  put(10, 54, 4);
  put(14, 40, 4);
  put(18, static_cast<std::uint32_t>(width), 4);
  put(22, static_cast<std::uint32_t>(height), 4);
  put(26, 1, 2);
  put(28, 24, 2);
  put(34, pixelBytes, 4);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width * 3; ++x) file[54 + static_cast<std::size_t>(y * rowBytes + x)] = static_cast<char>(grey);
  }
  return file;
}

class LightingSkinVariants : public testing::LightingPanelTest {
 protected:
  void SetUp() override {
    LightingPanelTest::SetUp();
    ASSERT_TRUE(skin.copied());
  }
  CopiedSkin skin;
};

TEST_F(LightingSkinVariants, DarkPixelsOfTheColorFieldAreNotPicked) {
  // Left half 0x00015D (349), right half 0x00015E (350).
  const RECT field = [] {
    const SkinRect entry = SkinDocument().LookupRect(u"MAINSCREENNEW", u"CUSTOMRECT");
    return RECT{entry.left, entry.top, entry.right, entry.bottom};
  }();
  const int width = field.right - field.left;
  const int height = field.bottom - field.top;
  SkinBitmap picture = SolidImage(width, height, 0x00015D);
  for (int y = 0; y < height; ++y) {
    for (int x = width / 2; x < width; ++x) testing::SetPixelOf(picture, x, y, 0x00015E, 255);
  }
  const std::u16string name(SkinDocument().LookupRect(u"MAINSCREENNEW", u"CUSTOMRECT").name);
  ASSERT_TRUE(testing::SavePng(picture.get(), skin.SkinFile(name.c_str())));

  lighting().byLightEffect = 19;
  lighting().byLightColor = 0x00FF00;
  MakePanel();
  ShowPanel();
  const POINT dark{field.left + width / 4, field.top + height / 2};
  const POINT taken{field.right - width / 4, field.top + height / 2};
  ASSERT_EQ(testing::Drawing(panel->hwnd()).At(dark.x, dark.y), 0x00015Du);
  ClickPanel(dark);
  EXPECT_EQ(panel->pickedColor(), 0x00FF00u);
  EXPECT_EQ(lighting().byLightColor, 0x00FF00u);
  EXPECT_EQ(panel->colorField(kComponentGreen).Text(), u"255");
  ClickPanel(taken);
  EXPECT_EQ(panel->pickedColor(), 0x00015Eu);
  EXPECT_EQ(lighting().byLightColor, 0x00015Eu);
  EXPECT_EQ(panel->colorField(kComponentRed).Text(), u"94");
  EXPECT_EQ(panel->colorField(kComponentGreen).Text(), u"1");
  EXPECT_EQ(panel->colorField(kComponentBlue).Text(), u"0");
}

TEST_F(LightingSkinVariants, MissingMaskGivesTheNoticeOnceAndAnUnshapedPanel) {
  ASSERT_TRUE(DeleteFileAt(skin.SkinFile(u"Lighting_mask.bmp")));
  MakePanel();
  EXPECT_EQ(maskNotices, 1);
  EXPECT_FALSE(panel->shapedByMask());
  OwnedRegion region(::CreateRectRgn(0, 0, 0, 0));
  EXPECT_EQ(::GetWindowRgn(panel->hwnd(), region.get()), ERROR) << "no window region: the whole rectangle";
  ShowPanel();
  panel->SelectEffect(16);
  EXPECT_EQ(lighting().byLightEffect, 16) << "the panel still works";
}

TEST_F(LightingSkinVariants, AllWhiteMaskCountsAsNoShape) {
  ASSERT_TRUE(ReplaceFileContents(skin.SkinFile(u"Lighting_mask.bmp"), SolidBmpFile(40, 30, 255)));
  MakePanel();
  EXPECT_EQ(maskNotices, 1);
  EXPECT_FALSE(panel->shapedByMask()) << "an empty shape would hide the whole panel";
}

}  // namespace
}  // namespace quencfg
