// Lines and closed figures.
#include <algorithm>
#include <vector>

#include "platform/gdi/DcState.h"
#include "platform/gdi/Lines.h"
#include "platform/gdi/Primitives.h"
#include "platform/gdi/Region.h"
#include "platform/gdi/Shapes.h"

namespace kestrel::platform {

namespace {
constexpr int kMaxPoints = 1 << 20;

// Rectangle in order, coordinates limited to ±2^29 so that later arithmetic cannot overflow.
RECT Ordered(int left, int top, int right, int bottom) {
  auto limit = [](int v) { return std::clamp(v, -(1 << 29), 1 << 29); };
  return RECT{limit(std::min(left, right)), limit(std::min(top, bottom)),
              limit(std::max(left, right)), limit(std::max(top, bottom))};
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
  POINT o = scope.ToSurface(POINT{0, 0});
  return RECT{e.x - o.x - margin, e.y - o.y - margin, e.x + e.width - o.x + margin,
              e.y + e.height - o.y + margin};
}

// Draws a figure bounded by `box`: brush inside, pen outline on the outer pixels.
BOOL BoxFigure(HDC hdc, RECT box, int ew, int eh) {
  auto dc = DcOrFail(hdc);
  if (!dc) return FALSE;
  DrawingScope scope(*dc);
  Lines pen(scope, *dc);
  Raster brush(scope, *dc);
  brush.SetRop2(dc->State().rop2);
  bool hasBrush = brush.UseSelectedBrush();
  if (pen.IsNull()) {
    box.right -= 1;
    box.bottom -= 1;
    if (hasBrush) {
      RECT visible = VisibleArea(scope, 2);
      cairo_region_t* shape = Shapes::RoundRect(box, ew, eh, &visible);
      PaintRegion(brush, shape);
      cairo_region_destroy(shape);
    }
    return TRUE;
  }
  int w = pen.Width();
  bool styled = w == 1 && pen.Style() != PS_SOLID && pen.Style() != PS_INSIDEFRAME;
  if (w > 1 && pen.Style() != PS_INSIDEFRAME) {
    box =
        RECT{box.left - (w - 1) / 2, box.top - (w - 1) / 2, box.right + w / 2, box.bottom + w / 2};
  }
  RECT visible = VisibleArea(scope, w + 2);
  cairo_region_t* shape = Shapes::RoundRect(box, ew, eh, &visible);
  cairo_region_t* outline = Shapes::Frame(shape, w, w);
  cairo_region_t* inside = cairo_region_copy(shape);
  cairo_region_subtract(inside, outline);
  if (hasBrush) PaintRegion(brush, inside);
  bool rectangular = ew == 0 || eh == 0;
  if (styled && rectangular) {
    POINT corners[4] = {{box.left, box.top},
                        {box.right - 1, box.top},
                        {box.right - 1, box.bottom - 1},
                        {box.left, box.bottom - 1}};
    pen.Polyline(corners, 4, true);
  } else {
    Raster outlineRaster(scope, *dc);
    outlineRaster.UseColor(pen.Color());
    outlineRaster.SetRop2(dc->State().rop2);
    PaintRegion(outlineRaster, outline);
  }
  cairo_region_destroy(inside);
  cairo_region_destroy(outline);
  cairo_region_destroy(shape);
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
  RECT box = Ordered(left, top, right, bottom);
  return BoxFigure(hdc, box, box.right - box.left, box.bottom - box.top);
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
    RECT visible = VisibleArea(scope, 2);
    cairo_region_t* fill =
        Shapes::Polygons(points, counts, polygons, dc->State().polyFillMode, &visible);
    PaintRegion(brush, fill);
    cairo_region_destroy(fill);
  }
  Lines pen(scope, *dc);
  const POINT* p = points;
  for (int i = 0; i < polygons; ++i) {
    pen.Polyline(p, counts[i], true);
    p += counts[i];
  }
  return TRUE;
}

BOOL Polygon(HDC hdc, const POINT* points, int count) {
  return PolyPolygon(hdc, points, &count, 1);
}

int FrameRect(HDC hdc, const RECT* rect, HBRUSH brush) {
  auto dc = DcOrFail(hdc, rect);
  if (!dc) return FALSE;
  DrawingScope scope(*dc);
  Raster raster(scope, *dc);
  if (!raster.UseBrush(brush)) return LookupGdiObject(brush) != nullptr;
  cairo_region_t* box = Region::FromRect(*rect);
  cairo_region_t* frame = Shapes::Frame(box, 1, 1);
  PaintRegion(raster, frame);
  cairo_region_destroy(frame);
  cairo_region_destroy(box);
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
  cairo_region_t* box = Region::FromRect(*rect);
  cairo_region_t* frame = Shapes::Frame(box, 1, 1);
  RECT visible = VisibleArea(scope, 0);
  cairo_region_t* visibleRegion = Region::FromRect(visible);
  cairo_region_intersect(frame, visibleRegion);
  cairo_region_destroy(visibleRegion);
  POINT device = scope.ToSurface(POINT{0, 0});
  POINT origin = dc->SurfaceOrigin();
  // Every other pixel, in a checkerboard anchored at the device origin.
  for (int i = 0; i < cairo_region_num_rectangles(frame); ++i) {
    cairo_rectangle_int_t r;
    cairo_region_get_rectangle(frame, i, &r);
    for (int y = r.y; y < r.y + r.height; ++y)
      for (int x = r.x; x < r.x + r.width; ++x) {
        int sx = x + device.x, sy = y + device.y;
        if (((sx - origin.x) + (sy - origin.y)) % 2 == 0) raster.Plot(sx, sy);
      }
  }
  cairo_region_destroy(frame);
  cairo_region_destroy(box);
  return TRUE;
}

}  // namespace kestrel::platform
