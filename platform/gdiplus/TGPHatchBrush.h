#pragma once
// Two-colour 8×8 hatch patterns, repeated from the world origin with each pattern cell on one
// pixel (no smoothing), for all 53 GDI+ hatch styles.

#include <array>

#include "platform/gdiplus/TGPBrush.h"

namespace kestrel::platform {

class TGPHatchBrush : public TGPBrush {
 public:
  TGPHatchBrush(HatchStyle hatchStyle, ARGB foreColor, ARGB backColor = 0xFF000000);

  BrushType GetType() const override { return BrushTypeHatchFill; }
  std::unique_ptr<TGPBrush> Clone() const override { return std::make_unique<TGPHatchBrush>(*this); }
  cairo_pattern_t* CreatePattern(const PatternContext& context) const override;

  HatchStyle GetHatchStyle() const { return style_; }
  TStatus GetForegroundColor(ARGB* color) const;
  TStatus GetBackgroundColor(ARGB* color) const;

  // The style's cells, one byte per row, most significant bit leftmost; 1 = foreground.
  // All zero for an invalid style.
  static std::array<BYTE, 8> Pattern(HatchStyle style);

 private:
  HatchStyle style_;
  ARGB fore_;
  ARGB back_;
};

}  // namespace kestrel::platform
