// Path geometry: GDI+'s arc angle convention, figure joining and closing, bounds.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/gdiplus/TGPGraphicsPath.h"

namespace kestrel::platform {
namespace {

TGPPointF Last(const TGPGraphicsPath& path) {
  TGPPointF p;
  EXPECT_EQ(Ok, path.GetLastPoint(&p));
  return p;
}

TEST(GdiPlusPath, ArcAnglesRunClockwiseFromPlusXOnTheEllipseItself) {
  TGPGraphicsPath quarter;
  ASSERT_EQ(Ok, quarter.AddArc(0, 0, 100, 50, 0, 90));
  EXPECT_FLOAT_EQ(100, quarter.Points().front().X);
  EXPECT_FLOAT_EQ(25, quarter.Points().front().Y);
  EXPECT_NEAR(50, Last(quarter).X, 1e-4);  // 90 degrees is straight down on screen
  EXPECT_NEAR(50, Last(quarter).Y, 1e-4);

  TGPGraphicsPath back;
  ASSERT_EQ(Ok, back.AddArc(0, 0, 100, 100, 0, -90));
  EXPECT_NEAR(50, Last(back).X, 1e-4);  // a negative sweep turns up
  EXPECT_NEAR(0, Last(back).Y, 1e-4);

  // On a flat ellipse 45 degrees means the ray at 45 degrees, not the parameter angle.
  TGPGraphicsPath flat;
  ASSERT_EQ(Ok, flat.AddArc(0, 0, 200, 100, 0, 45));
  const TGPPointF p = Last(flat);
  EXPECT_NEAR(p.X - 100, p.Y - 50, 1e-3);
  EXPECT_NEAR(1.0, std::pow((p.X - 100) / 100, 2) + std::pow((p.Y - 50) / 50, 2), 1e-4);

  // Through three quadrants of a flat ellipse, starting at a negative angle: the end lies on the
  // 225-degree ray. On the ellipse's parameter that is 307 degrees, so four béziers.
  TGPGraphicsPath wide;
  ASSERT_EQ(Ok, wide.AddArc(0, 0, 200, 100, -45, 270));
  const TGPPointF end = Last(wide);
  EXPECT_LT(end.X, 100);
  EXPECT_NEAR(end.X - 100, end.Y - 50, 1e-3);
  EXPECT_EQ(13, wide.GetPointCount());

  // Sweeps beyond a turn are clamped to one full ellipse, ending where they started.
  TGPGraphicsPath full;
  ASSERT_EQ(Ok, full.AddArc(10, 10, 80, 40, 30, 720));
  EXPECT_NEAR(full.Points().front().X, Last(full).X, 1e-3);
  EXPECT_NEAR(full.Points().front().Y, Last(full).Y, 1e-3);
}

TEST(GdiPlusPath, SegmentsJoinWithinAFigureAndCloseFigureStartsANewOne) {
  TGPGraphicsPath path;
  path.AddLine(0, 0, 10, 0);
  path.AddLine(10, 0, 10, 10);   // meets the previous end: no extra point
  path.AddLine(20, 20, 30, 20);  // does not: joined by a line
  EXPECT_EQ(5, path.GetPointCount());
  path.CloseFigure();
  path.AddLine(50, 50, 60, 60);
  const std::vector<BYTE> expected = {PathPointTypeStart,
                                      PathPointTypeLine,
                                      PathPointTypeLine,
                                      PathPointTypeLine,
                                      PathPointTypeLine | PathPointTypeCloseSubpath,
                                      PathPointTypeStart,
                                      PathPointTypeLine};
  EXPECT_EQ(expected, path.Types());

  // Arcs join the same way, which the rounded outlines rely on.
  TGPGraphicsPath rounded;
  rounded.AddArc(0, 0, 20, 20, 180, 90);
  rounded.AddArc(80, 0, 20, 20, 270, 90);
  EXPECT_EQ(PathPointTypeLine, rounded.Types()[4]);
  EXPECT_NEAR(90, rounded.Points()[4].X, 1e-4);
  EXPECT_EQ(1, std::count(rounded.Types().begin(), rounded.Types().end(), PathPointTypeStart));
}

TEST(GdiPlusPath, ClosedShapesAndBounds) {
  TGPGraphicsPath path;
  ASSERT_EQ(Ok, path.AddEllipse(10, 20, 100, 50));
  EXPECT_EQ(13, path.GetPointCount());
  EXPECT_TRUE(path.Types().back() & PathPointTypeCloseSubpath);
  TGPRectF bounds;
  path.GetBounds(&bounds);
  EXPECT_NEAR(10, bounds.X, 1e-4);
  EXPECT_NEAR(100, bounds.Width, 1e-4);
  EXPECT_NEAR(50, bounds.Height, 1e-4);

  path.AddRectangle({0, 0, 5, 5});
  EXPECT_EQ(PathPointTypeStart, path.Types()[13]);
  path.GetBounds(&bounds);
  EXPECT_EQ((TGPRectF{0, 0, 110, 70}), bounds);

  TGPGraphicsPath copy;
  copy.AddPath(&path, TRUE);
  EXPECT_EQ(path.Points().size(), copy.Points().size());
}

TEST(GdiPlusPath, DegenerateInputIsRefusedWithoutChangingThePath) {
  TGPGraphicsPath path;
  EXPECT_EQ(InvalidParameter, path.AddArc(0, 0, 0, 10, 0, 90));
  EXPECT_EQ(InvalidParameter, path.AddArc(0, 0, 10, -1, 0, 90));
  EXPECT_EQ(InvalidParameter, path.AddArc(0, 0, 10, 10, NAN, 90));
  EXPECT_EQ(InvalidParameter, path.AddEllipse(0, 0, 10, 0));
  EXPECT_EQ(InvalidParameter, path.AddPolygon(nullptr, 3));
  const TGPPointF two[] = {{0, 0}, {1, 1}};
  EXPECT_EQ(InvalidParameter, path.AddPolygon(two, 2));
  EXPECT_EQ(InvalidParameter, path.AddBeziers(two, 2));
  EXPECT_EQ(Ok, path.AddRectangle({0, 0, -5, 5}));  // skipped, as GDI+ does
  EXPECT_EQ(0, path.GetPointCount());
  EXPECT_EQ(InvalidParameter, path.GetLastStatus());
  EXPECT_EQ(Ok, path.GetLastStatus());

  path.AddLine(0, 0, 1e9f, 0);
  EXPECT_FALSE(path.CoordinatesValid());
}

}  // namespace
}  // namespace kestrel::platform
