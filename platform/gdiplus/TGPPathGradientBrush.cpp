#include "platform/gdiplus/TGPPathGradientBrush.h"

#include <algorithm>
#include <cmath>

namespace kestrel::platform {

namespace {

constexpr ARGB kDefaultCenter = 0xFF000000;
constexpr ARGB kDefaultSurround = 0xFFFFFFFF;

// One boundary segment: a line (bezier = false) or a cubic, with the indices of its end points
// in the path (for the surround colours).
struct Segment {
  TGPPointF p[4];
  bool bezier = false;
  size_t from = 0, to = 0;
};

std::vector<Segment> Segments(const TGPGraphicsPath& path) {
  const auto& pts = path.Points();
  const auto& types = path.Types();
  std::vector<Segment> out;
  size_t figureStart = 0;
  for (size_t i = 0; i < pts.size(); ++i) {
    const BYTE kind = types[i] & PathPointTypePathTypeMask;
    if (kind == PathPointTypeStart) {
      figureStart = i;
    } else if (kind == PathPointTypeBezier && i + 2 < pts.size()) {
      out.push_back({{pts[i - 1], pts[i], pts[i + 1], pts[i + 2]}, true, i - 1, i + 2});
      i += 2;
    } else if (i > 0) {
      out.push_back({{pts[i - 1], {}, {}, pts[i]}, false, i - 1, i});
    }
    bool figureEnds = i + 1 >= pts.size() ||
                      (types[i + 1] & PathPointTypePathTypeMask) == PathPointTypeStart;
    // A path gradient's boundary is always closed.
    if (figureEnds && i < pts.size() && !(pts[i] == pts[figureStart]))
      out.push_back({{pts[i], {}, {}, pts[figureStart]}, false, i, figureStart});
  }
  return out;
}

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

void SetCorner(cairo_pattern_t* mesh, int corner, ARGB c) {
  double v[4];
  ColorRamp::ToDoubles(c, v);
  cairo_mesh_pattern_set_corner_color_rgba(mesh, corner, v[0], v[1], v[2], v[3]);
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
  if (!colors || !count || *count < 1 || *count > std::max(1, GetPointCount()))
    return Remember(InvalidParameter);
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

TStatus TGPPathGradientBrush::GetRectangle(TGPRectF* rect) const {
  return Remember(boundary_.GetBounds(rect));
}

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

std::vector<TGPPathGradientBrush::Ring> TGPPathGradientBrush::Rings() const {
  bool alphaVaries = false;
  for (ARGB c : surround_) alphaVaries |= GetAlpha(c) != GetAlpha(ramp_.To());
  std::vector<Ring> rings;
  for (double s : ramp_.RenderPositions(alphaVaries))
    rings.push_back({s, 1 - s * (1 - focusX_), 1 - s * (1 - focusY_)});
  if (focusX_ > 0 || focusY_ > 0) rings.push_back({1.0, 0.0, 0.0});  // the solid focus area
  return rings;
}

cairo_pattern_t* TGPPathGradientBrush::CreateMesh() const {
  cairo_pattern_t* mesh = cairo_pattern_create_mesh();
  const std::vector<Ring> rings = Rings();
  const double cx = center_.X, cy = center_.Y;
  auto scaled = [&](const TGPPointF& p, const Ring& r, double out[2]) {
    out[0] = cx + (p.X - cx) * r.scaleX;
    out[1] = cy + (p.Y - cy) * r.scaleY;
  };
  for (const Segment& seg : Segments(boundary_)) {
    const ARGB from = SurroundAt(seg.from), to = SurroundAt(seg.to);
    for (size_t k = 0; k + 1 < rings.size(); ++k) {
      const Ring& outer = rings[k];
      const Ring& inner = rings[k + 1];
      double o[4][2], in[4][2];
      for (int j = 0; j < 4; ++j) {
        scaled(seg.p[j], outer, o[j]);
        scaled(seg.p[j], inner, in[j]);
      }
      cairo_mesh_pattern_begin_patch(mesh);
      cairo_mesh_pattern_move_to(mesh, o[0][0], o[0][1]);
      if (seg.bezier)
        cairo_mesh_pattern_curve_to(mesh, o[1][0], o[1][1], o[2][0], o[2][1], o[3][0], o[3][1]);
      else
        cairo_mesh_pattern_line_to(mesh, o[3][0], o[3][1]);
      cairo_mesh_pattern_line_to(mesh, in[3][0], in[3][1]);
      if (seg.bezier)
        cairo_mesh_pattern_curve_to(mesh, in[2][0], in[2][1], in[1][0], in[1][1], in[0][0], in[0][1]);
      else
        cairo_mesh_pattern_line_to(mesh, in[0][0], in[0][1]);
      SetCorner(mesh, 0, ramp_.ColorAt(outer.position, from));
      SetCorner(mesh, 1, ramp_.ColorAt(outer.position, to));
      SetCorner(mesh, 2, ramp_.ColorAt(inner.position, to));
      SetCorner(mesh, 3, ramp_.ColorAt(inner.position, from));
      cairo_mesh_pattern_end_patch(mesh);
    }
  }
  return mesh;
}

cairo_pattern_t* TGPPathGradientBrush::CreatePattern(const PatternContext&) const {
  if (State() != Ok) {
    Remember(State());
    return nullptr;
  }
  cairo_pattern_t* mesh = CreateMesh();
  if (wrap_ == WrapModeClamp) return mesh;
  // Tiling: render one brush rectangle, then repeat it.
  TGPRectF bounds;
  boundary_.GetBounds(&bounds);
  const int w = std::max(1, static_cast<int>(std::ceil(bounds.Width)));
  const int h = std::max(1, static_cast<int>(std::ceil(bounds.Height)));
  if (static_cast<double>(w) * h > 64.0 * 1024 * 1024) {
    cairo_pattern_destroy(mesh);
    Remember(OutOfMemory);
    return nullptr;
  }
  cairo_surface_t* tile = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
  cairo_t* cr = cairo_create(tile);
  cairo_translate(cr, -bounds.X, -bounds.Y);
  cairo_set_source(cr, mesh);
  cairo_paint(cr);
  cairo_destroy(cr);
  cairo_pattern_destroy(mesh);
  cairo_matrix_t toWorld;
  cairo_matrix_init_translate(&toWorld, bounds.X, bounds.Y);
  cairo_pattern_t* pattern = WrappedSurfacePattern(tile, wrap_, toWorld, CAIRO_FILTER_BILINEAR);
  cairo_surface_destroy(tile);
  return pattern;
}

}  // namespace kestrel::platform
