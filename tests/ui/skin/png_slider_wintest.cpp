// The slider on a real window: the position table, drag and wheel messages, drawing.
#include "quencfg/ui/skin/png_slider_win.h"

#include <gtest/gtest.h>

#include "control_host_win.h"

namespace quencfg {
namespace {

using testing::ControlHost;
using testing::Drawing;
using testing::PumpMessages;
using testing::SendMouse;

constexpr int kIdentifier = 10001;
constexpr RECT kRect{10, 40, 230, 68};  // 220 wide
constexpr COLORREF kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0), kBlue = RGB(0, 0, 255);

class Slider : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(host.Make());
    ASSERT_TRUE(slider.Create(kRect, host.hwnd(), kIdentifier));
    StateImages thumb = testing::SolidStates(20, 10, kBlue, kBlue, kBlue, kBlue);
    slider.SetThumbImages(thumb, false);
    const SkinBitmap normal = testing::SolidImage(220, 28, kRed);
    const SkinBitmap active = testing::SolidImage(220, 28, kGreen);
    const SkinBitmap disabled = testing::SolidImage(220, 28, RGB(90, 90, 90));
    slider.SetBarImages(kRect, normal.get(), active.get(), disabled.get());
    slider.SetRange(0, 4);
  }
  // Positions posted to the host, in order.
  std::vector<int> Posted() {
    PumpMessages();
    std::vector<int> positions;
    for (const auto& r : host.Of(kSliderMovedMessage)) {
      EXPECT_EQ(r.lParam, kIdentifier);
      positions.push_back(static_cast<int>(r.wParam));
    }
    host.Clear();
    return positions;
  }
  void ClickAt(int clientX) {
    SendMouse(slider.hwnd(), WM_LBUTTONDOWN, clientX, 5, MK_LBUTTON);
    SendMouse(slider.hwnd(), WM_LBUTTONUP, clientX, 5);
  }

  ControlHost host;
  CPngHSliderBar slider;
};

TEST_F(Slider, ClicksGiveThePositionTable) {
  struct Case {
    int clientX;  // parent x minus the slider's left edge
    int position;
  };
  const Case cases[] = {{10 + 24, 0}, {10 + 25, 1}, {10 + 9, 0}, {220, 4}, {10 + 100, 2}, {-50, 0}, {500, 4}};
  for (const Case& c : cases) {
    ClickAt(c.clientX);
    EXPECT_EQ(Posted(), std::vector<int>{c.position}) << "x " << c.clientX;
  }
  EXPECT_EQ(slider.position(), 0) << "the slider never moves by itself";
  EXPECT_NE(::GetCapture(), slider.hwnd());
}

TEST_F(Slider, DraggingPostsOnlyChanges) {
  slider.SetPos(1);
  SendMouse(slider.hwnd(), WM_LBUTTONDOWN, 60, 5, MK_LBUTTON);
  EXPECT_TRUE(slider.dragging());
  SendMouse(slider.hwnd(), WM_MOUSEMOVE, 62, 5, MK_LBUTTON);   // still position 1
  SendMouse(slider.hwnd(), WM_MOUSEMOVE, 120, 5, MK_LBUTTON);  // position 2
  SendMouse(slider.hwnd(), WM_LBUTTONUP, 120, 5);
  EXPECT_EQ(Posted(), (std::vector<int>{2, 2}));
  EXPECT_FALSE(slider.dragging());
}

TEST_F(Slider, WheelPostsTheNextPositionWithinTheRange) {
  slider.SetPos(4);
  ::SendMessageW(slider.hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
  ::SendMessageW(slider.hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), 0);
  EXPECT_EQ(Posted(), (std::vector<int>{4, 3}));
  EXPECT_EQ(slider.position(), 4);
}

TEST_F(Slider, SetPosPostsNothingAndRangeClampsThePosition) {
  slider.SetPos(3);
  EXPECT_TRUE(Posted().empty());
  slider.SetRange(0, 2);
  EXPECT_EQ(slider.position(), 2);
  ::SendMessageW(slider.hwnd(), kSliderMovedMessage, 7, 0);  // forwarded with the identifier
  EXPECT_EQ(Posted(), std::vector<int>{7});
}

TEST_F(Slider, HoverFollowsTheMouse) {
  ::SetActiveWindow(host.hwnd());
  SendMouse(slider.hwnd(), WM_MOUSEMOVE, 30, 5);
  EXPECT_TRUE(slider.hovering());
  EXPECT_EQ(::GetCapture(), slider.hwnd());
  SendMouse(slider.hwnd(), WM_MOUSEMOVE, 30, 200);  // over the host below it
  EXPECT_FALSE(slider.hovering());
  EXPECT_NE(::GetCapture(), slider.hwnd());
  EXPECT_TRUE(Posted().empty()) << "hovering moves nothing";
}

TEST_F(Slider, EqualMinimumAndMaximumStillWork) {
  slider.SetRange(3, 3);
  ClickAt(150);
  ::SendMessageW(slider.hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
  EXPECT_EQ(Posted(), (std::vector<int>{3, 3}));
  const Drawing drawn(slider.hwnd());
  EXPECT_EQ(drawn.At(5, 25), kBlue) << "the thumb stands at the left";
}

TEST_F(Slider, DrawsBarsAroundTheThumb) {
  slider.SetPos(2);  // thumb at 100..119, centre 110
  const Drawing drawn(slider.hwnd());
  EXPECT_EQ(drawn.At(50, 5), kGreen) << "filled up to the thumb's centre";
  EXPECT_EQ(drawn.At(150, 5), kRed);
  EXPECT_EQ(drawn.At(110, 25), kBlue) << "thumb at the bottom";
  EXPECT_EQ(drawn.At(105, 5), kGreen) << "above the thumb, left of its centre: the filled bar";
  EXPECT_EQ(drawn.At(115, 5), kRed) << "beyond the centre: the unfilled bar";
  ::EnableWindow(slider.hwnd(), FALSE);
  EXPECT_EQ(Drawing(slider.hwnd()).At(50, 5), RGB(90, 90, 90));
}

}  // namespace
}  // namespace quencfg
