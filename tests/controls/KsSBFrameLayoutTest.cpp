// Non-client geometry of owner-drawn scroll bars: the 200×150 window below has a 2-pixel edge
// on each side and bars 17 pixels deep.

#include <gtest/gtest.h>

#include "controls/KsSBFrameLayout.h"

namespace kestrel {
namespace {

using platform::POINT;
using platform::RECT;

void ExpectRect(const RECT& r, int l, int t, int rr, int b) {
  EXPECT_EQ(r.left, l);
  EXPECT_EQ(r.top, t);
  EXPECT_EQ(r.right, rr);
  EXPECT_EQ(r.bottom, b);
}

TKsSBFrameInput BothBars(bool leftBar) {
  TKsSBFrameInput in;
  in.proposed = {0, 0, 200, 150};
  in.defaultClient = {2, 2, 198, 148};
  in.hasHorz = in.hasVert = true;
  in.leftScrollBar = leftBar;
  in.horzDepth = in.vertDepth = 17;
  return in;
}

TEST(KsSBFrameLayout, BarsAreCarvedFromTheClientOnEitherSide) {
  TKsSBFrameLayout layout;
  ExpectRect(layout.Calculate(BothBars(false)), 2, 2, 181, 131);
  EXPECT_EQ(layout.cxLeftEdge, 2);
  EXPECT_EQ(layout.cyBottomEdge, 2);
  ExpectRect(layout.HorzRect(), 2, 131, 180, 147);
  ExpectRect(layout.VertRect(), 181, 2, 197, 130);
  ExpectRect(layout.CrossRect(150), 181, 131, 198, 148);

  ExpectRect(layout.Calculate(BothBars(true)), 19, 2, 198, 131);
  ExpectRect(layout.VertRect(), 2, 2, 18, 130);
  ExpectRect(layout.HorzRect(), 19, 131, 197, 147);
  ExpectRect(layout.CrossRect(150), 2, 131, 19, 148);
  EXPECT_EQ(layout.ClientToFrame({0, 0}).x, 19);
}

TEST(KsSBFrameLayout, OneBarOrNoneAndClientsTooSmallForTheBars) {
  TKsSBFrameLayout layout;
  TKsSBFrameInput in = BothBars(true);
  in.hasHorz = false;
  ExpectRect(layout.Calculate(in), 19, 2, 198, 148);
  ExpectRect(layout.HorzRect(), -1, -1, -1, -1);
  ExpectRect(layout.CrossRect(150), -1, -1, -1, -1);
  EXPECT_FALSE(layout.HasHorz());

  in = BothBars(false);
  in.defaultClient = {2, 2, 12, 10};  // narrower and lower than the bars
  RECT client = layout.Calculate(in);
  EXPECT_EQ(client.right - client.left, 0);
  EXPECT_EQ(client.bottom - client.top, 0);
  EXPECT_EQ(layout.VertRect().left, 2);

  layout.Clear();
  ExpectRect(layout.VertRect(), -1, -1, -1, -1);
  EXPECT_EQ(layout.HitTest({5, 5}, 150, true), platform::HTNOWHERE);
}

TEST(KsSBFrameLayout, HitTestFindsBarsAndTheGripOfSizeableForms) {
  TKsSBFrameLayout layout;
  layout.Calculate(BothBars(false));
  EXPECT_EQ(layout.HitTest({100, 140}, 150, false), platform::HTHSCROLL);
  EXPECT_EQ(layout.HitTest({180, 147}, 150, false), platform::HTHSCROLL);  // edges included
  EXPECT_EQ(layout.HitTest({190, 50}, 150, false), platform::HTVSCROLL);
  EXPECT_EQ(layout.HitTest({190, 140}, 150, false), platform::HTNOWHERE);
  EXPECT_EQ(layout.HitTest({190, 140}, 150, true), platform::HTBOTTOMRIGHT);
  EXPECT_EQ(layout.HitTest({190, 131}, 150, true), platform::HTNOWHERE);  // shrunk at the top
  EXPECT_EQ(layout.HitTest({197, 140}, 150, true), platform::HTNOWHERE);  // and at the right
  EXPECT_EQ(layout.HitTest({100, 100}, 150, true), platform::HTNOWHERE);
  layout.Calculate(BothBars(true));
  EXPECT_EQ(layout.HitTest({5, 140}, 150, true), platform::HTBOTTOMLEFT);
  EXPECT_EQ(layout.HitTest({2, 140}, 150, true), platform::HTNOWHERE);  // shrunk at the left
  EXPECT_EQ(layout.HitTest({5, 50}, 150, true), platform::HTVSCROLL);
}

TEST(KsSBFrameLayout, PressedBarKeepsTheMouseFromTheOther) {
  TKsSBFrameLayout layout;
  layout.Calculate(BothBars(false));
  TKsSBMouseRoute overH = layout.Route({100, 140}, 150, false, false);
  EXPECT_TRUE(overH.overHorz && overH.handled);
  EXPECT_FALSE(overH.overVert);
  TKsSBMouseRoute inClient = layout.Route({50, 50}, 150, false, false);
  EXPECT_FALSE(inClient.handled);
  // A drag of the vertical thumb that wanders over the horizontal bar stays with the vertical.
  TKsSBMouseRoute dragging = layout.Route({100, 140}, 150, false, true);
  EXPECT_FALSE(dragging.overHorz);
  EXPECT_TRUE(dragging.handled);
  EXPECT_TRUE(layout.Route({50, 50}, 150, true, false).handled);
}

}  // namespace
}  // namespace kestrel
