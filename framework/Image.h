#pragma once
// TImage: a windowless control that shows a picture, at its top-left corner or stretched over
// the control. A change of the picture repaints it.

#include <memory>

#include "framework/GraphicControl.h"
#include "framework/Picture.h"

namespace kestrel {

class TImage : public TGraphicControl {
  KESTREL_CLASS(TImage)
  explicit TImage(TComponent* owner);
  ~TImage() override;

  TPicture* Picture() const { return picture_.get(); }
  void SetPicture(const TPicture* value) { picture_->Assign(value); }
  bool Stretch() const { return stretch_; }
  void SetStretch(bool value);

 protected:
  void Paint() override;

 private:
  std::unique_ptr<TPicture> picture_;
  bool stretch_ = false;
};

}  // namespace kestrel
