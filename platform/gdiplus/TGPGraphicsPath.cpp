#include "platform/gdiplus/TGPGraphicsPath.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kestrel::platform {

namespace {

bool Finite(REAL v) { return std::isfinite(v) && std::fabs(v) <= kMaxCoordinate; }

}  // namespace

TGPGraphicsPath::TGPGraphicsPath(FillMode fillMode)
    : fillMode_(fillMode == FillModeWinding ? FillModeWinding : FillModeAlternate) {}

std::unique_ptr<TGPGraphicsPath> TGPGraphicsPath::Clone() const { return std::make_unique<TGPGraphicsPath>(*this); }

TStatus TGPGraphicsPath::Reset() {
  points_.clear();
  types_.clear();
  figureOpen_ = false;
  fillMode_ = FillModeAlternate;
  return Ok;
}

TStatus TGPGraphicsPath::SetFillMode(FillMode mode) {
  if (mode != FillModeAlternate && mode != FillModeWinding) return Remember(InvalidParameter);
  fillMode_ = mode;
  return Ok;
}

TStatus TGPGraphicsPath::StartFigure() {
  figureOpen_ = false;
  return Ok;
}

TStatus TGPGraphicsPath::CloseFigure() {
  if (!types_.empty() && figureOpen_) types_.back() |= PathPointTypeCloseSubpath;
  figureOpen_ = false;
  return Ok;
}

TStatus TGPGraphicsPath::CloseAllFigures() {
  for (size_t i = 0; i < types_.size(); ++i) {
    bool lastOfFigure = i + 1 == types_.size() || (types_[i + 1] & PathPointTypePathTypeMask) == PathPointTypeStart;
    if (lastOfFigure) types_[i] |= PathPointTypeCloseSubpath;
  }
  figureOpen_ = false;
  return Ok;
}

void TGPGraphicsPath::AddPoint(const TGPPointF& p, BYTE type) {
  points_.push_back(p);
  types_.push_back(type);
}

void TGPGraphicsPath::Connect(const TGPPointF& p) {
  if (!figureOpen_) {
    AddPoint(p, PathPointTypeStart);
    figureOpen_ = true;
  } else if (!(points_.back() == p)) {
    AddPoint(p, PathPointTypeLine);
  }
}

TStatus TGPGraphicsPath::AddLine(REAL x1, REAL y1, REAL x2, REAL y2) {
  Connect({x1, y1});
  AddPoint({x2, y2}, PathPointTypeLine);
  return Ok;
}

TStatus TGPGraphicsPath::AddLines(const TGPPointF* points, INT count) {
  if (!points || count < 1) return Remember(InvalidParameter);
  Connect(points[0]);
  for (INT i = 1; i < count; ++i) AddPoint(points[i], PathPointTypeLine);
  return Ok;
}

TStatus TGPGraphicsPath::AddBezier(const TGPPointF& p1, const TGPPointF& p2, const TGPPointF& p3, const TGPPointF& p4) {
  Connect(p1);
  AddPoint(p2, PathPointTypeBezier);
  AddPoint(p3, PathPointTypeBezier);
  AddPoint(p4, PathPointTypeBezier);
  return Ok;
}

TStatus TGPGraphicsPath::AddBeziers(const TGPPointF* points, INT count) {
  if (!points || count < 4 || (count - 1) % 3 != 0) return Remember(InvalidParameter);
  Connect(points[0]);
  for (INT i = 1; i < count; ++i) AddPoint(points[i], PathPointTypeBezier);
  return Ok;
}

// Béziers for an elliptical arc. A GDI+ angle is the direction of the ray from the centre to the
// point on the ellipse, so it is turned into the ellipse's parameter angle first.
void TGPGraphicsPath::AppendArcBeziers(REAL x, REAL y, REAL width, REAL height, REAL startAngle, REAL sweepAngle,
                                       bool connect) {
  const double rx = width / 2.0, ry = height / 2.0;
  const double cx = x + rx, cy = y + ry;
  const double sweep = std::clamp<double>(sweepAngle, -360.0, 360.0);
  auto parameter = [&](double degrees) {
    double a = degrees * std::numbers::pi / 180.0;
    double t = std::atan2(rx * std::sin(a), ry * std::cos(a));
    // Same quadrant as a; keep whole turns so that long sweeps stay monotonic.
    return t + 2 * std::numbers::pi * std::round((a - t) / (2 * std::numbers::pi));
  };
  double t0 = parameter(startAngle);
  double t1 = std::fabs(sweep) >= 360.0 ? t0 + (sweep > 0 ? 2 : -2) * std::numbers::pi : parameter(startAngle + sweep);
  if (sweep > 0 && t1 < t0) t1 += 2 * std::numbers::pi;
  if (sweep < 0 && t1 > t0) t1 -= 2 * std::numbers::pi;
  int segments = std::max(1, static_cast<int>(std::ceil(std::fabs(t1 - t0) / (std::numbers::pi / 2) - 1e-9)));
  double step = (t1 - t0) / segments;
  double k = 4.0 / 3.0 * std::tan(step / 4.0);
  auto at = [&](double t) {
    return TGPPointF{static_cast<REAL>(cx + rx * std::cos(t)), static_cast<REAL>(cy + ry * std::sin(t))};
  };
  TGPPointF start = at(t0);
  if (connect) {
    Connect(start);
  } else {
    AddPoint(start, PathPointTypeStart);
    figureOpen_ = true;
  }
  for (int i = 0; i < segments; ++i) {
    double a = t0 + step * i, b = a + step;
    TGPPointF c1{static_cast<REAL>(cx + rx * (std::cos(a) - k * std::sin(a))),
                 static_cast<REAL>(cy + ry * (std::sin(a) + k * std::cos(a)))};
    TGPPointF c2{static_cast<REAL>(cx + rx * (std::cos(b) + k * std::sin(b))),
                 static_cast<REAL>(cy + ry * (std::sin(b) - k * std::cos(b)))};
    AddPoint(c1, PathPointTypeBezier);
    AddPoint(c2, PathPointTypeBezier);
    AddPoint(at(b), PathPointTypeBezier);
  }
}

TStatus TGPGraphicsPath::AddArc(REAL x, REAL y, REAL width, REAL height, REAL startAngle, REAL sweepAngle) {
  if (!(width > 0) || !(height > 0) || !std::isfinite(startAngle) || !std::isfinite(sweepAngle))
    return Remember(InvalidParameter);
  AppendArcBeziers(x, y, width, height, startAngle, sweepAngle, true);
  return Ok;
}

TStatus TGPGraphicsPath::AddRectangle(const TGPRectF& r) {
  // GDI+ silently skips empty rectangles.
  if (!(r.Width > 0) || !(r.Height > 0)) return Ok;
  figureOpen_ = false;
  AddPoint({r.X, r.Y}, PathPointTypeStart);
  AddPoint({r.X + r.Width, r.Y}, PathPointTypeLine);
  AddPoint({r.X + r.Width, r.Y + r.Height}, PathPointTypeLine);
  AddPoint({r.X, r.Y + r.Height}, PathPointTypeLine | PathPointTypeCloseSubpath);
  return Ok;
}

TStatus TGPGraphicsPath::AddRectangles(const TGPRectF* rects, INT count) {
  if (!rects || count < 1) return Remember(InvalidParameter);
  for (INT i = 0; i < count; ++i) AddRectangle(rects[i]);
  return Ok;
}

TStatus TGPGraphicsPath::AddEllipse(REAL x, REAL y, REAL width, REAL height) {
  if (!(width > 0) || !(height > 0)) return Remember(InvalidParameter);
  figureOpen_ = false;
  AppendArcBeziers(x, y, width, height, 0, 360, false);
  types_.back() |= PathPointTypeCloseSubpath;
  figureOpen_ = false;
  return Ok;
}

TStatus TGPGraphicsPath::AddPolygon(const TGPPointF* points, INT count) {
  if (!points || count < 3) return Remember(InvalidParameter);
  figureOpen_ = false;
  AddPoint(points[0], PathPointTypeStart);
  for (INT i = 1; i < count; ++i) AddPoint(points[i], PathPointTypeLine);
  types_.back() |= PathPointTypeCloseSubpath;
  return Ok;
}

TStatus TGPGraphicsPath::AddPie(REAL x, REAL y, REAL width, REAL height, REAL startAngle, REAL sweepAngle) {
  if (!(width > 0) || !(height > 0) || !std::isfinite(startAngle) || !std::isfinite(sweepAngle))
    return Remember(InvalidParameter);
  figureOpen_ = false;
  AddPoint({x + width / 2, y + height / 2}, PathPointTypeStart);
  figureOpen_ = true;
  AppendArcBeziers(x, y, width, height, startAngle, sweepAngle, true);
  types_.back() |= PathPointTypeCloseSubpath;
  figureOpen_ = false;
  return Ok;
}

TStatus TGPGraphicsPath::AddPath(const TGPGraphicsPath* other, BOOL connect) {
  if (!other) return Remember(InvalidParameter);
  if (other == this) return AddPath(Clone().get(), connect);
  for (size_t i = 0; i < other->points_.size(); ++i) {
    BYTE type = other->types_[i];
    bool starts = (type & PathPointTypePathTypeMask) == PathPointTypeStart;
    if (starts && i == 0 && connect && figureOpen_) {
      Connect(other->points_[i]);
    } else {
      AddPoint(other->points_[i], type);
    }
  }
  figureOpen_ = !types_.empty() && !(types_.back() & PathPointTypeCloseSubpath) && other->figureOpen_;
  return Ok;
}

TStatus TGPGraphicsPath::GetPathPoints(TGPPointF* points, INT count) const {
  if (!points || count < GetPointCount()) return Remember(InvalidParameter);
  std::copy(points_.begin(), points_.end(), points);
  return Ok;
}

TStatus TGPGraphicsPath::GetPathTypes(BYTE* types, INT count) const {
  if (!types || count < GetPointCount()) return Remember(InvalidParameter);
  std::copy(types_.begin(), types_.end(), types);
  return Ok;
}

TStatus TGPGraphicsPath::GetLastPoint(TGPPointF* point) const {
  if (!point || points_.empty()) return Remember(InvalidParameter);
  *point = points_.back();
  return Ok;
}

TStatus TGPGraphicsPath::GetBounds(TGPRectF* bounds) const {
  if (!bounds) return Remember(InvalidParameter);
  *bounds = {};
  if (points_.empty()) return Ok;
  REAL minX = points_[0].X, maxX = minX, minY = points_[0].Y, maxY = minY;
  for (const auto& p : points_) {
    minX = std::min(minX, p.X);
    maxX = std::max(maxX, p.X);
    minY = std::min(minY, p.Y);
    maxY = std::max(maxY, p.Y);
  }
  *bounds = {minX, minY, maxX - minX, maxY - minY};
  return Ok;
}

TStatus TGPGraphicsPath::Transform(const TGPMatrix* matrix) {
  if (!matrix) return Remember(InvalidParameter);
  if (points_.empty()) return Ok;
  return matrix->TransformPoints(points_.data(), GetPointCount());
}

bool TGPGraphicsPath::CoordinatesValid() const {
  return std::all_of(points_.begin(), points_.end(), [](const TGPPointF& p) { return Finite(p.X) && Finite(p.Y); });
}

void TGPGraphicsPath::AppendTo(cairo_t* cr) const {
  cairo_new_path(cr);
  for (size_t i = 0; i < points_.size(); ++i) {
    const BYTE kind = types_[i] & PathPointTypePathTypeMask;
    const auto& p = points_[i];
    if (kind == PathPointTypeStart) {
      cairo_move_to(cr, p.X, p.Y);
    } else if (kind == PathPointTypeBezier && i + 2 < points_.size()) {
      const auto& q = points_[i + 1];
      const auto& r = points_[i + 2];
      cairo_curve_to(cr, p.X, p.Y, q.X, q.Y, r.X, r.Y);
      i += 2;
    } else {
      cairo_line_to(cr, p.X, p.Y);
    }
    if (types_[i] & PathPointTypeCloseSubpath) cairo_close_path(cr);
  }
}

}  // namespace kestrel::platform
