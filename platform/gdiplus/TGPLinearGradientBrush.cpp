#include "platform/gdiplus/TGPLinearGradientBrush.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kestrel::platform {

namespace {

bool RectUsable(const TGPRectF& r) {
  return std::fabs(r.X) <= kMaxCoordinate && std::fabs(r.Y) <= kMaxCoordinate && r.Width >= kMinExtent &&
         r.Height >= kMinExtent && r.Width <= 2 * kMaxCoordinate && r.Height <= 2 * kMaxCoordinate;
}

}  // namespace

TGPLinearGradientBrush::TGPLinearGradientBrush(const TGPPointF& point1, const TGPPointF& point2, ARGB color1,
                                               ARGB color2)
    : TGPGradientBrush(color1, color2) {
  x0_ = point1.X;
  y0_ = point1.Y;
  x1_ = point2.X;
  y1_ = point2.Y;
  rect_ = {std::min(point1.X, point2.X), std::min(point1.Y, point2.Y), std::fabs(point2.X - point1.X),
           std::fabs(point2.Y - point1.Y)};
  const bool inRange = std::fabs(x0_) <= kMaxCoordinate && std::fabs(y0_) <= kMaxCoordinate &&
                       std::fabs(x1_) <= kMaxCoordinate && std::fabs(y1_) <= kMaxCoordinate;
  if (!inRange || std::hypot(x1_ - x0_, y1_ - y0_) < kMinExtent) SetState(OutOfMemory);
}

TGPLinearGradientBrush::TGPLinearGradientBrush(const TGPRectF& rect, ARGB color1, ARGB color2, LinearGradientMode mode)
    : TGPGradientBrush(color1, color2) {
  static constexpr double kModeAngles[] = {0, 90, 45, 135};
  if (mode < LinearGradientModeHorizontal || mode > LinearGradientModeBackwardDiagonal) {
    InitAngle(rect, 0, true);
    SetState(InvalidParameter);
    return;
  }
  InitAngle(rect, kModeAngles[mode], true);
}

TGPLinearGradientBrush::TGPLinearGradientBrush(const TGPRectF& rect, ARGB color1, ARGB color2, REAL angle,
                                               BOOL isAngleScalable)
    : TGPGradientBrush(color1, color2) {
  InitAngle(rect, std::isfinite(angle) ? angle : 0.0, isAngleScalable != FALSE);
  if (!std::isfinite(angle)) SetState(InvalidParameter);
}

// The gradient runs along `degrees` (clockwise from +x) through the rectangle, so that the two
// corners that lie furthest along and against that direction get the pure end colours. With
// `scalable` this is worked out in the unit square and then stretched onto the rectangle.
void TGPLinearGradientBrush::InitAngle(const TGPRectF& rect, double degrees, bool scalable) {
  rect_ = rect;
  if (!RectUsable(rect)) {
    SetState(OutOfMemory);  // GDI+ refuses gradient rectangles without area
    return;
  }
  const double a = std::fmod(degrees, 360.0) * std::numbers::pi / 180.0;
  const double dx = std::cos(a), dy = std::sin(a);
  // Worked out in the unit square (scalable) or in the rectangle itself.
  const double w = scalable ? 1 : rect.Width, h = scalable ? 1 : rect.Height;
  const double half = (std::fabs(dx) * w + std::fabs(dy) * h) / 2;
  const double sx0 = w / 2 - dx * half, sy0 = h / 2 - dy * half;  // relative to the corner
  const double ex = 2 * dx * half, ey = 2 * dy * half;            // start to end
  // t is affine in world coordinates: t = gx·x + gy·y + g0. Cairo gets the gradient in world
  // coordinates with no pattern matrix, which keeps far-away rectangles within its fixed-point
  // range (it refits long gradients itself).
  const double length2 = ex * ex + ey * ey;
  const double ux = scalable ? 1.0 / rect.Width : 1.0, uy = scalable ? 1.0 / rect.Height : 1.0;
  const double gx = ex * ux / length2, gy = ey * uy / length2;
  const double g0 = -(gx * rect.X + gy * rect.Y) - (sx0 * ex + sy0 * ey) / length2;
  const double g2 = gx * gx + gy * gy;
  x0_ = -g0 * gx / g2;
  y0_ = -g0 * gy / g2;
  x1_ = x0_ + gx / g2;
  y1_ = y0_ + gy / g2;
}

cairo_pattern_t* TGPLinearGradientBrush::CreatePattern(const PatternContext&) const {
  if (State() != Ok) {
    Remember(State());
    return nullptr;
  }
  cairo_pattern_t* pattern = cairo_pattern_create_linear(x0_, y0_, x1_, y1_);
  for (double t : ramp_.RenderPositions(false)) {
    double c[4];
    ColorRamp::ToDoubles(ramp_.ColorAt(t), c);
    cairo_pattern_add_color_stop_rgba(pattern, t, c[0], c[1], c[2], c[3]);
  }
  // The brush's own x axis is the gradient's direction, so only the x flips mirror it.
  const bool flip = wrap_ == WrapModeTileFlipX || wrap_ == WrapModeTileFlipXY;
  cairo_pattern_set_extend(pattern, flip ? CAIRO_EXTEND_REFLECT : CAIRO_EXTEND_REPEAT);
  return pattern;
}

TStatus TGPLinearGradientBrush::SetLinearColors(ARGB color1, ARGB color2) {
  ramp_.SetEnds(color1, color2);
  return Ok;
}

TStatus TGPLinearGradientBrush::GetLinearColors(ARGB* colors) const {
  if (!colors) return Remember(InvalidParameter);
  colors[0] = ramp_.From();
  colors[1] = ramp_.To();
  return Ok;
}

TStatus TGPLinearGradientBrush::GetRectangle(TGPRectF* rect) const {
  if (!rect) return Remember(InvalidParameter);
  *rect = rect_;
  return Ok;
}

TStatus TGPLinearGradientBrush::SetWrapMode(WrapMode mode) {
  if (!ValidWrapMode(mode) || mode == WrapModeClamp) return Remember(InvalidParameter);
  wrap_ = mode;
  return Ok;
}

}  // namespace kestrel::platform
