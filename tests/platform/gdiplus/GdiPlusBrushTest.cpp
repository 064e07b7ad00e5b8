// Brush colours where the arithmetic pins the value: gradient ends and midpoints (with and
// without gamma), diagonal and angle geometry, path-gradient centres and clamping, hatch
// anchoring, texture tiling and flipping.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <set>

#include "platform/gdiplus/TGPGraphics.h"
#include "platform/gdiplus/TGPHatchBrush.h"
#include "platform/gdiplus/TGPLinearGradientBrush.h"
#include "platform/gdiplus/TGPPathGradientBrush.h"
#include "platform/gdiplus/TGPTextureBrush.h"
#include "tests/platform/gdiplus/GdiPlusTestSupport.h"

namespace kestrel::platform {
namespace {

using testing::Canvas;
using testing::Near;

constexpr ARGB kRed = 0xFFFF0000;
constexpr ARGB kBlue = 0xFF0000FF;
constexpr ARGB kBlack = 0xFF000000;
constexpr ARGB kWhite = 0xFFFFFFFF;

TEST(GdiPlusLinearGradient, EndsAndMidpointWithAndWithoutGamma) {
  // Pixel centres sit on integers, so pixel x of a 100-wide horizontal gradient is t = x / 100.
  Canvas c(101, 2);
  TGPLinearGradientBrush plain({0, 0, 100, 2}, kBlack, kWhite, LinearGradientModeHorizontal);
  ASSERT_EQ(Ok, c.g.FillRectangle(&plain, 0, 0, 100, 1));
  EXPECT_EQ(kBlack, c.At(0, 0));
  EXPECT_TRUE(Near(c.At(50, 0), 0xFF808080, 1));

  TGPLinearGradientBrush gamma({0, 0, 100, 2}, kBlack, kWhite, LinearGradientModeHorizontal);
  gamma.SetGammaCorrection(TRUE);
  EXPECT_EQ(TRUE, gamma.GetGammaCorrection());
  ASSERT_EQ(Ok, c.g.FillRectangle(&gamma, 0, 1, 100, 1));
  EXPECT_EQ(kBlack, c.At(0, 1));
  // Halfway in linear light: 255 * 0.5^(1/2.2) = 186.
  EXPECT_TRUE(Near(c.At(50, 1), 0xFFBABABA, 1));
  // Alpha is never gamma-corrected.
  ColorRamp ramp(0x00000000, 0xFF000000);
  ramp.SetGamma(true);
  EXPECT_EQ(0x80u, GetAlpha(ramp.ColorAt(0.5)));
}

TEST(GdiPlusLinearGradient, DiagonalModesAreScaledToTheRectangle) {
  // In a 200×100 rectangle the forward diagonal's colour lines run parallel to the other
  // diagonal, so (150, 25) and (50, 75) match; a plain 45-degree angle's lines do not.
  Canvas c(201, 101);
  // (Pixels exactly at t = 0 may show the tile seam, as GDI+'s do; the corners are checked one
  // pixel in.)
  TGPLinearGradientBrush diagonal({0, 0, 200, 100}, kRed, kBlue, LinearGradientModeForwardDiagonal);
  ASSERT_EQ(Ok, c.g.FillRectangle(&diagonal, 0, 0, 200, 100));
  EXPECT_TRUE(Near(c.At(1, 1), kRed, 4));
  EXPECT_TRUE(Near(c.At(150, 25), c.At(50, 75), 1));
  EXPECT_TRUE(Near(c.At(100, 50), 0xFF800080, 1));

  TGPLinearGradientBrush angle({0, 0, 200, 100}, kRed, kBlue, 45.0f, FALSE);
  ASSERT_EQ(Ok, c.g.FillRectangle(&angle, 0, 0, 200, 100));
  EXPECT_FALSE(Near(c.At(150, 25), c.At(50, 75), 8));
  EXPECT_TRUE(Near(c.At(60, 10), c.At(10, 60), 1));  // colour lines perpendicular to 45 degrees

  TGPLinearGradientBrush scalable({0, 0, 200, 100}, kRed, kBlue, 45.0f, TRUE);
  ASSERT_EQ(Ok, c.g.FillRectangle(&scalable, 0, 0, 200, 100));
  EXPECT_TRUE(Near(c.At(150, 25), c.At(50, 75), 1));

  // Backward diagonal runs from the top-right corner to the bottom-left one.
  TGPLinearGradientBrush backward({0, 0, 200, 100}, kRed, kBlue, LinearGradientModeBackwardDiagonal);
  ASSERT_EQ(Ok, c.g.FillRectangle(&backward, 0, 0, 200, 100));
  EXPECT_TRUE(Near(c.At(199, 1), kRed, 4));
  EXPECT_TRUE(Near(c.At(1, 99), kBlue, 4));
}

TEST(GdiPlusLinearGradient, WrapModesPresetsAndRefusals) {
  Canvas c(40, 1);
  TGPLinearGradientBrush brush({0, 0, 10, 1}, kRed, kBlue, LinearGradientModeHorizontal);
  ASSERT_EQ(Ok, c.g.FillRectangle(&brush, 0, 0, 40, 1));
  EXPECT_EQ(c.At(2, 0), c.At(12, 0));                             // tiled
  EXPECT_EQ(InvalidParameter, brush.SetWrapMode(WrapModeClamp));  // as GDI+ refuses it
  ASSERT_EQ(Ok, brush.SetWrapMode(WrapModeTileFlipX));
  ASSERT_EQ(Ok, c.g.FillRectangle(&brush, 0, 0, 40, 1));
  EXPECT_EQ(c.At(2, 0), c.At(18, 0));                   // mirrored about x = 10
  ASSERT_EQ(Ok, brush.SetWrapMode(WrapModeTileFlipY));  // across the gradient: no change
  ASSERT_EQ(Ok, c.g.FillRectangle(&brush, 0, 0, 40, 1));
  EXPECT_EQ(c.At(2, 0), c.At(12, 0));

  const ARGB colors[] = {kRed, kWhite, kBlue};
  const REAL positions[] = {0, 0.2f, 1};
  ASSERT_EQ(Ok, brush.SetInterpolationColors(colors, positions, 3));
  EXPECT_EQ(3, brush.GetInterpolationColorCount());
  ASSERT_EQ(Ok, c.g.FillRectangle(&brush, 0, 0, 10, 1));
  EXPECT_EQ(kWhite, c.At(2, 0));
  EXPECT_TRUE(Near(c.At(6, 0), 0xFF8080FF, 1));
  const REAL badPositions[] = {0.1f, 0.5f, 1};
  EXPECT_EQ(InvalidParameter, brush.SetInterpolationColors(colors, badPositions, 3));
  const REAL factors[] = {0, 1, 1};
  const REAL blendPositions[] = {0, 0.5f, 1};
  ASSERT_EQ(Ok, brush.SetBlend(factors, blendPositions, 3));
  EXPECT_EQ(0, brush.GetInterpolationColorCount());  // a blend replaces the presets
  brush.SetWrapMode(WrapModeTile);
  ASSERT_EQ(Ok, c.g.FillRectangle(&brush, 0, 0, 10, 1));
  EXPECT_EQ(kBlue, c.At(6, 0));  // the blend reaches the end colour halfway

  // A rectangle without area cannot make a brush: the fill fails and paints nothing.
  Canvas blank(4, 4);
  TGPLinearGradientBrush empty({0, 0, 0, 10}, kRed, kBlue, LinearGradientModeVertical);
  EXPECT_EQ(OutOfMemory, empty.GetLastStatus());
  EXPECT_EQ(OutOfMemory, blank.g.FillRectangle(&empty, 0, 0, 4, 4));
  EXPECT_EQ(0u, blank.At(1, 1));
}

TEST(GdiPlusPathGradient, CentreColourAtTheCentreAndNothingOutsideThePath) {
  Canvas c(101, 101);
  const TGPPointF square[] = {{0, 0}, {100, 0}, {100, 100}, {0, 100}};
  TGPPathGradientBrush brush(square, 4);
  TGPPointF centre;
  brush.GetCenterPoint(&centre);
  EXPECT_EQ((TGPPointF{50, 50}), centre);  // the centroid
  brush.SetCenterColor(kWhite);
  INT count = 1;
  ASSERT_EQ(Ok, brush.SetSurroundColors(&kBlue, &count));
  ASSERT_EQ(Ok, c.g.FillRectangle(&brush, 0, 0, 101, 101));
  EXPECT_EQ(kWhite, c.At(50, 50));
  EXPECT_TRUE(Near(c.At(50, 25), 0xFF8080FF, 1));  // halfway along the ray
  EXPECT_TRUE(Near(c.At(25, 25), 0xFF8080FF, 1));  // colour lines are scaled copies of the square

  // One surround colour per corner: each corner keeps its own colour.
  const ARGB corners[] = {kRed, 0xFF00FF00, kBlue, kWhite};
  INT four = 4;
  ASSERT_EQ(Ok, brush.SetSurroundColors(corners, &four));
  brush.SetCenterColor(kBlack);
  ASSERT_EQ(Ok, c.g.FillRectangle(&brush, 0, 0, 101, 101));
  EXPECT_TRUE(Near(c.At(1, 1), 0xFFFA0000, 3));  // 98 % of the way out towards red
  EXPECT_TRUE(Near(c.At(99, 1), 0xFF00FA00, 3));
  EXPECT_TRUE(Near(c.At(99, 99), 0xFF0000FA, 3));

  // Off-centre centre point, a triangle: outside it nothing is painted (clamp).
  Canvas t(101, 101);
  const TGPPointF triangle[] = {{0, 0}, {100, 0}, {0, 100}};
  TGPPathGradientBrush clamp(triangle, 3);
  clamp.SetCenterPoint({10, 10});
  clamp.SetCenterColor(kRed);
  ASSERT_EQ(Ok, t.g.FillRectangle(&clamp, 0, 0, 101, 101));
  EXPECT_EQ(kRed, t.At(10, 10));
  EXPECT_EQ(0u, t.At(90, 90));
  EXPECT_EQ(WrapModeClamp, clamp.GetWrapMode());
}

TEST(GdiPlusPathGradient, InterpolationColoursRunFromBoundaryToCentre) {
  Canvas c(101, 101);
  TGPGraphicsPath path;
  path.AddRectangle({0, 0, 100, 100});
  TGPPathGradientBrush shadow(&path);
  const ARGB colors[] = {0x00000000, 0xB4282828, 0xB4282828};
  const REAL positions[] = {0, 0.1f, 1};
  ASSERT_EQ(Ok, shadow.SetInterpolationColors(colors, positions, 3));
  ASSERT_EQ(Ok, c.g.FillPath(&shadow, &path));
  // From 5 px inside the edge on (t >= 0.1) the colour is flat.
  EXPECT_TRUE(Near(c.At(50, 20), 0xB4282828, 1));
  EXPECT_TRUE(Near(c.At(6, 50), 0xB4282828, 1));
  // Two pixels in (t = 0.04) the alpha is 0.4 of 180; on the boundary it is 0.
  EXPECT_NEAR(72, GetAlpha(c.At(50, 2)), 1);
  EXPECT_EQ(0, GetAlpha(c.At(50, 0)));

  INT tooMany = 50;
  EXPECT_EQ(InvalidParameter, shadow.SetSurroundColors(colors, &tooMany));
  EXPECT_EQ(InvalidParameter, shadow.SetFocusScales(2, 0));
}

TEST(GdiPlusPathGradient, HugePathsCostOnlyTheVisibleArea) {
  // Four million pixels across, drawn on 50×50: only the visible pixels are rendered.
  Canvas c(50, 50);
  TGPGraphicsPath huge;
  huge.AddEllipse(25 - 2e6f, 25 - 2e6f, 4e6f, 4e6f);
  TGPPathGradientBrush brush(&huge);
  brush.SetCenterColor(kRed);
  INT one = 1;
  brush.SetSurroundColors(&kBlue, &one);
  ASSERT_EQ(Ok, c.g.FillPath(&brush, &huge));
  EXPECT_EQ(kRed, c.At(25, 25));
  EXPECT_TRUE(Near(c.At(0, 0), kRed, 1));
  // Tiling would need the whole rectangle: refused.
  ASSERT_EQ(Ok, brush.SetWrapMode(WrapModeTile));
  EXPECT_EQ(OutOfMemory, c.g.FillRectangle(&brush, 0, 0, 10, 10));
}

TEST(GdiPlusHatch, PatternsAreDistinctAnchoredAtTheOriginAndOpaque) {
  std::set<std::array<BYTE, 8>> seen;
  for (int style = HatchStyleMin; style <= HatchStyleMax; ++style)
    EXPECT_TRUE(seen.insert(TGPHatchBrush::Pattern(static_cast<HatchStyle>(style))).second) << style;
  const auto half = TGPHatchBrush::Pattern(HatchStyle50Percent);
  EXPECT_EQ(0xAA, half[0]);
  EXPECT_EQ(0x55, half[1]);

  Canvas c(20, 20);
  TGPHatchBrush horizontal(HatchStyleHorizontal, kRed, kWhite);
  ASSERT_EQ(Ok, c.g.FillRectangle(&horizontal, 3, 3, 17, 17));
  EXPECT_EQ(kRed, c.At(5, 8));  // rows 0, 8, 16 of the world, wherever the fill starts
  EXPECT_EQ(kWhite, c.At(5, 9));
  EXPECT_EQ(kRed, c.At(19, 16));

  TGPHatchBrush invalid(HatchStyleTotal, kRed, kWhite);
  EXPECT_EQ(InvalidParameter, c.g.FillRectangle(&invalid, 0, 0, 3, 3));
  EXPECT_EQ(0u, c.At(1, 1));
}

TEST(GdiPlusTexture, TilesFromTheOriginFlipsAndClamps) {
  TGPBitmap tile(2, 1);
  tile.SetPixel(0, 0, kRed);
  tile.SetPixel(1, 0, kBlue);
  Canvas c(8, 3);
  TGPTextureBrush tiled(&tile);
  ASSERT_EQ(Ok, c.g.FillRectangle(&tiled, 1, 0, 7, 1));
  EXPECT_EQ(kBlue, c.At(1, 0));  // texel 1, not the rectangle's first texel
  EXPECT_EQ(kRed, c.At(2, 0));

  TGPTextureBrush flipped(&tile, WrapModeTileFlipX);
  ASSERT_EQ(Ok, c.g.FillRectangle(&flipped, 0, 1, 8, 1));
  const ARGB expected[] = {kRed, kBlue, kBlue, kRed, kRed, kBlue};
  for (int x = 0; x < 6; ++x) EXPECT_EQ(expected[x], c.At(x, 1)) << x;

  Canvas once(8, 2);
  TGPTextureBrush clamped(&tile, WrapModeClamp);
  ASSERT_EQ(Ok, once.g.FillRectangle(&clamped, 0, 0, 8, 2));
  EXPECT_EQ(kBlue, once.At(1, 0));
  EXPECT_EQ(0u, once.At(2, 0));
  EXPECT_EQ(0u, once.At(0, 1));

  EXPECT_EQ(InvalidParameter, TGPTextureBrush(nullptr).GetLastStatus());
  EXPECT_EQ(InvalidParameter, TGPTextureBrush(&tile, WrapModeTile, 1, 0, 5, 1).GetLastStatus());
}

}  // namespace
}  // namespace kestrel::platform
