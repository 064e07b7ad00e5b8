#pragma once
// Lines drawn with a pen: one-pixel cosmetic lines with GDI's styles (the last point excluded),
// and wide lines with round caps and joins.

#include <cstdint>
#include <vector>

#include "platform/gdi/internal/DeviceContext.h"
#include "platform/gdi/internal/Pen.h"
#include "platform/gdi/internal/Raster.h"

namespace kestrel::platform {

class Lines {
 public:
  // Prepares drawing with the DC's selected pen (DC_PEN uses the DC pen colour; a pen handle
  // that no longer exists draws as the black pen).
  Lines(DrawingScope& scope, const DeviceContext& dc);

  bool IsNull() const { return style_ == PS_NULL; }
  int Width() const { return width_; }
  int Style() const { return style_; }
  COLORREF Color() const { return color_; }

  // Draws the polyline through `points` (logical coordinates). The style pattern runs on across
  // segments. With `closed`, the last point joins the first and every vertex is drawn; otherwise
  // the final point is left out, as LineTo does.
  void Polyline(const POINT* points, int count, bool closed);

  // The pixels of a one-pixel line from a to b, excluding b (surface or logical, as given).
  static std::vector<POINT> Trace(POINT a, POINT b);

 private:
  bool StyleOn();  // advances the style pattern by one pixel
  void Cosmetic(const POINT* surfacePoints, int count, bool closed);
  void DrawSegmentsCut(const std::vector<POINT>& surfacePoints, bool closed);

  DrawingScope& scope_;
  const DeviceContext& dc_;
  Raster raster_;
  int style_ = PS_SOLID;
  int width_ = 1;
  COLORREF color_ = 0;
  std::vector<int> pattern_;  // on/off run lengths
  int patternIndex_ = 0;
  int patternLeft_ = 0;
};

}  // namespace kestrel::platform
