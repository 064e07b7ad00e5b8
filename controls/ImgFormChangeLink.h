#pragma once
// TImgFormChangeLink: how a control that borrows an image form's background hears that the
// background changed. The image form keeps the links registered with it; a link that dies
// unregisters itself.

#include "framework/Object.h"

namespace kestrel {

class TCustomKsImageForm;

class TImgFormChangeLink {
 public:
  TImgFormChangeLink() = default;
  ~TImgFormChangeLink();
  TImgFormChangeLink(const TImgFormChangeLink&) = delete;
  TImgFormChangeLink& operator=(const TImgFormChangeLink&) = delete;

  // Fires OnChange with the image form as the sender.
  void Change();

  TCustomKsImageForm* FSender = nullptr;
  TNotifyEvent FOnChange;
};

}  // namespace kestrel
