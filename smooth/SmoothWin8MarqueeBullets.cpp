#include "smooth/SmoothWin8MarqueeBullets.h"

#include "framework/PublishColour.h"
#include "framework/TypeInfo.h"
#include "smooth/SmoothWin8Marquee.h"

namespace kestrel {

const TEnumInfo& SmoothWin8MarqueeBulletShapeInfo() {
  static const TEnumInfo info(u"TSmoothWin8MarqueeBulletShape",
                              {u"bsEllipse", u"bsRectangle", u"bsTriangle", u"bsCustom"});
  return info;
}

KESTREL_IMPLEMENT_PUBLISHED_CLASS(TSmoothWin8MarqueeBullets, TPersistent)

void TSmoothWin8MarqueeBullets::PublishProperties(TClassBuilder<TSmoothWin8MarqueeBullets>& b) {
  using B = TSmoothWin8MarqueeBullets;
  b.Property(u"Count", &B::Count, &B::SetCount).Default(6);
  b.Property(u"Width", &B::Width, &B::SetWidth).Default(10);
  b.Property(u"Height", &B::Height, &B::SetHeight).Default(10);
  b.Property(u"Spacing", &B::Spacing, &B::SetSpacing).Default(3);
  b.Enum(u"Shape", &B::Shape, &B::SetShape, SmoothWin8MarqueeBulletShapeInfo()).Default(bsEllipse);
  PublishColour(b, u"Color", &B::Color, &B::SetColor, 14772545);
  b.Property(u"Opacity", &B::Opacity, &B::SetOpacity).Default(255);
  PublishColour(b, u"BorderColor", &B::BorderColor, &B::SetBorderColor, clNone);
  b.Property(u"BorderOpacity", &B::BorderOpacity, &B::SetBorderOpacity).Default(255);
}

void TSmoothWin8MarqueeBullets::Assign(const TPersistent* source) {
  const auto* other = dynamic_cast<const TSmoothWin8MarqueeBullets*>(source);
  if (!other || other == this) return;
  Count_ = other->Count_;
  Width_ = other->Width_;
  Height_ = other->Height_;
  Spacing_ = other->Spacing_;
  Shape_ = other->Shape_;
  Color_ = other->Color_;
  Opacity_ = other->Opacity_;
  BorderColor_ = other->BorderColor_;
  BorderOpacity_ = other->BorderOpacity_;
}

float TSmoothWin8MarqueeBullets::RowWidth() const {
  const float count = static_cast<float>(Count_);
  return count * static_cast<float>(Width_) + count * static_cast<float>(Spacing_) - 1;
}

void TSmoothWin8MarqueeBullets::Changed() {
  if (FOwner) FOwner->Invalidate();
}

}  // namespace kestrel
