#include "platform/gdiplus/internal/PathGradientRaster.h"

#include <algorithm>
#include <cmath>

namespace kestrel::platform {

namespace {

// A monotonic stand-in for the angle of (dx, dy), 0 to 4 clockwise on screen from +x; cheaper
// than atan2 and enough to find which edge a ray crosses.
double PseudoAngle(double dx, double dy) {
  const double p = dx / (std::fabs(dx) + std::fabs(dy));
  return dy < 0 ? 3 + p : 1 - p;
}

TGPPointF Bezier(const TGPPointF* p, double t) {
  const double u = 1 - t;
  const double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
  return {static_cast<REAL>(a * p[0].X + b * p[1].X + c * p[2].X + d * p[3].X),
          static_cast<REAL>(a * p[0].Y + b * p[1].Y + c * p[2].Y + d * p[3].Y)};
}

// Enough line pieces to stay within a quarter pixel of the curve.
int Pieces(const TGPPointF* p) {
  const double dd = std::max(std::hypot(p[0].X - 2 * p[1].X + p[2].X, p[0].Y - 2 * p[1].Y + p[2].Y),
                             std::hypot(p[1].X - 2 * p[2].X + p[3].X, p[1].Y - 2 * p[2].Y + p[3].Y));
  return std::clamp(static_cast<int>(std::ceil(std::sqrt(3.0 * dd))), 1, 256);
}

}  // namespace

int PathGradientRaster::Slot(ARGB colour, const ColorRamp& ramp) {
  auto found = std::find(slotColours_.begin(), slotColours_.end(), colour);
  if (found != slotColours_.end()) return static_cast<int>(found - slotColours_.begin());
  slotColours_.push_back(colour);
  auto& table = tables_.emplace_back();
  for (int i = 0; i < kTable; ++i)
    table[i] = ColorRamp::Premultiply(ramp.ColorAt(static_cast<double>(i) / (kTable - 1), colour));
  return static_cast<int>(slotColours_.size()) - 1;
}

void PathGradientRaster::AddEdge(const TGPPointF& a, const TGPPointF& b, int slotA, int slotB, double uA, double uB) {
  if (a == b) return;
  const double a0 = PseudoAngle(a.X - cx_, a.Y - cy_), a1 = PseudoAngle(b.X - cx_, b.Y - cy_);
  if (!std::isfinite(a0) || !std::isfinite(a1)) return;  // an end on the centre: no wedge
  double low = a0, high = a1;
  double span = std::fmod(a1 - a0 + 4, 4);
  if (span > 2) std::swap(low, high);  // the edge runs anticlockwise
  const size_t index = edges_.size();
  edges_.push_back({a.X, a.Y, b.X, b.Y, slotA, slotB, uA, uB});
  if (low <= high) {
    intervals_.push_back({low, high, index});
  } else {  // across the +x direction
    intervals_.push_back({low, 4, index});
    intervals_.push_back({0, high, index});
  }
}

void PathGradientRaster::Build(const TGPGraphicsPath& boundary, const ColorRamp& ramp,
                               const std::function<ARGB(size_t)>& surround) {
  const auto& pts = boundary.Points();
  const auto& types = boundary.Types();
  size_t figureStart = 0;
  for (size_t i = 0; i < pts.size(); ++i) {
    const BYTE kind = types[i] & PathPointTypePathTypeMask;
    if (kind == PathPointTypeStart) {
      figureStart = i;
    } else if (kind == PathPointTypeBezier && i + 2 < pts.size()) {
      const TGPPointF curve[4] = {pts[i - 1], pts[i], pts[i + 1], pts[i + 2]};
      const int slotA = Slot(surround(i - 1), ramp), slotB = Slot(surround(i + 2), ramp);
      const int pieces = Pieces(curve);
      for (int k = 0; k < pieces; ++k) {
        const double t0 = static_cast<double>(k) / pieces, t1 = static_cast<double>(k + 1) / pieces;
        AddEdge(Bezier(curve, t0), Bezier(curve, t1), slotA, slotB, t0, t1);
      }
      i += 2;
    } else if (i > 0) {
      AddEdge(pts[i - 1], pts[i], Slot(surround(i - 1), ramp), Slot(surround(i), ramp), 0, 1);
    }
    const bool figureEnds = i + 1 >= pts.size() || (types[i + 1] & PathPointTypePathTypeMask) == PathPointTypeStart;
    if (figureEnds && i < pts.size())  // the boundary is always closed
      AddEdge(pts[i], pts[figureStart], Slot(surround(i), ramp), Slot(surround(figureStart), ramp), 0, 1);
  }
  std::sort(intervals_.begin(), intervals_.end(), [](const Interval& a, const Interval& b) { return a.low < b.low; });
}

const PathGradientRaster::Edge* PathGradientRaster::EdgeAt(double angle, size_t& hint) const {
  // Neighbouring pixels mostly look through the same edge.
  if (hint < intervals_.size() && intervals_[hint].low <= angle && angle <= intervals_[hint].high)
    return &edges_[intervals_[hint].edge];
  auto after = std::upper_bound(intervals_.begin(), intervals_.end(), angle,
                                [](double value, const Interval& i) { return value < i.low; });
  if (after == intervals_.begin()) return nullptr;
  hint = static_cast<size_t>(std::prev(after) - intervals_.begin());
  const Interval& in = intervals_[hint];
  return angle <= in.high ? &edges_[in.edge] : nullptr;
}

std::uint32_t PathGradientRaster::Shade(double px, double py, size_t& hint) const {
  const double dx = px - cx_, dy = py - cy_;
  const auto& centreTable = tables_.front();
  if (std::fabs(dx) + std::fabs(dy) < 1e-9) return centreTable[kTable - 1];
  const Edge* e = EdgeAt(PseudoAngle(dx, dy), hint);
  if (!e) return 0;
  const double ex = e->bx - e->ax, ey = e->by - e->ay;
  const double denom = dx * ey - dy * ex;
  if (denom == 0) return 0;
  const double acx = e->ax - cx_, acy = e->ay - cy_;
  // The ray c + s·d meets the edge at s; the pixel lies 1/s of the way out.
  const double s = (acx * ey - acy * ex) / denom;
  if (!(s > 0)) return 0;
  // Outside the boundary, except within half a pixel of it: those pixels are partly inside, and
  // a smooth fill of the same path needs their colour.
  if (s < 1 && std::sqrt(dx * dx + dy * dy) * (1 - s) > 0.5) return 0;
  const double out = std::min(1.0, 1 / s);
  const double position = focus_ < 1 ? std::clamp((1 - out) / (1 - focus_), 0.0, 1.0) : 1.0;
  const int index = static_cast<int>(position * (kTable - 1) + 0.5);
  const std::uint32_t a = tables_[e->slotA][index];
  if (e->slotA == e->slotB) return a;
  const double w = std::clamp((acx * dy - acy * dx) / denom, 0.0, 1.0);
  const double u = e->uA + (e->uB - e->uA) * w;
  const std::uint32_t b = tables_[e->slotB][index];
  std::uint32_t mixed = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    const double ca = (a >> shift) & 0xFF, cb = (b >> shift) & 0xFF;
    mixed |= static_cast<std::uint32_t>(ca + (cb - ca) * u + 0.5) << shift;
  }
  return mixed;
}

cairo_surface_t* PathGradientRaster::Render(int x, int y, int width, int height, double pixelOffset) const {
  cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  if (cairo_surface_status(image) != CAIRO_STATUS_SUCCESS || tables_.empty()) return image;
  cairo_surface_flush(image);
  unsigned char* data = cairo_image_surface_get_data(image);
  const int stride = cairo_image_surface_get_stride(image);
  const double shift = 0.5 - pixelOffset;
  size_t hint = 0;
  for (int j = 0; j < height; ++j) {
    auto* row = reinterpret_cast<std::uint32_t*>(data + static_cast<std::ptrdiff_t>(j) * stride);
    const double py = y + j + shift;
    for (int i = 0; i < width; ++i) row[i] = Shade(x + i + shift, py, hint);
  }
  cairo_surface_mark_dirty(image);
  return image;
}

}  // namespace kestrel::platform
