#include "imaging/PngImageFilter.h"

namespace kestrel {

TVnPNGImageFilter::TVnPNGImageFilter() : fResultImage(std::make_unique<TVnPNGObject>()) {}

void TVnPNGImageFilter::SetSourceImage(TVnPNGObject* value) {
  if (value == fSourceImage) return;
  fSourceImage = value;
  fResultImage->Assign(value);
  FModified = true;
}

TVnPNGObject* TVnPNGImageFilter::ResultImage() {
  if (FModified && fSourceImage && !fSourceImage->Empty()) {
    fResultImage->Assign(fSourceImage);
    Apply();
  }
  return fResultImage.get();
}

}  // namespace kestrel
