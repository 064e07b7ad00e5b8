#include "platform/gdiplus/TGPPen.h"

#include <algorithm>
#include <cmath>

namespace kestrel::platform {

namespace {

bool ValidLineCap(LineCap cap) { return cap >= LineCapFlat && cap <= LineCapTriangle; }
bool ValidDashCap(DashCap cap) { return cap == DashCapFlat || cap == DashCapRound || cap == DashCapTriangle; }

cairo_line_cap_t CairoCap(int cap) {
  switch (cap) {
    case LineCapSquare: return CAIRO_LINE_CAP_SQUARE;
    case LineCapRound: return CAIRO_LINE_CAP_ROUND;
    default: return CAIRO_LINE_CAP_BUTT;  // cairo has no triangle cap
  }
}

}  // namespace

TGPPen::TGPPen(ARGB color, REAL width) : brush_(std::make_unique<TGPSolidBrush>(color)), width_(width) {
  if (!(width >= 0) || !(width <= kMaxCoordinate)) {
    width_ = 1;
    Remember(InvalidParameter);
  }
}

TGPPen::TGPPen(const TGPBrush* brush, REAL width)
    : brush_(brush ? brush->Clone() : std::make_unique<TGPSolidBrush>(0xFF000000)), width_(width) {
  if (!brush || !(width >= 0) || !(width <= kMaxCoordinate)) {
    width_ = width >= 0 && width <= kMaxCoordinate ? width : 1;
    Remember(InvalidParameter);
  }
}

TGPPen::TGPPen(const TGPPen& other)
    : brush_(other.brush_->Clone()),
      width_(other.width_),
      dashStyle_(other.dashStyle_),
      customDashes_(other.customDashes_),
      dashOffset_(other.dashOffset_),
      dashCap_(other.dashCap_),
      startCap_(other.startCap_),
      endCap_(other.endCap_),
      lineJoin_(other.lineJoin_),
      miterLimit_(other.miterLimit_),
      alignment_(other.alignment_) {}

TStatus TGPPen::SetWidth(REAL width) {
  if (!(width >= 0) || !(width <= kMaxCoordinate)) return Remember(InvalidParameter);
  width_ = width;
  return Ok;
}

TStatus TGPPen::SetColor(ARGB color) {
  brush_ = std::make_unique<TGPSolidBrush>(color);
  return Ok;
}

TStatus TGPPen::GetColor(ARGB* color) const {
  if (!color || brush_->GetType() != BrushTypeSolidColor) return Remember(InvalidParameter);
  *color = static_cast<const TGPSolidBrush&>(*brush_).Color();
  return Ok;
}

TStatus TGPPen::SetBrush(const TGPBrush* brush) {
  if (!brush) return Remember(InvalidParameter);
  brush_ = brush->Clone();
  return Ok;
}

TStatus TGPPen::SetDashStyle(DashStyle style) {
  if (style < DashStyleSolid || style > DashStyleCustom) return Remember(InvalidParameter);
  if (style == DashStyleCustom && customDashes_.empty()) return Remember(InvalidParameter);
  dashStyle_ = style;
  return Ok;
}

TStatus TGPPen::SetDashPattern(const REAL* dashArray, INT count) {
  if (!dashArray || count < 1) return Remember(InvalidParameter);
  for (INT i = 0; i < count; ++i)
    if (!(dashArray[i] >= kMinExtent) || !(dashArray[i] <= kMaxCoordinate)) return Remember(InvalidParameter);
  customDashes_.assign(dashArray, dashArray + count);
  dashStyle_ = DashStyleCustom;
  return Ok;
}

INT TGPPen::GetDashPatternCount() const {
  return dashStyle_ == DashStyleSolid ? 0 : static_cast<INT>(DashLengths().size());
}

TStatus TGPPen::GetDashPattern(REAL* dashArray, INT count) const {
  const INT needed = GetDashPatternCount();
  if (!dashArray || count < needed || needed == 0) return Remember(InvalidParameter);
  const double unit = std::max<double>(width_, 1.0);
  auto lengths = DashLengths();
  for (INT i = 0; i < needed; ++i) dashArray[i] = static_cast<REAL>(lengths[i] / unit);
  return Ok;
}

TStatus TGPPen::SetDashOffset(REAL offset) {
  if (!std::isfinite(offset)) return Remember(InvalidParameter);
  dashOffset_ = offset;
  return Ok;
}

TStatus TGPPen::SetDashCap(DashCap cap) {
  if (!ValidDashCap(cap)) return Remember(InvalidParameter);
  dashCap_ = cap;
  return Ok;
}

TStatus TGPPen::SetLineCap(LineCap startCap, LineCap endCap, DashCap dashCap) {
  if (!ValidLineCap(startCap) || !ValidLineCap(endCap) || !ValidDashCap(dashCap)) return Remember(InvalidParameter);
  startCap_ = startCap;
  endCap_ = endCap;
  dashCap_ = dashCap;
  return Ok;
}

TStatus TGPPen::SetStartCap(LineCap cap) { return SetLineCap(cap, endCap_, dashCap_); }
TStatus TGPPen::SetEndCap(LineCap cap) { return SetLineCap(startCap_, cap, dashCap_); }

TStatus TGPPen::SetLineJoin(LineJoin join) {
  if (join < LineJoinMiter || join > LineJoinMiterClipped) return Remember(InvalidParameter);
  lineJoin_ = join;
  return Ok;
}

TStatus TGPPen::SetMiterLimit(REAL limit) {
  if (!std::isfinite(limit)) return Remember(InvalidParameter);
  miterLimit_ = std::max(1.0f, limit);
  return Ok;
}

TStatus TGPPen::SetAlignment(PenAlignment alignment) {
  if (alignment != PenAlignmentCenter && alignment != PenAlignmentInset) return Remember(InvalidParameter);
  alignment_ = alignment;
  return Ok;
}

std::vector<double> TGPPen::DashLengths() const {
  static const std::vector<double> kPatterns[] = {{}, {3, 1}, {1, 1}, {3, 1, 1, 1}, {3, 1, 1, 1, 1, 1}};
  std::vector<double> lengths;
  if (dashStyle_ == DashStyleCustom) lengths.assign(customDashes_.begin(), customDashes_.end());
  else if (dashStyle_ > DashStyleSolid && dashStyle_ < DashStyleCustom) lengths = kPatterns[dashStyle_];
  // Dashes scale with the pen, but never below one pixel.
  const double unit = std::max<double>(width_, 1.0);
  for (double& l : lengths) l *= unit;
  return lengths;
}

TStatus TGPPen::Apply(cairo_t* cr, const PatternContext& context) const {
  CairoPattern source(brush_->CreatePattern(context));
  if (!source) return CreationFailure(*brush_);
  cairo_set_source(cr, source.get());
  const double width = width_ > 0 ? width_ : 1.0;
  cairo_set_line_width(cr, width);
  const auto dashes = DashLengths();
  cairo_set_dash(cr, dashes.data(), static_cast<int>(dashes.size()), dashOffset_ * std::max<double>(width_, 1.0));
  cairo_set_line_cap(cr, dashes.empty() ? CairoCap(startCap_) : CairoCap(dashCap_));
  switch (lineJoin_) {
    case LineJoinBevel: cairo_set_line_join(cr, CAIRO_LINE_JOIN_BEVEL); break;
    case LineJoinRound: cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND); break;
    default: cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER); break;
  }
  cairo_set_miter_limit(cr, miterLimit_);
  return Ok;
}

}  // namespace kestrel::platform
