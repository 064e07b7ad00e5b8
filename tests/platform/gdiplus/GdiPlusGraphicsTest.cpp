// The graphics object: pixel coverage on GDI+'s grid, pens, images, clipping and regions, saved
// states, and refusal of bad input without drawing.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "platform/gdiplus/TGPGraphics.h"
#include "platform/gdiplus/TGPLinearGradientBrush.h"
#include "tests/platform/gdiplus/GdiPlusTestSupport.h"
#include "tests/support/TestEnvironment.h"

namespace kestrel::platform {
namespace {

using testing::Canvas;
using testing::Near;

constexpr ARGB kBlack = 0xFF000000;
constexpr ARGB kRed = 0xFFFF0000;
constexpr ARGB kBlue = 0xFF0000FF;

TEST(GdiPlusGraphics, AliasedAndSmoothCoverageOnIntegerPixelCentres) {
  Canvas c(12, 12);
  TGPSolidBrush black(kBlack);
  // A pixel is filled when the shape holds its centre (integers): x in [0.4, 10.4) gives 1..10.
  ASSERT_EQ(Ok, c.g.FillRectangle(&black, 0.4f, 0, 10, 1));
  EXPECT_EQ(0u, c.At(0, 0));
  EXPECT_EQ(kBlack, c.At(1, 0));
  EXPECT_EQ(kBlack, c.At(10, 0));
  EXPECT_EQ(0u, c.At(11, 0));

  // Smoothed, (0, 0, 9, 9) half-covers its first and last columns.
  c.g.SetSmoothingMode(SmoothingModeAntiAlias);
  ASSERT_EQ(Ok, c.g.FillRectangle(&black, 0, 2, 9, 9));
  EXPECT_NEAR(128, GetAlpha(c.At(0, 5)), 2);
  EXPECT_EQ(255, GetAlpha(c.At(5, 5)));
  EXPECT_NEAR(128, GetAlpha(c.At(9, 5)), 2);

  // Pixel offset "half" moves the centres to .5: the same rectangle covers whole pixels.
  Canvas half(12, 12);
  half.g.SetSmoothingMode(SmoothingModeAntiAlias);
  half.g.SetPixelOffsetMode(PixelOffsetModeHalf);
  ASSERT_EQ(Ok, half.g.FillRectangle(&black, 0, 0, 9, 9));
  EXPECT_EQ(255, GetAlpha(half.At(0, 5)));
  EXPECT_EQ(0, GetAlpha(half.At(9, 5)));
}

TEST(GdiPlusGraphics, PensLinesAndDots) {
  Canvas c(12, 6);
  TGPPen pen(kRed, 1);
  ASSERT_EQ(Ok, c.g.DrawLine(&pen, 0, 1, 9, 1));
  EXPECT_EQ(kRed, c.At(0, 1));
  EXPECT_EQ(kRed, c.At(8, 1));
  EXPECT_EQ(0u, c.At(4, 0));
  EXPECT_EQ(0u, c.At(4, 2));

  pen.SetDashStyle(DashStyleDot);
  ASSERT_EQ(Ok, c.g.DrawLine(&pen, 0, 4, 10, 4));
  for (int x = 0; x < 10; ++x) EXPECT_EQ(x % 2 == 0 ? kRed : 0u, c.At(x, 4)) << x;

  // Dash lengths are multiples of the width, never below one pixel.
  TGPPen wide(kRed, 3);
  wide.SetDashStyle(DashStyleDashDotDot);
  EXPECT_EQ((std::vector<double>{9, 3, 3, 3, 3, 3}), wide.DashLengths());
  REAL pattern[6];
  ASSERT_EQ(Ok, wide.GetDashPattern(pattern, 6));
  EXPECT_EQ(3.0f, pattern[0]);
  TGPPen thin(kRed, 0.5f);
  thin.SetDashStyle(DashStyleDash);
  EXPECT_EQ((std::vector<double>{3, 1}), thin.DashLengths());
  EXPECT_EQ(InvalidParameter, thin.SetDashStyle(DashStyleCustom));  // no custom pattern yet
  EXPECT_EQ(InvalidParameter, thin.SetWidth(-1));
  const REAL custom[] = {2, 0};
  EXPECT_EQ(InvalidParameter, thin.SetDashPattern(custom, 2));
}

TEST(GdiPlusGraphics, DrawImageOneToOneScaledAndMirrored) {
  TGPBitmap image(2, 1);
  image.SetPixel(0, 0, kRed);
  image.SetPixel(1, 0, kBlue);
  Canvas c(8, 4);
  ASSERT_EQ(Ok, c.g.DrawImage(&image, 3, 0));
  EXPECT_EQ(0u, c.At(2, 0));
  EXPECT_EQ(kRed, c.At(3, 0));
  EXPECT_EQ(kBlue, c.At(4, 0));
  EXPECT_EQ(0u, c.At(5, 0));

  ASSERT_EQ(Ok, c.g.DrawImage(&image, 2, 1, -2, 1));  // negative width mirrors
  EXPECT_EQ(kBlue, c.At(0, 1));
  EXPECT_EQ(kRed, c.At(1, 1));

  c.g.SetInterpolationMode(InterpolationModeNearestNeighbor);
  ASSERT_EQ(Ok, c.g.DrawImage(&image, 0, 2, 8, 2));
  EXPECT_EQ(kRed, c.At(3, 3));
  EXPECT_EQ(kBlue, c.At(4, 2));

  EXPECT_EQ(Ok, c.g.DrawImage(&image, 0, 0, 0, 5));  // nothing to draw
  EXPECT_EQ(InvalidParameter, c.g.DrawImage(nullptr, 0, 0));
  EXPECT_EQ(InvalidParameter, c.g.DrawImage(&image, {0, 0, 2, 2}, 0, 0, 2, 1, UnitInch));
}

TEST(GdiPlusImage, LoadsPngFilesAndBytesAndAsksAddedDecodersFirst) {
  kestrel::testing::TempDir dir;
  TGPBitmap source(3, 2);
  source.SetPixel(2, 1, 0x80FF0000);
  const std::string path = (dir / "picture.png").string();
  ASSERT_EQ(CAIRO_STATUS_SUCCESS, cairo_surface_write_to_png(source.Surface(), path.c_str()));
  TGPImage loaded(Utf8ToUtf16(path));
  ASSERT_EQ(Ok, loaded.GetLastStatus());
  EXPECT_EQ(3u, loaded.GetWidth());
  EXPECT_EQ(2u, loaded.GetHeight());
  TGPBitmap copy(loaded.Surface());
  ARGB pixel = 0;
  copy.GetPixel(2, 1, &pixel);
  EXPECT_TRUE(Near(pixel, 0x80FF0000, 1));

  // A decoder for a made-up format: four magic bytes give one blue pixel.
  TGPImage::AddDecoder([](const BYTE* data, std::size_t size) -> cairo_surface_t* {
    if (size < 4 || std::memcmp(data, "KTST", 4) != 0) return nullptr;
    TGPBitmap pixelImage(1, 1);
    pixelImage.SetPixel(0, 0, kBlue);
    return cairo_surface_reference(pixelImage.Surface());
  });
  const BYTE magic[] = {'K', 'T', 'S', 'T'};
  auto decoded = TGPImage::FromStream(magic, sizeof magic);
  ASSERT_EQ(Ok, decoded->GetLastStatus());
  EXPECT_EQ(1u, decoded->GetWidth());
  Canvas c(2, 2);
  ASSERT_EQ(Ok, c.g.DrawImage(decoded.get(), 1, 1));
  EXPECT_EQ(kBlue, c.At(1, 1));
}

TEST(GdiPlusGraphics, ClipCombinesResetsAndIsSavedWithTheState) {
  Canvas c(20, 20);
  TGPSolidBrush red(kRed);
  ASSERT_EQ(Ok, c.g.SetClip(TGPRectF{2, 2, 10, 10}));
  ASSERT_EQ(Ok, c.g.SetClip(TGPRectF{8, 8, 10, 10}, CombineModeUnion));
  ASSERT_EQ(Ok, c.g.ExcludeClip(TGPRectF{4, 4, 2, 2}));
  TGPRectF bounds;
  c.g.GetClipBounds(&bounds);
  EXPECT_EQ((TGPRectF{2, 2, 16, 16}), bounds);
  const GraphicsState saved = c.g.Save();
  c.g.SetSmoothingMode(SmoothingModeAntiAlias);
  c.g.SetClip(TGPRectF{0, 0, 1, 1}, CombineModeIntersect);
  EXPECT_EQ(TRUE, c.g.IsClipEmpty());
  EXPECT_EQ(Ok, c.g.FillRectangle(&red, 0, 0, 20, 20));  // clipped away entirely
  EXPECT_EQ(0, c.Painted());
  ASSERT_EQ(Ok, c.g.Restore(saved));
  EXPECT_EQ(SmoothingModeDefault, c.g.GetSmoothingMode());
  EXPECT_EQ(InvalidParameter, c.g.Restore(saved));  // already restored

  ASSERT_EQ(Ok, c.g.FillRectangle(&red, 0, 0, 20, 20));
  EXPECT_EQ(kRed, c.At(2, 2));
  EXPECT_EQ(kRed, c.At(17, 17));
  EXPECT_EQ(0u, c.At(4, 4));   // excluded
  EXPECT_EQ(0u, c.At(15, 3));  // outside both rectangles
  EXPECT_EQ(100 + 100 - 16 - 4, c.Painted());

  c.g.ResetClip();
  EXPECT_EQ(TRUE, TGPRegion().IsInfinite());
  TGPRegion clip;
  c.g.GetClip(&clip);
  EXPECT_EQ(TRUE, clip.IsInfinite());
  ASSERT_EQ(Ok, c.g.Clear(kBlue));
  EXPECT_EQ(400, c.Painted());
}

TEST(GdiPlusRegion, CombineModesOnPixels) {
  const TGPRectF a{0, 0, 10, 10}, b{5, 5, 10, 10};
  auto combined = [&](CombineMode mode) {
    TGPRegion r(a);
    EXPECT_EQ(Ok, r.Combine(TGPRegion(b), mode));
    return r;
  };
  auto in = [](const TGPRegion& r, REAL x, REAL y) { return r.IsVisible(x, y) == TRUE; };
  // Points: only in a (1,1); in both (7,7); only in b (12,12).
  TGPRegion intersect = combined(CombineModeIntersect), unite = combined(CombineModeUnion),
            exclusive = combined(CombineModeXor), exclude = combined(CombineModeExclude),
            complement = combined(CombineModeComplement), replace = combined(CombineModeReplace);
  EXPECT_TRUE(!in(intersect, 1, 1) && in(intersect, 7, 7) && !in(intersect, 12, 12));
  EXPECT_TRUE(in(unite, 1, 1) && in(unite, 7, 7) && in(unite, 12, 12));
  EXPECT_TRUE(in(exclusive, 1, 1) && !in(exclusive, 7, 7) && in(exclusive, 12, 12));
  EXPECT_TRUE(in(exclude, 1, 1) && !in(exclude, 7, 7) && !in(exclude, 12, 12));
  EXPECT_TRUE(!in(complement, 1, 1) && !in(complement, 7, 7) && in(complement, 12, 12));
  const TGPRegion onlyB(b);
  EXPECT_EQ(TRUE, replace.Equals(&onlyB));
  EXPECT_EQ(FALSE, replace.Equals(&intersect));
  EXPECT_EQ(InvalidParameter, TGPRegion(a).Combine(TGPRegion(b), static_cast<CombineMode>(9)));

  // Paths become aliased pixel sets: the circle's centre is in, the bounding box's corner is not.
  TGPGraphicsPath circle;
  circle.AddEllipse(0, 0, 40, 40);
  TGPRegion round(&circle);
  EXPECT_TRUE(in(round, 20, 20));
  EXPECT_FALSE(in(round, 2, 2));
  round.Translate(100, 0);
  EXPECT_TRUE(in(round, 120, 20));
  TGPRectF bounds;
  TGPRegion().GetBounds(&bounds);
  EXPECT_EQ((TGPRectF{-4194304, -4194304, 8388608, 8388608}), bounds);
}

TEST(GdiPlusGraphics, BadInputFailsWithoutDrawingOrCrashing) {
  Canvas c(10, 10);
  TGPSolidBrush red(kRed);
  TGPPen pen(kRed);
  EXPECT_EQ(InvalidParameter, c.g.FillRectangle(nullptr, 0, 0, 5, 5));
  EXPECT_EQ(InvalidParameter, c.g.FillPath(&red, nullptr));
  EXPECT_EQ(InvalidParameter, c.g.DrawPath(nullptr, nullptr));
  EXPECT_EQ(InvalidParameter, c.g.FillPolygon(&red, nullptr, 3));
  EXPECT_EQ(InvalidParameter, c.g.DrawLines(&pen, nullptr, 0));
  EXPECT_EQ(InvalidParameter, c.g.SetSmoothingMode(SmoothingModeInvalid));
  EXPECT_EQ(ValueOverflow, c.g.FillRectangle(&red, 0, 0, 1e30f, 5));
  EXPECT_EQ(ValueOverflow, c.g.DrawLine(&pen, NAN, 0, 5, 5));
  EXPECT_EQ(ValueOverflow, c.g.DrawImage(&c.bitmap, 0, 0, INFINITY, 1));
  EXPECT_EQ(Ok, c.g.FillRectangle(&red, 5, 5, -3, -3));  // empty: nothing to do
  EXPECT_EQ(Ok, c.g.FillEllipse(&red, 0, 0, 0, 10));
  EXPECT_EQ(0, c.Painted());
  EXPECT_EQ(ValueOverflow, c.g.GetLastStatus());
  EXPECT_EQ(Ok, c.g.GetLastStatus());

  // A brush rectangle too thin for the rasteriser is refused (stretching it would fail the whole
  // bitmap); the thinnest accepted one paints, and the bitmap stays usable.
  TGPLinearGradientBrush sliver({0, 0, 1e-30f, 10}, kRed, kBlue, LinearGradientModeHorizontal);
  EXPECT_EQ(OutOfMemory, c.g.FillRectangle(&sliver, 0, 0, 10, 10));
  EXPECT_EQ(0, c.Painted());
  EXPECT_EQ(Ok, c.g.DrawImage(&c.bitmap, 0, 0, 1e-20f, 1e-20f));
  TGPLinearGradientBrush thin({0, 0, kMinExtent, 10}, kRed, kBlue, LinearGradientModeHorizontal);
  EXPECT_EQ(Ok, c.g.FillRectangle(&thin, 0, 0, 1, 1));
  EXPECT_EQ(CAIRO_STATUS_SUCCESS, cairo_surface_status(c.bitmap.Surface()));
  EXPECT_EQ(InvalidParameter, TGPPen(kRed, 1e30f).GetLastStatus());
  c.g.GetLastStatus();

  // Big but valid coordinates are clipped to the surface.
  EXPECT_EQ(Ok, c.g.FillRectangle(&red, -4000000, -4000000, 8000000, 8000000));
  EXPECT_EQ(100, c.Painted());
  TGPGraphicsPath huge;
  huge.AddRectangle({-4000000, -4000000, 8000000, 8000000});
  EXPECT_EQ(Ok, c.g.SetClip(&huge));
  EXPECT_EQ(TRUE, c.g.IsVisible(5, 5));

  TGPBitmap none(0, 5);
  EXPECT_EQ(InvalidParameter, none.GetLastStatus());
  EXPECT_EQ(OutOfMemory, TGPBitmap(100000, 10).GetLastStatus());
  TGPGraphics onNothing(&none);
  EXPECT_EQ(InvalidParameter, onNothing.GetLastStatus());
  EXPECT_EQ(InvalidParameter, onNothing.FillRectangle(&red, 0, 0, 1, 1));
  TGPGraphics onNull(static_cast<TGPImage*>(nullptr));
  EXPECT_EQ(InvalidParameter, onNull.Clear(kRed));
  ARGB pixel;
  EXPECT_EQ(InvalidParameter, c.bitmap.GetPixel(10, 0, &pixel));
  EXPECT_EQ(InvalidParameter, c.bitmap.SetPixel(-1, 0, kRed));

  const BYTE junk[] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
  EXPECT_NE(Ok, TGPImage::FromStream(junk, sizeof junk)->GetLastStatus());
  EXPECT_EQ(FileNotFound, TGPImage(u"/nonexistent/picture.png").GetLastStatus());
}

}  // namespace
}  // namespace kestrel::platform
