// Mapping modes: the logical-to-device mapping with extents (isotropic units kept square), and
// figures, fills, lines, pixels and clip rectangles drawn through it.

#include <gtest/gtest.h>

#include "tests/platform/gdi/GdiTestSupport.h"

namespace kestrel::platform {
namespace {

using testing::Canvas;
using testing::kBlack;
using testing::kRed;
using testing::kWhite;
using testing::Tools;

TEST(Mapping, ExtentsScaleAndRoundBothWays) {
  Canvas c(4, 4);
  // MM_TEXT ignores extents.
  EXPECT_TRUE(SetWindowExtEx(c.dc, 100, 100, nullptr));
  POINT p{7, 8};
  LPtoDP(c.dc, &p, 1);
  EXPECT_EQ(7, p.x);

  EXPECT_EQ(MM_TEXT, SetMapMode(c.dc, MM_ANISOTROPIC));
  SetWindowExtEx(c.dc, 100, 100, nullptr);
  SetViewportExtEx(c.dc, 200, -50, nullptr);
  SetWindowOrgEx(c.dc, 10, 0, nullptr);
  SetViewportOrgEx(c.dc, 5, 100, nullptr);
  POINT points[] = {{60, 20}, {1, 1}};
  ASSERT_TRUE(LPtoDP(c.dc, points, 2));
  EXPECT_EQ(105, points[0].x);  // (60 - 10) * 2 + 5
  EXPECT_EQ(90, points[0].y);   // 20 * -0.5 + 100
  EXPECT_EQ(-13, points[1].x);
  EXPECT_EQ(99, points[1].y);  // -0.5 rounds away from zero
  ASSERT_TRUE(DPtoLP(c.dc, points, 1));
  EXPECT_EQ(60, points[0].x);
  EXPECT_EQ(20, points[0].y);
  EXPECT_FALSE(SetViewportExtEx(c.dc, 0, 5, nullptr));

  // Isotropic: the larger scale shrinks to the smaller, signs kept.
  Canvas iso(4, 4);
  SetMapMode(iso.dc, MM_ISOTROPIC);
  SetWindowExtEx(iso.dc, 100, 100, nullptr);
  SetViewportExtEx(iso.dc, 300, -150, nullptr);
  SIZE adjusted{};
  SetViewportExtEx(iso.dc, 300, -150, &adjusted);
  EXPECT_EQ(150, adjusted.cx);
  EXPECT_EQ(-150, adjusted.cy);
  POINT q{10, 10};
  LPtoDP(iso.dc, &q, 1);
  EXPECT_EQ(15, q.x);
  EXPECT_EQ(-15, q.y);
  // Back to MM_TEXT, the extents are 1:1 again.
  SetMapMode(iso.dc, MM_TEXT);
  q = {10, 10};
  LPtoDP(iso.dc, &q, 1);
  EXPECT_EQ(10, q.x);
  EXPECT_EQ(10, q.y);
}

// Doubles logical units on both axes.
void DoubleScale(HDC dc) {
  SetMapMode(dc, MM_ANISOTROPIC);
  SetWindowExtEx(dc, 1, 1, nullptr);
  SetViewportExtEx(dc, 2, 2, nullptr);
}

TEST(Mapping, FiguresLinesAndPixelsAreDrawnInDevicePixels) {
  Canvas c(12, 10);
  DoubleScale(c.dc);
  {
    Tools tools(c.dc, CreatePen(PS_SOLID, 1, kBlack), CreateSolidBrush(kRed));
    ASSERT_TRUE(Rectangle(c.dc, 1, 1, 5, 4));  // device [2, 10) × [2, 8), a one-pixel outline
  }
  EXPECT_EQ(c.Mask({0, 0, 12, 10}, kBlack),
            "............|............|..########..|..#......#..|..#......#..|..#......#..|"
            "..#......#..|..########..|............|............");
  EXPECT_EQ(6 * 4, c.Count(kRed)) << "the inside, device [3, 9) × [3, 7)";

  Canvas lines(12, 4);
  DoubleScale(lines.dc);
  MoveToEx(lines.dc, 0, 0, nullptr);
  LineTo(lines.dc, 5, 0);  // device 0..9, the end left out
  SetPixel(lines.dc, 3, 1, kRed);
  EXPECT_EQ(lines.Mask({0, 0, 12, 1}, kBlack), "##########..");
  EXPECT_EQ(kRed, lines.At(6, 2));
  EXPECT_EQ(1, lines.Count(kRed));  // a pixel stays one device pixel

  // An ellipse keeps its symmetry at the device's resolution.
  Canvas e(20, 12);
  DoubleScale(e.dc);
  {
    Tools tools(e.dc, CreatePen(PS_SOLID, 1, kBlack), CreateSolidBrush(kRed));
    Ellipse(e.dc, 0, 0, 10, 6);
  }
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 20; ++x) ASSERT_EQ(e.At(x, y), e.At(19 - x, 11 - y)) << x << "," << y;
  EXPECT_EQ(kBlack, e.At(0, 6));
  EXPECT_EQ(kWhite, e.At(1, 1));
}

TEST(Mapping, MirroredAxesAndClipRectangles) {
  // x mirrored about device 20: logical [2, 6) covers device [14, 18).
  Canvas m(24, 4);
  SetMapMode(m.dc, MM_ANISOTROPIC);
  SetViewportExtEx(m.dc, -1, 1, nullptr);
  SetViewportOrgEx(m.dc, 20, 0, nullptr);
  RECT r{2, 0, 6, 2};
  HBRUSH red = CreateSolidBrush(kRed);
  FillRect(m.dc, &r, red);
  EXPECT_EQ(m.Mask({0, 0, 24, 1}, kRed), "..............####......");

  // A clip rectangle in logical units covers its device pixels, and reads back in logical units.
  Canvas c(12, 12);
  DoubleScale(c.dc);
  IntersectClipRect(c.dc, 1, 1, 3, 3);
  RECT box{};
  GetClipBox(c.dc, &box);
  EXPECT_EQ(1, box.left);
  EXPECT_EQ(3, box.bottom);
  RECT all{0, 0, 6, 6};
  FillRect(c.dc, &all, red);
  EXPECT_EQ(16, c.Count(kRed));
  EXPECT_EQ(kRed, c.At(2, 2));
  EXPECT_EQ(kRed, c.At(5, 5));
  DeleteObject(red);
}

TEST(Mapping, BlitsStretchThroughTheMapping) {
  Canvas source(2, 2);
  SetPixel(source.dc, 0, 0, kRed);
  SetPixel(source.dc, 1, 1, kBlack);
  Canvas dest(8, 8);
  DoubleScale(dest.dc);
  ASSERT_TRUE(BitBlt(dest.dc, 1, 1, 2, 2, source.dc, 0, 0, SRCCOPY));  // device [2, 6)
  EXPECT_EQ(4, dest.Count(kRed));
  EXPECT_EQ(kRed, dest.At(3, 3));
  EXPECT_EQ(kBlack, dest.At(4, 4));
  EXPECT_EQ(kBlack, dest.At(5, 5));
  EXPECT_EQ(kWhite, dest.At(6, 6));
  EXPECT_EQ(kWhite, dest.At(1, 1));
  // PatBlt covers the mapped rectangle.
  Canvas pat(8, 8, kWhite);
  DoubleScale(pat.dc);
  ASSERT_TRUE(PatBlt(pat.dc, 0, 0, 3, 1, BLACKNESS));
  EXPECT_EQ(6 * 2, pat.Count(kBlack));
}

}  // namespace
}  // namespace kestrel::platform
