#include "framework/Image.h"

#include "framework/TypeInfo.h"

namespace kestrel {

KESTREL_IMPLEMENT_PUBLISHED_CLASS(TImage, TGraphicControl)

void TImage::PublishProperties(TClassBuilder<TImage>& b) {
  b.Property(u"Stretch", &TImage::Stretch, &TImage::SetStretch).Default(false);
}

TImage::TImage(TComponent* owner) : TGraphicControl(owner), picture_(std::make_unique<TPicture>()) {
  SetBounds(0, 0, 105, 105);
  picture_->OnChange = [this](TObject*) { Invalidate(); };
}

TImage::~TImage() = default;

void TImage::SetStretch(bool value) {
  if (value == stretch_) return;
  stretch_ = value;
  Invalidate();
}

void TImage::Paint() {
  TGraphic* graphic = picture_->Graphic();
  if (!graphic || graphic->Empty()) return;
  const TRect r = stretch_ ? ClientRect() : Rect(0, 0, graphic->Width(), graphic->Height());
  Canvas()->StretchDraw(r, graphic);
}

}  // namespace kestrel
