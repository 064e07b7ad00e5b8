#pragma once
// Renders a path gradient pixel by pixel into an image, for just the area a fill needs (cairo's
// mesh rasteriser works through whole patches, so a path far larger than the target took time
// in proportion to the path). Each pixel's colour position comes from the ray from the centre
// through its centre: the fraction of the way to where that ray leaves the boundary. Colours
// come from a table of the ramp, one per distinct surround colour, blended along each edge.
// The boundary should be star-shaped around the centre (ellipses, rounded rectangles, convex
// polygons); elsewhere a ray may be matched with a farther edge.

#include <cairo.h>

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/gdiplus/ColorRamp.h"
#include "platform/gdiplus/TGPGraphicsPath.h"

namespace kestrel::platform {

class PathGradientRaster {
 public:
  // `surround(i)` is the colour of path point i; `focus` the share of the way to the boundary
  // that keeps the centre colour (0 = none).
  template <class SurroundOf>
  PathGradientRaster(const TGPGraphicsPath& boundary, TGPPointF centre, const ColorRamp& ramp, double focus,
                     SurroundOf surround)
      : cx_(centre.X), cy_(centre.Y), focus_(focus) {
    Build(boundary, ramp, [&](size_t i) { return surround(i); });
  }

  // An ARGB32 image of `width` × `height` pixels whose pixel (i, j) shows the colour at world
  // point (x + i, y + j) + 0.5 - pixelOffset; transparent outside the boundary.
  cairo_surface_t* Render(int x, int y, int width, int height, double pixelOffset) const;

 private:
  static constexpr int kTable = 1024;
  struct Edge {
    double ax, ay, bx, by;  // end points
    int slotA, slotB;       // colour tables at the ends
    double uA, uB;          // blend between the two tables at the ends
  };
  struct Interval {
    double low, high;  // pseudo-angles seen from the centre
    size_t edge;
  };

  void Build(const TGPGraphicsPath& boundary, const ColorRamp& ramp, const std::function<ARGB(size_t)>& surround);
  int Slot(ARGB colour, const ColorRamp& ramp);
  void AddEdge(const TGPPointF& a, const TGPPointF& b, int slotA, int slotB, double uA, double uB);
  // The edge seen in direction `angle`; `hint` carries the last interval found.
  const Edge* EdgeAt(double angle, size_t& hint) const;
  std::uint32_t Shade(double px, double py, size_t& hint) const;

  double cx_, cy_, focus_;
  std::vector<Edge> edges_;
  std::vector<Interval> intervals_;  // sorted by low
  std::vector<ARGB> slotColours_;
  std::vector<std::array<std::uint32_t, kTable>> tables_;  // premultiplied pixels
};

}  // namespace kestrel::platform
