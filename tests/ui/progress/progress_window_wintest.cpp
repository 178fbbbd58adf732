// The progress thread and its window as the device thread drives them: thread
// messages in, pixels and window state out.
#include "quencfg/device/progress_thread_win.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "quencfg/framework/folders.h"
#include "quencfg/framework/gdi_win.h"
#include "quencfg/framework/messages.h"
#include "quencfg/framework/wide_win.h"
#include "quencfg/ui/progress/progress_dlg_win.h"
#include "quencfg/ui/progress/progress_window_thread_win.h"
#include "quencfg/ui/skin/skin_documents.h"
#include "quencfg/ui/skin/skin_bitmap_win.h"
#include "quencfg/ui/skin/skin_picture_win.h"
#include "quencfg/ui/skin/skins_folder_win.h"
#include "support/gdiplus_session_win.h"
#include "support/screenshot_win.h"
#include "support/temp_folder.h"

namespace quencfg {
namespace {

constexpr DWORD kWaitMs = 10000;
constexpr int kWidth = 750;
constexpr int kHeight = 150;

bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs = kWaitMs) {
  const DWORD start = ::GetTickCount();
  while (!done()) {
    if (::GetTickCount() - start > timeoutMs) return false;
    ::Sleep(2);
  }
  return true;
}

COLORREF PixelOf(const SkinBitmap& bitmap, int x, int y) {
  WindowDc screen(nullptr);
  MemoryDc memory(screen.get());
  SelectScope select(memory.get(), bitmap.get());
  return ::GetPixel(memory.get(), x, y);
}

// What the window shows at one point right now; CLR_INVALID when it is gone. Found by
// its title, since the progress thread may free the window object at any moment.
COLORREF ShownPixel(int x, int y) {
  HWND window = ::FindWindowW(nullptr, kProgressWindowTitle);
  if (window == nullptr) return CLR_INVALID;
  WindowDc dc(window);
  return dc.get() != nullptr ? ::GetPixel(dc.get(), x, y) : CLR_INVALID;
}

// The window object behind the progress window shown now, or null.
CProgressDlg* CurrentProgressWindow() {
  return static_cast<CProgressDlg*>(Window::FromHandle(::FindWindowW(nullptr, kProgressWindowTitle)));
}

// Points below the caption, on both sides of the half-way mark.
const std::vector<int> kSampleColumns = {2, 100, 300, 372, 378, 450, 600, 747};
constexpr int kSampleRow = 140;

class ProgressWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    savedAppFolder_ = AppFolder();
    ASSERT_TRUE(SetAppFolder(ToU16(KORVANE_TEST_APP_DIR)));
    StringDocument().Load(LanguagesFilePath(u"EN\\Strings.xml"));
    background_ = LoadPicture(SkinsFolder() + u"updatebar_n.jpg");
    filled_ = LoadPicture(SkinsFolder() + u"updatebar_o.jpg");
    ASSERT_FALSE(background_.empty());
    ASSERT_FALSE(filled_.empty());
    ASSERT_NE(PixelOf(background_, 10, kSampleRow), PixelOf(filled_, 10, kSampleRow)) << "the test needs a difference";
    thread_ = StartProgressThread(&ProgressThreadMain);
    ASSERT_TRUE(thread_.handle);
  }

  void TearDown() override {
    StopProgressThread(thread_);
    StringDocument().Load(u"");
    SetAppFolder(savedAppFolder_);
  }

  static void Post(UINT message, WPARAM wParam = 0) {
    ASSERT_TRUE(::PostThreadMessageW(ProgressThreadId(), message, wParam, 0));
  }

  static bool WaitForPosition(int position) {
    return WaitFor([position] {
      CProgressDlg* window = CurrentProgressWindow();
      return window != nullptr && window->Marker().Position() == position;
    });
  }

  void Open() {
    Post(UM_PROGRESSOPEN);
    ASSERT_TRUE(WaitFor([] {
      CProgressDlg* window = CurrentProgressWindow();
      return window != nullptr && ::IsWindowVisible(window->hwnd());
    }));
  }

  // The sample row as the window should show it with `fill` pixels filled.
  std::vector<COLORREF> Expected(int fill) const {
    std::vector<COLORREF> row;
    for (int x : kSampleColumns) row.push_back(PixelOf(x < fill ? filled_ : background_, x, kSampleRow));
    return row;
  }
  static std::vector<COLORREF> Shown() {
    std::vector<COLORREF> row;
    for (int x : kSampleColumns) row.push_back(ShownPixel(x, kSampleRow));
    return row;
  }
  // Waits until the window shows the fill (painting follows the position closely).
  ::testing::AssertionResult ShowsFill(int fill) const {
    const std::vector<COLORREF> expected = Expected(fill);
    if (WaitFor([&] { return Shown() == expected; }, 3000)) return ::testing::AssertionSuccess();
    auto failure = ::testing::AssertionFailure() << "at fill " << fill << ":";
    const std::vector<COLORREF> shown = Shown();
    for (std::size_t i = 0; i < shown.size(); ++i) {
      failure << " x=" << kSampleColumns[i] << " shown " << std::hex << shown[i] << " wanted " << expected[i]
              << std::dec;
    }
    return failure;
  }

  SkinBitmap background_;
  SkinBitmap filled_;
  StartedThread thread_;
  std::u16string savedAppFolder_;
};

TEST_F(ProgressWindowTest, OpensAtZeroCentredOnTheScreen) {
  Open();
  HWND window = CurrentProgressWindow()->hwnd();
  wchar_t title[32] = {};
  ::GetWindowTextW(window, title, 32);
  EXPECT_STREQ(title, L"Loading");
  RECT frame{};
  ::GetWindowRect(window, &frame);
  EXPECT_EQ(frame.right - frame.left, kWidth);
  EXPECT_EQ(frame.bottom - frame.top, kHeight);
  RECT work{};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_NEAR((frame.left + frame.right) / 2, (work.left + work.right) / 2, 1);
  EXPECT_NEAR((frame.top + frame.bottom) / 2, (work.top + work.bottom) / 2, 1);
  EXPECT_TRUE(::GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(::GetWindowLongW(window, GWL_STYLE) & WS_CAPTION, 0);
  EXPECT_EQ(CurrentProgressWindow()->Marker().Position(), 0);
  EXPECT_TRUE(ShowsFill(0));
}

TEST_F(ProgressWindowTest, PositionFiftyShowsTheFilledImageUpToHalfTheWidth) {
  Open();
  Post(UM_PROGRESSPOS, 50);
  ASSERT_TRUE(WaitForPosition(50));
  EXPECT_TRUE(ShowsFill(kWidth / 2));

  // The loading text, light on the dark background, inside its rectangle.
  int light = 0;
  for (int y = 60; y < 105; y += 2) {
    for (int x = 175; x < 575; x += 2) {
      const COLORREF pixel = ShownPixel(x, y);
      if (GetRValue(pixel) > 0xA0 && GetGValue(pixel) > 0xA0 && GetBValue(pixel) > 0xA0) ++light;
    }
  }
  EXPECT_GT(light, 20) << "the caption is drawn";
  testing::GdiplusSession gdiplus;
  EXPECT_TRUE(testing::SaveScreen(u"progress-50.png"));

  Post(UM_PROGRESSPOS, 20);  // the bar may step back
  ASSERT_TRUE(WaitForPosition(20));
  EXPECT_TRUE(ShowsFill(kWidth * 20 / 100));
}

TEST_F(ProgressWindowTest, PositionOutsideTheRangeShowsZero) {
  Open();
  Post(UM_PROGRESSPOS, 60);
  ASSERT_TRUE(WaitForPosition(60));
  Post(UM_PROGRESSPOS, 150);
  ASSERT_TRUE(WaitForPosition(0));
  EXPECT_TRUE(ShowsFill(0));
  Post(UM_PROGRESSPOS, static_cast<WPARAM>(-1));
  Post(UM_PROGRESSPOS, 100);
  ASSERT_TRUE(WaitForPosition(100));
  EXPECT_TRUE(ShowsFill(kWidth));
}

TEST_F(ProgressWindowTest, CloseShowsTheFullBarBeforeTheWindowGoes) {
  Open();
  Post(UM_PROGRESSPOS, 30);
  ASSERT_TRUE(WaitForPosition(30));
  const COLORREF full = PixelOf(filled_, kSampleColumns.back(), kSampleRow);
  Post(UM_PROGRESSCLOSE);
  bool sawFull = false;
  ASSERT_TRUE(WaitFor([&] {
    sawFull = sawFull || ShownPixel(kSampleColumns.back(), kSampleRow) == full;
    return ::FindWindowW(nullptr, kProgressWindowTitle) == nullptr;
  }));
  EXPECT_TRUE(sawFull) << "position 100 was on screen while the window waited";
  EXPECT_TRUE(WaitFor([] { return CurrentProgressWindow() == nullptr; }));
}

TEST_F(ProgressWindowTest, MessagesWithoutAWindowAreIgnored) {
  Post(UM_PROGRESSPOS, 50);
  Post(UM_PROGRESSCLOSE);
  Post(UM_PROGRESSOPEN);
  ASSERT_TRUE(WaitFor([] { return CurrentProgressWindow() != nullptr; }));
  EXPECT_EQ(CurrentProgressWindow()->Marker().Position(), 0) << "the earlier position did not stick";
}

TEST_F(ProgressWindowTest, InputNeitherClosesNorMovesTheWindow) {
  Open();
  CProgressDlg* window = CurrentProgressWindow();
  const HWND targets[] = {window->hwnd(), ::GetDlgItem(window->hwnd(), kProgressBarId)};
  ASSERT_NE(targets[1], nullptr) << "the bar is a child with its identifier";
  RECT before{};
  ::GetWindowRect(targets[0], &before);
  for (HWND target : targets) {
    for (WPARAM key : {VK_RETURN, VK_ESCAPE, VK_SPACE}) {
      ::PostMessageW(target, WM_KEYDOWN, key, 0);
      ::PostMessageW(target, WM_CHAR, key, 0);
      ::PostMessageW(target, WM_KEYUP, key, 0);
    }
    ::PostMessageW(target, WM_SYSKEYDOWN, VK_F4, 1 << 29);
    ::PostMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    ::PostMessageW(target, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(200, 100));
    ::PostMessageW(target, WM_LBUTTONUP, 0, MAKELPARAM(200, 100));
    ::PostMessageW(target, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(before.left + 10, before.top + 10));
    ::PostMessageW(target, WM_SYSCOMMAND, SC_CLOSE, 0);
    ::PostMessageW(target, WM_SYSCOMMAND, SC_MOVE, 0);
    ::PostMessageW(target, WM_CLOSE, 0, 0);
  }
  // Served in order: once this position shows, the input before it was handled.
  Post(UM_PROGRESSPOS, 10);
  ASSERT_TRUE(WaitForPosition(10));
  EXPECT_EQ(CurrentProgressWindow(), window);
  EXPECT_TRUE(::IsWindowVisible(targets[0]));
  RECT after{};
  ::GetWindowRect(targets[0], &after);
  EXPECT_TRUE(::EqualRect(&before, &after));
}

TEST_F(ProgressWindowTest, MissingSkinImagesStillGiveAWorkingBar) {
  testing::TempFolder empty;
  ASSERT_TRUE(SetAppFolder(empty.path()));
  Open();
  RECT frame{};
  ::GetWindowRect(CurrentProgressWindow()->hwnd(), &frame);
  EXPECT_EQ(frame.right - frame.left, kWidth);
  EXPECT_EQ(frame.bottom - frame.top, kHeight);
  Post(UM_PROGRESSPOS, 50);
  ASSERT_TRUE(WaitForPosition(50));
  EXPECT_TRUE(WaitFor([] { return ShownPixel(10, kSampleRow) != ShownPixel(700, kSampleRow); }, 3000))
      << "the filled half differs from the empty half";
}

}  // namespace
}  // namespace quencfg
