// The skinned buttons on real windows: commands from mouse sequences, drawn states,
// recolored color buttons.
#include <gtest/gtest.h>

#include <memory>

#include "control_host_win.h"
#include "quencfg/ui/skin/bitmap_btn_win.h"
#include "quencfg/ui/skin/color_btn_win.h"

namespace quencfg {
namespace {

using testing::Click;
using testing::ControlHost;
using testing::Drawing;
using testing::PumpMessages;
using testing::SendMouse;

constexpr int kWidth = 60;
constexpr int kHeight = 30;
constexpr COLORREF kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0), kBlue = RGB(0, 0, 255);
constexpr COLORREF kGrey = RGB(128, 128, 128), kYellow = RGB(255, 255, 0);

std::uint32_t g_fakeTick = 0;
std::uint32_t FakeTick() { return g_fakeTick; }

template <typename Button>
class ButtonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(host.Make());
    ASSERT_TRUE(button.Create(host.hwnd()));
    ::MoveWindow(button.hwnd(), 20, 20, kWidth, kHeight, TRUE);
    ::ShowWindow(button.hwnd(), SW_SHOW);
    ::UpdateWindow(host.hwnd());
    g_fakeTick = 100000;
    button.SetTickSource(&FakeTick);
  }
  std::vector<WORD> Codes() const {
    std::vector<WORD> codes;
    for (const auto& r : host.Of(WM_COMMAND)) {
      EXPECT_EQ(reinterpret_cast<HWND>(r.lParam), button.hwnd());
      EXPECT_EQ(LOWORD(r.wParam), 1001);
      codes.push_back(HIWORD(r.wParam));
    }
    return codes;
  }

  ControlHost host;
  Button button;
};

using PngButton = ButtonTest<CPngListBtn>;
using ListButton = ButtonTest<CBitmapListBtn>;
using ColorButton = ButtonTest<CColorBtn2>;

TEST_F(PngButton, ClicksInsideButNotWhenReleasedOutside) {
  Click(button.hwnd(), 5, 5);
  EXPECT_EQ(Codes(), (std::vector<WORD>{BN_CLICKED}));
  host.Clear();
  // Press, move off the button with the button held, release outside: no click.
  SendMouse(button.hwnd(), WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
  SendMouse(button.hwnd(), WM_MOUSEMOVE, -40, -40, MK_LBUTTON);
  EXPECT_FALSE(button.pushed());
  EXPECT_EQ(::GetCapture(), button.hwnd()) << "the capture is kept while the button is held";
  SendMouse(button.hwnd(), WM_LBUTTONUP, -40, -40);
  EXPECT_TRUE(Codes().empty());
  EXPECT_NE(::GetCapture(), button.hwnd());
  EXPECT_FALSE(button.hovering());
  // Off and back on before letting go: a click after all.
  SendMouse(button.hwnd(), WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
  SendMouse(button.hwnd(), WM_MOUSEMOVE, kWidth + 5, 5, MK_LBUTTON);
  SendMouse(button.hwnd(), WM_MOUSEMOVE, 5, 5, MK_LBUTTON);
  SendMouse(button.hwnd(), WM_LBUTTONUP, 5, 5);
  EXPECT_EQ(Codes(), (std::vector<WORD>{BN_CLICKED}));
  ::ReleaseCapture();
}

// Every kind of skinned button: a release outside, just past each edge, sends nothing.
template <typename Button>
void ExpectNoCommandForReleasesOutside(ControlHost& host, Button& button) {
  const POINT outside[] = {{-1, 5}, {kWidth, 5}, {5, -1}, {5, kHeight}};
  for (const POINT at : outside) {
    SendMouse(button.hwnd(), WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
    SendMouse(button.hwnd(), WM_LBUTTONUP, at.x, at.y);
    ::ReleaseCapture();
  }
  EXPECT_TRUE(host.Of(WM_COMMAND).empty());
}

TEST_F(PngButton, ReleaseJustOutsideAnEdgeSendsNothing) { ExpectNoCommandForReleasesOutside(host, button); }
TEST_F(ListButton, ReleaseJustOutsideAnEdgeSendsNothing) { ExpectNoCommandForReleasesOutside(host, button); }
TEST_F(ColorButton, ReleaseJustOutsideAnEdgeSendsNothing) { ExpectNoCommandForReleasesOutside(host, button); }

TEST_F(PngButton, ReleaseWithoutPressSendsNothing) {
  SendMouse(button.hwnd(), WM_LBUTTONUP, 5, 5);
  EXPECT_TRUE(Codes().empty());
}

TEST_F(PngButton, DoubleClickIsTwoClicks) {
  SendMouse(button.hwnd(), WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
  SendMouse(button.hwnd(), WM_LBUTTONUP, 5, 5);
  SendMouse(button.hwnd(), WM_LBUTTONDBLCLK, 5, 5, MK_LBUTTON);
  SendMouse(button.hwnd(), WM_LBUTTONUP, 5, 5);
  EXPECT_EQ(Codes(), (std::vector<WORD>{BN_CLICKED, BN_CLICKED}));
}

TEST_F(ListButton, DoubleClickIsAnsweredWithDoubleClickedUnlessInTheSameTick) {
  SendMouse(button.hwnd(), WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
  SendMouse(button.hwnd(), WM_LBUTTONUP, 5, 5);
  g_fakeTick += 200;
  SendMouse(button.hwnd(), WM_LBUTTONDBLCLK, 5, 5, MK_LBUTTON);
  SendMouse(button.hwnd(), WM_LBUTTONUP, 5, 5);
  EXPECT_EQ(Codes(), (std::vector<WORD>{BN_CLICKED, BN_DBLCLK}));
  host.Clear();
  SendMouse(button.hwnd(), WM_LBUTTONDBLCLK, 5, 5, MK_LBUTTON);  // same tick as the last command
  EXPECT_TRUE(Codes().empty());
  EXPECT_EQ(button.lastCommandTime(), g_fakeTick);
}

TEST_F(PngButton, HoverTakesTheCaptureAndLeavingGivesItBack) {
  SendMouse(button.hwnd(), WM_MOUSEMOVE, 5, 5);
  EXPECT_TRUE(button.hovering());
  EXPECT_EQ(::GetCapture(), button.hwnd());
  SendMouse(button.hwnd(), WM_MOUSEMOVE, 5 + kWidth, 5);
  EXPECT_FALSE(button.hovering());
  EXPECT_NE(::GetCapture(), button.hwnd());
  // A move with the left button held from elsewhere does not start hovering.
  SendMouse(button.hwnd(), WM_MOUSEMOVE, 5, 5, MK_LBUTTON);
  EXPECT_FALSE(button.hovering());
  SendMouse(button.hwnd(), WM_MOUSEMOVE, 5, 5);
  ::SendMessageW(button.hwnd(), WM_MOUSELEAVE, 0, 0);
  EXPECT_FALSE(button.hovering());
  ::ReleaseCapture();
}

TEST_F(PngButton, WheelPostsLineScrollsToTheParent) {
  ::SendMessageW(button.hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
  ::SendMessageW(button.hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), 0);
  PumpMessages();
  const auto scrolls = host.Of(WM_VSCROLL);
  ASSERT_EQ(scrolls.size(), 2u);
  EXPECT_EQ(scrolls[0].wParam, static_cast<WPARAM>(SB_LINEUP));
  EXPECT_EQ(scrolls[1].wParam, static_cast<WPARAM>(SB_LINEDOWN));
  EXPECT_EQ(scrolls[0].lParam, 0);
}

TEST_F(PngButton, DrawsTheImageOfEachState) {
  StateImages images = testing::SolidStates(kWidth, kHeight, kRed, kGreen, kBlue, kGrey);
  testing::SetPixelOf(images.states[0], 1, 1, 0, 0);        // transparent: the background shows
  testing::SetPixelOf(images.states[0], 3, 1, kRed, 128);   // half transparent red over yellow
  button.SetImages(std::move(images));
  button.SetBackgroundPiece(testing::SolidImage(kWidth, kHeight, kYellow));

  Drawing normal(button.hwnd());
  EXPECT_EQ(normal.At(30, 15), kRed);
  EXPECT_EQ(normal.At(1, 1), kYellow);
  const COLORREF blended = normal.At(3, 1);  // 128 + 255 * 127 / 255, give or take rounding
  EXPECT_NEAR(GetRValue(blended), 255, 2);
  EXPECT_NEAR(GetGValue(blended), 127, 2);
  EXPECT_EQ(GetBValue(blended), 0);

  SendMouse(button.hwnd(), WM_MOUSEMOVE, 5, 5);
  EXPECT_EQ(Drawing(button.hwnd()).At(30, 15), kGreen) << "hovering";
  SendMouse(button.hwnd(), WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
  EXPECT_EQ(Drawing(button.hwnd()).At(30, 15), kBlue) << "pressed";
  SendMouse(button.hwnd(), WM_MOUSEMOVE, -30, 5, MK_LBUTTON);
  EXPECT_EQ(Drawing(button.hwnd()).At(30, 15), kRed) << "held but off the button";
  SendMouse(button.hwnd(), WM_LBUTTONUP, -30, 5);

  button.SetSelected(true);
  SendMouse(button.hwnd(), WM_MOUSEMOVE, 5, 5);
  EXPECT_EQ(Drawing(button.hwnd()).At(30, 15), kBlue) << "selected under the mouse: the pressed image";
  ::EnableWindow(button.hwnd(), FALSE);
  EXPECT_EQ(Drawing(button.hwnd()).At(30, 15), kGrey) << "disabled and selected: the disabled image";
  ::ReleaseCapture();
}

// A button given its place in a window background shared by its buttons shows the same
// pixels as one given its own piece cut at that place.
TEST_F(PngButton, ShowsItsPlaceInASharedBackgroundLikeItsOwnPiece) {
  auto background = std::make_shared<SkinBitmap>(testing::SolidImage(200, 100, kYellow));
  testing::SetPixelOf(*background, 41, 22, kBlue, 255);  // lands on (1, 2) of the button
  StateImages images = testing::SolidStates(kWidth, kHeight, kRed, kGreen, kBlue, kGrey);
  testing::SetPixelOf(images.states[0], 1, 2, 0, 0);  // transparent there
  button.SetImages(std::move(images));

  button.SetBackgroundPlace(background, POINT{40, 20});
  const Drawing shared(button.hwnd());
  EXPECT_EQ(shared.At(1, 2), kBlue);
  EXPECT_EQ(shared.At(30, 15), kRed);

  button.SetBackgroundPiece(CropSkinBitmap(*background, 40, 20, 40 + kWidth, 20 + kHeight));
  const Drawing own(button.hwnd());
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) ASSERT_EQ(own.At(x, y), shared.At(x, y)) << x << "," << y;
  }
  background.reset();  // the button keeps the shared background alive
  button.SetBackgroundPlace(std::make_shared<SkinBitmap>(), POINT{});  // nothing to show: no crash
  Drawing(button.hwnd());
}

TEST_F(PngButton, CaptionIsDrawnInTheStateColor) {
  button.SetImages(testing::SolidStates(kWidth, kHeight, 0, 0, 0, 0));
  button.SetTextColors(kRed, kGreen, kBlue);
  button.SetFontHeight(28);
  button.SetCaption(u"\x2588\x2588\x2588");  // full blocks: the middle is text color
  const auto countOf = [](const Drawing& d, COLORREF color) {
    int n = 0;
    for (int y = 0; y < d.height(); ++y)
      for (int x = 0; x < d.width(); ++x) n += d.At(x, y) == color ? 1 : 0;
    return n;
  };
  EXPECT_GT(countOf(Drawing(button.hwnd()), kRed), 20);
  button.SetSelected(true);
  EXPECT_GT(countOf(Drawing(button.hwnd()), kBlue), 20);
  EXPECT_EQ(countOf(Drawing(button.hwnd()), kRed), 0);
}

TEST_F(PngButton, SameCaptionDoesNotRedraw) {
  button.SetCaption(u"Apply");
  ::UpdateWindow(button.hwnd());
  EXPECT_FALSE(button.SetCaption(u"Apply"));
  EXPECT_FALSE(::GetUpdateRect(button.hwnd(), nullptr, FALSE));
  EXPECT_TRUE(button.SetCaption(u"Apply", 8));
  EXPECT_TRUE(::GetUpdateRect(button.hwnd(), nullptr, FALSE));
}

TEST(CaptionFormat, AlignmentsGiveTheirFormats) {
  EXPECT_EQ(CaptionFormat(0), 0x8024u);
  EXPECT_EQ(CaptionFormat(1), 0x8025u);
  EXPECT_EQ(CaptionFormat(8), 0x802Du);
  EXPECT_EQ(CaptionFormat(2), 0x8026u);
  EXPECT_EQ(CaptionFormat(-1), 0x8026u);
}

TEST_F(ColorButton, TwoClicksWithin500MsSendOneCommand) {
  Click(button.hwnd());
  g_fakeTick += 300;
  Click(button.hwnd());
  EXPECT_EQ(Codes(), (std::vector<WORD>{BN_CLICKED}));
  g_fakeTick += 201;  // 501 ms after the command
  Click(button.hwnd());
  EXPECT_EQ(Codes(), (std::vector<WORD>{BN_CLICKED, BN_CLICKED}));
  host.Clear();
  SendMouse(button.hwnd(), WM_LBUTTONDBLCLK, 2, 2, MK_LBUTTON);  // same tick
  EXPECT_TRUE(Codes().empty());
  g_fakeTick += 1;
  SendMouse(button.hwnd(), WM_LBUTTONDBLCLK, 2, 2, MK_LBUTTON);
  EXPECT_EQ(Codes(), (std::vector<WORD>{BN_DBLCLK}));
  EXPECT_EQ(::SendMessageW(button.hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(button.hwnd()), HTCLIENT), TRUE);
}

// A grey mask: white on the left, black on the right, mid grey in the middle column.
SkinBitmap GreyMask() {
  SkinBitmap mask = testing::SolidImage(kWidth, kHeight, RGB(255, 255, 255));
  for (int y = 0; y < kHeight; ++y) {
    for (int x = kWidth / 2; x < kWidth; ++x) testing::SetPixelOf(mask, x, y, 0, 255);
    testing::SetPixelOf(mask, 10, y, RGB(128, 128, 128), 255);
  }
  return mask;
}

TEST_F(ColorButton, RecolorChainPaintsEveryLinkedButton) {
  CColorBtn2 second;
  ASSERT_TRUE(second.Create(host.hwnd()));
  ::MoveWindow(second.hwnd(), 100, 20, kWidth, kHeight, TRUE);
  const SkinBitmap mask = GreyMask();
  const RECT rect{0, 0, kWidth, kHeight};
  button.LoadImages(mask.get(), mask.get(), rect);
  second.LoadImages(mask.get(), mask.get(), rect);
  button.SetNextLinked(&second);
  second.SetNextLinked(&button);  // a loop ends instead of running forever

  button.RecolorChain(255, 0, 0);
  for (CColorBtn2* b : {&button, &second}) {
    const Drawing d(b->hwnd());
    EXPECT_EQ(d.At(5, 5), kRed);
    EXPECT_EQ(d.At(50, 5), RGB(0, 0, 0)) << "black turns transparent black";
    EXPECT_EQ(d.At(10, 5), RGB(128, 0, 0));
    EXPECT_EQ(testing::PixelOf(b->shownNormal(), 50, 5), 0u);
    EXPECT_EQ(b->tint().red, 255);
  }
}

TEST_F(ColorButton, RecolorLeavesDarkColorsGreyAndDrawsTheSelectedFrame) {
  const SkinBitmap mask = GreyMask();
  button.LoadImages(mask.get(), mask.get(), RECT{0, 0, kWidth, kHeight});
  button.Recolor(5, 5, 5);
  EXPECT_EQ(Drawing(button.hwnd()).At(5, 5), RGB(255, 255, 255));
  button.Recolor(0, 0, 255);
  EXPECT_EQ(Drawing(button.hwnd()).At(5, 5), kBlue);
  button.SetSelected(true);
  const Drawing selected(button.hwnd());
  EXPECT_EQ(selected.At(0, 0), RGB(255, 255, 255)) << "white frame";
  EXPECT_EQ(selected.At(kWidth - 1, kHeight - 1), RGB(255, 255, 255));
  EXPECT_EQ(selected.At(5, 5), RGB(255, 255, 255)) << "the selected image is not recolored by Recolor";
  EXPECT_EQ(selected.At(50, 5), RGB(0, 0, 0));
}

TEST_F(ColorButton, CutsItsImagesFromAWholeWindowPicture) {
  SkinBitmap picture = testing::SolidImage(200, 100, 0);
  for (int y = 40; y < 40 + kHeight; ++y)
    for (int x = 100; x < 100 + kWidth; ++x) testing::SetPixelOf(picture, x, y, RGB(255, 255, 255), 255);
  button.LoadImages(picture.get(), picture.get(), RECT{100, 40, 100 + kWidth, 40 + kHeight});
  button.RecolorChain(0, 255, 0);
  EXPECT_EQ(Drawing(button.hwnd()).At(kWidth - 1, kHeight - 1), kGreen);
  // A rectangle beyond the picture gives no image, and nothing breaks.
  button.LoadImages(picture.get(), picture.get(), RECT{500, 500, 560, 530});
  button.RecolorChain(0, 255, 0);
  button.Recolor(0, 255, 0);
}

}  // namespace
}  // namespace quencfg
