#pragma once
// A pen: a brush (usually solid), a width in world units centred on the outline, dash styles
// whose lengths are multiples of the width (as GDI+ scales them), caps and joins.

#include <memory>
#include <vector>

#include "platform/gdiplus/TGPBrush.h"

namespace kestrel::platform {

enum DashCap : int {
  DashCapFlat = 0,
  DashCapRound = 2,
  DashCapTriangle = 3,
};

class TGPPen : public StatusKeeper {
 public:
  explicit TGPPen(ARGB color, REAL width = 1.0f);
  explicit TGPPen(const TGPBrush* brush, REAL width = 1.0f);
  TGPPen(const TGPPen& other);
  TGPPen& operator=(const TGPPen&) = delete;

  std::unique_ptr<TGPPen> Clone() const { return std::make_unique<TGPPen>(*this); }

  // Width 0 draws one pixel wide; negative widths are refused.
  TStatus SetWidth(REAL width);
  REAL GetWidth() const { return width_; }
  TStatus SetColor(ARGB color);
  TStatus GetColor(ARGB* color) const;
  TStatus SetBrush(const TGPBrush* brush);
  const TGPBrush* GetBrush() const { return brush_.get(); }

  TStatus SetDashStyle(DashStyle style);
  DashStyle GetDashStyle() const { return dashStyle_; }
  // Custom dashes (lengths in widths); switches to DashStyleCustom.
  TStatus SetDashPattern(const REAL* dashArray, INT count);
  INT GetDashPatternCount() const;
  TStatus GetDashPattern(REAL* dashArray, INT count) const;
  TStatus SetDashOffset(REAL offset);
  REAL GetDashOffset() const { return dashOffset_; }
  TStatus SetDashCap(DashCap cap);
  DashCap GetDashCap() const { return dashCap_; }
  TStatus SetLineCap(LineCap startCap, LineCap endCap, DashCap dashCap);
  TStatus SetStartCap(LineCap cap);
  TStatus SetEndCap(LineCap cap);
  LineCap GetStartCap() const { return startCap_; }
  LineCap GetEndCap() const { return endCap_; }
  TStatus SetLineJoin(LineJoin join);
  LineJoin GetLineJoin() const { return lineJoin_; }
  TStatus SetMiterLimit(REAL limit);
  REAL GetMiterLimit() const { return miterLimit_; }
  TStatus SetAlignment(PenAlignment alignment);
  PenAlignment GetAlignment() const { return alignment_; }

  // The dash lengths in world units for the current style and width (empty when solid).
  std::vector<double> DashLengths() const;
  // Sets source, width, dashes, caps and join on `cr`; null source pattern = cannot paint.
  TStatus Apply(cairo_t* cr, const PatternContext& context) const;

 private:
  std::unique_ptr<TGPBrush> brush_;
  REAL width_;
  DashStyle dashStyle_ = DashStyleSolid;
  std::vector<REAL> customDashes_;
  REAL dashOffset_ = 0;
  DashCap dashCap_ = DashCapFlat;
  LineCap startCap_ = LineCapFlat;
  LineCap endCap_ = LineCapFlat;
  LineJoin lineJoin_ = LineJoinMiter;
  REAL miterLimit_ = 10.0f;
  PenAlignment alignment_ = PenAlignmentCenter;
};

}  // namespace kestrel::platform
