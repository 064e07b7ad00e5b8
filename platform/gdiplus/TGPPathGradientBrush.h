#pragma once
// A gradient from a path's boundary (position 0, the surround colours) to a centre point
// (position 1, the centre colour; the ramp runs from each surround colour to it), straight along
// every ray from the centre, rendered pixel by pixel (PathGradientRaster). Outside the path the
// brush paints nothing (WrapModeClamp, the default); the tile modes repeat the brush's bounding
// rectangle, snapped to whole pixels.

#include <vector>

#include "platform/gdiplus/TGPGradientBrush.h"
#include "platform/gdiplus/TGPGraphicsPath.h"

namespace kestrel::platform {

class TGPPathGradientBrush : public TGPGradientBrush {
 public:
  explicit TGPPathGradientBrush(const TGPGraphicsPath* path);
  TGPPathGradientBrush(const TGPPointF* points, INT count, WrapMode wrapMode = WrapModeClamp);

  BrushType GetType() const override { return BrushTypePathGradient; }
  std::unique_ptr<TGPBrush> Clone() const override { return std::make_unique<TGPPathGradientBrush>(*this); }
  cairo_pattern_t* CreatePattern(const PatternContext& context) const override;

  // Defaults: centre colour opaque black, surround colour opaque white.
  TStatus SetCenterColor(ARGB color);
  TStatus GetCenterColor(ARGB* color) const;
  // One colour per boundary point; fewer colours repeat the last one.
  TStatus SetSurroundColors(const ARGB* colors, INT* count);
  INT GetSurroundColorCount() const { return static_cast<INT>(surround_.size()); }
  TStatus GetSurroundColors(ARGB* colors, INT* count) const;
  // Default: the centroid of the boundary.
  TStatus SetCenterPoint(const TGPPointF& point);
  TStatus GetCenterPoint(TGPPointF* point) const;
  TStatus GetRectangle(TGPRectF* rect) const;
  INT GetPointCount() const { return boundary_.GetPointCount(); }
  // The centre colour fills the boundary scaled about the centre point; the two scales are
  // averaged (rays stay straight).
  TStatus SetFocusScales(REAL xScale, REAL yScale);
  TStatus GetFocusScales(REAL* xScale, REAL* yScale) const;
  TStatus SetWrapMode(WrapMode mode);
  WrapMode GetWrapMode() const { return wrap_; }

 private:
  void Init();
  ARGB SurroundAt(size_t pointIndex) const;
  // The brush rendered over [x, x + width) × [y, y + height) in world pixels, `scale` image
  // pixels to a world unit.
  cairo_surface_t* Render(int x, int y, int width, int height, double pixelOffset, int scale) const;

  TGPGraphicsPath boundary_;
  std::vector<ARGB> surround_;
  TGPPointF center_{};
  REAL focusX_ = 0;
  REAL focusY_ = 0;
  WrapMode wrap_ = WrapModeClamp;
};

}  // namespace kestrel::platform
