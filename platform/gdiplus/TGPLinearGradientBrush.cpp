#include "platform/gdiplus/TGPLinearGradientBrush.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kestrel::platform {

namespace {

bool RectUsable(const TGPRectF& r) {
  return std::isfinite(r.X) && std::isfinite(r.Y) && r.Width > 0 && r.Height > 0 &&
         std::isfinite(r.Width) && std::isfinite(r.Height);
}

}  // namespace

TGPLinearGradientBrush::TGPLinearGradientBrush(const TGPPointF& point1, const TGPPointF& point2,
                                               ARGB color1, ARGB color2)
    : TGPGradientBrush(color1, color2) {
  cairo_matrix_init_identity(&worldToGradient_);
  x0_ = point1.X;
  y0_ = point1.Y;
  x1_ = point2.X;
  y1_ = point2.Y;
  rect_ = {std::min(point1.X, point2.X), std::min(point1.Y, point2.Y),
           std::fabs(point2.X - point1.X), std::fabs(point2.Y - point1.Y)};
  bool finite = std::isfinite(x0_) && std::isfinite(y0_) && std::isfinite(x1_) && std::isfinite(y1_);
  if (!finite || (x0_ == x1_ && y0_ == y1_)) SetState(OutOfMemory);
}

TGPLinearGradientBrush::TGPLinearGradientBrush(const TGPRectF& rect, ARGB color1, ARGB color2,
                                               LinearGradientMode mode)
    : TGPGradientBrush(color1, color2) {
  static constexpr double kModeAngles[] = {0, 90, 45, 135};
  if (mode < LinearGradientModeHorizontal || mode > LinearGradientModeBackwardDiagonal) {
    InitAngle(rect, 0, true);
    SetState(InvalidParameter);
    return;
  }
  InitAngle(rect, kModeAngles[mode], true);
}

TGPLinearGradientBrush::TGPLinearGradientBrush(const TGPRectF& rect, ARGB color1, ARGB color2,
                                               REAL angle, BOOL isAngleScalable)
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
    cairo_matrix_init_identity(&worldToGradient_);
    SetState(OutOfMemory);  // GDI+ refuses gradient rectangles without area
    return;
  }
  double a = std::fmod(degrees, 360.0) * std::numbers::pi / 180.0;
  double dx = std::cos(a), dy = std::sin(a);
  double w = rect.Width, h = rect.Height, ox = rect.X, oy = rect.Y;
  if (scalable) {
    cairo_matrix_init(&worldToGradient_, 1.0 / w, 0, 0, 1.0 / h, -ox / w, -oy / h);
    w = h = 1;
    ox = oy = 0;
  } else {
    cairo_matrix_init_identity(&worldToGradient_);
  }
  const double cx = ox + w / 2, cy = oy + h / 2;
  const double half = (std::fabs(dx) * w + std::fabs(dy) * h) / 2;
  x0_ = cx - dx * half;
  y0_ = cy - dy * half;
  x1_ = cx + dx * half;
  y1_ = cy + dy * half;
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
  cairo_pattern_set_matrix(pattern, &worldToGradient_);
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
