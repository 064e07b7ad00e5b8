#pragma once
// The base of image filters: a source image (not owned; it must outlive the filter or be
// replaced) and a result image the filter owns. Reading the result applies the filter again
// whenever a source or setting was given, so it always reflects the source as it is now.

#include <memory>

#include "imaging/PngObject.h"

namespace kestrel {

class TVnPNGImageFilter {
 public:
  TVnPNGImageFilter();
  virtual ~TVnPNGImageFilter() = default;
  TVnPNGImageFilter(const TVnPNGImageFilter&) = delete;
  TVnPNGImageFilter& operator=(const TVnPNGImageFilter&) = delete;

  TVnPNGObject* SourceImage() const { return sourceImage_; }
  // A different source is stored and copied into the result.
  void SetSourceImage(TVnPNGObject* value);
  TVnPNGObject* ResultImage();

 protected:
  virtual void Apply() = 0;
  bool FModified = false;
  TVnPNGObject* sourceImage_ = nullptr;
  std::unique_ptr<TVnPNGObject> resultImage_;
};

}  // namespace kestrel
