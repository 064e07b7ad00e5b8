#include "imaging/internal/PngImageFilter.h"

namespace kestrel {

TVnPNGImageFilter::TVnPNGImageFilter() : resultImage_(std::make_unique<TVnPNGObject>()) {}

void TVnPNGImageFilter::SetSourceImage(TVnPNGObject* value) {
  if (value == sourceImage_) return;
  sourceImage_ = value;
  resultImage_->Assign(value);
  FModified = true;
}

TVnPNGObject* TVnPNGImageFilter::ResultImage() {
  if (FModified && sourceImage_ && !sourceImage_->Empty()) {
    resultImage_->Assign(sourceImage_);
    Apply();
  }
  return resultImage_.get();
}

}  // namespace kestrel
