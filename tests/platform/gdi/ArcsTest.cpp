// Arcs, pies and chords: which part of the ellipse each direction takes, agreement with Ellipse's
// outline, fills, current positions, and bad input.

#include <gtest/gtest.h>

#include <cmath>

#include "tests/platform/gdi/GdiTestSupport.h"
#include "tests/support/GoldenImage.h"

namespace kestrel::platform {
namespace {

using testing::Canvas;
using testing::kBlack;
using testing::kRed;
using testing::kWhite;
using testing::Tools;

// Black pixels strictly inside the quadrant left/right (sx) and above/below (sy) of (cx, cy).
int InQuadrant(const Canvas& c, int cx, int cy, int sx, int sy, int size) {
  int n = 0;
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) n += c.At(x, y) == kBlack && (x - cx) * sx > 0 && (y - cy) * sy > 0;
  return n;
}

TEST(Arcs, DirectionChoosesTheSideAndTheCurveFollowsTheEllipse) {
  // A circle of radius 5 about (5, 5); from the east radial to the north one.
  Canvas ccw(11, 11), cw(11, 11), whole(11, 11);
  EXPECT_EQ(AD_COUNTERCLOCKWISE, GetArcDirection(ccw.dc));
  ASSERT_TRUE(Arc(ccw.dc, 0, 0, 11, 11, 20, 5, 5, -20));
  EXPECT_GT(InQuadrant(ccw, 5, 5, 1, -1, 11), 4);  // the upper right quarter only
  EXPECT_EQ(0, InQuadrant(ccw, 5, 5, -1, -1, 11));
  EXPECT_EQ(0, InQuadrant(ccw, 5, 5, -1, 1, 11));
  EXPECT_EQ(0, InQuadrant(ccw, 5, 5, 1, 1, 11));
  EXPECT_EQ(kBlack, ccw.At(10, 5));

  EXPECT_EQ(AD_COUNTERCLOCKWISE, SetArcDirection(cw.dc, AD_CLOCKWISE));
  ASSERT_TRUE(Arc(cw.dc, 0, 0, 11, 11, 20, 5, 5, -20));
  EXPECT_EQ(0, InQuadrant(cw, 5, 5, 1, -1, 11));  // the other three quarters
  EXPECT_GT(InQuadrant(cw, 5, 5, -1, -1, 11), 4);
  EXPECT_GT(InQuadrant(cw, 5, 5, -1, 1, 11), 4);
  EXPECT_GT(InQuadrant(cw, 5, 5, 1, 1, 11), 4);

  // Equal radials make the whole ellipse: the same pixels as Ellipse's outline.
  {
    Tools tools(whole.dc, CreatePen(PS_SOLID, 1, kBlack), static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)));
    Ellipse(whole.dc, 0, 0, 11, 8);
  }
  Canvas full(11, 11);
  ASSERT_TRUE(Arc(full.dc, 0, 0, 11, 8, 0, 3, 0, 3));
  EXPECT_EQ(whole.Mask({0, 0, 11, 11}, kBlack), full.Mask({0, 0, 11, 11}, kBlack));
}

TEST(Arcs, PiesAndChordsFillTheirPart) {
  Canvas pie(21, 21), chord(21, 21);
  {
    Tools tools(pie.dc, CreatePen(PS_SOLID, 1, kBlack), CreateSolidBrush(kRed));
    // The lower half, counter-clockwise from west to east (through the south).
    ASSERT_TRUE(Pie(pie.dc, 0, 0, 21, 21, -5, 10, 30, 10));
  }
  EXPECT_EQ(kRed, pie.At(10, 15));
  EXPECT_EQ(kWhite, pie.At(10, 5));
  EXPECT_EQ(kBlack, pie.At(10, 10));  // the radii meet at the centre
  EXPECT_EQ(kBlack, pie.At(10, 20));
  EXPECT_EQ(kWhite, pie.At(10, 0));
  {
    Tools tools(chord.dc, CreatePen(PS_SOLID, 1, kBlack), CreateSolidBrush(kRed));
    // The upper right quarter's chord: the segment beyond the line from east to north.
    ASSERT_TRUE(Chord(chord.dc, 0, 0, 21, 21, 30, 10, 10, -30));
  }
  EXPECT_EQ(kRed, chord.At(16, 5));
  EXPECT_EQ(kBlack, chord.At(15, 5));  // on the chord
  EXPECT_EQ(kWhite, chord.At(7, 7));   // the centre side of the chord stays empty
  EXPECT_EQ(kWhite, chord.At(5, 15));
  int red = chord.Count(kRed);
  EXPECT_GT(red, 10);
  EXPECT_LT(red, 40);
}

TEST(Arcs, ArcToAndAngleArcDrawFromAndMoveTheCurrentPosition) {
  Canvas c(30, 30);
  MoveToEx(c.dc, 0, 10, nullptr);
  ASSERT_TRUE(AngleArc(c.dc, 15, 10, 5, 0, 90));  // line to (20, 10), quarter up to (15, 5)
  EXPECT_EQ(kBlack, c.At(5, 10));
  EXPECT_EQ(kBlack, c.At(20, 10));
  POINT at;
  GetCurrentPositionEx(c.dc, &at);
  EXPECT_EQ(15, at.x);
  EXPECT_EQ(5, at.y);
  // Negative sweeps turn clockwise, whatever the arc direction says; more than a turn ends
  // where the remainder does.
  SetArcDirection(c.dc, AD_CLOCKWISE);
  ASSERT_TRUE(AngleArc(c.dc, 15, 20, 5, 90, -450));
  GetCurrentPositionEx(c.dc, &at);
  EXPECT_EQ(20, at.x);
  EXPECT_EQ(20, at.y);

  Canvas to(30, 30);
  MoveToEx(to.dc, 0, 0, nullptr);
  ASSERT_TRUE(ArcTo(to.dc, 10, 10, 21, 21, 30, 15, 15, 30));  // east, then counter-clockwise to south
  GetCurrentPositionEx(to.dc, &at);
  EXPECT_EQ(15, at.x);
  EXPECT_EQ(20, at.y);
  EXPECT_EQ(kBlack, to.At(8, 6));    // the line from the old position
  EXPECT_EQ(kBlack, to.At(15, 10));  // the arc passes the north
}

TEST(Arcs, DirectionIsSavedAndBadInputFails) {
  Canvas c(10, 10);
  const int saved = SaveDC(c.dc);
  SetArcDirection(c.dc, AD_CLOCKWISE);
  RestoreDC(c.dc, saved);
  EXPECT_EQ(AD_COUNTERCLOCKWISE, GetArcDirection(c.dc));
  EXPECT_EQ(0, SetArcDirection(c.dc, 3));
  EXPECT_EQ(AD_COUNTERCLOCKWISE, GetArcDirection(c.dc));
  EXPECT_FALSE(AngleArc(c.dc, 5, 5, 3, NAN, 90));
  EXPECT_FALSE(AngleArc(c.dc, 5, 5, 0xFFFFFFFFu, 0, 90));
  EXPECT_EQ(10 * 10, c.Count(kWhite));
  // Huge boxes draw what is visible and return.
  EXPECT_TRUE(Pie(c.dc, -(1 << 30), -(1 << 30), 1 << 30, 1 << 30, 0, -5, 5, 0));
  HDC gone = CreateCompatibleDC(nullptr);
  DeleteDC(gone);
  EXPECT_FALSE(Arc(gone, 0, 0, 5, 5, 0, 0, 0, 0));
  EXPECT_EQ(0, GetArcDirection(gone));
}

TEST(Arcs, SheetOfArcsPiesAndChordsMatchesTheGolden) {
  Canvas c(160, 60);
  {
    Tools tools(c.dc, CreatePen(PS_SOLID, 1, RGB(0, 0, 128)), CreateSolidBrush(RGB(255, 200, 0)));
    Pie(c.dc, 5, 5, 55, 55, 55, 0, 55, 55);  // a pie with a quarter cut out
    Chord(c.dc, 60, 5, 110, 40, 60, 5, 110, 40);
  }
  {
    Tools tools(c.dc, CreatePen(PS_SOLID, 3, RGB(200, 0, 0)), static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)));
    SetArcDirection(c.dc, AD_CLOCKWISE);
    Arc(c.dc, 115, 5, 155, 55, 155, 30, 135, 55);
    MoveToEx(c.dc, 62, 55, nullptr);
    AngleArc(c.dc, 85, 50, 8, 180, -180);
  }
  EXPECT_TRUE(kestrel::testing::MatchesGolden(c.Surface(), "platform_gdi_arcs", {0, 0}));
}

}  // namespace
}  // namespace kestrel::platform
