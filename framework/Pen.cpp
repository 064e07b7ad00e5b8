#include "framework/Pen.h"

#include "framework/PropInfo.h"
#include "framework/PublishColour.h"
#include "framework/TypeInfo.h"
#include "platform/gdi/Gdi.h"

namespace kestrel {

namespace {
const TEnumInfo& PenStyleInfo() {
  static const TEnumInfo info(
      u"TPenStyle", {u"psSolid", u"psDash", u"psDot", u"psDashDot", u"psDashDotDot", u"psClear", u"psInsideFrame"});
  return info;
}
}  // namespace

KESTREL_IMPLEMENT_PUBLISHED_CLASS(TPen, TGraphicsObject)

void TPen::PublishProperties(TClassBuilder<TPen>& b) {
  PublishColour(b, u"Color", &TPen::Color, &TPen::SetColor, clBlack);
  b.Enum(u"Style", &TPen::Style, &TPen::SetStyle, PenStyleInfo()).Default(psSolid);
  b.Property(u"Width", &TPen::Width, &TPen::SetWidth).Default(1);
}

void TPen::Assign(const TPersistent* source) {
  if (auto* pen = dynamic_cast<const TPen*>(source)) {
    if (color_ == pen->color_ && width_ == pen->width_ && style_ == pen->style_) return;
    color_ = pen->color_;
    width_ = pen->width_;
    style_ = pen->style_;
    Changed();
    return;
  }
  TGraphicsObject::Assign(source);
}

void TPen::SetColor(TColor value) {
  if (value == color_) return;
  color_ = value;
  Changed();
}

void TPen::SetWidth(int value) {
  if (value < 1) value = 1;
  if (value == width_) return;
  width_ = value;
  Changed();
}

void TPen::SetStyle(TPenStyle value) {
  if (value == style_) return;
  style_ = value;
  Changed();
}

void* TPen::MakeHandle() const {
  // psClear and clNone both mean "no line".
  const int style = color_ == clNone ? platform::PS_NULL : static_cast<int>(style_);
  madeRgb_ = ColorToRGB(color_);
  return platform::CreatePen(style, width_, madeRgb_);
}

}  // namespace kestrel
