#include "framework/Brush.h"

#include "framework/PropInfo.h"
#include "framework/PublishColour.h"
#include "framework/TypeInfo.h"
#include "platform/gdi/Gdi.h"

namespace kestrel {

namespace {
const TEnumInfo& BrushStyleInfo() {
  static const TEnumInfo info(u"TBrushStyle", {u"bsSolid", u"bsClear", u"bsHorizontal", u"bsVertical", u"bsFDiagonal",
                                               u"bsBDiagonal", u"bsCross", u"bsDiagCross"});
  return info;
}
}  // namespace

KESTREL_IMPLEMENT_PUBLISHED_CLASS(TBrush, TGraphicsObject)

void TBrush::PublishProperties(TClassBuilder<TBrush>& b) {
  PublishColour(b, u"Color", &TBrush::Color, &TBrush::SetColor, clWhite);
  b.Enum(u"Style", &TBrush::Style, &TBrush::SetStyle, BrushStyleInfo()).Default(bsSolid);
}

void TBrush::Assign(const TPersistent* source) {
  if (auto* brush = dynamic_cast<const TBrush*>(source)) {
    if (color_ == brush->color_ && style_ == brush->style_) return;
    color_ = brush->color_;
    style_ = brush->style_;
    Changed();
    return;
  }
  TGraphicsObject::Assign(source);
}

void TBrush::SetColor(TColor value) {
  if (value == color_) return;
  color_ = value;
  if (value == clNone) style_ = bsClear;
  else if (style_ == bsClear) style_ = bsSolid;
  Changed();
}

void TBrush::SetStyle(TBrushStyle value) {
  if (value == style_) return;
  style_ = value;
  Changed();
}

void* TBrush::MakeHandle() const {
  platform::LOGBRUSH lb{};
  madeRgb_ = ColorToRGB(color_);
  lb.lbColor = madeRgb_;
  if (style_ == bsClear) {
    lb.lbStyle = platform::BS_NULL;
  } else if (style_ == bsSolid) {
    lb.lbStyle = platform::BS_SOLID;
  } else {
    lb.lbStyle = platform::BS_HATCHED;
    lb.lbHatch = static_cast<platform::ULONG_PTR>(style_ - bsHorizontal);
  }
  return platform::CreateBrushIndirect(&lb);
}

}  // namespace kestrel
