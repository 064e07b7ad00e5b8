#include <gtest/gtest.h>

#include "SmoothTestSupport.h"
#include "smooth/GDIPFill.h"
#include "smooth/internal/FillPicturePlacement.h"
#include "smooth/internal/GDIPGradient.h"

namespace kestrel {
namespace {

namespace pf = platform;
using testing::PaintSurface;

constexpr pf::ARGB kOpaqueRed = 0xFFFF0000, kOpaqueBlue = 0xFF0000FF;

int ChannelDistance(pf::ARGB a, pf::ARGB b) {
  int d = 0;
  for (int shift = 0; shift < 32; shift += 8)
    d = std::max(d, std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)));
  return d;
}

TEST(FillPaint, NewFillIsAnOpaqueVerticalGradientAndNothingElse) {
  PaintSurface s(40, 40);
  TGDIPFill fill;
  const pf::TGPRectF r = fill.Fill(&s.g, pf::TGPRectF{0, 0, 40, 40});
  EXPECT_EQ(r, (pf::TGPRectF{0, 0, 40, 40}));
  EXPECT_LE(ChannelDistance(s.At(20, 0), 0xFFC0C0C0), 3);
  EXPECT_LE(ChannelDistance(s.At(20, 39), 0xFF808080), 6);  // the brush spans one pixel more
  EXPECT_EQ(s.At(0, 20), s.At(39, 20));                     // no border, no shadow
  EXPECT_GT(pf::GetRed(s.At(20, 10)), pf::GetRed(s.At(20, 30)));
}

TEST(FillPaint, ShadowShrinksTheFillAndFocusRectFollowsTheBorder) {
  PaintSurface s(110, 60);
  TGDIPFill fill;
  fill.SetShadowOffset(4);
  fill.SetBorderWidth(2);
  EXPECT_EQ(fill.Fill(&s.g, pf::TGPRectF{0, 0, 100, 50}), (pf::TGPRectF{0, 0, 96, 46}));
  EXPECT_EQ(fill.FocusRect, (pf::TGPRectF{2, 2, 92, 42}));  // Focus is off, still updated
  fill.SetShadowType(stSurround);
  EXPECT_EQ(fill.Fill(&s.g, pf::TGPRectF{0, 0, 100, 50}), (pf::TGPRectF{4, 4, 92, 42}));
  fill.SetShadowType(stBottom);
  EXPECT_EQ(fill.Fill(&s.g, pf::TGPRectF{0, 0, 100, 50}), (pf::TGPRectF{0, 0, 100, 46}));
  fill.SetShadowColor(clNone);
  EXPECT_EQ(fill.Fill(&s.g, pf::TGPRectF{0, 0, 100, 50}), (pf::TGPRectF{0, 0, 100, 50}));
}

TEST(FillPaint, ThinRectanglesDrawOnlyTheBorderLineAndNeedASurface) {
  TGDIPFill fill;
  fill.SetColor(clRed);
  {
    PaintSurface s(20, 5);
    fill.Fill(&s.g, pf::TGPRectF{0, 2, 20, 1});
    EXPECT_EQ(s.At(10, 2), 0u);  // border off: nothing
  }
  fill.SetBorderColor(clBlue);
  PaintSurface s(20, 5);
  fill.Fill(&s.g, pf::TGPRectF{0, 2, 20, 1});
  // A line corner to corner, (0, 2) to (20, 3), aliased: one pixel per column.
  EXPECT_EQ((s.At(10, 2) == kOpaqueBlue) + (s.At(10, 3) == kOpaqueBlue), 1);
  EXPECT_EQ(s.At(10, 0), 0u);
  EXPECT_EQ(s.At(10, 4), 0u);
  EXPECT_EQ(fill.Fill(nullptr, pf::TGPRectF{0, 2, 20, 1}), (pf::TGPRectF{0, 2, 20, 1}));
  EXPECT_EQ(fill.Fill(nullptr, pf::TGPRectF{0, 2, 20, 9}), (pf::TGPRectF{0, 2, 20, 9}));
}

TEST(FillPaint, MirroredHalvesOverlapByTwoPixelsAroundTheMiddle) {
  PaintSurface s(10, 12);
  TGDIPFill fill;
  fill.SetGradientType(gtSolid);
  fill.SetGradientMirrorType(gtSolid);
  fill.SetColor(clRed);
  fill.SetColorMirror(clBlue);
  fill.SetColorMirrorTo(clBlue);
  fill.SetOpacityMirror(128);  // the overlap shows as a blend
  fill.Fill(&s.g, pf::TGPRectF{0, 0, 10, 10});
  // Upper half y 0..6, lower half y 4..10.
  EXPECT_EQ(s.At(5, 3), kOpaqueRed);
  EXPECT_LE(ChannelDistance(s.At(5, 5), 0xFF7F0080), 2);
  EXPECT_LE(ChannelDistance(s.At(5, 8), 0x800000FF), 2);
  EXPECT_EQ(s.At(5, 11), 0u);
}

TEST(FillPaint, MainFillKindsFollowTheirColours) {
  struct Case {
    TGradientType type;
    TColor colorTo;
    pf::ARGB expected;  // at the centre
  };
  const Case cases[] = {
      {gtHatch, clNone, kOpaqueRed},  // no end colour: solid whatever the kind
      {gtTexture, clNone, kOpaqueRed},
      {gtPath, clBlue, 0},  // no main fill of its own
      {gtNone, clBlue, 0},
      {gtHorizontal, clRed, kOpaqueRed},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.type);
    PaintSurface s(20, 20);
    TGDIPFill fill;
    fill.SetColor(clRed);
    fill.SetColorTo(c.colorTo);
    fill.SetGradientType(c.type);
    fill.Fill(&s.g, pf::TGPRectF{0, 0, 20, 20});
    EXPECT_EQ(s.At(10, 10), c.expected);
  }
}

TEST(FillPaint, CallersClipAndSmoothingSurviveAPaint) {
  PaintSurface s(40, 40);
  s.g.SetClip(pf::TGPRectF{0, 0, 20, 40});
  s.g.SetSmoothingMode(pf::SmoothingModeNone);
  TGDIPFill fill;
  fill.SetGlow(gmRadialGradient);
  fill.SetRounding(6);
  fill.SetFocus(true);
  fill.Fill(&s.g, pf::TGPRectF{0, 0, 40, 40});
  EXPECT_EQ(s.At(30, 20), 0u);  // the fill itself stayed inside the caller's clip
  pf::TGPRectF clip;
  s.g.GetClipBounds(&clip);
  EXPECT_EQ(clip, (pf::TGPRectF{0, 0, 20, 40}));
  EXPECT_EQ(s.g.GetSmoothingMode(), pf::SmoothingModeNone);
}

TEST(FillPaint, GlowOnANarrowRectangleSkipsItsBandsWithoutPaintingOutside) {
  PaintSurface s(12, 20);
  TGDIPFill fill;
  fill.SetGradientType(gtNone);
  fill.SetGlow(gmRadialGradient);
  fill.Fill(&s.g, pf::TGPRectF{2, 2, 8, 16});  // bands and ellipse would be negative wide
  EXPECT_EQ(s.At(0, 10), 0u);
  EXPECT_EQ(s.At(11, 10), 0u);
  EXPECT_NE(s.At(3, 10), 0u);  // the glow outline still shows
}

TEST(FillPicture, PlacementTable) {
  const pf::RECT rect{10, 20, 110, 70};  // 100 × 50
  struct Case {
    TFillPicturePosition position;
    pf::RECT expected;
  };
  const Case cases[] = {
      {ppTopLeft, {10, 20, 40, 40}},    {ppTopCenter, {45, 20, 75, 40}},    {ppTopRight, {80, 20, 110, 40}},
      {ppBottomLeft, {10, 50, 40, 70}}, {ppBottomCenter, {45, 50, 75, 70}}, {ppBottomRight, {80, 50, 110, 70}},
      {ppCenterLeft, {10, 35, 40, 55}}, {ppCenterCenter, {45, 35, 75, 55}}, {ppCenterRight, {80, 35, 110, 55}},
      {ppCustom, {-4, 6, 26, 26}},      {ppStretched, {10, 20, 110, 70}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.position);
    const pf::RECT r = PictureTarget(c.position, false, pmStretch, 30, 20, rect, -4, 6);
    EXPECT_EQ(r.left, c.expected.left);
    EXPECT_EQ(r.top, c.expected.top);
    EXPECT_EQ(r.right, c.expected.right);
    EXPECT_EQ(r.bottom, c.expected.bottom);
  }
  // Stretched keeping the aspect ratio: 30 × 20 fits the height, 75 × 50, centred.
  const pf::RECT kept = PictureTarget(ppStretched, true, pmStretch, 30, 20, rect, 0, 0);
  EXPECT_EQ(kept.left, 22);  // (100 - 75) / 2 + 10 = 22.5, halves to even
  EXPECT_EQ(kept.right - kept.left, 75);
}

TEST(FillPicture, FitPictureSize) {
  EXPECT_EQ(FitPictureSize(pmNormal, 100, 50, 30, 20).Width, 30);
  EXPECT_EQ(FitPictureSize(pmStretch, 100, 50, 30, 20).Width, 75);
  const TPictureSize wide = FitPictureSize(pmStretch, 100, 50, 400, 100);
  EXPECT_EQ(wide.Width, 100);
  EXPECT_EQ(wide.Height, 25);
  EXPECT_EQ(FitPictureSize(pmNormal, 100, 0, 30, 20).Width, 0);
  EXPECT_EQ(FitPictureSize(pmNormal, 100, 50, -1, 20).Height, 0);
}

TEST(FillPicture, ForegroundAtCustomPlaceAndBackgroundOnlyWithTextures) {
  TGDIPFill fill;
  fill.SetGradientType(gtNone);
  fill.Picture()->SetData(testing::PngBytes(4, 2, 0xFFFF0000, 0xFFFF0000));
  fill.SetPicturePosition(ppCustom);
  fill.SetPictureLeft(30);
  fill.SetPictureTop(1);
  fill.BackGroundPicture()->SetData(testing::PngBytes(4, 4, 0xFF0000FF, 0xFF0000FF));
  PaintSurface s(40, 20);
  fill.Fill(&s.g, pf::TGPRectF{5, 5, 10, 10});
  EXPECT_EQ(s.At(31, 2), kOpaqueRed);
  EXPECT_EQ(s.At(6, 6), 0u);  // not a texture fill: no background picture
  fill.SetGradientType(gtTexture);
  fill.Fill(&s.g, pf::TGPRectF{5, 5, 10, 10});
  EXPECT_EQ(s.At(6, 6), kOpaqueBlue);
}

TEST(FillShapes, RoundingPathsKeepTheirCornersAndSquareANegativeRadius) {
  auto bounds = [](TFillRoundingType type, float radius) {
    auto path = CreateRoundingPath(pf::TGPRectF{0, 0, 40, 20}, radius, type);
    pf::TGPRectF b;
    path->GetBounds(&b);
    return std::make_pair(b, path->GetPointCount());
  };
  for (int type = rtNone; type <= rtRight; ++type) {
    SCOPED_TRACE(type);
    EXPECT_EQ(bounds(static_cast<TFillRoundingType>(type), 5).first, (pf::TGPRectF{0, 0, 40, 20}));
    EXPECT_EQ(bounds(static_cast<TFillRoundingType>(type), -5).first, (pf::TGPRectF{0, 0, 40, 20}));
  }
  EXPECT_GT(bounds(rtBoth, 5).second, bounds(rtTop, 5).second);
  // Overlapping arcs stay, but a radius past the longer side sweeps no further.
  EXPECT_EQ(bounds(rtBoth, 10112).first, bounds(rtBoth, 40).first);
  EXPECT_GT(bounds(rtBoth, 40).first.Height, 20);
  EXPECT_EQ(bounds(static_cast<TFillRoundingType>(9), 5).second, 0);
}

}  // namespace
}  // namespace kestrel
