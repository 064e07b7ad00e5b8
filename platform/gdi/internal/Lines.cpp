#include "platform/gdi/internal/Lines.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/core/OwnedHandles.h"
#include "platform/gdi/StockObjects.h"
#include "platform/gdi/internal/DeviceContext.h"
#include "platform/gdi/internal/GdiObject.h"
#include "platform/gdi/internal/Shapes.h"

namespace kestrel::platform {

namespace {
std::vector<int> PatternOf(int style) {
  switch (style) {
    case PS_DASH: return {18, 6};
    case PS_DOT: return {3, 3};
    case PS_DASHDOT: return {9, 6, 3, 6};
    case PS_DASHDOTDOT: return {9, 3, 3, 3, 3, 3};
    case PS_ALTERNATE: return {1, 1};
    default: return {};
  }
}
// Cuts segment a-b to `box` (Liang-Barsky); false when nothing of it is inside.
bool ClipSegment(POINT& a, POINT& b, const RECT& box) {
  double x0 = a.x, y0 = a.y, dx = double(b.x) - a.x, dy = double(b.y) - a.y;
  double t0 = 0, t1 = 1;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {x0 - box.left, box.right - x0, y0 - box.top, box.bottom - y0};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;
      continue;
    }
    double t = q[i] / p[i];
    if (p[i] < 0) t0 = std::max(t0, t);
    else t1 = std::min(t1, t);
    if (t0 > t1) return false;
  }
  POINT na{static_cast<LONG>(std::lround(x0 + t0 * dx)), static_cast<LONG>(std::lround(y0 + t0 * dy))};
  POINT nb{static_cast<LONG>(std::lround(x0 + t1 * dx)), static_cast<LONG>(std::lround(y0 + t1 * dy))};
  a = na;
  b = nb;
  return true;
}

// Segments this long or this far out are cut to the visible area first: exact pixels only
// matter where they can be seen, and tracing or stroking must stay bounded.
bool NeedsCut(POINT a, POINT b) {
  auto far = [](LONG v) { return v < -(1 << 20) || v > (1 << 20); };
  return far(a.x) || far(a.y) || far(b.x) || far(b.y) || std::labs(long(b.x) - a.x) > 32768 ||
         std::labs(long(b.y) - a.y) > 32768;
}
// Fills the pixels of a wide stroke's region with the pen.
void FillStroke(Raster& raster, const POINT* points, int count, int width, bool closed) {
  CairoRegion region(Shapes::WideStroke(points, count, width, closed));
  for (int i = 0; i < cairo_region_num_rectangles(region.get()); ++i) {
    cairo_rectangle_int_t r;
    cairo_region_get_rectangle(region.get(), i, &r);
    raster.FillSurfaceRect(RECT{r.x, r.y, r.x + r.width, r.y + r.height});
  }
}

}  // namespace

Lines::Lines(DrawingScope& scope, const DeviceContext& dc) : scope_(scope), dc_(dc), raster_(scope, dc) {
  HGDIOBJ handle = dc.State().pen;
  auto pen = LookupGdi<Pen>(handle);
  if (!pen) pen = LookupGdi<Pen>(GetStockObject(BLACK_PEN));
  style_ = pen ? pen->Style() : PS_SOLID;
  // Wider than any surface is pointless; the bound keeps the stroke mask small.
  width_ = pen && pen->Width() > 1 ? std::min(pen->Width(), 4096) : 1;
  color_ = handle == GetStockObject(DC_PEN) ? dc.State().dcPenColor : pen ? pen->Color() : 0;
  pattern_ = style_ == PS_USERSTYLE && pen ? pen->Dashes() : PatternOf(style_);
  if (!pattern_.empty()) patternLeft_ = pattern_[0];
  raster_.UseColor(color_);
  raster_.SetRop2(dc.State().rop2);
}

std::vector<POINT> Lines::Trace(POINT a, POINT b) {
  std::vector<POINT> out;
  long dx = std::labs(static_cast<long>(b.x) - a.x), dy = std::labs(static_cast<long>(b.y) - a.y);
  long steps = dx > dy ? dx : dy;
  if (steps == 0 || steps > (1L << 24)) return out;
  out.reserve(static_cast<std::size_t>(steps));
  int sx = b.x > a.x ? 1 : -1, sy = b.y > a.y ? 1 : -1;
  // Bresenham with the error term rounding halves toward the starting point's side.
  long error = (dx > dy ? dx : -dy) / 2;
  long x = a.x, y = a.y;
  for (long i = 0; i < steps; ++i) {
    out.push_back(POINT{static_cast<LONG>(x), static_cast<LONG>(y)});
    long e = error;
    if (e > -dx) {
      error -= dy;
      x += sx;
    }
    if (e < dy) {
      error += dx;
      y += sy;
    }
  }
  return out;
}

bool Lines::StyleOn() {
  if (pattern_.empty()) return true;
  bool on = patternIndex_ % 2 == 0;
  if (--patternLeft_ == 0) {
    patternIndex_ = (patternIndex_ + 1) % static_cast<int>(pattern_.size());
    patternLeft_ = pattern_[patternIndex_];
  }
  return on;
}

void Lines::Polyline(const POINT* points, int count, bool closed) {
  if (IsNull() || !points || count < 2 || !scope_.HasTarget()) return;
  std::vector<POINT> surface(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) surface[i] = scope_.ToSurface(points[i]);
  bool cut = false;
  for (int i = 0; i + 1 < count && !cut; ++i) cut = NeedsCut(surface[i], surface[i + 1]);
  if (cut || (closed && NeedsCut(surface[count - 1], surface[0]))) {
    DrawSegmentsCut(surface, closed);
    return;
  }
  if (width_ > 1) {
    FillStroke(raster_, surface.data(), count, width_, closed);
    return;
  }
  Cosmetic(surface.data(), count, closed);
}

void Lines::DrawSegmentsCut(const std::vector<POINT>& surface, bool closed) {
  cairo_rectangle_int_t e;
  cairo_region_get_extents(scope_.Clip(), &e);
  int margin = width_ + 2;
  RECT box{e.x - margin, e.y - margin, e.x + e.width + margin, e.y + e.height + margin};
  int count = static_cast<int>(surface.size());
  int segments = closed ? count : count - 1;
  for (int s = 0; s < segments; ++s) {
    POINT a = surface[s], b = surface[(s + 1) % count];
    bool last = !closed && s == segments - 1;
    POINT originalEnd = b;
    if (!ClipSegment(a, b, box)) continue;
    POINT pair[2] = {a, b};
    if (width_ > 1) {
      FillStroke(raster_, pair, 2, width_, false);
    } else {
      // The end pixel is drawn unless it is the line's true end point.
      bool keepEnd = !(last && b == originalEnd);
      Cosmetic(pair, 2, false);
      if (keepEnd && StyleOn()) raster_.Plot(b.x, b.y);
    }
  }
}

void Lines::Cosmetic(const POINT* p, int count, bool closed) {
  Raster gap(scope_, dc_);
  gap.UseColor(dc_.State().bkColor);
  gap.SetRop2(dc_.State().rop2);
  bool paintGaps = dc_.State().bkMode == OPAQUE;
  int segments = closed ? count : count - 1;
  for (int s = 0; s < segments; ++s) {
    for (const POINT& q : Trace(p[s], p[(s + 1) % count])) {
      if (StyleOn()) raster_.Plot(q.x, q.y);
      else if (paintGaps) gap.Plot(q.x, q.y);
    }
  }
}

}  // namespace kestrel::platform
