#include "platform/gdi/internal/Shapes.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/core/OwnedHandles.h"

namespace kestrel::platform {

namespace {
constexpr long kMaxSpan = 1 << 26;  // shapes beyond this many rows are refused (huge input)

cairo_region_t* FromRects(const std::vector<cairo_rectangle_int_t>& rects) {
  return cairo_region_create_rectangles(rects.data(), static_cast<int>(rects.size()));
}

// Half the horizontal extent of an ellipse with radii (rx, ry) at vertical offset dy from its
// centre.
double HalfWidth(double rx, double ry, double dy) {
  double t = 1.0 - (dy * dy) / (ry * ry);
  return t <= 0 ? 0 : rx * std::sqrt(t);
}
}  // namespace

cairo_region_t* Shapes::RoundRect(const RECT& box, int ew, int eh, const RECT* visible) {
  std::vector<cairo_rectangle_int_t> rects;
  long w = static_cast<long>(box.right) - box.left, h = static_cast<long>(box.bottom) - box.top;
  if (w <= 0 || h <= 0) return cairo_region_create();
  double rx = std::min<double>(ew, w) / 2.0, ry = std::min<double>(eh, h) / 2.0;
  if (rx < 0.5 || ry < 0.5) {
    cairo_rectangle_int_t whole{box.left, box.top, static_cast<int>(w), static_cast<int>(h)};
    return cairo_region_create_rectangle(&whole);
  }
  if (!visible && (h > kMaxSpan || w > kMaxSpan)) return cairo_region_create();
  double top = box.top, bottom = box.bottom;
  long firstRow = box.top, endRow = box.bottom;
  if (visible) {
    firstRow = std::max<long>(firstRow, visible->top);
    endRow = std::min<long>(endRow, visible->bottom);
  }
  for (long y = firstRow; y < endRow; ++y) {
    double cy = y + 0.5;
    double inset = 0;
    if (ry > 0) {
      double dy = 0;
      if (cy < top + ry) dy = top + ry - cy;
      else if (cy > bottom - ry) dy = cy - (bottom - ry);
      inset = rx - HalfWidth(rx, ry, dy);
    }
    // Pixel x is in when its centre x + 0.5 lies in [left + inset, right - inset].
    long x0 = static_cast<long>(std::ceil(box.left + inset - 0.5));
    long x1 = static_cast<long>(std::floor(box.right - inset - 0.5)) + 1;
    if (visible) {
      x0 = std::max<long>(x0, visible->left);
      x1 = std::min<long>(x1, visible->right);
    }
    if (x1 > x0) rects.push_back({static_cast<int>(x0), static_cast<int>(y), static_cast<int>(x1 - x0), 1});
  }
  return FromRects(rects);
}

cairo_region_t* Shapes::Polygons(const POINT* points, const int* counts, int polygons, int fillMode,
                                 const RECT* visible) {
  struct Edge {
    double x0, y0, x1, y1;
    int direction;
  };
  std::vector<Edge> edges;
  long top = kMaxSpan, bottom = -kMaxSpan;
  const POINT* p = points;
  for (int k = 0; k < polygons; ++k) {
    int n = counts[k];
    for (int i = 0; i < n; ++i) {
      POINT a = p[i], b = p[(i + 1) % n];
      top = std::min<long>(top, a.y);
      bottom = std::max<long>(bottom, a.y);
      if (a.y == b.y) continue;
      if (a.y < b.y) edges.push_back({double(a.x), double(a.y), double(b.x), double(b.y), 1});
      else edges.push_back({double(b.x), double(b.y), double(a.x), double(a.y), -1});
    }
    p += n;
  }
  std::vector<cairo_rectangle_int_t> rects;
  if (visible) {
    top = std::max<long>(top, visible->top);
    bottom = std::min<long>(bottom, visible->bottom);
  }
  if (edges.empty() || bottom - top > kMaxSpan) return cairo_region_create();
  std::vector<std::pair<double, int>> crossings;
  for (long y = top; y < bottom; ++y) {
    crossings.clear();
    for (const Edge& e : edges) {
      if (y < e.y0 || y >= e.y1) continue;
      double x = e.x0 + (e.x1 - e.x0) * (y - e.y0) / (e.y1 - e.y0);
      crossings.emplace_back(x, e.direction);
    }
    std::sort(crossings.begin(), crossings.end());
    int winding = 0;
    for (std::size_t i = 0; i + 1 < crossings.size(); ++i) {
      winding += crossings[i].second;
      bool inside = fillMode == WINDING ? winding != 0 : (i % 2) == 0;
      if (!inside) continue;
      long x0 = static_cast<long>(std::ceil(crossings[i].first));
      long x1 = static_cast<long>(std::ceil(crossings[i + 1].first));
      if (visible) {
        x0 = std::max<long>(x0, visible->left);
        x1 = std::min<long>(x1, visible->right);
      }
      if (x1 > x0 && x1 - x0 < kMaxSpan)
        rects.push_back({static_cast<int>(x0), static_cast<int>(y), static_cast<int>(x1 - x0), 1});
    }
  }
  return FromRects(rects);
}

cairo_region_t* Shapes::Erode(const cairo_region_t* region, int w, int h) {
  cairo_region_t* inner = cairo_region_copy(region);
  const int shifts[4][2] = {{w, 0}, {-w, 0}, {0, h}, {0, -h}};
  for (const auto& s : shifts) {
    CairoRegion moved(cairo_region_copy(region));
    cairo_region_translate(moved.get(), s[0], s[1]);
    cairo_region_intersect(inner, moved.get());
  }
  // A one-step erosion by (w, h) only removes rims one step thick; repeat for wider frames.
  return inner;
}

cairo_region_t* Shapes::Frame(const cairo_region_t* region, int w, int h) {
  CairoRegion inner(Erode(region, w, h));
  cairo_region_t* frame = cairo_region_copy(region);
  cairo_region_subtract(frame, inner.get());
  return frame;
}

cairo_region_t* Shapes::WideStroke(const POINT* points, int count, int width, bool closed) {
  if (count < 1 || width < 1) return cairo_region_create();
  long minX = points[0].x, maxX = points[0].x, minY = points[0].y, maxY = points[0].y;
  for (int i = 1; i < count; ++i) {
    minX = std::min<long>(minX, points[i].x);
    maxX = std::max<long>(maxX, points[i].x);
    minY = std::min<long>(minY, points[i].y);
    maxY = std::max<long>(maxY, points[i].y);
  }
  long pad = width / 2 + 2;
  RECT bounds{static_cast<LONG>(minX - pad), static_cast<LONG>(minY - pad), static_cast<LONG>(maxX + pad + 1),
              static_cast<LONG>(maxY + pad + 1)};
  if (bounds.right - bounds.left > 16384 || bounds.bottom - bounds.top > 16384) return cairo_region_create();
  CairoSurface mask(
      cairo_image_surface_create(CAIRO_FORMAT_A8, bounds.right - bounds.left, bounds.bottom - bounds.top));
  CairoContext cr(cairo_create(mask.get()));
  cairo_set_antialias(cr.get(), CAIRO_ANTIALIAS_NONE);
  cairo_set_line_width(cr.get(), width);
  cairo_set_line_cap(cr.get(), CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr.get(), CAIRO_LINE_JOIN_ROUND);
  // Pixel (x, y) is the unit square at (x, y); the pen is centred on pixel centres.
  for (int i = 0; i < count; ++i)
    cairo_line_to(cr.get(), points[i].x - bounds.left + 0.5, points[i].y - bounds.top + 0.5);
  if (closed) cairo_close_path(cr.get());
  cairo_stroke(cr.get());
  cr.reset();  // the stroke is finished before the mask is read
  return Coverage(mask.get(), bounds);
}

cairo_region_t* Shapes::Coverage(cairo_surface_t* mask, const RECT& bounds) {
  cairo_surface_flush(mask);
  const unsigned char* data = cairo_image_surface_get_data(mask);
  int stride = cairo_image_surface_get_stride(mask);
  int w = cairo_image_surface_get_width(mask), h = cairo_image_surface_get_height(mask);
  std::vector<cairo_rectangle_int_t> rects;
  for (int y = 0; y < h; ++y) {
    const unsigned char* row = data + static_cast<std::ptrdiff_t>(y) * stride;
    for (int x = 0; x < w;) {
      if (row[x] < 128) {
        ++x;
        continue;
      }
      int start = x;
      while (x < w && row[x] >= 128) ++x;
      rects.push_back({bounds.left + start, bounds.top + y, x - start, 1});
    }
  }
  return FromRects(rects);
}

}  // namespace kestrel::platform
