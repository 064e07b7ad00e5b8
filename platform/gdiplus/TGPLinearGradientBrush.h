#pragma once
// A two-colour linear gradient, defined by two points, by a rectangle and a mode, or by a
// rectangle and an angle. Modes and "scalable" angles are measured in the rectangle normalised
// to a unit square, so the diagonal modes run corner to corner whatever the aspect ratio.

#include "platform/gdiplus/TGPGradientBrush.h"

namespace kestrel::platform {

class TGPLinearGradientBrush : public TGPGradientBrush {
 public:
  TGPLinearGradientBrush(const TGPPointF& point1, const TGPPointF& point2, ARGB color1, ARGB color2);
  TGPLinearGradientBrush(const TGPRectF& rect, ARGB color1, ARGB color2, LinearGradientMode mode);
  TGPLinearGradientBrush(const TGPRectF& rect, ARGB color1, ARGB color2, REAL angle, BOOL isAngleScalable = FALSE);

  BrushType GetType() const override { return BrushTypeLinearGradient; }
  std::unique_ptr<TGPBrush> Clone() const override { return std::make_unique<TGPLinearGradientBrush>(*this); }
  cairo_pattern_t* CreatePattern(const PatternContext& context) const override;

  TStatus SetLinearColors(ARGB color1, ARGB color2);
  TStatus GetLinearColors(ARGB* colors) const;  // two entries
  TStatus GetRectangle(TGPRectF* rect) const;
  // Tile and the flip modes; GDI+ refuses WrapModeClamp for linear gradients.
  TStatus SetWrapMode(WrapMode mode);
  WrapMode GetWrapMode() const { return wrap_; }

 private:
  void InitAngle(const TGPRectF& rect, double degrees, bool scalable);

  TGPRectF rect_{};
  double x0_ = 0, y0_ = 0, x1_ = 1, y1_ = 0;  // where t = 0 and t = 1, in world coordinates
  WrapMode wrap_ = WrapModeTile;
};

}  // namespace kestrel::platform
