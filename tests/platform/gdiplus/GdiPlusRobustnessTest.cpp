// Random calls with extreme values: every call answers with a status, nothing crashes, and the
// bitmap stays usable (cairo marks a surface failed for good when an operation overflows it).

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "platform/gdiplus/GdiPlus.h"

namespace kestrel::platform {
namespace {

class Chaos {
 public:
  explicit Chaos(unsigned seed) : random_(seed) {}

  REAL Value() {
    static const REAL kSpecial[] = {0,
                                    -0.0f,
                                    1e-30f,
                                    -1,
                                    0.5f,
                                    1e6f,
                                    -4194304,
                                    4194305,
                                    1e30f,
                                    std::numeric_limits<REAL>::infinity(),
                                    std::numeric_limits<REAL>::quiet_NaN()};
    if (Pick(3) == 0) return kSpecial[Pick(std::size(kSpecial))];
    return std::uniform_real_distribution<REAL>(-60, 60)(random_);
  }
  TGPRectF Rect() { return {Value(), Value(), Value(), Value()}; }
  TGPPointF Point() { return {Value(), Value()}; }
  int Pick(size_t n) { return static_cast<int>(std::uniform_int_distribution<size_t>(0, n - 1)(random_)); }

  std::unique_ptr<TGPBrush> Brush(const TGPImage* texture) {
    switch (Pick(5)) {
      case 0: return std::make_unique<TGPSolidBrush>(0x80FF0000);
      case 1: {
        auto brush = std::make_unique<TGPLinearGradientBrush>(Rect(), 0xFF0000FF, 0x00FFFFFF, Value(), Pick(2));
        brush->SetGammaCorrection(Pick(2));
        brush->SetWrapMode(static_cast<WrapMode>(Pick(6)));
        return brush;
      }
      case 2: {
        TGPGraphicsPath path;
        path.AddEllipse(Rect());
        path.AddArc(Rect(), Value(), Value());
        auto brush = std::make_unique<TGPPathGradientBrush>(&path);
        brush->SetCenterPoint(Point());
        brush->SetWrapMode(static_cast<WrapMode>(Pick(6)));
        brush->SetFocusScales(Value(), Value());
        return brush;
      }
      case 3: return std::make_unique<TGPHatchBrush>(static_cast<HatchStyle>(Pick(56) - 1), 0xFF000000, 0x40FFFFFF);
      default: return std::make_unique<TGPTextureBrush>(texture, static_cast<WrapMode>(Pick(6)));
    }
  }

 private:
  std::mt19937 random_;
};

class GdiPlusRobustness : public ::testing::TestWithParam<unsigned> {};

TEST_P(GdiPlusRobustness, RandomCallsWithExtremeValuesKeepTheBitmapUsable) {
  TGPBitmap bitmap(64, 48);
  TGPBitmap texture(3, 2);
  TGPGraphics g(&bitmap);
  Chaos chaos(GetParam());
  for (int round = 0; round < 400; ++round) {
    auto brush = chaos.Brush(&texture);
    TGPPen pen(brush.get(), chaos.Value());
    pen.SetDashStyle(static_cast<DashStyle>(chaos.Pick(6)));
    g.SetSmoothingMode(static_cast<SmoothingMode>(chaos.Pick(7) - 1));
    g.SetPixelOffsetMode(static_cast<PixelOffsetMode>(chaos.Pick(6) - 1));
    TGPGraphicsPath path(static_cast<FillMode>(chaos.Pick(2)));
    path.AddArc(chaos.Rect(), chaos.Value(), chaos.Value());
    path.AddBezier(chaos.Point(), chaos.Point(), chaos.Point(), chaos.Point());
    path.AddRectangle(chaos.Rect());
    if (chaos.Pick(2)) path.CloseFigure();
    const TGPPointF triangle[] = {chaos.Point(), chaos.Point(), chaos.Point()};
    TStatus status = Ok;
    switch (chaos.Pick(10)) {
      case 0: status = g.FillRectangle(brush.get(), chaos.Rect()); break;
      case 1: status = g.FillEllipse(brush.get(), chaos.Rect()); break;
      case 2: status = g.FillPath(brush.get(), &path); break;
      case 3: status = g.FillPolygon(brush.get(), triangle, 3); break;
      case 4: status = g.DrawPath(&pen, &path); break;
      case 5: status = g.DrawLine(&pen, chaos.Point(), chaos.Point()); break;
      case 6: status = g.DrawImage(&texture, chaos.Rect()); break;
      case 7: status = g.SetClip(&path, static_cast<CombineMode>(chaos.Pick(7))); break;
      case 8: status = g.SetClip(chaos.Rect(), static_cast<CombineMode>(chaos.Pick(6))); break;
      default: status = g.ResetClip(); break;
    }
    ASSERT_GE(status, Ok);
    ASSERT_LE(status, PropertyNotSupported);
    ASSERT_EQ(CAIRO_STATUS_SUCCESS, cairo_surface_status(bitmap.Surface())) << "round " << round;
  }
  g.ResetClip();
  TGPSolidBrush blue(0xFF0000FF);
  ASSERT_EQ(Ok, g.FillRectangle(&blue, 0, 0, 64, 48));
  ARGB pixel = 0;
  bitmap.GetPixel(63, 47, &pixel);
  EXPECT_EQ(0xFF0000FFu, pixel);
}

// Seed 20 once found a gradient rectangle far from the origin overflowing cairo's fixed point.
INSTANTIATE_TEST_SUITE_P(Seeds, GdiPlusRobustness, ::testing::Values(1u, 20u, 20261209u));

}  // namespace
}  // namespace kestrel::platform
