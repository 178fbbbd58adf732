// The bitmaps and the icon that the skinned windows load from the program's resources.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "quencfg/framework/wide_win.h"
#include "quencfg/ui/skin/skin_resource_ids.h"

namespace quencfg {
namespace {

class ProgramResources : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::wstring exe = std::wstring(KORVANE_TEST_APP_DIR) + L"Korvane.exe";
    module_ = ::LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(module_, nullptr);
  }
  void TearDown() override {
    if (module_ != nullptr) ::FreeLibrary(module_);
  }

  SIZE BitmapSize(int id) {
    HBITMAP bitmap = static_cast<HBITMAP>(
        ::LoadImageW(module_, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    BITMAP info{};
    if (bitmap != nullptr) {
      ::GetObjectW(bitmap, sizeof info, &info);
      ::DeleteObject(bitmap);
    }
    return SIZE{info.bmWidth, info.bmHeight};
  }

  HMODULE module_ = nullptr;
};

TEST_F(ProgramResources, ScrollBarGridHasNineByThreeCells) {
  const SIZE size = BitmapSize(IDB_SCROLLBAR_GRID);
  ASSERT_GT(size.cx, 0);
  EXPECT_EQ(size.cx % 9, 0);
  EXPECT_EQ(size.cy % 3, 0);
  EXPECT_EQ(size.cx / 9, 12) << "the menu's scroll bar is 12 pixels wide";
  EXPECT_EQ(size.cy / 3, size.cx / 9) << "square cells";
}

TEST_F(ProgramResources, ListImagesForKeyAndMouseButtonPressAndRelease) {
  for (int id : {IDB_LIST_KEY_PRESS, IDB_LIST_KEY_RELEASE, IDB_LIST_BUTTON_PRESS, IDB_LIST_BUTTON_RELEASE}) {
    const SIZE size = BitmapSize(id);
    EXPECT_EQ(size.cx, 13) << id;
    EXPECT_EQ(size.cy, 13) << id;
  }
  // Movement rows show none.
  for (int id : {4022, 4023}) EXPECT_EQ(BitmapSize(id).cx, 0) << id;
}

// The same bitmaps for 144 and 192 DPI displays, under the number plus 10000 and 20000:
// 1.5 and 2 times the size (halves round up), the scroll bar grid in whole cells.
TEST_F(ProgramResources, BitmapsAtOneAndAHalfAndTwiceTheSize) {
  struct Scaled {
    int id;
    LONG cx;
    LONG cy;
  };
  const Scaled bitmaps[] = {
      {IDB_SCROLLBAR_GRID_150, 9 * 18, 3 * 18}, {IDB_SCROLLBAR_GRID_200, 9 * 24, 3 * 24},
      {IDB_LIST_KEY_PRESS_150, 20, 20},         {IDB_LIST_KEY_PRESS_200, 26, 26},
      {IDB_LIST_KEY_RELEASE_150, 20, 20},       {IDB_LIST_KEY_RELEASE_200, 26, 26},
      {IDB_LIST_BUTTON_PRESS_150, 20, 20},      {IDB_LIST_BUTTON_PRESS_200, 26, 26},
      {IDB_LIST_BUTTON_RELEASE_150, 20, 20},    {IDB_LIST_BUTTON_RELEASE_200, 26, 26},
  };
  for (const auto& bitmap : bitmaps) {
    const SIZE size = BitmapSize(bitmap.id);
    EXPECT_EQ(size.cx, bitmap.cx) << bitmap.id;
    EXPECT_EQ(size.cy, bitmap.cy) << bitmap.id;
  }
}

TEST_F(ProgramResources, IconInLargeAndSmallSizes) {
  for (int size : {16, 32, 48}) {
    HICON icon = static_cast<HICON>(::LoadImageW(module_, MAKEINTRESOURCEW(IDI_KORVANE), IMAGE_ICON, size, size, 0));
    EXPECT_NE(icon, nullptr) << size;
    if (icon != nullptr) ::DestroyIcon(icon);
  }
}

}  // namespace
}  // namespace quencfg
