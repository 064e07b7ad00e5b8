#include "framework/Picture.h"

#include <memory>
#include <utility>

#include "framework/Bitmap.h"
#include "framework/SysUtils.h"

namespace kestrel {

KESTREL_IMPLEMENT_CLASS(TPicture, TPersistent)

TPicture::TPicture() = default;

TPicture::~TPicture() = default;

void TPicture::Adopt(std::unique_ptr<TGraphic> graphic) {
  graphic_ = std::move(graphic);
  if (graphic_) graphic_->OnChange = [this](TObject* s) { Changed(s); };
  Changed(this);
}

void TPicture::Changed(TObject*) {
  if (OnChange) OnChange(this);
}

void TPicture::SetGraphic(const TGraphic* value) {
  if (value == graphic_.get()) return;
  if (!value) {
    Adopt(nullptr);
    return;
  }
  std::unique_ptr<TGraphic> copy(TGraphic::CreateGraphic(&value->ClassType()));
  if (!copy) return;
  copy->Assign(value);
  Adopt(std::move(copy));
}

void TPicture::Assign(const TPersistent* source) {
  if (!source) {
    SetGraphic(nullptr);
  } else if (auto* picture = dynamic_cast<const TPicture*>(source)) {
    SetGraphic(picture->graphic_.get());
  } else if (auto* graphic = dynamic_cast<const TGraphic*>(source)) {
    SetGraphic(graphic);
  } else {
    TPersistent::Assign(source);
  }
}

TBitmap* TPicture::Bitmap() {
  if (!dynamic_cast<TBitmap*>(graphic_.get())) Adopt(std::make_unique<TBitmap>());
  return static_cast<TBitmap*>(graphic_.get());
}

int TPicture::Width() const { return graphic_ ? graphic_->Width() : 0; }

int TPicture::Height() const { return graphic_ ? graphic_->Height() : 0; }

void TPicture::LoadFromFile(const String& fileName) {
  const String ext = ExtractFileExt(fileName);
  TGraphicClass graphicClass = TGraphic::ClassForExtension(ext);
  if (!graphicClass) throw EInvalidGraphicOperation(u"Unknown picture file extension (%s)", {ext});
  std::unique_ptr<TGraphic> graphic(TGraphic::CreateGraphic(graphicClass));
  if (!graphic) throw EInvalidGraphicOperation(u"Unknown picture file extension (%s)", {ext});
  graphic->LoadFromFile(fileName);
  Adopt(std::move(graphic));
}

void TPicture::SaveToFile(const String& fileName) const {
  if (graphic_) graphic_->SaveToFile(fileName);
}

}  // namespace kestrel
