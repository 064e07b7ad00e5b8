#include "smooth/GDIPFill.h"

#include "framework/TypeInfo.h"
#include "smooth/internal/FillClipboard.h"
#include "smooth/internal/FillIniSection.h"

namespace kestrel {

KESTREL_IMPLEMENT_PUBLISHED_CLASS(TGDIPFill, TPersistent)

void TGDIPFill::PublishProperties(TClassBuilder<TGDIPFill>& b) {
  using F = TGDIPFill;
  auto colour = [&b](const char16_t* name, TColor (F::*get)() const, void (F::*set)(TColor)) {
    return b.Property(name, get, set).TypeName(u"TColor");
  };
  colour(u"Color", &F::Color, &F::SetColor).Default(0xC0C0C0);
  colour(u"ColorTo", &F::ColorTo, &F::SetColorTo).Default(0x808080);
  colour(u"ColorMirror", &F::ColorMirror, &F::SetColorMirror);
  colour(u"ColorMirrorTo", &F::ColorMirrorTo, &F::SetColorMirrorTo);
  b.Enum(u"GradientType", &F::GradientType, &F::SetGradientType, GradientTypeInfo());
  b.Enum(u"GradientMirrorType", &F::GradientMirrorType, &F::SetGradientMirrorType, GradientTypeInfo());
  b.Enum(u"HatchStyle", &F::HatchStyle, &F::SetHatchStyle, HatchStyleInfo()).Default(0);
  b.Enum(u"HatchStyleMirror", &F::HatchStyleMirror, &F::SetHatchStyleMirror, HatchStyleInfo()).Default(0);
  b.Property(u"BackGroundPictureAspectRatio", &F::BackGroundPictureAspectRatio, &F::SetBackGroundPictureAspectRatio)
      .Default(false);
  b.Enum(u"BackGroundPictureMode", &F::BackGroundPictureMode, &F::SetBackGroundPictureMode, FillPictureModeInfo())
      .Default(pmOutsideFill);
  b.Object(u"BackGroundPicture", &F::BackGroundPicture, &F::SetBackGroundPicture);
  b.Enum(u"BackGroundPicturePosition", &F::BackGroundPicturePosition, &F::SetBackGroundPicturePosition,
         FillPicturePositionInfo())
      .Default(ppTopLeft);
  b.Property(u"BackGroundPictureLeft", &F::BackGroundPictureLeft, &F::SetBackGroundPictureLeft).Default(0);
  b.Property(u"BackGroundPictureTop", &F::BackGroundPictureTop, &F::SetBackGroundPictureTop).Default(0);
  b.Enum(u"BackGroundPictureAspectMode", &F::BackGroundPictureAspectMode, &F::SetBackGroundPictureAspectMode,
         PictureModeInfo())
      .Default(pmStretch);
  b.Object(u"Picture", &F::Picture, &F::SetPicture);
  b.Enum(u"PicturePosition", &F::PicturePosition, &F::SetPicturePosition, FillPicturePositionInfo()).Default(ppTopLeft);
  b.Property(u"PictureLeft", &F::PictureLeft, &F::SetPictureLeft).Default(0);
  b.Property(u"PictureTop", &F::PictureTop, &F::SetPictureTop).Default(0);
  b.Enum(u"PictureSize", &F::PictureSize, &F::SetPictureSize, FillPictureSizeInfo()).Default(psOriginal);
  b.Property(u"PictureWidth", &F::PictureWidth, &F::SetPictureWidth).Default(50);
  b.Property(u"PictureHeight", &F::PictureHeight, &F::SetPictureHeight).Default(50);
  b.Property(u"PictureAspectRatio", &F::PictureAspectRatio, &F::SetPictureAspectRatio).Default(false);
  b.Enum(u"PictureAspectMode", &F::PictureAspectMode, &F::SetPictureAspectMode, PictureModeInfo()).Default(pmStretch);
  b.Property(u"Opacity", &F::Opacity, &F::SetOpacity).Default(255);
  b.Property(u"OpacityTo", &F::OpacityTo, &F::SetOpacityTo).Default(255);
  b.Property(u"OpacityMirror", &F::OpacityMirror, &F::SetOpacityMirror).Default(255);
  b.Property(u"OpacityMirrorTo", &F::OpacityMirrorTo, &F::SetOpacityMirrorTo).Default(255);
  colour(u"BorderColor", &F::BorderColor, &F::SetBorderColor);
  b.Property(u"BorderOpacity", &F::BorderOpacity, &F::SetBorderOpacity).Default(255);
  b.Property(u"BorderWidth", &F::BorderWidth, &F::SetBorderWidth).Default(1);
  b.Property(u"Rounding", &F::Rounding, &F::SetRounding);
  b.Enum(u"RoundingType", &F::RoundingType, &F::SetRoundingType, FillRoundingTypeInfo()).Default(rtBoth);
  colour(u"ShadowColor", &F::ShadowColor, &F::SetShadowColor).Default(0x808080);
  b.Property(u"ShadowOffset", &F::ShadowOffset, &F::SetShadowOffset);
  b.Enum(u"ShadowType", &F::ShadowType, &F::SetShadowType, ShadowTypeInfo()).Default(stRightBottom);
  b.Property(u"Angle", &F::Angle, &F::SetAngle).Default(0);
  b.Event(
      u"OnChange", [](const F& f) { return static_cast<bool>(f.OnChange); }, u"TNotifyEvent");
  b.Enum(u"Glow", &F::Glow, &F::SetGlow, GlowModeInfo());
  colour(u"GlowGradientColor", &F::GlowGradientColor, &F::SetGlowGradientColor).Default(0xFFFFFF);
  colour(u"GlowRadialColor", &F::GlowRadialColor, &F::SetGlowRadialColor).Default(0xFFFFFF);
}

TGDIPFill::TGDIPFill()
    : picture_(std::make_unique<TGDIPPicture>()), backGroundPicture_(std::make_unique<TGDIPPicture>()) {
  picture_->OnChange = [this](TObject* sender) { PictureChanged(sender); };
  backGroundPicture_->OnChange = [this](TObject* sender) { PictureChanged(sender); };
}

TGDIPFill::~TGDIPFill() = default;

void TGDIPFill::Assign(const TPersistent* source) {
  const auto* other = dynamic_cast<const TGDIPFill*>(source);
  if (!other || other == this) return;
  values_ = other->values_;
  assigning_ = true;
  picture_->Assign(other->picture_.get());
  backGroundPicture_->Assign(other->backGroundPicture_.get());
  assigning_ = false;
  Changed();
}

void TGDIPFill::SetSettings(const TFillSettings& settings) {
  if (settings == values_) return;
  values_ = settings;
  Changed();
}

void TGDIPFill::SetPicture(TGDIPPicture* value) {
  if (value && value != picture_.get()) picture_->Assign(value);
}

void TGDIPFill::SetBackGroundPicture(TGDIPPicture* value) {
  if (value && value != backGroundPicture_.get()) backGroundPicture_->Assign(value);
}

void TGDIPFill::Changed() {
  if (OnChange && FUpdateCount == 0) OnChange(this);
}

void TGDIPFill::PictureChanged(TObject*) {
  if (!assigning_) Changed();
}

void TGDIPFill::SaveToFile(const String& fileName, const String& section) const {
  TFillIniSection::Save(*this, fileName, section);
}

void TGDIPFill::LoadFromFile(const String& fileName, const String& section) {
  TFillIniSection::Load(*this, fileName, section);
}

void TGDIPFill::SaveToFile(TCustomIniFile& ini, const String& section) const {
  TFillIniSection::Save(*this, ini, section);
}

void TGDIPFill::LoadFromFile(TCustomIniFile& ini, const String& section) { TFillIniSection::Load(*this, ini, section); }

void TGDIPFill::SaveToClipBoard() const { TFillClipboard::Save(*this); }

void TGDIPFill::LoadFromClipBoard() { TFillClipboard::Load(*this); }

}  // namespace kestrel
