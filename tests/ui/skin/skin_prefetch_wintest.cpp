#include "quencfg/ui/skin/skin_prefetch_win.h"

#include <gtest/gtest.h>

#include <string>

#include "quencfg/framework/files.h"
#include "quencfg/framework/folders.h"
#include "quencfg/framework/wide_win.h"
#include "quencfg/ui/skin/skin_image_cache_win.h"
#include "quencfg/ui/skin/skin_picture_win.h"
#include "quencfg/ui/skin/skins_folder_win.h"
#include "quencfg/ui/skin/state_images_win.h"
#include "support/temp_folder.h"

namespace quencfg {
namespace {

std::u16string Fixture(std::u16string_view name) {
  return ToU16(KORVANE_TEST_SOURCE_DIR) + u"tests\\ui\\skin\\fixtures\\" + std::u16string(name);
}

// A small application folder: a background picture named in Skins.xml and a layout
// file whose three controls use two images (the first two share one).
class PrefetchedSkin : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(CreateFolder(folder_ / u"Languages"));
    ASSERT_TRUE(CreateFolder(folder_ / u"skins"));
    ASSERT_TRUE(ReplaceFileContents(folder_ / u"Languages\\Skins.xml",
                                    "<R><MAINSCREENNEW><Main>bg.png</Main></MAINSCREENNEW></R>"));
    ASSERT_TRUE(ReplaceFileContents(folder_ / u"Languages\\Controls.xml",
                                    "<R><S><A>btnX,0,0,3,2,,FALSE</A><B>btnX,5,0,3,2,,TRUE</B>"
                                    "<C>btnY,9,0,5,4,,FALSE</C></S></R>"));
    ASSERT_TRUE(CopyFileTo(Fixture(u"large.png"), folder_ / u"skins\\bg.png"));
    ASSERT_TRUE(CopyFileTo(Fixture(u"small_normal.png"), folder_ / u"skins\\btnX_normal.png"));
    ASSERT_TRUE(CopyFileTo(Fixture(u"red_half.png"), folder_ / u"skins\\btnY_normal.png"));
    ASSERT_TRUE(SetAppFolder(folder_.path()));
    SharedSkinImageCache().Clear();
  }
  void TearDown() override {
    SharedSkinImageCache().Clear();
    SetAppFolder(savedAppFolder_);
  }

  static SkinPrefetchPlan Plan() { return SkinPrefetchPlan{u"Main", {{u"Controls.xml", u"S", {u"A", u"B", u"C"}}}}; }

  // What the window's layout pass loads, as it loads it.
  static void LoadAsTheLayoutDoes() {
    EXPECT_EQ(LoadPicture(SkinsFolder() + u"bg.png").width, 5);
    EXPECT_EQ(LoadStateImages(u"btnX", false).width, 3);
    EXPECT_EQ(LoadStateImages(u"btnX", true).width, 3);
    EXPECT_EQ(LoadStateImages(u"btnY", false).width, 1);
  }

  std::u16string savedAppFolder_ = AppFolder();
  testing::TempFolder folder_;
};

TEST_F(PrefetchedSkin, TheLayoutPassFindsThePicturesDecoded) {
  const std::size_t before = SharedSkinImageCache().decodeCount();
  RunSkinPrefetch(Plan());
  EXPECT_EQ(SharedSkinImageCache().decodeCount(), before + 3) << "the background and two images, each once";
  LoadAsTheLayoutDoes();
  EXPECT_EQ(SharedSkinImageCache().decodeCount(), before + 3);
}

TEST_F(PrefetchedSkin, LoadsRacingThePrefetchThreadDecodeEachFileOnce) {
  for (int round = 0; round < 10; ++round) {
    SharedSkinImageCache().Clear();
    const std::size_t before = SharedSkinImageCache().decodeCount();
    {
      const SkinPrefetch prefetch(Plan());
      LoadAsTheLayoutDoes();
    }
    EXPECT_EQ(SharedSkinImageCache().decodeCount(), before + 3);
  }
}

TEST_F(PrefetchedSkin, MissingFilesAndEntriesAreSkipped) {
  ASSERT_TRUE(DeleteFileAt(folder_ / u"skins\\btnY_normal.png"));
  const std::size_t before = SharedSkinImageCache().decodeCount();
  RunSkinPrefetch(SkinPrefetchPlan{u"NoSuchKey", {{u"Controls.xml", u"S", {u"C", u"Z"}}, {u"None.xml", u"S", {u"A"}}}});
  EXPECT_EQ(SharedSkinImageCache().decodeCount(), before);
}

}  // namespace
}  // namespace quencfg
