#pragma once
// Painting helpers for edges and frame controls: one drawing scope, colours by system index,
// edge rings, region fills and scaled two-colour glyphs.

#include <cairo.h>

#include "platform/gdi/internal/DeviceContext.h"
#include "platform/gdi/internal/Raster.h"

namespace kestrel::platform {

class FramePainter {
 public:
  FramePainter(DrawingScope& scope, const DeviceContext& dc) : scope_(scope), raster_(scope, dc) {}

  void Fill(const RECT& logical, COLORREF color);
  void FillSys(const RECT& logical, int colorIndex);
  // Fills a region in logical coordinates.
  void FillRegion(const cairo_region_t* region, COLORREF color);
  // Fills with a checkerboard of two colours anchored at the device origin (the classic look
  // of checked and indeterminate buttons).
  void Dither(const RECT& logical, COLORREF first, COLORREF second);
  // DrawEdge on this scope.
  BOOL Edge(RECT* rect, UINT edge, UINT flags);
  // Draws the '#' cells of `rows` (all `width` long) scaled by `scale`, with its top left at
  // `origin`.
  void Glyph(const char* const* rows, int height, POINT origin, int scale, COLORREF color);
  // Largest integer scale of a width × height glyph that fits `area` (at least 1), and the
  // origin that centres it there.
  static int FitScale(const RECT& area, int width, int height);
  static POINT Centre(const RECT& area, int width, int height);

 private:
  BOOL Diagonal(RECT* rect, UINT edge, UINT flags);

  DrawingScope& scope_;
  Raster raster_;
};

}  // namespace kestrel::platform
