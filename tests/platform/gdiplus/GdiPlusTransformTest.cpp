// World transforms: matrix arithmetic and order, and the transform applied to fills, pens,
// brushes, images, clips and regions, exact to the pixel where no edge is anti-aliased.

#include <gtest/gtest.h>

#include <vector>

#include "platform/gdiplus/TGPGraphics.h"
#include "platform/gdiplus/TGPLinearGradientBrush.h"
#include "platform/gdiplus/TGPPathGradientBrush.h"
#include "tests/platform/gdiplus/GdiPlusTestSupport.h"

namespace kestrel::platform {
namespace {

using testing::Canvas;
using testing::Near;

constexpr ARGB kBlack = 0xFF000000;
constexpr ARGB kRed = 0xFFFF0000;
constexpr ARGB kBlue = 0xFF0000FF;

TGPPointF Mapped(const TGPMatrix& m, TGPPointF p) {
  m.TransformPoints(&p);
  return p;
}

// Whether the painted pixels span exactly columns [l, r) and rows [t, b).
::testing::AssertionResult BoxIs(const TGPRectF& box, REAL l, REAL t, REAL r, REAL b) {
  if (box == TGPRectF{l, t, r - l, b - t}) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "box (" << box.X << ", " << box.Y << ", " << box.GetRight() << ", "
                                       << box.GetBottom() << ")";
}

TEST(GdiPlusMatrix, OrderRotationShearAndInverse) {
  // Prepend applies the new operation first, Append last.
  TGPMatrix prepend, append;
  prepend.Translate(10, 0);
  prepend.Scale(2, 3);
  append.Translate(10, 0);
  append.Scale(2, 3, MatrixOrderAppend);
  EXPECT_EQ((TGPPointF{12, 3}), Mapped(prepend, {1, 1}));
  EXPECT_EQ((TGPPointF{22, 3}), Mapped(append, {1, 1}));
  REAL e[6];
  ASSERT_EQ(Ok, append.GetElements(e));
  EXPECT_EQ((std::vector<REAL>{2, 0, 0, 3, 20, 0}), std::vector<REAL>(e, e + 6));

  // Positive angles turn clockwise on screen; quarter turns are exact.
  TGPMatrix quarter;
  quarter.Rotate(90);
  EXPECT_EQ((TGPPointF{0, 1}), Mapped(quarter, {1, 0}));
  quarter.Rotate(-450);
  EXPECT_TRUE(quarter.IsIdentity());
  TGPMatrix turned;
  turned.RotateAt(180, {5, 5});
  EXPECT_EQ((TGPPointF{9, 10}), Mapped(turned, {1, 0}));
  TGPMatrix shear;
  shear.Shear(0.5f, 0);
  EXPECT_EQ((TGPPointF{3, 2}), Mapped(shear, {2, 2}));

  // Vectors ignore the offsets; integer points round to nearest.
  TGPPointF v{1, 1};
  ASSERT_EQ(Ok, prepend.TransformVectors(&v));
  EXPECT_EQ((TGPPointF{2, 3}), v);
  TGPMatrix third(1.0f / 3, 0, 0, 1, 0.2f, 0);
  TGPPoint ip{2, 1};
  ASSERT_EQ(Ok, third.TransformPoints(&ip));
  EXPECT_EQ(1, ip.X);

  // Invert round-trips; a singular matrix is refused and left as it was.
  TGPMatrix inverse(prepend);
  ASSERT_EQ(Ok, inverse.Invert());
  inverse.Multiply(&prepend);
  const TGPPointF back = Mapped(inverse, {7, -4});
  EXPECT_NEAR(7, back.X, 1e-5);
  EXPECT_NEAR(-4, back.Y, 1e-5);
  TGPMatrix flat(1, 2, 2, 4, 5, 6);
  EXPECT_FALSE(flat.IsInvertible());
  EXPECT_EQ(InvalidParameter, flat.Invert());
  EXPECT_EQ(5, flat.OffsetX());
  EXPECT_EQ(InvalidParameter, flat.Translate(1, 1, static_cast<MatrixOrder>(7)));
}

TEST(GdiPlusTransform, FillsFollowTranslationScaleAndRotation) {
  Canvas c(24, 12);
  TGPSolidBrush black(kBlack);
  ASSERT_EQ(Ok, c.g.TranslateTransform(5, 3));
  ASSERT_EQ(Ok, c.g.FillRectangle(&black, 0, 0, 4, 2));
  EXPECT_TRUE(BoxIs(c.Ink(), 5, 3, 9, 5));
  EXPECT_EQ(8, c.Painted());

  // Prepend scales before the translation: (1, 1, 3, 2) → (7, 5, 6, 4).
  Canvas scaled(24, 12);
  scaled.g.TranslateTransform(5, 3);
  scaled.g.ScaleTransform(2, 2);
  ASSERT_EQ(Ok, scaled.g.FillRectangle(&black, 1, 1, 3, 2));
  EXPECT_TRUE(BoxIs(scaled.Ink(), 7, 5, 13, 9));
  EXPECT_EQ(24, scaled.Painted());
  // Appended, the translation is scaled too: (2·(1+5), 2·(1+3)).
  Canvas appended(24, 12);
  appended.g.TranslateTransform(5, 3);
  appended.g.ScaleTransform(2, 2, MatrixOrderAppend);
  ASSERT_EQ(Ok, appended.g.FillRectangle(&black, 1, 0, 2, 1));
  EXPECT_TRUE(BoxIs(appended.Ink(), 12, 6, 16, 8));

  // A quarter turn about the origin, then moved right: (0, 0, 4, 2) stands upright at x 8–9.
  Canvas turned(24, 12);
  turned.g.RotateTransform(90);
  turned.g.TranslateTransform(10, 1, MatrixOrderAppend);
  ASSERT_EQ(Ok, turned.g.FillRectangle(&black, 0, 0, 4, 2));
  EXPECT_TRUE(BoxIs(turned.Ink(), 8, 1, 10, 5));

  // Save/Restore brings the transform back; ResetTransform drops it.
  const GraphicsState saved = turned.g.Save();
  turned.g.ScaleTransform(3, 3);
  ASSERT_EQ(Ok, turned.g.Restore(saved));
  TGPMatrix now;
  turned.g.GetTransform(&now);
  EXPECT_EQ((TGPPointF{10, 2}), Mapped(now, {1, 0}));
}

TEST(GdiPlusTransform, SingularOrOverflowingTransformsAreRefused) {
  Canvas c(8, 8);
  TGPSolidBrush black(kBlack);
  c.g.TranslateTransform(2, 0);
  EXPECT_EQ(InvalidParameter, c.g.ScaleTransform(0, 1));
  TGPMatrix flat(1, 1, 1, 1, 0, 0);
  EXPECT_EQ(InvalidParameter, c.g.SetTransform(&flat));
  EXPECT_EQ(InvalidParameter, c.g.SetTransform(nullptr));
  TGPMatrix kept;
  c.g.GetTransform(&kept);
  EXPECT_EQ(2, kept.OffsetX());  // the refused changes left the transform alone

  // World coordinates that are fine become too large once scaled: refused without drawing.
  c.g.ScaleTransform(1e6f, 1e6f);
  EXPECT_EQ(ValueOverflow, c.g.FillRectangle(&black, 0, 0, 10, 10));
  TGPPen pen(kBlack, 1);
  EXPECT_EQ(ValueOverflow, c.g.DrawLine(&pen, 0, 0, 10, 10));
  TGPBitmap image(2, 2);
  EXPECT_EQ(ValueOverflow, c.g.DrawImage(&image, 0, 0, 10, 10));
  EXPECT_EQ(0, c.Painted());
}

TEST(GdiPlusTransform, PenWidthsScaleExceptTheOnePixelPen) {
  Canvas c(16, 16);
  c.g.ScaleTransform(3, 3);
  TGPPen wide(kRed, 1);
  ASSERT_EQ(Ok, c.g.DrawLine(&wide, 1, 2, 4, 2));  // device y 6, three pixels thick
  EXPECT_TRUE(BoxIs(c.Ink(), 3, 5, 12, 8));

  Canvas thin(16, 16);
  thin.g.ScaleTransform(3, 3);
  TGPPen hair(kRed, 0);
  ASSERT_EQ(Ok, thin.g.DrawLine(&hair, 1, 2, 4, 2));
  EXPECT_TRUE(BoxIs(thin.Ink(), 3, 6, 12, 7));
}

TEST(GdiPlusTransform, BrushesAndImagesAreTransformedWithTheShape) {
  // A gradient across world x 0–10, stretched twice as wide: device x 10 is its middle.
  Canvas c(20, 1);
  c.g.ScaleTransform(2, 1);
  TGPLinearGradientBrush ramp(TGPPointF{0, 0}, TGPPointF{10, 0}, kRed, kBlue);
  ASSERT_EQ(Ok, c.g.FillRectangle(&ramp, 0, -0.5f, 10, 1));
  EXPECT_TRUE(Near(c.At(10, 0), MakeColor(255, 127, 0, 127), 8));
  EXPECT_TRUE(Near(c.At(19, 0), kBlue, 16));
  EXPECT_TRUE(Near(c.At(0, 0), kRed, 16));

  // A path gradient magnified four times shades every device pixel, not blocks of four.
  TGPGraphicsPath disc;
  disc.AddEllipse(0, 0, 10, 10);
  TGPPathGradientBrush glow(&disc);
  glow.SetCenterColor(0xFFFFFFFF);
  ARGB rim = kBlack;
  INT one = 1;
  glow.SetSurroundColors(&rim, &one);
  Canvas magnified(40, 40);
  magnified.g.ScaleTransform(4, 4);
  ASSERT_EQ(Ok, magnified.g.FillPath(&glow, &disc));
  int steps = 0;
  for (int x = 21; x < 38; ++x) steps += magnified.At(x, 20) != magnified.At(x - 1, 20);
  EXPECT_GT(steps, 10);

  // An image's corners map to pixel corners: turned a quarter about the origin, texel (i, j)
  // covers device [4 − j, 5 − j) × [i, i + 1).
  TGPBitmap image(2, 2);
  image.SetPixel(0, 0, kRed);
  image.SetPixel(1, 0, kBlue);
  image.SetPixel(0, 1, kBlack);
  image.SetPixel(1, 1, 0xFF00FF00);
  Canvas turned(8, 8);
  turned.g.SetInterpolationMode(InterpolationModeNearestNeighbor);
  turned.g.RotateTransform(90);
  turned.g.TranslateTransform(5, 0, MatrixOrderAppend);
  ASSERT_EQ(Ok, turned.g.DrawImage(&image, 0, 0));
  EXPECT_EQ(kRed, turned.At(4, 0));
  EXPECT_EQ(kBlue, turned.At(4, 1));
  EXPECT_EQ(kBlack, turned.At(3, 0));
  EXPECT_EQ(0xFF00FF00, turned.At(3, 1));
  EXPECT_EQ(4, turned.Painted());

  // Scaled up, each texel covers a whole 2×2 block.
  Canvas big(8, 8);
  big.g.SetInterpolationMode(InterpolationModeNearestNeighbor);
  big.g.ScaleTransform(2, 2);
  ASSERT_EQ(Ok, big.g.DrawImage(&image, 1, 1));
  EXPECT_TRUE(BoxIs(big.Ink(), 2, 2, 6, 6));
  EXPECT_EQ(kBlue, big.At(5, 3));
}

TEST(GdiPlusTransform, ClipsAreSetAndReadInWorldCoordinates) {
  Canvas c(24, 24);
  TGPSolidBrush black(kBlack);
  c.g.TranslateTransform(10, 10);
  c.g.SetClip(TGPRectF{0, 0, 5, 5});
  TGPRectF bounds;
  ASSERT_EQ(Ok, c.g.GetClipBounds(&bounds));
  EXPECT_EQ((TGPRectF{0, 0, 5, 5}), bounds);
  EXPECT_TRUE(c.g.IsVisible(0, 0));
  EXPECT_FALSE(c.g.IsVisible(10, 10));
  // The clip stays where it was set in device pixels when the transform changes.
  c.g.ResetTransform();
  ASSERT_EQ(Ok, c.g.GetClipBounds(&bounds));
  EXPECT_EQ((TGPRectF{10, 10, 5, 5}), bounds);
  ASSERT_EQ(Ok, c.g.FillRectangle(&black, 0, 0, 24, 24));
  EXPECT_TRUE(BoxIs(c.Ink(), 10, 10, 15, 15));

  // Scaled: rectangle, path and region clips all grow with the transform.
  TGPGraphicsPath square;
  square.AddRectangle({1, 1, 2, 2});
  TGPRegion region(TGPRectF{1, 1, 2, 2});
  for (int kind = 0; kind < 3; ++kind) {
    Canvas s(24, 24);
    s.g.ScaleTransform(2, 2);
    if (kind == 0) s.g.SetClip(TGPRectF{1, 1, 2, 2});
    if (kind == 1) s.g.SetClip(&square);
    if (kind == 2) s.g.SetClip(&region);
    ASSERT_EQ(Ok, s.g.FillRectangle(&black, 0, 0, 12, 12));
    EXPECT_TRUE(BoxIs(s.Ink(), 2, 2, 6, 6)) << kind;
    EXPECT_EQ(16, s.Painted()) << kind;
    TGPRegion back;
    ASSERT_EQ(Ok, s.g.GetClip(&back));
    EXPECT_TRUE(back.Equals(&region)) << kind;
  }

  // Turned an eighth, a square clip becomes a diamond: its corners are cut.
  Canvas d(24, 24);
  d.g.TranslateTransform(12, 12);
  d.g.RotateTransform(45);
  d.g.SetClip(TGPRectF{-6, -6, 12, 12});
  d.g.ResetTransform();
  ASSERT_EQ(Ok, d.g.FillRectangle(&black, 0, 0, 24, 24));
  EXPECT_NE(0u, d.At(12, 12));
  EXPECT_NE(0u, d.At(12, 4));
  EXPECT_EQ(0u, d.At(5, 5));
  EXPECT_NEAR(12 * 12, d.Painted(), 12);  // turning keeps the area
}

TEST(GdiPlusTransform, RegionsAndPointConversions) {
  Canvas c(16, 16);
  TGPSolidBrush black(kBlack);
  c.g.TranslateTransform(1, 0);
  c.g.ScaleTransform(2, 2);
  TGPRegion region(TGPRectF{1, 1, 2, 2});
  ASSERT_EQ(Ok, c.g.FillRegion(&black, &region));
  EXPECT_TRUE(BoxIs(c.Ink(), 3, 2, 7, 6));

  TGPPointF points[] = {{1, 1}, {0, 0}};
  ASSERT_EQ(Ok, c.g.TransformPoints(CoordinateSpaceDevice, CoordinateSpaceWorld, points, 2));
  EXPECT_EQ((TGPPointF{3, 2}), points[0]);
  EXPECT_EQ((TGPPointF{1, 0}), points[1]);
  ASSERT_EQ(Ok, c.g.TransformPoints(CoordinateSpaceWorld, CoordinateSpacePage, points, 2));
  EXPECT_EQ((TGPPointF{1, 1}), points[0]);
  EXPECT_EQ(InvalidParameter, c.g.TransformPoints(static_cast<CoordinateSpace>(5), CoordinateSpaceWorld, points, 2));

  // Regions map on their own too; the infinite region stays infinite.
  TGPMatrix half;
  half.Scale(0.5f, 0.5f);
  TGPRegion shrunk(TGPRectF{2, 2, 4, 4});
  ASSERT_EQ(Ok, shrunk.Transform(&half));
  TGPRegion expected(TGPRectF{1, 1, 2, 2});
  EXPECT_TRUE(shrunk.Equals(&expected));
  TGPRegion infinite;
  ASSERT_EQ(Ok, infinite.Transform(&half));
  EXPECT_TRUE(infinite.IsInfinite());
}

}  // namespace
}  // namespace kestrel::platform
