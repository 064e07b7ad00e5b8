// Lines, closed figures and arcs.
#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/core/OwnedHandles.h"
#include "platform/gdi/DcState.h"
#include "platform/gdi/Primitives.h"
#include "platform/gdi/internal/DeviceContext.h"
#include "platform/gdi/internal/GdiObject.h"
#include "platform/gdi/internal/Lines.h"
#include "platform/gdi/internal/Region.h"
#include "platform/gdi/internal/Shapes.h"

namespace kestrel::platform {

namespace {
constexpr int kMaxPoints = 1 << 20;

// Rectangle in order, coordinates limited to ±2^29 so that later arithmetic cannot overflow.
RECT Ordered(int left, int top, int right, int bottom) {
  auto limit = [](int v) { return std::clamp(v, -(1 << 29), 1 << 29); };
  return RECT{limit(std::min(left, right)), limit(std::min(top, bottom)), limit(std::max(left, right)),
              limit(std::max(top, bottom))};
}

// Paints a logical-coordinate region with the prepared raster.
void PaintRegion(Raster& raster, const cairo_region_t* region) {
  for (int i = 0; i < cairo_region_num_rectangles(region); ++i) {
    cairo_rectangle_int_t r;
    cairo_region_get_rectangle(region, i, &r);
    raster.FillLogicalRect(RECT{r.x, r.y, r.x + r.width, r.y + r.height});
  }
}

// The clip box in logical coordinates, grown by `margin` so that outlines computed inside it
// match those of the whole figure.
RECT VisibleArea(DrawingScope& scope, int margin) {
  cairo_rectangle_int_t e;
  cairo_region_get_extents(scope.Clip(), &e);
  const RECT r = scope.ToLogical(RECT{e.x, e.y, e.x + e.width, e.y + e.height});
  return RECT{r.left - margin, r.top - margin, r.right + margin, r.bottom + margin};
}

// Where figures are rasterised. A mapping that scales or mirrors is applied first and the figure
// is computed in surface pixels, so that its edges are as fine as the device's. Otherwise the
// device is the logical plane moved by whole pixels, and figures are computed in logical
// coordinates (exact for any coordinates) and moved when painted.
class FigureSpace {
 public:
  explicit FigureSpace(DrawingScope& scope, const DeviceContextState& state)
      : scope_(scope), state_(state), device_(!MappingOnlyTranslates(state)) {}

  RECT Box(const RECT& logical) const { return device_ ? scope_.ToSurface(logical) : logical; }
  POINT Point(POINT logical) const { return device_ ? scope_.ToSurface(logical) : logical; }
  // A figure-space point back in logical coordinates (for the pen's lines).
  POINT Logical(POINT p) const {
    if (!device_) return p;
    const RECT r = scope_.ToLogical(RECT{p.x, p.y, p.x, p.y});
    return POINT{r.left, r.top};
  }
  // A logical length (a corner ellipse's size) in figure space.
  int Length(int logical, bool vertical) const {
    if (!device_) return logical;
    const long long d = std::llabs(MapToDevice(state_, logical, vertical) - MapToDevice(state_, 0, vertical));
    return static_cast<int>(std::min<long long>(d, INT32_MAX));
  }
  // The clip box grown by `margin`, so that outlines computed inside it match the whole figure's.
  RECT Visible(int margin) const {
    if (!device_) return VisibleArea(scope_, margin);
    cairo_rectangle_int_t e;
    cairo_region_get_extents(scope_.Clip(), &e);
    return RECT{e.x - margin, e.y - margin, e.x + e.width + margin, e.y + e.height + margin};
  }
  void Paint(Raster& raster, const cairo_region_t* region) const {
    if (!device_) return PaintRegion(raster, region);
    for (int i = 0; i < cairo_region_num_rectangles(region); ++i) {
      cairo_rectangle_int_t r;
      cairo_region_get_rectangle(region, i, &r);
      raster.FillSurfaceRect(RECT{r.x, r.y, r.x + r.width, r.y + r.height});
    }
  }

 private:
  DrawingScope& scope_;
  const DeviceContextState& state_;
  bool device_;
};

// Draws a figure bounded by `box`: brush inside, pen outline on the outer pixels.
BOOL BoxFigure(HDC hdc, const RECT& logicalBox, int ew, int eh) {
  auto dc = DcOrFail(hdc);
  if (!dc) return FALSE;
  DrawingScope scope(*dc);
  const FigureSpace space(scope, dc->State());
  RECT box = space.Box(logicalBox);
  ew = space.Length(ew, false);
  eh = space.Length(eh, true);
  Lines pen(scope, *dc);
  Raster brush(scope, *dc);
  brush.SetRop2(dc->State().rop2);
  bool hasBrush = brush.UseSelectedBrush();
  if (pen.IsNull()) {
    box.right -= 1;
    box.bottom -= 1;
    if (hasBrush) {
      RECT visible = space.Visible(2);
      CairoRegion shape(Shapes::RoundRect(box, ew, eh, &visible));
      space.Paint(brush, shape.get());
    }
    return TRUE;
  }
  int w = pen.Width();
  bool styled = w == 1 && pen.Style() != PS_SOLID && pen.Style() != PS_INSIDEFRAME;
  if (w > 1 && pen.Style() != PS_INSIDEFRAME) {
    box = RECT{box.left - (w - 1) / 2, box.top - (w - 1) / 2, box.right + w / 2, box.bottom + w / 2};
  }
  RECT visible = space.Visible(w + 2);
  CairoRegion shape(Shapes::RoundRect(box, ew, eh, &visible));
  CairoRegion outline(Shapes::Frame(shape.get(), w, w));
  CairoRegion inside(cairo_region_copy(shape.get()));
  cairo_region_subtract(inside.get(), outline.get());
  if (hasBrush) space.Paint(brush, inside.get());
  bool rectangular = ew == 0 || eh == 0;
  if (styled && rectangular) {
    const RECT& l = logicalBox;
    POINT corners[4] = {{l.left, l.top}, {l.right - 1, l.top}, {l.right - 1, l.bottom - 1}, {l.left, l.bottom - 1}};
    pen.Polyline(corners, 4, true);
  } else {
    Raster outlineRaster(scope, *dc);
    outlineRaster.UseColor(pen.Color());
    outlineRaster.SetRop2(dc->State().rop2);
    space.Paint(outlineRaster, outline.get());
  }
  return TRUE;
}

bool ValidPoints(const POINT* points, long long count, long long minimum) {
  if (!points || count < minimum || count > kMaxPoints) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  return true;
}

BOOL DrawPolyline(HDC hdc, const POINT* points, int count, bool updatePosition) {
  auto dc = DcOrFail(hdc);
  if (!dc) return FALSE;
  std::vector<POINT> path;
  if (updatePosition) path.push_back(dc->State().currentPosition);
  path.insert(path.end(), points, points + count);
  {
    DrawingScope scope(*dc);
    Lines(scope, *dc).Polyline(path.data(), static_cast<int>(path.size()), false);
  }
  if (updatePosition) dc->State().currentPosition = path.back();
  return TRUE;
}

// An ellipse through pixel centres: centre and radii.
struct EllipseGeometry {
  double cx, cy, rx, ry;
  // The point at parametric angle `t` (radians, counter-clockwise on screen).
  POINT At(double t) const {
    return POINT{static_cast<LONG>(std::lround(cx + rx * std::cos(t))),
                 static_cast<LONG>(std::lround(cy - ry * std::sin(t)))};
  }
  // The parametric angle where the ray from the centre towards (x, y) meets the ellipse.
  double AngleTowards(double x, double y) const {
    const double dx = x - cx, dy = y - cy;
    if (dx == 0 && dy == 0) return 0;
    return std::atan2(-dy * std::max(rx, 1e-9), dx * std::max(ry, 1e-9));
  }
};

// The ellipse whose outline lies on the outermost pixels of `box` (right and bottom exclusive).
EllipseGeometry InBox(const RECT& box) {
  return {(box.left + box.right - 1) / 2.0, (box.top + box.bottom - 1) / 2.0,
          std::max(0.0, (box.right - box.left - 1) / 2.0), std::max(0.0, (box.bottom - box.top - 1) / 2.0)};
}

// The sweep from `start` to `end` in the DC's direction; equal angles sweep the whole ellipse.
double DirectedSweep(double start, double end, int direction) {
  constexpr double kTurn = 2 * M_PI;
  double sweep = std::fmod(end - start, kTurn);
  if (direction == AD_CLOCKWISE) {
    if (sweep >= 0) sweep -= kTurn;
  } else if (sweep <= 0) {
    sweep += kTurn;
  }
  return sweep;
}

// The pixels of `region` that `keep` accepts. Caller owns the result.
template <class Keep>
cairo_region_t* Select(const cairo_region_t* region, Keep keep) {
  std::vector<cairo_rectangle_int_t> kept;
  for (int i = 0; i < cairo_region_num_rectangles(region); ++i) {
    cairo_rectangle_int_t r;
    cairo_region_get_rectangle(region, i, &r);
    for (int y = r.y; y < r.y + r.height; ++y)
      for (int x = r.x; x < r.x + r.width; ++x)
        if (keep(x, y)) kept.push_back({x, y, 1, 1});
  }
  return cairo_region_create_rectangles(kept.data(), static_cast<int>(kept.size()));
}

enum class ArcKind { Open, To, Pie, Chord };

// Where an arc runs: between two radials (towards points, in the DC's direction) or from an
// angle through a sweep (radians, counter-clockwise in logical coordinates).
struct ArcSpan {
  bool radials = false;
  POINT startRay{}, endRay{};
  double start = 0, sweep = 0;
};

// An arc of the ellipse in `logicalBox`: its pixels are those of Ellipse's outline (with the
// selected pen) that lie within the sweep. Pies and chords fill the part of the ellipse inside
// their radii or beyond their chord.
BOOL DrawArc(HDC hdc, const RECT& logicalBox, const ArcSpan& span, ArcKind kind) {
  auto dc = DcOrFail(hdc);
  if (!dc) return FALSE;
  DrawingScope scope(*dc);
  const FigureSpace space(scope, dc->State());
  RECT box = space.Box(logicalBox);
  Lines pen(scope, *dc);
  const bool filled = kind == ArcKind::Pie || kind == ArcKind::Chord;
  if (filled && pen.IsNull()) {  // as Ellipse: without an outline the figure is a pixel smaller
    box.right -= 1;
    box.bottom -= 1;
  }
  const EllipseGeometry e = InBox(box);
  double start = span.start, sweep = span.sweep;
  if (span.radials) {
    const POINT s = space.Point(span.startRay), t = space.Point(span.endRay);
    start = e.AngleTowards(s.x, s.y);
    sweep = DirectedSweep(start, e.AngleTowards(t.x, t.y), dc->State().arcDirection);
  } else {  // mirrored axes turn the angles round
    if (MappingMirrors(dc->State(), false)) start = M_PI - start, sweep = -sweep;
    if (MappingMirrors(dc->State(), true)) start = -start, sweep = -sweep;
  }
  const POINT from = e.At(start), to = e.At(start + sweep);
  const POINT centre{static_cast<LONG>(std::lround(e.cx)), static_cast<LONG>(std::lround(e.cy))};
  auto inSweep = [&](int x, int y) {
    const double angle = e.AngleTowards(x, y);
    const double along = sweep >= 0 ? angle - start : start - angle;
    return std::fmod(std::fmod(along, 2 * M_PI) + 2 * M_PI, 2 * M_PI) <= std::fabs(sweep) + 1e-9;
  };
  // Beyond the chord: on the same side of the line from `from` to `to` as the arc's middle.
  const POINT middle = e.At(start + sweep / 2);
  auto side = [&](double x, double y) { return (to.x - from.x) * (y - from.y) - (to.y - from.y) * (x - from.x); };
  const bool middleSide = side(middle.x, middle.y) > 0;
  const int w = pen.IsNull() ? 0 : pen.Width();
  const RECT visible = space.Visible(w + 2);
  if (filled) {
    Raster brush(scope, *dc);
    brush.SetRop2(dc->State().rop2);
    if (brush.UseSelectedBrush()) {
      CairoRegion shape(Shapes::RoundRect(box, box.right - box.left, box.bottom - box.top, &visible));
      CairoRegion part(Select(shape.get(), [&](int x, int y) {
        return kind == ArcKind::Pie ? inSweep(x, y) || (x == centre.x && y == centre.y)
                                    : (side(x, y) > 0) == middleSide && side(x, y) != 0;
      }));
      space.Paint(brush, part.get());
    }
  }
  if (kind == ArcKind::To) {
    const POINT line[2] = {dc->State().currentPosition, space.Logical(from)};
    pen.Polyline(line, 2, false);
  }
  if (w > 0) {
    RECT outer = box;
    if (w > 1) outer = RECT{box.left - (w - 1) / 2, box.top - (w - 1) / 2, box.right + w / 2, box.bottom + w / 2};
    CairoRegion shape(Shapes::RoundRect(outer, outer.right - outer.left, outer.bottom - outer.top, &visible));
    CairoRegion ring(Shapes::Frame(shape.get(), w, w));
    CairoRegion arc(Select(ring.get(), inSweep));
    Raster outline(scope, *dc);
    outline.UseColor(pen.Color());
    outline.SetRop2(dc->State().rop2);
    space.Paint(outline, arc.get());
    if (kind == ArcKind::Pie) {
      const POINT radii[3] = {space.Logical(to), space.Logical(centre), space.Logical(from)};
      pen.Polyline(radii, 3, false);
    } else if (kind == ArcKind::Chord) {
      const POINT chord[2] = {space.Logical(to), space.Logical(from)};
      pen.Polyline(chord, 2, false);
    }
  }
  if (kind == ArcKind::To) dc->State().currentPosition = space.Logical(to);
  return TRUE;
}

// Arc, ArcTo, Pie and Chord: the sweep between two radials in the DC's direction.
BOOL DrawArcBetween(HDC hdc, int left, int top, int right, int bottom, POINT startRay, POINT endRay, ArcKind kind) {
  ArcSpan span;
  span.radials = true;
  span.startRay = startRay;
  span.endRay = endRay;
  return DrawArc(hdc, Ordered(left, top, right, bottom), span, kind);
}
}  // namespace

BOOL MoveToEx(HDC hdc, int x, int y, POINT* previous) {
  auto dc = DcOrFail(hdc);
  if (!dc) return FALSE;
  if (previous) *previous = dc->State().currentPosition;
  dc->State().currentPosition = POINT{x, y};
  return TRUE;
}

BOOL GetCurrentPositionEx(HDC hdc, POINT* position) {
  auto dc = DcOrFail(hdc);
  if (!dc || !position) return FALSE;
  *position = dc->State().currentPosition;
  return TRUE;
}

BOOL LineTo(HDC hdc, int x, int y) {
  POINT end{x, y};
  return DrawPolyline(hdc, &end, 1, true);
}

BOOL Polyline(HDC hdc, const POINT* points, int count) {
  if (!ValidPoints(points, count, 2)) return FALSE;
  return DrawPolyline(hdc, points, count, false);
}

BOOL PolylineTo(HDC hdc, const POINT* points, DWORD count) {
  if (!ValidPoints(points, count, 1)) return FALSE;
  return DrawPolyline(hdc, points, static_cast<int>(count), true);
}

BOOL PolyPolyline(HDC hdc, const POINT* points, const DWORD* counts, DWORD polylines) {
  if (!counts || !points) return FALSE;
  for (DWORD i = 0; i < polylines; ++i) {
    if (!Polyline(hdc, points, static_cast<int>(counts[i]))) return FALSE;
    points += counts[i];
  }
  return TRUE;
}

BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom) {
  return BoxFigure(hdc, Ordered(left, top, right, bottom), 0, 0);
}

BOOL RoundRect(HDC hdc, int left, int top, int right, int bottom, int ew, int eh) {
  return BoxFigure(hdc, Ordered(left, top, right, bottom), std::abs(ew), std::abs(eh));
}

BOOL Ellipse(HDC hdc, int left, int top, int right, int bottom) {
  // Corner ellipses as large as the box make the ellipse.
  return BoxFigure(hdc, Ordered(left, top, right, bottom), INT32_MAX, INT32_MAX);
}

BOOL PolyPolygon(HDC hdc, const POINT* points, const INT* counts, int polygons) {
  if (!counts || polygons <= 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  long long total = 0;
  for (int i = 0; i < polygons; ++i) {
    if (counts[i] < 2) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return FALSE;
    }
    total += counts[i];
  }
  if (!ValidPoints(points, total, 2)) return FALSE;
  auto dc = DcOrFail(hdc);
  if (!dc) return FALSE;
  DrawingScope scope(*dc);
  Raster brush(scope, *dc);
  brush.SetRop2(dc->State().rop2);
  if (brush.UseSelectedBrush()) {
    const FigureSpace space(scope, dc->State());
    std::vector<POINT> mapped(points, points + total);
    for (POINT& p : mapped) p = space.Point(p);
    RECT visible = space.Visible(2);
    CairoRegion fill(Shapes::Polygons(mapped.data(), counts, polygons, dc->State().polyFillMode, &visible));
    space.Paint(brush, fill.get());
  }
  Lines pen(scope, *dc);
  const POINT* p = points;
  for (int i = 0; i < polygons; ++i) {
    pen.Polyline(p, counts[i], true);
    p += counts[i];
  }
  return TRUE;
}

BOOL Polygon(HDC hdc, const POINT* points, int count) { return PolyPolygon(hdc, points, &count, 1); }

int FrameRect(HDC hdc, const RECT* rect, HBRUSH brush) {
  auto dc = DcOrFail(hdc, rect);
  if (!dc) return FALSE;
  DrawingScope scope(*dc);
  Raster raster(scope, *dc);
  if (!raster.UseBrush(brush)) return LookupGdiObject(brush) != nullptr;
  CairoRegion box(Region::FromRect(*rect));
  CairoRegion frame(Shapes::Frame(box.get(), 1, 1));
  PaintRegion(raster, frame.get());
  return TRUE;
}

BOOL InvertRect(HDC hdc, const RECT* rect) {
  auto dc = DcOrFail(hdc, rect);
  if (!dc) return FALSE;
  DrawingScope scope(*dc);
  Raster raster(scope, *dc);
  raster.UseColor(0);
  raster.SetRop2(R2_NOT);
  raster.FillLogicalRect(*rect);
  return TRUE;
}

BOOL DrawFocusRect(HDC hdc, const RECT* rect) {
  auto dc = DcOrFail(hdc, rect);
  if (!dc) return FALSE;
  DrawingScope scope(*dc);
  Raster raster(scope, *dc);
  raster.UseColor(RGB(255, 255, 255));
  raster.SetRop2(R2_XORPEN);
  CairoRegion box(Region::FromRect(*rect));
  CairoRegion frame(Shapes::Frame(box.get(), 1, 1));
  RECT visible = VisibleArea(scope, 0);
  CairoRegion visibleRegion(Region::FromRect(visible));
  cairo_region_intersect(frame.get(), visibleRegion.get());
  POINT device = scope.ToSurface(POINT{0, 0});
  POINT origin = dc->SurfaceOrigin();
  // Every other pixel, in a checkerboard anchored at the device origin.
  for (int i = 0; i < cairo_region_num_rectangles(frame.get()); ++i) {
    cairo_rectangle_int_t r;
    cairo_region_get_rectangle(frame.get(), i, &r);
    for (int y = r.y; y < r.y + r.height; ++y)
      for (int x = r.x; x < r.x + r.width; ++x) {
        int sx = x + device.x, sy = y + device.y;
        if (((sx - origin.x) + (sy - origin.y)) % 2 == 0) raster.Plot(sx, sy);
      }
  }
  return TRUE;
}

}  // namespace kestrel::platform

namespace kestrel::platform {

int SetArcDirection(HDC hdc, int direction) {
  auto dc = DcOrFail(hdc);
  if (!dc) return 0;
  if (direction != AD_COUNTERCLOCKWISE && direction != AD_CLOCKWISE) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const int previous = dc->State().arcDirection;
  dc->State().arcDirection = direction;
  return previous;
}

int GetArcDirection(HDC hdc) {
  auto dc = DcOrFail(hdc);
  return dc ? dc->State().arcDirection : 0;
}

BOOL Arc(HDC hdc, int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd) {
  return DrawArcBetween(hdc, left, top, right, bottom, {xStart, yStart}, {xEnd, yEnd}, ArcKind::Open);
}

BOOL ArcTo(HDC hdc, int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd) {
  return DrawArcBetween(hdc, left, top, right, bottom, {xStart, yStart}, {xEnd, yEnd}, ArcKind::To);
}

BOOL Pie(HDC hdc, int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd) {
  return DrawArcBetween(hdc, left, top, right, bottom, {xStart, yStart}, {xEnd, yEnd}, ArcKind::Pie);
}

BOOL Chord(HDC hdc, int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd) {
  return DrawArcBetween(hdc, left, top, right, bottom, {xStart, yStart}, {xEnd, yEnd}, ArcKind::Chord);
}

BOOL AngleArc(HDC hdc, int x, int y, DWORD radius, FLOAT startAngle, FLOAT sweepAngle) {
  if (radius > (1u << 28) || !std::isfinite(startAngle) || !std::isfinite(sweepAngle)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const int r = static_cast<int>(radius);
  // Sweeping more than a turn retraces the circle: one turn draws the same pixels, and the
  // current position ends where the remainder does.
  const double sweep = sweepAngle * M_PI / 180;
  const double turn = 2 * M_PI;
  const double drawn = std::fabs(sweep) >= turn ? std::copysign(turn, sweep) : sweep;
  const double start = startAngle * M_PI / 180;
  const RECT box{x - r, y - r, x + r + 1, y + r + 1};
  ArcSpan span;
  span.start = start;
  span.sweep = drawn;
  if (!DrawArc(hdc, box, span, ArcKind::To)) return FALSE;
  if (drawn != sweep) LookupDeviceContext(hdc)->State().currentPosition = InBox(box).At(start + std::fmod(sweep, turn));
  return TRUE;
}

}  // namespace kestrel::platform
