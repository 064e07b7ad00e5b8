#include "platform/gdiplus/TGPPathGradientBrush.h"

#include <algorithm>
#include <cmath>

#include "platform/gdiplus/internal/PathGradientRaster.h"

namespace kestrel::platform {

namespace {

constexpr ARGB kDefaultCenter = 0xFF000000;
constexpr ARGB kDefaultSurround = 0xFFFFFFFF;
// The most pixels one fill renders (a tiled brush renders its whole bounding rectangle), and
// cairo's limit for an image side.
constexpr double kMaxRenderedPixels = 16.0 * 1024 * 1024;
constexpr double kMaxImageSide = 32767;

TGPPointF Centroid(const TGPGraphicsPath& path) {
  const auto& pts = path.Points();
  double area = 0, cx = 0, cy = 0;
  for (size_t i = 0; i < pts.size(); ++i) {
    const auto& a = pts[i];
    const auto& b = pts[(i + 1) % pts.size()];
    double cross = static_cast<double>(a.X) * b.Y - static_cast<double>(b.X) * a.Y;
    area += cross;
    cx += (a.X + b.X) * cross;
    cy += (a.Y + b.Y) * cross;
  }
  if (std::fabs(area) > 1e-9) return {static_cast<REAL>(cx / (3 * area)), static_cast<REAL>(cy / (3 * area))};
  TGPRectF bounds;
  path.GetBounds(&bounds);
  return {bounds.X + bounds.Width / 2, bounds.Y + bounds.Height / 2};
}

}  // namespace

TGPPathGradientBrush::TGPPathGradientBrush(const TGPGraphicsPath* path)
    : TGPGradientBrush(kDefaultSurround, kDefaultCenter) {
  if (path) boundary_ = *path;
  Init();
}

TGPPathGradientBrush::TGPPathGradientBrush(const TGPPointF* points, INT count, WrapMode wrapMode)
    : TGPGradientBrush(kDefaultSurround, kDefaultCenter) {
  if (points && count >= 3) boundary_.AddPolygon(points, count);
  wrap_ = ValidWrapMode(wrapMode) ? wrapMode : WrapModeClamp;
  Init();
  if (!ValidWrapMode(wrapMode)) SetState(InvalidParameter);
}

void TGPPathGradientBrush::Init() {
  surround_ = {kDefaultSurround};
  if (boundary_.GetPointCount() < 3 || !boundary_.CoordinatesValid()) {
    SetState(boundary_.GetPointCount() < 3 ? OutOfMemory : ValueOverflow);
    return;
  }
  center_ = Centroid(boundary_);
}

TStatus TGPPathGradientBrush::SetCenterColor(ARGB color) {
  ramp_.SetEnds(ramp_.From(), color);
  return Ok;
}

TStatus TGPPathGradientBrush::GetCenterColor(ARGB* color) const {
  if (!color) return Remember(InvalidParameter);
  *color = ramp_.To();
  return Ok;
}

TStatus TGPPathGradientBrush::SetSurroundColors(const ARGB* colors, INT* count) {
  if (!colors || !count || *count < 1 || *count > std::max(1, GetPointCount())) return Remember(InvalidParameter);
  surround_.assign(colors, colors + *count);
  return Ok;
}

TStatus TGPPathGradientBrush::GetSurroundColors(ARGB* colors, INT* count) const {
  if (!colors || !count || *count < GetSurroundColorCount()) return Remember(InvalidParameter);
  std::copy(surround_.begin(), surround_.end(), colors);
  *count = GetSurroundColorCount();
  return Ok;
}

ARGB TGPPathGradientBrush::SurroundAt(size_t pointIndex) const {
  return surround_[std::min(pointIndex, surround_.size() - 1)];
}

TStatus TGPPathGradientBrush::SetCenterPoint(const TGPPointF& point) {
  if (!std::isfinite(point.X) || !std::isfinite(point.Y)) return Remember(InvalidParameter);
  center_ = point;
  return Ok;
}

TStatus TGPPathGradientBrush::GetCenterPoint(TGPPointF* point) const {
  if (!point) return Remember(InvalidParameter);
  *point = center_;
  return Ok;
}

TStatus TGPPathGradientBrush::GetRectangle(TGPRectF* rect) const { return Remember(boundary_.GetBounds(rect)); }

TStatus TGPPathGradientBrush::SetFocusScales(REAL xScale, REAL yScale) {
  if (!(xScale >= 0 && xScale <= 1 && yScale >= 0 && yScale <= 1)) return Remember(InvalidParameter);
  focusX_ = xScale;
  focusY_ = yScale;
  return Ok;
}

TStatus TGPPathGradientBrush::GetFocusScales(REAL* xScale, REAL* yScale) const {
  if (!xScale || !yScale) return Remember(InvalidParameter);
  *xScale = focusX_;
  *yScale = focusY_;
  return Ok;
}

TStatus TGPPathGradientBrush::SetWrapMode(WrapMode mode) {
  if (!ValidWrapMode(mode)) return Remember(InvalidParameter);
  wrap_ = mode;
  return Ok;
}

cairo_surface_t* TGPPathGradientBrush::Render(int x, int y, int width, int height, double pixelOffset,
                                              int scale) const {
  // Rendered from the geometry magnified by `scale`, sampling each image pixel at its centre.
  TGPGraphicsPath boundary(boundary_);
  TGPMatrix magnify;
  magnify.Scale(static_cast<REAL>(scale), static_cast<REAL>(scale));
  boundary.Transform(&magnify);
  const PathGradientRaster raster(boundary, {center_.X * scale, center_.Y * scale}, ramp_, (focusX_ + focusY_) / 2.0,
                                  [this](size_t i) { return SurroundAt(i); });
  return raster.Render(x * scale, y * scale, width * scale, height * scale, pixelOffset * scale);
}

cairo_pattern_t* TGPPathGradientBrush::CreatePattern(const PatternContext& context) const {
  if (State() != Ok) {
    Remember(State());
    return nullptr;
  }
  TGPRectF bounds;
  boundary_.GetBounds(&bounds);
  // Whole pixels around the boundary, and for clamping only those the fill can touch.
  const int left = static_cast<int>(std::floor(bounds.X)) - 1, top = static_cast<int>(std::floor(bounds.Y)) - 1;
  int right = static_cast<int>(std::ceil(bounds.X + bounds.Width)) + 1;
  int bottom = static_cast<int>(std::ceil(bounds.Y + bounds.Height)) + 1;
  int x = left, y = top;
  if (wrap_ == WrapModeClamp && context.area.width > 0 && context.area.height > 0) {
    x = std::max(x, context.area.x);
    y = std::max(y, context.area.y);
    right = std::min(right, context.area.x + context.area.width);
    bottom = std::min(bottom, context.area.y + context.area.height);
  }
  // Magnifying transforms get an image at their resolution, so it does not show blocks.
  const int scale = context.scale;
  const double width = (static_cast<double>(right) - x) * scale, height = (static_cast<double>(bottom) - y) * scale;
  if (width <= 0 || height <= 0) return cairo_pattern_create_rgba(0, 0, 0, 0);  // nothing visible
  // Flipped tilings double the image.
  const double copies = wrap_ == WrapModeClamp || wrap_ == WrapModeTile ? 1 : 2;
  if (width * height > kMaxRenderedPixels || copies * width > kMaxImageSide || copies * height > kMaxImageSide) {
    Remember(OutOfMemory);
    return nullptr;
  }
  CairoSurface image(Render(x, y, right - x, bottom - y, context.pixelOffset, scale));
  cairo_matrix_t toWorld;
  cairo_matrix_init_translate(&toWorld, x - context.pixelOffset, y - context.pixelOffset);
  cairo_matrix_scale(&toWorld, 1.0 / scale, 1.0 / scale);
  cairo_pattern_t* pattern = WrappedSurfacePattern(image.get(), wrap_, toWorld, CAIRO_FILTER_NEAREST);
  return pattern;
}

}  // namespace kestrel::platform
