// Rendering of the TGP… classes compared with golden images (tests/golden/platform_gdiplus_*).

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "platform/gdiplus/TGPGraphics.h"
#include "platform/gdiplus/TGPHatchBrush.h"
#include "platform/gdiplus/TGPLinearGradientBrush.h"
#include "platform/gdiplus/TGPPathGradientBrush.h"
#include "tests/support/GoldenImage.h"

namespace kestrel::platform {
namespace {

// Anti-aliased edges and gradient dithering may differ by a step between pixman builds.
const testing::GoldenTolerance kTolerance{3, 0.002};

struct Canvas {
  Canvas(int width, int height) : bitmap(width, height), g(&bitmap) {
    TGPSolidBrush white(0xFFFFFFFF);
    g.FillRectangle(&white, -1, -1, width + 2.0f, height + 2.0f);
  }
  TGPBitmap bitmap;
  TGPGraphics g;
};

// The rounded outline used by the fill painter: quarter arcs joined by straight edges.
TGPGraphicsPath RoundedRect(REAL x, REAL y, REAL w, REAL h, REAL r) {
  TGPGraphicsPath path;
  const REAL d = 2 * r;
  path.AddArc(x, y, d, d, 180, 90);
  path.AddArc(x + w - d, y, d, d, 270, 90);
  path.AddArc(x + w - d, y + h - d, d, d, 0, 90);
  path.AddArc(x, y + h - d, d, d, 90, 90);
  path.CloseFigure();
  return path;
}

TEST(GdiPlusGolden, AllHatchStylesOnOneSheet) {
  // 53 swatches, 9 per row, each 40×24 with a one-pixel gap that shows the white page.
  Canvas c(9 * 42, 6 * 26);
  for (int style = HatchStyleMin; style <= HatchStyleMax; ++style) {
    TGPHatchBrush brush(static_cast<HatchStyle>(style), MakeColor(0, 0, 128), MakeColor(255, 255, 192));
    const REAL x = static_cast<REAL>((style % 9) * 42 + 1), y = static_cast<REAL>((style / 9) * 26 + 1);
    ASSERT_EQ(Ok, c.g.FillRectangle(&brush, x, y, 40, 24)) << style;
  }
  EXPECT_TRUE(testing::MatchesGolden(c.bitmap.Surface(), "platform_gdiplus_hatch_styles"));
}

TEST(GdiPlusGolden, LinearGradientModesAnglesAndWrapping) {
  Canvas c(4 * 70, 3 * 50);
  const ARGB from = MakeColor(255, 200, 0, 0), to = MakeColor(255, 0, 0, 200);
  for (int mode = LinearGradientModeHorizontal; mode <= LinearGradientModeBackwardDiagonal; ++mode) {
    TGPRectF r{mode * 70.0f + 2, 2, 66, 46};
    TGPLinearGradientBrush brush(r, from, to, static_cast<LinearGradientMode>(mode));
    ASSERT_EQ(Ok, c.g.FillRectangle(&brush, r));
  }
  // Row 2: angles 30 and 120, each plain and scalable.
  const REAL angles[] = {30, 30, 120, 120};
  for (int i = 0; i < 4; ++i) {
    TGPRectF r{i * 70.0f + 2, 52, 66, 46};
    TGPLinearGradientBrush brush(r, from, to, angles[i], i % 2 ? TRUE : FALSE);
    ASSERT_EQ(Ok, c.g.FillRectangle(&brush, r));
  }
  // Row 3: a brush rectangle a third of the fill, tiled, flipped, with gamma, with presets.
  for (int i = 0; i < 4; ++i) {
    TGPRectF r{i * 70.0f + 2, 102, 66, 46};
    TGPLinearGradientBrush brush(TGPRectF{r.X, r.Y, 22, 46}, from, to, LinearGradientModeHorizontal);
    if (i == 1) brush.SetWrapMode(WrapModeTileFlipX);
    if (i == 2) {
      brush.SetLinearColors(0xFF000000, 0xFFFFFFFF);
      brush.SetGammaCorrection(TRUE);
    }
    if (i == 3) {
      const ARGB colors[] = {from, MakeColor(255, 255, 255, 0), to};
      const REAL positions[] = {0, 0.5f, 1};
      brush.SetInterpolationColors(colors, positions, 3);
    }
    ASSERT_EQ(Ok, c.g.FillRectangle(&brush, r));
  }
  EXPECT_TRUE(testing::MatchesGolden(c.bitmap.Surface(), "platform_gdiplus_linear_gradients", kTolerance));
}

TEST(GdiPlusGolden, PathGradients) {
  Canvas c(300, 120);
  c.g.SetSmoothingMode(SmoothingModeAntiAlias);
  // An ellipse lit from its top edge, the centre point off-centre (the radial fill's upper half).
  TGPGraphicsPath ellipse;
  ellipse.AddEllipse(10, -40, 130, 150);
  TGPPathGradientBrush radial(&ellipse);
  radial.SetCenterPoint({75, 10});
  radial.SetCenterColor(MakeColor(255, 255, 255, 255));
  ARGB surround = MakeColor(255, 0, 90, 200);
  INT count = 1;
  radial.SetSurroundColors(&surround, &count);
  ASSERT_EQ(Ok, c.g.FillRectangle(&radial, 10, 10, 130, 100));
  // A rounded rectangle with three interpolation colours (the shadow's shape), clamped.
  TGPGraphicsPath rounded = RoundedRect(160, 10, 130, 100, 16);
  TGPPathGradientBrush shadow(&rounded);
  const ARGB colors[] = {0x00000000, MakeColor(180, 40, 40, 40), MakeColor(180, 40, 40, 40)};
  const REAL positions[] = {0, 0.1f, 1};
  ASSERT_EQ(Ok, shadow.SetInterpolationColors(colors, positions, 3));
  ASSERT_EQ(Ok, shadow.SetWrapMode(WrapModeClamp));
  ASSERT_EQ(Ok, c.g.FillPath(&shadow, &rounded));
  EXPECT_TRUE(testing::MatchesGolden(c.bitmap.Surface(), "platform_gdiplus_path_gradients", kTolerance));
}

TEST(GdiPlusGolden, PensWithDashStylesAndWidths) {
  Canvas c(220, 130);
  const DashStyle styles[] = {DashStyleSolid, DashStyleDash, DashStyleDot, DashStyleDashDot, DashStyleDashDotDot};
  for (int i = 0; i < 5; ++i) {
    TGPPen thin(MakeColor(0, 0, 0), 1);
    thin.SetDashStyle(styles[i]);
    ASSERT_EQ(Ok, c.g.DrawLine(&thin, 5, 5 + i * 10.0f, 105, 5 + i * 10.0f));
    TGPPen wide(MakeColor(0, 100, 0), 3);
    wide.SetDashStyle(styles[i]);
    ASSERT_EQ(Ok, c.g.DrawLine(&wide, 115, 5 + i * 10.0f, 215, 5 + i * 10.0f));
  }
  c.g.SetSmoothingMode(SmoothingModeAntiAlias);
  TGPPen outline(MakeColor(200, 0, 0, 160), 2);
  outline.SetDashStyle(DashStyleDot);
  ASSERT_EQ(Ok, c.g.DrawEllipse(&outline, 5, 60, 100, 60));
  TGPPen border(MakeColor(255, 128, 0), 1);
  TGPGraphicsPath rounded = RoundedRect(115, 60, 100, 60, 10);
  ASSERT_EQ(Ok, c.g.DrawPath(&border, &rounded));
  c.g.SetSmoothingMode(SmoothingModeDefault);
  TGPPen dotted(MakeColor(0, 0, 0), 1);
  dotted.SetDashStyle(DashStyleDot);
  ASSERT_EQ(Ok, c.g.DrawRectangle(&dotted, 125, 70, 80, 40));
  EXPECT_TRUE(testing::MatchesGolden(c.bitmap.Surface(), "platform_gdiplus_pens", kTolerance));
}

TEST(GdiPlusGolden, ShapesAliasedAndSmooth) {
  // Each row: ellipse, triangle, pie, arc and bézier, filled and outlined; top row aliased.
  Canvas c(260, 110);
  TGPSolidBrush fill(MakeColor(255, 70, 130, 180));
  TGPPen outline(MakeColor(255, 0, 0, 0), 1);
  for (int row = 0; row < 2; ++row) {
    c.g.SetSmoothingMode(row ? SmoothingModeAntiAlias : SmoothingModeDefault);
    const REAL y = 5 + row * 55.0f;
    ASSERT_EQ(Ok, c.g.FillEllipse(&fill, 5, y, 40, 25));
    ASSERT_EQ(Ok, c.g.DrawEllipse(&outline, 5, y, 40, 25));
    const TGPPointF triangle[] = {{75, y}, {95, y + 45}, {55, y + 45}};
    ASSERT_EQ(Ok, c.g.FillPolygon(&fill, triangle, 3));
    ASSERT_EQ(Ok, c.g.DrawPolygon(&outline, triangle, 3));
    ASSERT_EQ(Ok, c.g.FillPie(&fill, {105, y, 45, 45}, -30, 240));
    ASSERT_EQ(Ok, c.g.DrawPie(&outline, {105, y, 45, 45}, -30, 240));
    TGPPen thick(MakeColor(255, 200, 60, 0), 4);
    ASSERT_EQ(Ok, c.g.DrawArc(&thick, {160, y, 45, 45}, 200, 250));
    ASSERT_EQ(Ok, c.g.DrawBezier(&outline, {210, y + 40}, {220, y - 20}, {250, y + 70}, {255, y + 5}));
  }
  EXPECT_TRUE(testing::MatchesGolden(c.bitmap.Surface(), "platform_gdiplus_shapes", kTolerance));
}

TEST(GdiPlusGolden, ClipToRectanglePathAndRegion) {
  Canvas c(240, 80);
  TGPHatchBrush hatch(HatchStyleDiagonalCross, MakeColor(0, 0, 160), MakeColor(230, 230, 255));
  TGPSolidBrush red(MakeColor(200, 0, 0));
  // A clip rectangle narrower than the fill.
  c.g.SetClip(TGPRectF{10, 10, 50, 60});
  c.g.FillRectangle(&hatch, 0, 0, 80, 80);
  // A path clip: a circle; the anti-aliased fill is still cut with an aliased edge.
  TGPGraphicsPath circle;
  circle.AddEllipse(90, 10, 60, 60);
  c.g.SetSmoothingMode(SmoothingModeAntiAlias);
  c.g.SetClip(&circle);
  c.g.FillRectangle(&red, 80, 0, 80, 80);
  // A region: a square with a diamond hole, then reset.
  TGPRegion region(TGPRectF{170, 10, 60, 60});
  const TGPPointF diamond[] = {{200, 20}, {220, 40}, {200, 60}, {180, 40}};
  TGPGraphicsPath hole;
  hole.AddPolygon(diamond, 4);
  region.Exclude(&hole);
  c.g.SetClip(&region);
  c.g.FillRectangle(&hatch, 160, 0, 80, 80);
  c.g.ResetClip();
  TGPPen frame(MakeColor(0, 0, 0), 1);
  c.g.SetSmoothingMode(SmoothingModeDefault);
  c.g.DrawRectangle(&frame, 0, 0, 239, 79);
  EXPECT_TRUE(testing::MatchesGolden(c.bitmap.Surface(), "platform_gdiplus_clipping", kTolerance));
}

TEST(GdiPlusGolden, RotatedAndScaledDrawing) {
  Canvas c(240, 80);
  c.g.SetSmoothingMode(SmoothingModeAntiAlias);
  // Twelve spokes turned about a centre, fading round the circle.
  c.g.TranslateTransform(40, 40);
  for (int i = 0; i < 12; ++i) {
    TGPPen spoke(MakeColor(static_cast<BYTE>(40 + 18 * i), 0, 60, 160), 5);
    spoke.SetStartCap(LineCapRound);
    spoke.SetEndCap(LineCapRound);
    c.g.DrawLine(&spoke, 14, 0, 30, 0);
    c.g.RotateTransform(30);
  }
  // A gradient-filled rounded rectangle turned 20 degrees: the gradient turns with it.
  c.g.ResetTransform();
  c.g.TranslateTransform(120, 40);
  c.g.RotateTransform(-20);
  TGPLinearGradientBrush ramp(TGPPointF{-35, 0}, TGPPointF{35, 0}, MakeColor(255, 220, 120), MakeColor(200, 40, 0));
  TGPGraphicsPath box = RoundedRect(-35, -18, 70, 36, 8);
  c.g.FillPath(&ramp, &box);
  TGPPen outline(MakeColor(80, 30, 0), 1.5f);
  c.g.DrawPath(&outline, &box);
  // An ellipse scaled unevenly: the pen gets thicker along x.
  c.g.ResetTransform();
  c.g.TranslateTransform(200, 40);
  c.g.ScaleTransform(3, 1);
  TGPPen ring(MakeColor(0, 120, 0), 2);
  c.g.DrawEllipse(&ring, -10, -25, 20, 50);
  EXPECT_TRUE(testing::MatchesGolden(c.bitmap.Surface(), "platform_gdiplus_transforms", kTolerance));
}

TEST(GdiPlusGolden, TextCaptionsParagraphsAndTurnedText) {
  Canvas c(300, 100);
  c.g.SetSmoothingMode(SmoothingModeAntiAlias);
  // A gradient button with its caption centred.
  TGPGraphicsPath button = RoundedRect(10, 10, 110, 32, 6);
  TGPLinearGradientBrush face(TGPPointF{0, 10}, TGPPointF{0, 42}, MakeColor(120, 170, 255), MakeColor(20, 60, 170));
  c.g.FillPath(&face, &button);
  TGPFont bold(u"Tahoma", 13, FontStyleBold, UnitPixel);
  TGPStringFormat centred;
  centred.SetAlignment(StringAlignmentCenter);
  centred.SetLineAlignment(StringAlignmentCenter);
  centred.SetHotkeyPrefix(HotkeyPrefixShow);
  TGPSolidBrush white(MakeColor(255, 255, 255));
  c.g.DrawString(u"&Download", -1, &bold, TGPRectF{10, 10, 110, 32}, &centred, &white);
  // A wrapped paragraph cut with an ellipsis at its last whole line, framed.
  TGPFont body(u"Times New Roman", 11, FontStyleRegular, UnitPixel);
  TGPStringFormat trimmed(StringFormatFlagsLineLimit);
  trimmed.SetTrimming(StringTrimmingEllipsisWord);
  TGPSolidBrush ink(MakeColor(40, 40, 40));
  const TGPRectF paragraph{140, 8, 150, 40};
  c.g.DrawString(
      u"The file is being downloaded to the folder you chose; this text goes on and on, far too long to fit in the "
      u"frame.",
      -1, &body, paragraph, &trimmed, &ink);
  TGPPen frame(MakeColor(180, 180, 180), 1);
  c.g.DrawRectangle(&frame, paragraph);
  // Underlined italic text turned about its start, filled with a gradient.
  c.g.TranslateTransform(20, 90);
  c.g.RotateTransform(-10);
  TGPFont fancy(u"DejaVu Sans", 16, FontStyleItalic | FontStyleUnderline, UnitPixel);
  TGPLinearGradientBrush warm(TGPPointF{0, 0}, TGPPointF{200, 0}, MakeColor(220, 30, 0), MakeColor(120, 0, 160));
  c.g.DrawString(u"Turned, underlined text", -1, &fancy, TGPPointF{0, -20}, &warm);
  EXPECT_TRUE(testing::MatchesGolden(c.bitmap.Surface(), "platform_gdiplus_text", kTolerance));
}

}  // namespace
}  // namespace kestrel::platform
