#include "smooth/GDIPPicture.h"

#include "framework/Filer.h"
#include "framework/Stream.h"

namespace kestrel {

namespace pf = platform;

KESTREL_IMPLEMENT_CLASS(TGDIPPicture, TPersistent)

TGDIPPicture::TGDIPPicture() = default;
TGDIPPicture::~TGDIPPicture() = default;

void TGDIPPicture::Assign(const TPersistent* source) {
  if (auto* other = dynamic_cast<const TGDIPPicture*>(source)) {
    if (other != this) SetData(other->data_);
    return;
  }
  TPersistent::Assign(source);
}

int TGDIPPicture::Width() const { return image_ ? static_cast<int>(image_->GetWidth()) : 0; }

int TGDIPPicture::Height() const { return image_ ? static_cast<int>(image_->GetHeight()) : 0; }

void TGDIPPicture::SetData(std::vector<std::uint8_t> data) {
  data_ = std::move(data);
  image_.reset();
  if (!data_.empty()) {
    auto image = pf::TGPImage::FromStream(data_.data(), data_.size());
    if (image->GetLastStatus() == pf::Ok && image->Surface()) image_ = std::move(image);
  }
  Changed();
}

void TGDIPPicture::Draw(pf::TGPGraphics& graphics, const pf::RECT& rect) const {
  if (!image_) return;
  graphics.DrawImage(image_.get(), static_cast<pf::REAL>(rect.left), static_cast<pf::REAL>(rect.top),
                     static_cast<pf::REAL>(rect.right - rect.left), static_cast<pf::REAL>(rect.bottom - rect.top));
}

void TGDIPPicture::FillTexture(pf::TGPGraphics& graphics, const pf::TGPRectF& rect) const {
  if (!image_) return;
  pf::TGPTextureBrush brush(image_.get());
  graphics.FillRectangle(&brush, rect);
}

void TGDIPPicture::FillTexture(pf::TGPGraphics& graphics, const pf::TGPGraphicsPath& path) const {
  if (!image_) return;
  pf::TGPTextureBrush brush(image_.get());
  graphics.FillPath(&brush, &path);
}

void TGDIPPicture::SaveToStream(TStream& stream) const {
  if (!data_.empty()) stream.WriteBuffer(data_.data(), data_.size());
}

void TGDIPPicture::LoadFromStream(TStream& stream) {
  const std::int64_t rest = stream.Size() - stream.Position();
  if (rest <= 0) return;
  std::vector<std::uint8_t> data(static_cast<std::size_t>(rest));
  stream.ReadBuffer(data.data(), data.size());
  SetData(std::move(data));
}

void TGDIPPicture::DefineProperties(TFiler& filer) {
  filer.DefineBinaryProperty(
      u"Data", [this](TStream& stream) { LoadFromStream(stream); }, [this](TStream& stream) { SaveToStream(stream); },
      !data_.empty());
}

void TGDIPPicture::Changed() {
  if (OnChange) OnChange(this);
}

}  // namespace kestrel
