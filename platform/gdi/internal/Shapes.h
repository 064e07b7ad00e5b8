#pragma once
// Pixel sets of GDI's shapes, as regions in the coordinates of their input.

#include <cairo.h>

#include "platform/gdi/GdiTypes.h"

namespace kestrel::platform {

class Shapes {
 public:
  // The rectangle [box) with corners rounded by ellipses of `ellipseWidth` × `ellipseHeight`
  // (an ellipse when they reach the box size), sampled at pixel centres. Caller owns the region.
  // With `visible`, only the part inside it is produced (huge figures stay cheap).
  static cairo_region_t* RoundRect(const RECT& box, int ellipseWidth, int ellipseHeight, const RECT* visible = nullptr);
  // Polygons filled at integer sample points with left/top edges in and right/bottom edges out.
  static cairo_region_t* Polygons(const POINT* points, const int* counts, int polygons, int fillMode,
                                  const RECT* visible = nullptr);
  // Pixels of `region` whose shifts by ±w horizontally and ±h vertically stay inside it (exact
  // erosion for convex shapes).
  static cairo_region_t* Erode(const cairo_region_t* region, int w, int h);
  // `region` minus its erosion: a frame of w × h.
  static cairo_region_t* Frame(const cairo_region_t* region, int w, int h);
  // The pixels covered by a polyline stroked `width` wide with round caps and joins.
  static cairo_region_t* WideStroke(const POINT* points, int count, int width, bool closed);
  // The pixels an A8 mask covers (value >= 128); the mask's (0,0) is bounds' top left.
  static cairo_region_t* Coverage(cairo_surface_t* mask, const RECT& bounds);
};

}  // namespace kestrel::platform
